// com_object.h -- the reference counting and IUnknown answer shared by the layer's small D3DX
// objects. The object is deleted when its count reaches zero.
#pragma once

#include "unknwn.h"

namespace layer {

template <typename Interface>
class ComObject : public Interface {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown) return E_NOINTERFACE;
        this->AddRef();
        *ppv = static_cast<IUnknown*>(this);
        return S_OK;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

private:
    ULONG refs_ = 1;
};

}  // namespace layer
