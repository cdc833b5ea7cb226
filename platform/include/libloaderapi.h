// libloaderapi.h -- module resources. The program carries no resources in its executable on
// this platform, so none is ever found.
#pragma once

#include "wintypes.h"

HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);
LPVOID LockResource(HGLOBAL hResData);
