// window_registry.cpp -- the window classes and window records of the layer.
#include "win32/window_registry.h"

#include <strings.h>

#include <memory>
#include <vector>

namespace wintable {
namespace {

std::vector<WindowClass>& Classes() {
    static std::vector<WindowClass> classes;
    return classes;
}

uintptr_t& NextHandle() {
    static uintptr_t next = 0x10010;
    return next;
}

std::vector<std::unique_ptr<Window>>& AllWindows() {
    static std::vector<std::unique_ptr<Window>> windows;
    return windows;
}

}  // namespace

std::vector<HWND> WindowHandles() {
    std::vector<HWND> handles;
    for (auto& w : AllWindows()) handles.push_back(w->handle);
    return handles;
}

WindowClass* FindClass(const char* name) {
    if (!name) return nullptr;
    for (WindowClass& c : Classes())
        if (::strcasecmp(c.name.c_str(), name) == 0) return &c;
    return nullptr;
}

bool AddClass(const WindowClass& cls) {
    if (cls.name.empty() || FindClass(cls.name.c_str())) return false;
    Classes().push_back(cls);
    return true;
}

bool RemoveClass(const char* name) {
    auto& classes = Classes();
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        if (::strcasecmp(it->name.c_str(), name) == 0) {
            classes.erase(it);
            return true;
        }
    }
    return false;
}

Window& AddWindow() {
    auto w = std::make_unique<Window>();
    w->handle = reinterpret_cast<HWND>(NextHandle());
    NextHandle() += 4;
    AllWindows().push_back(std::move(w));
    return *AllWindows().back();
}

Window* FindAny(HWND hWnd) {
    if (!hWnd) return nullptr;
    for (auto& w : AllWindows())
        if (w->handle == hWnd) return w.get();
    return nullptr;
}

Window* FindLive(HWND hWnd) {
    Window* w = FindAny(hWnd);
    return (w && !w->destroyed) ? w : nullptr;
}

void ReleaseWindow(HWND hWnd) {
    auto& windows = AllWindows();
    for (auto it = windows.begin(); it != windows.end(); ++it) {
        if ((*it)->handle == hWnd) {
            windows.erase(it);
            return;
        }
    }
}

HWND DesktopHandle() { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10004)); }

void FrameSize(DWORD style, int* width, int* height) {
    const bool framed = (style & WS_CAPTION) == WS_CAPTION && !(style & WS_CHILD);
    *width = framed ? 8 : 0;
    *height = framed ? 30 : 0;
}

}  // namespace wintable
