// winreg.h -- the registry, kept in memory for the run.
#pragma once

#include "wintypes.h"
