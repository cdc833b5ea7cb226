// d3dx8_buffer.cpp -- ID3DXBuffer, a counted block of bytes, and D3DXCreateBuffer.
#include <vector>

#include "d3dx8mesh.h"

namespace {

class Buffer final : public ID3DXBuffer {
public:
    explicit Buffer(DWORD bytes) : bytes_(bytes, 0) {}

    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown) return E_NOINTERFACE;
        AddRef();
        *ppv = static_cast<IUnknown*>(this);
        return S_OK;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    LPVOID GetBufferPointer() override { return bytes_.empty() ? nullptr : bytes_.data(); }
    DWORD GetBufferSize() override { return (DWORD)bytes_.size(); }

private:
    std::vector<BYTE> bytes_;
    ULONG refs_ = 1;
};

}  // namespace

HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer) {
    if (!ppBuffer) return D3DERR_INVALIDCALL;
    *ppBuffer = new Buffer(NumBytes);
    return S_OK;
}
