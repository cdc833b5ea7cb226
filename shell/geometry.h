// geometry.h -- the shared drawing resources made once after the device: overlay quads, world, fonts.
#pragma once

#include "windows.h"

// S_OK, or E_FAIL when the overlay buffer was not filled.
HRESULT InitGeometry();
