// winnls.h -- code-page conversions.
#pragma once

#include "wintypes.h"
