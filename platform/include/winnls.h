// winnls.h -- code-page conversions. The 8-bit code page of the layer is UTF-8, so CP_ACP,
// CP_OEMCP, CP_THREAD_ACP and CP_UTF8 all convert between UTF-8 and UTF-16.
#pragma once

#include "wintypes.h"

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_THREAD_ACP 3
#define CP_UTF8 65001

// A count of -1 converts up to and including the terminating zero. An output count of 0 asks
// for the size needed. When the output is too small, the characters that fit are written and
// the result is 0.
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar);
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar);
