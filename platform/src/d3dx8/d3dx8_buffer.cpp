// d3dx8_buffer.cpp -- ID3DXBuffer, a counted block of bytes, and D3DXCreateBuffer.
#include <vector>

#include "d3d8/d3d8_objects.h"
#include "d3dx8mesh.h"

namespace {

class Buffer final : public d3d8::RefCounted<ID3DXBuffer> {
public:
    explicit Buffer(DWORD bytes) : bytes_(bytes, 0) {}

    HRESULT QueryInterface(REFIID riid, void** ppv) override { return d3d8::QueryFor(this, riid, ppv, {}); }

    LPVOID GetBufferPointer() override { return bytes_.empty() ? nullptr : bytes_.data(); }
    DWORD GetBufferSize() override { return (DWORD)bytes_.size(); }

private:
    std::vector<BYTE> bytes_;
};

}  // namespace

HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer) {
    if (!ppBuffer) return D3DERR_INVALIDCALL;
    *ppBuffer = new Buffer(NumBytes);
    return S_OK;
}
