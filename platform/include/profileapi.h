// profileapi.h -- the performance counter.
#pragma once

#include "wintypes.h"
