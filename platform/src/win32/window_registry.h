// window_registry.h -- the layer's table of window classes and windows, shared by the window,
// message and dialog code.
#pragma once

#include <string>
#include <vector>

#include "winuser.h"

struct SDL_Window;

namespace wintable {

struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
};

struct Window {
    HWND handle = nullptr;
    std::string className;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT outer = {};  // position and size as given, frame included
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HWND parent = nullptr;
    int id = 0;
    LONG userData = 0;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    SDL_Window* sdl = nullptr;  // top-level windows only
    bool visible = false;
    bool destroyed = false;  // destroyed, its SDL window kept until the class goes
};

// Case-insensitive, as window class names are.
WindowClass* FindClass(const char* name);
bool AddClass(const WindowClass& cls);
bool RemoveClass(const char* name);

// A new window record with its handle; the record stays valid until ReleaseWindow.
Window& AddWindow();
// The record of a live (not destroyed) window, or null.
Window* FindLive(HWND hWnd);
// The record of any window not yet released, destroyed ones included, or null.
Window* FindAny(HWND hWnd);
// The handles of every record not yet released, in creation order.
std::vector<HWND> WindowHandles();
// Forgets a record entirely (its SDL window must already be gone).
void ReleaseWindow(HWND hWnd);

// The pseudo-window that stands for the desktop.
HWND DesktopHandle();

// The frame a top-level window of this style draws around its client area.
void FrameSize(DWORD style, int* width, int* height);

}  // namespace wintable
