// window_link_placeholder.cpp -- until the window manager exists, no handle has an SDL window.
#include "window_link.h"

SDL_Window* PlatformWindowSDL(HWND) { return nullptr; }
