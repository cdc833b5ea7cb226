// dx_trace.cpp -- the DirectX error library: result-code names and DXTrace.
#include <cstdio>

#include "dmusici.h"
#include "dxerr8.h"
#include "windows.h"

namespace {

struct CodeName {
    HRESULT code;
    const char* name;
};

const CodeName kCodeNames[] = {
    {S_OK, "S_OK"},
    {S_FALSE, "S_FALSE"},
    {E_FAIL, "E_FAIL"},
    {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
    {E_INVALIDARG, "E_INVALIDARG"},
    {E_UNEXPECTED, "E_UNEXPECTED"},
    {E_NOTIMPL, "E_NOTIMPL"},
    {E_NOINTERFACE, "E_NOINTERFACE"},
    {E_POINTER, "E_POINTER"},
    {CO_E_NOTINITIALIZED, "CO_E_NOTINITIALIZED"},
    {REGDB_E_CLASSNOTREG, "REGDB_E_CLASSNOTREG"},
    {CLASS_E_NOAGGREGATION, "CLASS_E_NOAGGREGATION"},
    {RPC_E_CHANGED_MODE, "RPC_E_CHANGED_MODE"},
    {DMUS_E_LOADER_FAILEDOPEN, "DMUS_E_LOADER_FAILEDOPEN"},
    {DMUS_E_LOADER_FORMATNOTSUPPORTED, "DMUS_E_LOADER_FORMATNOTSUPPORTED"},
    {DSERR_NODRIVER, "DSERR_NODRIVER"},
    {DSERR_ALLOCATED, "DSERR_ALLOCATED"},
};

}  // namespace

const char* DXGetErrorString8A(HRESULT hr) {
    for (const CodeName& entry : kCodeNames)
        if (entry.code == hr) return entry.name;
    return "Unknown";
}

HRESULT DXTraceA(const char* strFile, DWORD dwLine, HRESULT hr, const char* strMsg, BOOL bPopMsgBox) {
    const char* file = strFile ? strFile : "";
    const char* msg = strMsg ? strMsg : "";
    char line[16];
    std::snprintf(line, sizeof line, "%u", dwLine);
    char code[128];
    std::snprintf(code, sizeof code, "%s (0x%08x)", DXGetErrorString8A(hr), static_cast<unsigned>(hr));

    char out[1024];
    std::snprintf(out, sizeof out, "%s(%s): %s (hr=%s)\n", file, line, msg, code);
    OutputDebugStringA(out);

    if (bPopMsgBox) {
        char text[1024];
        std::snprintf(text, sizeof text, "File: %s\nLine: %s\nError Code: %s\nCalling: %s", file, line, code, msg);
        MessageBoxA(nullptr, text, "Unexpected error encountered", MB_OK | MB_ICONERROR);
    }
    return hr;
}
