// libloaderapi.h -- module handles and resources. The program carries no resources in its
// executable on this platform, so none is ever found.
#pragma once

#include "wintypes.h"

// The program's own module for a null name; other modules are not loaded, so null for them.
HMODULE GetModuleHandleA(LPCSTR lpModuleName);

HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);
LPVOID LockResource(HGLOBAL hResData);
