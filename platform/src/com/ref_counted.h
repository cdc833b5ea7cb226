// ref_counted.h -- the COM reference count and interface query shared by the layer's objects.
#pragma once

#include <initializer_list>

#include "unknwn.h"

namespace com {

// An object of the layer behind `Interface`: starts with one reference and deletes itself at zero.
template <class Interface>
class RefCounted : public Interface {
public:
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    ULONG refs_ = 1;
};

// Answers a QueryInterface for `self` when riid is IUnknown or one of `ids`.
inline HRESULT QueryFor(IUnknown* self, REFIID riid, void** ppvObj, std::initializer_list<const IID*> ids) {
    if (!ppvObj) return E_POINTER;
    bool known = riid == IID_IUnknown;
    for (const IID* id : ids) known = known || riid == *id;
    if (!known) {
        *ppvObj = nullptr;
        return E_NOINTERFACE;
    }
    self->AddRef();
    *ppvObj = self;
    return S_OK;
}

}  // namespace com
