// com_runtime.cpp -- CoInitialize(Ex), CoUninitialize and in-process CoCreateInstance.
#include "com/com_classes.h"
#include "layer/com.h"
#include "objbase.h"

namespace {

struct ComThreadState {
    int initCount = 0;
    DWORD model = COINIT_APARTMENTTHREADED;
};

thread_local ComThreadState t_com;

}  // namespace

HRESULT CoInitializeEx(LPVOID, DWORD dwCoInit) {
    DWORD model = dwCoInit & COINIT_APARTMENTTHREADED;
    if (t_com.initCount > 0) {
        if (model != t_com.model) return RPC_E_CHANGED_MODE;
        ++t_com.initCount;
        return S_FALSE;
    }
    t_com.model = model;
    t_com.initCount = 1;
    return S_OK;
}

HRESULT CoInitialize(LPVOID pvReserved) { return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize(void) {
    if (t_com.initCount > 0) --t_com.initCount;
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (t_com.initCount == 0) return CO_E_NOTINITIALIZED;
    if (pUnkOuter) return CLASS_E_NOAGGREGATION;
    if (!(dwClsContext & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
    return CreateDirectMusicObject(rclsid, riid, ppv);
}

namespace layer {

int ComInitCount() { return t_com.initCount; }

}  // namespace layer
