// d3dx8mesh.h -- meshes and buffers: an indexed triangle list in a vertex and an index buffer
// of the device, with an attribute for each face; subset i is the faces of attribute i.
// Meshes are read from text .x files.
// Partial: no cloning, optimising, attribute tables or adjacency queries on a mesh; binary and
// compressed .x files are refused.
#pragma once

#include "d3d8.h"
#include "d3dx8core.h"

// Options of D3DXCreateMeshFVF: index width, and the pool and usage of the two buffers.
enum _D3DXMESH {
    D3DXMESH_32BIT = 0x001,
    D3DXMESH_DONOTCLIP = 0x002,
    D3DXMESH_POINTS = 0x004,
    D3DXMESH_RTPATCHES = 0x008,
    D3DXMESH_NPATCHES = 0x4000,
    D3DXMESH_VB_SYSTEMMEM = 0x010,
    D3DXMESH_VB_MANAGED = 0x020,
    D3DXMESH_VB_WRITEONLY = 0x040,
    D3DXMESH_VB_DYNAMIC = 0x080,
    D3DXMESH_VB_SOFTWAREPROCESSING = 0x8000,
    D3DXMESH_IB_SYSTEMMEM = 0x100,
    D3DXMESH_IB_MANAGED = 0x200,
    D3DXMESH_IB_WRITEONLY = 0x400,
    D3DXMESH_IB_DYNAMIC = 0x800,
    D3DXMESH_IB_SOFTWAREPROCESSING = 0x10000,
    D3DXMESH_VB_SHARE = 0x1000,
    D3DXMESH_USEHWONLY = 0x2000,
    D3DXMESH_SYSTEMMEM = 0x110,
    D3DXMESH_MANAGED = 0x220,
    D3DXMESH_WRITEONLY = 0x440,
    D3DXMESH_DYNAMIC = 0x880,
    D3DXMESH_SOFTWAREPROCESSING = 0x18000,
};

struct ID3DXBaseMesh : public IUnknown {
    // Draws the faces whose attribute is AttribId (a new mesh's faces all have attribute 0), one
    // draw for each run of consecutive faces.
    virtual HRESULT DrawSubset(DWORD AttribId) = 0;
    virtual DWORD GetNumFaces() = 0;
    virtual DWORD GetNumVertices() = 0;
    virtual DWORD GetFVF() = 0;
    virtual DWORD GetOptions() = 0;
    virtual HRESULT LockVertexBuffer(DWORD Flags, BYTE** ppData) = 0;
    virtual HRESULT UnlockVertexBuffer() = 0;
    virtual HRESULT LockIndexBuffer(DWORD Flags, BYTE** ppData) = 0;
    virtual HRESULT UnlockIndexBuffer() = 0;
};

struct ID3DXMesh : public ID3DXBaseMesh {
    // One DWORD for each face: the subset it is drawn in.
    virtual HRESULT LockAttributeBuffer(DWORD Flags, DWORD** ppData) = 0;
    virtual HRESULT UnlockAttributeBuffer() = 0;
};
typedef ID3DXMesh* LPD3DXMESH;

// A material of a mesh file and the name of its texture file (null when it has none).
typedef struct _D3DXMATERIAL {
    D3DMATERIAL8 MatD3D;
    LPSTR pTextureFilename;
} D3DXMATERIAL, *LPD3DXMATERIAL;

// A mesh of NumFaces triangles over NumVertices vertices of the format FVF; 16-bit indices
// unless D3DXMESH_32BIT (then at most 65535 vertices with 16 bits).
HRESULT WINAPI D3DXCreateMeshFVF(DWORD NumFaces, DWORD NumVertices, DWORD Options, DWORD FVF,
                                 LPDIRECT3DDEVICE8 pDevice, LPD3DXMESH* ppMesh);

// Reads a text .x file: the meshes of all its frames, each moved by its frames' transforms, in one
// mesh with a subset for each material (a mesh without materials gets a white one). Positions,
// normals and texture coordinates are read, so the vertex format is D3DFVF_XYZ with
// D3DFVF_NORMAL and D3DFVF_TEX1 when the file has them. ppMaterials receives the D3DXMATERIAL
// records, pNumMaterials their count. A file that is not text .x is refused (E_NOTIMPL for binary
// and compressed files, D3DXERR_INVALIDDATA for others), and says why on standard error.
HRESULT WINAPI D3DXLoadMeshFromX(LPCSTR pFilename, DWORD Options, LPDIRECT3DDEVICE8 pDevice, LPD3DXBUFFER* ppAdjacency,
                                 LPD3DXBUFFER* ppMaterials, DWORD* pNumMaterials, LPD3DXMESH* ppMesh);

// A buffer of NumBytes zero bytes.
HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer);
