// world_terrain_test.cpp -- the terrain: its mesh, its rebuilds, its ground height and its drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "world_device.h"

using namespace world_test;

namespace {

// The mesh as it was built: its vertices and its indices, read back through its locks.
struct MeshCopy {
    std::vector<SVertex3D> vertices;
    std::vector<WORD> indices;
};

MeshCopy ReadMesh(ID3DXMesh* mesh) {
    MeshCopy copy;
    if (!mesh) return copy;
    BYTE* v = nullptr;
    BYTE* i = nullptr;
    EXPECT_TRUE(SUCCEEDED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &v)));
    EXPECT_TRUE(SUCCEEDED(mesh->LockIndexBuffer(D3DLOCK_READONLY, &i)));
    const SVertex3D* vs = reinterpret_cast<const SVertex3D*>(v);
    const WORD* is = reinterpret_cast<const WORD*>(i);
    copy.vertices.assign(vs, vs + mesh->GetNumVertices());
    copy.indices.assign(is, is + mesh->GetNumFaces() * 3);
    mesh->UnlockIndexBuffer();
    mesh->UnlockVertexBuffer();
    return copy;
}

// The height of the mesh triangle under (x, y), and whether one was found.
bool MeshHeight(const MeshCopy& mesh, float x, float y, float& z) {
    for (size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        const D3DXVECTOR3& a = mesh.vertices[mesh.indices[t]].vPos;
        const D3DXVECTOR3& b = mesh.vertices[mesh.indices[t + 1]].vPos;
        const D3DXVECTOR3& c = mesh.vertices[mesh.indices[t + 2]].vPos;
        const double det = (double(b.y) - c.y) * (double(a.x) - c.x) + (double(c.x) - b.x) * (double(a.y) - c.y);
        if (std::fabs(det) < 1e-12) continue;
        const double l1 = ((double(b.y) - c.y) * (x - c.x) + (double(c.x) - b.x) * (y - c.y)) / det;
        const double l2 = ((double(c.y) - a.y) * (x - c.x) + (double(a.x) - c.x) * (y - c.y)) / det;
        const double l3 = 1.0 - l1 - l2;
        const double eps = 1e-6;
        if (l1 >= -eps && l2 >= -eps && l3 >= -eps) {
            z = float(l1 * a.z + l2 * b.z + l3 * c.z);
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(WorldTerrain, OneCellMeshHasTheGridVertexOrderAndTheDiagonalSplit) {
    for (int n : {1, 2, 8}) {
        MapInDir f(5, 5, MakeTerrainFile(1, 1, n, [](float x, float y) { return 0.01f * x + 0.02f * y; }));
        ASSERT_NE(f.map.pMesh, nullptr);
        const MeshCopy mesh = ReadMesh(f.map.pMesh);
        ASSERT_EQ(mesh.vertices.size(), size_t((n + 1) * (n + 1)));
        ASSERT_EQ(mesh.indices.size(), size_t(6 * n * n));
        EXPECT_EQ(f.map.wVertexCount, (n + 1) * (n + 1));
        EXPECT_EQ(f.map.wIndexCount, 6 * n * n);
        // V[r][c] is vertex c(n+1) + r, with its position, colour and u, v.
        for (int c = 0; c <= n; ++c)
            for (int r = 0; r <= n; ++r) {
                const STerrainVertex& v = f.map.cells[0][0].vertices[r][c];
                const SVertex3D& m = mesh.vertices[c * (n + 1) + r];
                EXPECT_EQ(m.vPos, D3DXVECTOR3(v.vPos[0], v.vPos[1], v.vPos[2]));
                EXPECT_EQ(m.dwColor, v.dwColor);
                EXPECT_EQ(m.fU, v.fU);
                EXPECT_EQ(m.fV, v.fV);
            }
        // Square (a, b): p, p+n+2, p+1, p, p+n+1, p+n+2 with p = a(n+1) + b.
        size_t k = 0;
        for (int a = 0; a < n; ++a)
            for (int b = 0; b < n; ++b) {
                const int p = a * (n + 1) + b;
                const int expected[6] = {p, p + n + 2, p + 1, p, p + n + 1, p + n + 2};
                for (int e : expected) EXPECT_EQ(mesh.indices[k++], e) << "n " << n << " square " << a << "," << b;
            }
    }
}

TEST(WorldTerrain, TheWindowHoldsTheNineByNineCellsAroundTheCamera) {
    // Cells first to last along each axis, x outer; the finest full window stays within 16-bit indices.
    const struct {
        int n;
        float camera;
        int first, last;
    } windows[] = {{1, 55, 1, 9}, {2, 5, 0, 4}, {8, 60, 2, 10}};
    for (const auto& w : windows) {
        MapInDir f(w.camera, w.camera, MakeFlatTerrainFile(12, 12, w.n, 0.0f));
        const MeshCopy mesh = ReadMesh(f.map.pMesh);
        const int cells = (w.last - w.first + 1) * (w.last - w.first + 1), corners = (w.n + 1) * (w.n + 1);
        EXPECT_EQ(f.map.wVertexCount, cells * corners);
        EXPECT_EQ(f.map.wIndexCount, cells * 6 * w.n * w.n);
        ASSERT_EQ(mesh.vertices.size(), size_t(cells * corners));
        EXPECT_EQ(mesh.indices.size(), size_t(cells * 6 * w.n * w.n));
        const float low = 10.0f * w.first, high = 10.0f * (w.last + 1);
        EXPECT_EQ(mesh.vertices.front().vPos, D3DXVECTOR3(low, low, 0)) << w.n;
        EXPECT_EQ(mesh.vertices[corners].vPos, D3DXVECTOR3(low, low + 10, 0)) << w.n;
        EXPECT_EQ(mesh.vertices.back().vPos, D3DXVECTOR3(high, high, 0)) << w.n;
        for (const SVertex3D& v : mesh.vertices) {
            ASSERT_TRUE(v.vPos.x >= low && v.vPos.x <= high) << w.n << ": " << v.vPos.x;
            ASSERT_TRUE(v.vPos.y >= low && v.vPos.y <= high) << w.n << ": " << v.vPos.y;
        }
    }
}

TEST(WorldTerrain, TheMeshIsRebuiltOnlyWhenTheCameraChangesCell) {
    MapInDir f(55, 55, MakeFlatTerrainFile(12, 12, 1, 0.0f));
    f.d.LookAt(D3DXVECTOR3(55, 55, 5), D3DXVECTOR3(60, 60, 0));
    // Keep each mesh alive, so that a rebuilt one can never share the old one's address.
    std::vector<ID3DXMesh*> seen = {f.map.pMesh};
    seen[0]->AddRef();
    f.d.BeginFrame();
    // The first Render always rebuilds; then only crossing x = 60 and y = 50 does.
    const float moves[][3] = {{55, 55, 2},   {55.5f, 55, 2}, {57, 55, 2}, {59, 55, 2},
                              {59.9f, 55, 2}, {60, 55, 3},    {60, 55, 3}, {60, 49, 4}};
    for (const auto& m : moves) {
        f.d.cameraPos.x = m[0];
        f.d.cameraPos.y = m[1];
        f.map.Render();
        if (f.map.pMesh && f.map.pMesh != seen.back()) {
            f.map.pMesh->AddRef();
            seen.push_back(f.map.pMesh);
        }
        EXPECT_EQ(seen.size(), size_t(m[2])) << m[0] << "," << m[1];
    }
    f.d.EndFrame();
    EXPECT_EQ(ReadMesh(f.map.pMesh).vertices.front().vPos.x, 20.0f);  // cells 2 to 10 along x
    for (ID3DXMesh* m : seen) m->Release();
}

TEST(WorldTerrain, GroundHeightIsTheHeightOfTheDrawnTrianglesEverywhere) {
    // Bumpy ground over cells of every subdivision, all of them in the window.
    auto height = [](float x, float y) { return std::sin(x * 0.7f) * 1.5f + std::cos(y * 0.45f) + 0.02f * x * y / 10; };
    auto subdivision = [](int i, int j) { return 1 + (i * 3 + j * 5) % 8; };
    MapInDir f(30, 25, MakeTerrainFile(6, 5, subdivision, height));
    const MeshCopy mesh = ReadMesh(f.map.pMesh);
    ASSERT_FALSE(mesh.indices.empty());
    std::mt19937 random(7);
    std::uniform_real_distribution<float> ux(0.0f, 59.999f), uy(0.0f, 49.999f);
    for (int k = 0; k < 3000; ++k) {
        const float x = ux(random), y = uy(random);
        float z = 0;
        ASSERT_TRUE(MeshHeight(mesh, x, y, z)) << x << "," << y;
        EXPECT_NEAR(f.map.GetHeight(x, y), z, 1e-3f) << x << "," << y;
    }
}

TEST(WorldTerrain, FlatAndTiltedGroundAndTheMapsEdges) {
    {  // one device at a time
        MapInDir f(5, 5, MakeFlatTerrainFile(3, 2, 4, 1.75f));
        for (float x : {0.0f, 0.01f, 4.99f, 10.0f, 15.3f, 29.99f})
            for (float y : {0.0f, 7.7f, 19.99f}) EXPECT_FLOAT_EQ(f.map.GetHeight(x, y), 1.75f) << x << "," << y;
        // The far edges are outside, as are points far off or not numbers.
        for (auto [x, y] : {std::pair(30.0f, 5.0f), {5.0f, 20.0f}, {-10.0f, 5.0f}, {5.0f, -12.0f},
                            {1e30f, 5.0f}, {NAN, 5.0f}})
            EXPECT_EQ(f.map.GetHeight(x, y), 65535.0f) << x << "," << y;
    }
    auto plane = [](float x, float y) { return 0.25f * x - 0.125f * y + 2.0f; };
    MapInDir f(20, 20, MakeTerrainFile(4, 4, 2, plane));
    std::mt19937 random(3);
    std::uniform_real_distribution<float> u(0.0f, 39.99f);
    for (int k = 0; k < 500; ++k) {
        const float x = u(random), y = u(random);
        EXPECT_NEAR(f.map.GetHeight(x, y), plane(x, y), 1e-4f) << x << "," << y;
    }
    // Just outside the near edges the cell index truncates to 0: the edge square's plane goes on.
    for (float v : {-0.5f, -4.0f, -7.5f, -9.9f})
        for (auto [x, y] : {std::pair(v, 12.0f), {12.0f, v}, {v, v}})
            EXPECT_NEAR(f.map.GetHeight(x, y), plane(x, y), 1e-4f) << x << "," << y;
}

TEST(WorldTerrain, EachSquareIsSplitAlongTheDiagonalFromItsFirstCorner) {
    // One square whose corner V[1][0] alone is raised: only the triangle with fx > fy feels it.
    auto bump = [](float x, float y) { return (x == 10.0f && y == 0.0f) ? 4.0f : 0.0f; };
    MapInDir f(5, 5, MakeTerrainFile(1, 1, 1, bump));
    EXPECT_NEAR(f.map.GetHeight(7.5f, 2.5f), 2.0f, 1e-5f);   // fx > fy: on the raised triangle
    EXPECT_NEAR(f.map.GetHeight(2.5f, 7.5f), 0.0f, 1e-5f);   // fx < fy
    EXPECT_NEAR(f.map.GetHeight(5.0f, 5.0f), 0.0f, 1e-5f);   // on the diagonal
    EXPECT_NEAR(f.map.GetHeight(10.0f - 1e-3f, 0.0f), 4.0f, 1e-2f);
}

TEST(WorldTerrain, DrawsTex6TimesTheVertexColourOpaque) {
    ScratchDir dir;
    Device d;
    // Columns (u) white then grey; the first quarter of the rows (v) pure black, which the key
    // makes transparent: the terrain still draws it, opaque.
    WritePicture("tex6.bmp", 8, 8, false,
                 [](int x, int y) { return y < 2 ? 0xFF000000u : (x < 4 ? 0xFFFFFFFFu : 0xFF808080u); });
    WriteBytes("teren.ter", MakeTerrainFile(1, 1, 1, [](float, float) { return 0.0f; }, 0xFFFF8040));
    d.cameraPos = D3DXVECTOR3(5, 5, 8);
    layer::ClearShownMessageBoxes();
    CMap map(d.device, nullptr, d.camera(), d.timer());
    EXPECT_TRUE(layer::ShownMessageBoxes().empty());
    ASSERT_NE(map.pTexture, nullptr);
    map.Load("teren.ter");
    // Looking straight down with y up on the screen, so the screen's right is the world's -x.
    d.LookAtFrom(D3DXVECTOR3(5, 5, 8), D3DXVECTOR3(5, 5, 0), D3DXVECTOR3(0, 1, 0));
    d.device->SetRenderState(D3DRS_LIGHTING, FALSE);
    d.device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    d.device->SetRenderState(D3DRS_ALPHAREF, 0x80);
    d.device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    d.BeginFrame();
    map.Render();
    d.EndFrame();
    ExpectColorNear(d.Pixel(20, 24), 0xFF804020, 3);  // x about 7.9: grey times the colour
    ExpectColorNear(d.Pixel(44, 24), 0xFFFF8040, 3);  // x about 2.1: white times the colour
    ExpectColorNear(d.Pixel(44, 47), 0xFF000000, 3);  // y about 1.25: black, not the clear colour
    EXPECT_EQ(d.RenderState(D3DRS_ALPHATESTENABLE), DWORD(FALSE));
    EXPECT_EQ(d.RenderState(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
}
