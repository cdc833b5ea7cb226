// d3dx8_sphere.cpp -- D3DXCreateSphere: a pole vertex at each end of the z axis, Stacks - 1
// rings of Slices vertices between them, fans at the poles and quads between the rings; and
// the face adjacency of the indexed triangles, when asked for.
#include <cmath>
#include <utility>
#include <vector>

#include "d3dx8/d3dx8_mesh_build.h"
#include "d3dx8mesh.h"
#include "d3dx8shape.h"

namespace {

struct SphereVertex {
    float x, y, z;
    float nx, ny, nz;
};
static_assert(sizeof(SphereVertex) == 24, "XYZ | NORMAL vertex");

// Adds triangle (a, b, c), turned so that it is clockwise seen from outside: in Direct3D's
// left-handed space that puts (b - a) x (c - a) outward.
void AddFace(std::vector<WORD>* idx, const std::vector<SphereVertex>& v, WORD a, WORD b, WORD c) {
    float ux = v[b].x - v[a].x, uy = v[b].y - v[a].y, uz = v[b].z - v[a].z;
    float wx = v[c].x - v[a].x, wy = v[c].y - v[a].y, wz = v[c].z - v[a].z;
    float cx = uy * wz - uz * wy, cy = uz * wx - ux * wz, cz = ux * wy - uy * wx;
    float mx = v[a].x + v[b].x + v[c].x, my = v[a].y + v[b].y + v[c].y, mz = v[a].z + v[b].z + v[c].z;
    if (cx * mx + cy * my + cz * mz < 0) std::swap(b, c);
    idx->insert(idx->end(), {a, b, c});
}

void BuildSphere(float radius, UINT slices, UINT stacks, std::vector<SphereVertex>* v, std::vector<WORD>* idx) {
    const float pi = 3.14159265358979f;
    v->push_back({0, 0, radius, 0, 0, 1});
    for (UINT s = 1; s < stacks; ++s) {
        float theta = pi * s / stacks;
        for (UINT j = 0; j < slices; ++j) {
            float phi = 2 * pi * j / slices;
            float nx = std::sin(theta) * std::cos(phi), ny = std::sin(theta) * std::sin(phi), nz = std::cos(theta);
            v->push_back({radius * nx, radius * ny, radius * nz, nx, ny, nz});
        }
    }
    v->push_back({0, 0, -radius, 0, 0, -1});
    const WORD bottom = (WORD)(v->size() - 1);
    auto ring = [slices](UINT s, UINT j) { return (WORD)(1 + (s - 1) * slices + j % slices); };
    for (UINT j = 0; j < slices; ++j) AddFace(idx, *v, 0, ring(1, j), ring(1, j + 1));
    for (UINT s = 1; s + 1 < stacks; ++s)
        for (UINT j = 0; j < slices; ++j) {
            AddFace(idx, *v, ring(s, j), ring(s + 1, j), ring(s + 1, j + 1));
            AddFace(idx, *v, ring(s, j), ring(s + 1, j + 1), ring(s, j + 1));
        }
    for (UINT j = 0; j < slices; ++j) AddFace(idx, *v, bottom, ring(stacks - 1, j + 1), ring(stacks - 1, j));
}

}  // namespace

HRESULT WINAPI D3DXCreateSphere(LPDIRECT3DDEVICE8 pDevice, FLOAT Radius, UINT Slices, UINT Stacks,
                                LPD3DXMESH* ppMesh, LPD3DXBUFFER* ppAdjacency) {
    if (!pDevice || !ppMesh || !(Radius >= 0) || Slices < 3 || Stacks < 2) return D3DERR_INVALIDCALL;
    if ((uint64_t)Slices * (Stacks - 1) + 2 > 0xFFFF) return D3DERR_INVALIDCALL;
    std::vector<SphereVertex> verts;
    std::vector<WORD> idx;
    BuildSphere(Radius, Slices, Stacks, &verts, &idx);

    const std::vector<DWORD> indices(idx.begin(), idx.end());
    return d3dx8::BuildMesh(pDevice, D3DXMESH_MANAGED, D3DFVF_XYZ | D3DFVF_NORMAL, verts.data(), (DWORD)verts.size(),
                            indices, nullptr, ppMesh, ppAdjacency);
}
