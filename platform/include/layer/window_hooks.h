// layer/window_hooks.h -- lets tests act on windows as soon as the program creates them.
#pragma once

#include <functional>

#include "../wintypes.h"

namespace layer {

// Runs after each successful CreateWindowExA with the new window; an empty function clears it.
void SetWindowCreatedHook(std::function<void(HWND hWnd)> hook);

}  // namespace layer
