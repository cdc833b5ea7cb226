// layer/window_hooks.h -- lets tests act on windows as soon as the program creates them.
#pragma once

#include <functional>

#include "../wintypes.h"

namespace layer {

// Runs after each successful CreateWindowExA with the new window; an empty function clears it.
void SetWindowCreatedHook(std::function<void(HWND hWnd)> hook);

// What the window system sends when a person closes the window, or asks the program to quit
// (Ctrl+C, logging out); the next message pump turns either into WM_CLOSE.
void PostSystemCloseRequest(HWND hWnd);
void PostSystemQuitRequest();

}  // namespace layer
