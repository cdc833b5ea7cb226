// libloaderapi.h -- module handles and resources.
#pragma once

#include "wintypes.h"

// The program's own module for a null name; other modules are not loaded, so null for them.
HMODULE GetModuleHandleA(LPCSTR lpModuleName);
