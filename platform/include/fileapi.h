// fileapi.h -- files: open, read, write, close, full path names.
#pragma once

#include "wintypes.h"
