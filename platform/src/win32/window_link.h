// window_link.h -- how the layer's back ends find the SDL window behind a window handle.
#pragma once

#include "wintypes.h"

struct SDL_Window;

// The SDL window of a live window handle, or null for null, unknown or destroyed handles.
SDL_Window* PlatformWindowSDL(HWND hWnd);
