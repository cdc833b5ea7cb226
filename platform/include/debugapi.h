// debugapi.h -- debugger output.
#pragma once

#include "wintypes.h"
