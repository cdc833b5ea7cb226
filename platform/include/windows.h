// windows.h -- the Win32 surface of the layer, as the program includes it.
#pragma once

#include <cstdlib>
#include <cstring>

#include "wintypes.h"
#include "winbase.h"
#include "fileapi.h"
#include "debugapi.h"
#include "profileapi.h"
#include "libloaderapi.h"
#include "winnls.h"
#include "winreg.h"
#include "winuser.h"
#include "mmsystem.h"
