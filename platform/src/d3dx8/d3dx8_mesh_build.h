// d3dx8_mesh_build.h -- making a filled mesh from vertices, indices and face attributes, shared by
// the shapes and the .x loader.
#pragma once

#include <vector>

#include "d3dx8mesh.h"

namespace d3dx8 {

// For each edge of each face (a-b, b-c, c-a) the other face that has it, or 0xFFFFFFFF.
std::vector<DWORD> FaceAdjacency(const std::vector<DWORD>& indices);

// A mesh of the options and vertex format holding `vertices` (vertexCount of them, packed),
// the triangles of `indices` and their attributes (all 0 when null), with its adjacency when
// asked. Nothing is handed out on failure.
HRESULT BuildMesh(IDirect3DDevice8* device, DWORD options, DWORD fvf, const void* vertices, DWORD vertexCount,
                  const std::vector<DWORD>& indices, const std::vector<DWORD>* attributes, ID3DXMesh** ppMesh,
                  LPD3DXBUFFER* ppAdjacency);

}  // namespace d3dx8
