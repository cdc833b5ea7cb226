// win_find_resource.cpp -- module resources: the executable carries none here, so every lookup
// finds nothing and the callers take their "not found" path.
#include "libloaderapi.h"

HRSRC FindResourceA(HMODULE, LPCSTR, LPCSTR) { return nullptr; }
HGLOBAL LoadResource(HMODULE, HRSRC) { return nullptr; }
DWORD SizeofResource(HMODULE, HRSRC) { return 0; }
LPVOID LockResource(HGLOBAL) { return nullptr; }
