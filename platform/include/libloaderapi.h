// libloaderapi.h -- module handles and resources.
#pragma once

#include "wintypes.h"
