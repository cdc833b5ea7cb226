// dxerr8.h -- the DirectX error library: names of result codes and the trace report.
#pragma once

#include "wintypes.h"

// The symbolic name of a result code, e.g. "E_FAIL"; "Unknown" for a code the library does not know.
const char* DXGetErrorString8A(HRESULT hr);
#define DXGetErrorString8 DXGetErrorString8A

// Writes "file(line): msg (hr=NAME (0x%08x))\n" to the debugger output and, with bPopMsgBox,
// shows the same facts in a message box. Returns hr.
HRESULT DXTraceA(const char* strFile, DWORD dwLine, HRESULT hr, const char* strMsg, BOOL bPopMsgBox);
#define DXTrace DXTraceA
