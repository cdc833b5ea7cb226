// dmusic_factory.cpp -- the DirectMusic classes that CoCreateInstance makes.
#include "com/com_classes.h"
#include "dmusic/dmusic_objects.h"

HRESULT CreateDirectMusicObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    IUnknown* object = nullptr;
    if (rclsid == CLSID_DirectMusicLoader)
        object = NewLoader();
    else if (rclsid == CLSID_DirectMusicPerformance)
        object = new Performance();
    else
        return REGDB_E_CLASSNOTREG;
    HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}
