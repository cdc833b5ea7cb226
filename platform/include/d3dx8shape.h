// d3dx8shape.h -- meshes of simple shapes.
#pragma once

#include "d3dx8mesh.h"

// A sphere about the origin with its poles on the z axis: Slices around, Stacks from pole to
// pole (at least 3 and 2); vertices of format D3DFVF_XYZ | D3DFVF_NORMAL with outward unit
// normals; faces clockwise seen from outside. ppAdjacency, when given, receives three face
// indices a face (0xFFFFFFFF where an edge has no neighbour).
HRESULT WINAPI D3DXCreateSphere(LPDIRECT3DDEVICE8 pDevice, FLOAT Radius, UINT Slices, UINT Stacks,
                                LPD3DXMESH* ppMesh, LPD3DXBUFFER* ppAdjacency);
