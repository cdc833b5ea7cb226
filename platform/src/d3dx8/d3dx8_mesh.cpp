// d3dx8_mesh.cpp -- ID3DXMesh over a vertex and an index buffer of the device, and
// D3DXCreateMeshFVF. Every face has attribute 0, so subset 0 is the whole mesh.
#include "d3d8/d3d8_objects.h"
#include "d3dx8mesh.h"

namespace {

// Bytes of one vertex of a fixed-function vertex format; 0 for a format that cannot be one.
UINT FvfStride(DWORD fvf) {
    UINT size = 0;
    switch (fvf & D3DFVF_POSITION_MASK) {
    case D3DFVF_XYZ: size = 12; break;
    case D3DFVF_XYZRHW: size = 16; break;
    case D3DFVF_XYZB1: case D3DFVF_XYZB2: case D3DFVF_XYZB3: case D3DFVF_XYZB4: case D3DFVF_XYZB5:
        size = 12 + 4 * (((fvf & D3DFVF_POSITION_MASK) - D3DFVF_XYZ) / 2);
        break;
    default: return 0;
    }
    if (fvf & D3DFVF_NORMAL) size += 12;
    if (fvf & D3DFVF_PSIZE) size += 4;
    if (fvf & D3DFVF_DIFFUSE) size += 4;
    if (fvf & D3DFVF_SPECULAR) size += 4;
    const UINT sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (sets > 8) return 0;
    static const UINT kCoordFloats[4] = {2, 3, 4, 1};
    for (UINT i = 0; i < sets; ++i) size += 4 * kCoordFloats[(fvf >> (16 + 2 * i)) & 3];
    return size;
}

D3DPOOL PoolOf(DWORD options, DWORD systemMem, DWORD managed) {
    if (options & systemMem) return D3DPOOL_SYSTEMMEM;
    if (options & managed) return D3DPOOL_MANAGED;
    return D3DPOOL_DEFAULT;
}

DWORD UsageOf(DWORD options, DWORD writeOnly, DWORD dynamic, DWORD software) {
    DWORD usage = 0;
    if (options & writeOnly) usage |= D3DUSAGE_WRITEONLY;
    if (options & dynamic) usage |= D3DUSAGE_DYNAMIC;
    if (options & software) usage |= D3DUSAGE_SOFTWAREPROCESSING;
    if (options & D3DXMESH_DONOTCLIP) usage |= D3DUSAGE_DONOTCLIP;
    return usage;
}

class Mesh final : public d3d8::RefCounted<ID3DXMesh> {
public:
    Mesh(IDirect3DDevice8* device, DWORD faces, DWORD vertices, DWORD options, DWORD fvf, UINT stride)
        : device_(device), faces_(faces), vertices_(vertices), options_(options), fvf_(fvf), stride_(stride) {
        device_->AddRef();
    }

    HRESULT Create() {
        HRESULT hr = device_->CreateVertexBuffer(
            vertices_ * stride_,
            UsageOf(options_, D3DXMESH_VB_WRITEONLY, D3DXMESH_VB_DYNAMIC, D3DXMESH_VB_SOFTWAREPROCESSING), fvf_,
            PoolOf(options_, D3DXMESH_VB_SYSTEMMEM, D3DXMESH_VB_MANAGED), &vb_);
        if (FAILED(hr)) return hr;
        const bool wide = options_ & D3DXMESH_32BIT;
        return device_->CreateIndexBuffer(
            faces_ * 3 * (wide ? 4 : 2),
            UsageOf(options_, D3DXMESH_IB_WRITEONLY, D3DXMESH_IB_DYNAMIC, D3DXMESH_IB_SOFTWAREPROCESSING),
            wide ? D3DFMT_INDEX32 : D3DFMT_INDEX16, PoolOf(options_, D3DXMESH_IB_SYSTEMMEM, D3DXMESH_IB_MANAGED),
            &ib_);
    }

    HRESULT QueryInterface(REFIID riid, void** ppv) override { return d3d8::QueryFor(this, riid, ppv, {}); }

    HRESULT DrawSubset(DWORD attribId) override {
        if (attribId != 0) return S_OK;
        device_->SetStreamSource(0, vb_, stride_);
        device_->SetIndices(ib_, 0);
        device_->SetVertexShader(fvf_);
        return device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, vertices_, 0, faces_);
    }
    DWORD GetNumFaces() override { return faces_; }
    DWORD GetNumVertices() override { return vertices_; }
    DWORD GetFVF() override { return fvf_; }
    DWORD GetOptions() override { return options_; }
    HRESULT LockVertexBuffer(DWORD flags, BYTE** data) override { return vb_->Lock(0, 0, data, flags); }
    HRESULT UnlockVertexBuffer() override { return vb_->Unlock(); }
    HRESULT LockIndexBuffer(DWORD flags, BYTE** data) override { return ib_->Lock(0, 0, data, flags); }
    HRESULT UnlockIndexBuffer() override { return ib_->Unlock(); }

private:
    ~Mesh() override {
        if (ib_) ib_->Release();
        if (vb_) vb_->Release();
        device_->Release();
    }

    IDirect3DDevice8* device_;
    IDirect3DVertexBuffer8* vb_ = nullptr;
    IDirect3DIndexBuffer8* ib_ = nullptr;
    DWORD faces_, vertices_, options_, fvf_;
    UINT stride_;
};

}  // namespace

HRESULT WINAPI D3DXCreateMeshFVF(DWORD NumFaces, DWORD NumVertices, DWORD Options, DWORD FVF,
                                 LPDIRECT3DDEVICE8 pDevice, LPD3DXMESH* ppMesh) {
    if (!pDevice || !ppMesh || NumFaces == 0 || NumVertices == 0) return D3DERR_INVALIDCALL;
    const UINT stride = FvfStride(FVF);
    if (stride == 0) return D3DERR_INVALIDCALL;
    if (!(Options & D3DXMESH_32BIT) && NumVertices > 0xFFFF) return D3DERR_INVALIDCALL;
    // Buffer sizes are 32-bit byte counts.
    if ((uint64_t)NumVertices * stride > 0x7FFFFFFF || (uint64_t)NumFaces * 12 > 0x7FFFFFFF) return D3DERR_INVALIDCALL;
    Mesh* mesh = new Mesh(pDevice, NumFaces, NumVertices, Options, FVF, stride);
    HRESULT hr = mesh->Create();
    if (FAILED(hr)) {
        mesh->Release();
        return hr;
    }
    *ppMesh = mesh;
    return S_OK;
}
