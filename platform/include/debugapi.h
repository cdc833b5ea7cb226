// debugapi.h -- debugger output. The layer writes it to standard error and keeps it for tests.
#pragma once

#include "wintypes.h"

void OutputDebugStringA(LPCSTR lpOutputString);
