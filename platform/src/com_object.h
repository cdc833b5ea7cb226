// com_object.h -- reference counting shared by the layer's COM objects.
#pragma once

#include "unknwn.h"

// Implements AddRef and Release of Interface; the last Release deletes the object.
template <typename Interface>
class ComObject : public Interface {
public:
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    // Answers QueryInterface for IUnknown and any of the given interface ids with this object.
    HRESULT QueryFor(REFIID riid, void** ppv, std::initializer_list<const IID*> ids) {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        bool known = riid == IID_IUnknown;
        for (const IID* id : ids) known = known || riid == *id;
        if (!known) return E_NOINTERFACE;
        *ppv = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }

private:
    ULONG refs_ = 1;
};
