// d3d8_buffers.cpp -- vertex and index buffers: a CPU copy handed out by Lock and sent to a GL
// buffer by Unlock. A lock keeps whatever it does not write, D3DLOCK_DISCARD included.
#include "d3d8/d3d8_objects.h"

#include <cstdio>

namespace d3d8 {

BufferStore::BufferStore(const ContextRef& context, UINT length) : context_(context), bytes_(length, 0) {
    gl::GenBuffers(1, &name_);
    gl::BindBuffer(GL_ARRAY_BUFFER, name_);
    gl::BufferData(GL_ARRAY_BUFFER, length, bytes_.data(), GL_DYNAMIC_DRAW);
    gl::BindBuffer(GL_ARRAY_BUFFER, 0);
}

BufferStore::~BufferStore() {
    if (name_) gl::DeleteBuffers(1, &name_);
    ++context_->bufferGeneration;
}

HRESULT BufferStore::Lock(UINT offset, UINT size, BYTE** ppbData, DWORD flags) {
    if (!ppbData) return D3DERR_INVALIDCALL;
    *ppbData = nullptr;
    const UINT length = Length();
    if (size == 0) size = offset <= length ? length - offset : 0;
    if (locked_ || offset > length || size > length - offset) return D3DERR_INVALIDCALL;
    locked_ = true;
    readOnly_ = (flags & D3DLOCK_READONLY) != 0;
    discard_ = (flags & D3DLOCK_DISCARD) != 0;
    lockOffset_ = offset;
    lockSize_ = size;
    *ppbData = bytes_.data() + offset;
    return D3D_OK;
}

HRESULT BufferStore::Unlock() {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    if (readOnly_ || lockSize_ == 0) return D3D_OK;
    // Uploads go through GL_ARRAY_BUFFER so that the element binding of the vertex array stays.
    gl::BindBuffer(GL_ARRAY_BUFFER, name_);
    if (discard_) {
        // A fresh store lets the driver keep drawing from the old one while this one fills.
        gl::BufferData(GL_ARRAY_BUFFER, Length(), bytes_.data(), GL_DYNAMIC_DRAW);
    } else {
        gl::BufferSubData(GL_ARRAY_BUFFER, lockOffset_, lockSize_, bytes_.data() + lockOffset_);
    }
    gl::BindBuffer(GL_ARRAY_BUFFER, 0);
    return D3D_OK;
}

// ---------------------------------------------------------------------------------------------

HRESULT VertexBuffer::QueryInterface(REFIID riid, void** ppvObj) {
    return QueryFor(this, riid, ppvObj, {&IID_IDirect3DResource8, &IID_IDirect3DVertexBuffer8});
}

HRESULT VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* pDesc) {
    if (!pDesc) return D3DERR_INVALIDCALL;
    pDesc->Format = D3DFMT_VERTEXDATA;
    pDesc->Type = D3DRTYPE_VERTEXBUFFER;
    pDesc->Usage = usage_;
    pDesc->Pool = pool_;
    pDesc->Size = store_.Length();
    pDesc->FVF = fvf_;
    return D3D_OK;
}

HRESULT IndexBuffer::QueryInterface(REFIID riid, void** ppvObj) {
    return QueryFor(this, riid, ppvObj, {&IID_IDirect3DResource8, &IID_IDirect3DIndexBuffer8});
}

HRESULT IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* pDesc) {
    if (!pDesc) return D3DERR_INVALIDCALL;
    pDesc->Format = format_;
    pDesc->Type = D3DRTYPE_INDEXBUFFER;
    pDesc->Usage = usage_;
    pDesc->Pool = pool_;
    pDesc->Size = store_.Length();
    return D3D_OK;
}

}  // namespace d3d8
