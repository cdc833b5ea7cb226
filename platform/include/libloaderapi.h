// libloaderapi.h -- module handles and resources. The program's dialog templates and icons are
// handed to the layer at start-up (layer/resources.h); FindResourceA finds no resource of its own.
#pragma once

#include "wintypes.h"

// The program's own module for a null name; other modules are not loaded, so null for them.
HMODULE GetModuleHandleA(LPCSTR lpModuleName);

HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);
LPVOID LockResource(HGLOBAL hResData);
