// d3dx8_mesh.cpp -- ID3DXMesh over a vertex and an index buffer of the device with an attribute
// for each face, D3DXCreateMeshFVF, and the filling of a new mesh that the shapes and the .x
// loader share.
#include <cstring>
#include <map>
#include <utility>

#include "d3d8/d3d8_objects.h"
#include "d3dx8/d3dx8_mesh_build.h"
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

    // One draw for each run of consecutive faces that have the attribute.
    HRESULT DrawSubset(DWORD attribId) override {
        if (attributesLocked_) return D3DERR_INVALIDCALL;
        HRESULT hr = S_OK;
        bool bound = false;
        for (const Run& run : runs_) {
            if (run.attribute != attribId) continue;
            if (!bound) {
                device_->SetStreamSource(0, vb_, stride_);
                device_->SetIndices(ib_, 0);
                device_->SetVertexShader(fvf_);
                bound = true;
            }
            hr = device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, vertices_, run.firstFace * 3, run.faces);
            if (FAILED(hr)) return hr;
        }
        return hr;
    }
    DWORD GetNumFaces() override { return faces_; }
    DWORD GetNumVertices() override { return vertices_; }
    DWORD GetFVF() override { return fvf_; }
    DWORD GetOptions() override { return options_; }
    HRESULT LockVertexBuffer(DWORD flags, BYTE** data) override { return vb_->Lock(0, 0, data, flags); }
    HRESULT UnlockVertexBuffer() override { return vb_->Unlock(); }
    HRESULT LockIndexBuffer(DWORD flags, BYTE** data) override { return ib_->Lock(0, 0, data, flags); }
    HRESULT UnlockIndexBuffer() override { return ib_->Unlock(); }
    HRESULT LockAttributeBuffer(DWORD, DWORD** data) override {
        if (!data || attributesLocked_) return D3DERR_INVALIDCALL;
        attributesLocked_ = true;
        *data = attributes_.data();
        return S_OK;
    }
    HRESULT UnlockAttributeBuffer() override {
        if (!attributesLocked_) return D3DERR_INVALIDCALL;
        attributesLocked_ = false;
        FindRuns();
        return S_OK;
    }

private:
    struct Run {
        DWORD attribute, firstFace, faces;
    };

    void FindRuns() {
        runs_.clear();
        for (DWORD f = 0; f < faces_; ++f) {
            if (runs_.empty() || runs_.back().attribute != attributes_[f])
                runs_.push_back(Run{attributes_[f], f, 0});
            ++runs_.back().faces;
        }
    }

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
    std::vector<DWORD> attributes_ = std::vector<DWORD>(faces_, 0);
    std::vector<Run> runs_ = {Run{0, 0, faces_}};
    bool attributesLocked_ = false;
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

namespace d3dx8 {

std::vector<DWORD> FaceAdjacency(const std::vector<DWORD>& indices) {
    std::map<std::pair<DWORD, DWORD>, DWORD> edgeFace;
    const DWORD faces = (DWORD)(indices.size() / 3);
    for (DWORD f = 0; f < faces; ++f)
        for (int e = 0; e < 3; ++e) edgeFace[{indices[3 * f + e], indices[3 * f + (e + 1) % 3]}] = f;
    std::vector<DWORD> adjacency(indices.size(), 0xFFFFFFFFu);
    for (DWORD f = 0; f < faces; ++f)
        for (int e = 0; e < 3; ++e) {
            auto it = edgeFace.find({indices[3 * f + (e + 1) % 3], indices[3 * f + e]});
            if (it != edgeFace.end()) adjacency[3 * f + e] = it->second;
        }
    return adjacency;
}

HRESULT BuildMesh(IDirect3DDevice8* device, DWORD options, DWORD fvf, const void* vertices, DWORD vertexCount,
                  const std::vector<DWORD>& indices, const std::vector<DWORD>* attributes, ID3DXMesh** ppMesh,
                  LPD3DXBUFFER* ppAdjacency) {
    *ppMesh = nullptr;
    if (ppAdjacency) *ppAdjacency = nullptr;
    const DWORD faces = (DWORD)(indices.size() / 3);
    ID3DXMesh* mesh = nullptr;
    HRESULT hr = D3DXCreateMeshFVF(faces, vertexCount, options, fvf, device, &mesh);
    if (FAILED(hr)) return hr;
    const bool wide = options & D3DXMESH_32BIT;
    BYTE* data = nullptr;
    DWORD* faceAttributes = nullptr;
    if (SUCCEEDED(hr = mesh->LockVertexBuffer(0, &data))) {
        std::memcpy(data, vertices, (size_t)vertexCount * FvfStride(fvf));
        mesh->UnlockVertexBuffer();
    }
    if (SUCCEEDED(hr) && SUCCEEDED(hr = mesh->LockIndexBuffer(0, &data))) {
        for (size_t i = 0; i < indices.size(); ++i) {
            if (wide)
                std::memcpy(data + i * 4, &indices[i], 4);
            else
                reinterpret_cast<WORD*>(data)[i] = (WORD)indices[i];
        }
        mesh->UnlockIndexBuffer();
    }
    if (SUCCEEDED(hr) && attributes && SUCCEEDED(hr = mesh->LockAttributeBuffer(0, &faceAttributes))) {
        std::memcpy(faceAttributes, attributes->data(), (size_t)faces * sizeof(DWORD));
        mesh->UnlockAttributeBuffer();
    }
    if (SUCCEEDED(hr) && ppAdjacency) {
        const std::vector<DWORD> adjacency = FaceAdjacency(indices);
        if (SUCCEEDED(hr = D3DXCreateBuffer((DWORD)(adjacency.size() * sizeof(DWORD)), ppAdjacency)))
            std::memcpy((*ppAdjacency)->GetBufferPointer(), adjacency.data(), adjacency.size() * sizeof(DWORD));
    }
    if (FAILED(hr)) {
        mesh->Release();
        return hr;
    }
    *ppMesh = mesh;
    return S_OK;
}

}  // namespace d3dx8
