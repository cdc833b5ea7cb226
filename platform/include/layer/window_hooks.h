// layer/window_hooks.h -- lets tests act on windows as soon as the program creates them, and
// between the passes of the program's message loop.
#pragma once

#include <functional>

#include "../wintypes.h"

namespace layer {

// Runs after each successful CreateWindowExA with the new window; an empty function clears it.
void SetWindowCreatedHook(std::function<void(HWND hWnd)> hook);

// Runs whenever PeekMessageA finds no message waiting, before it answers so: in a PeekMessage
// loop, just before each piece of the program's idle work (a game frame). A message the hook
// posts is answered by that same call. GetMessageA does not run it. An empty function clears it.
void SetIdleHook(std::function<void()> hook);

// What the window system sends when a person closes the window, or asks the program to quit
// (Ctrl+C, logging out); the next message pump turns either into WM_CLOSE.
void PostSystemCloseRequest(HWND hWnd);
void PostSystemQuitRequest();
// What the layer's X error handler reports when another program destroyed the window: the next
// message pump destroys it (WM_DESTROY, WM_NCDESTROY). A modal dialog ends as one destroyed
// without EndDialog: DialogBoxParamA answers 0, a message box what closing it answers (Cancel,
// or OK where OK is its only button), else its default button.
void ReportWindowLost(HWND hWnd);

}  // namespace layer
