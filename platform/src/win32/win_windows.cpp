// win_windows.cpp -- window classes and top-level windows over SDL windows: creation, showing,
// style and size, destruction with deferred release. Child windows have no SDL window.
#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <functional>

#include "layer/window_hooks.h"
#include "win32/message_queue.h"
#include "win32/mouse_messages.h"
#include "sdl/sdl_video.h"
#include "sdl/x11_lost_windows.h"
#include "win32/window_link.h"
#include "win32/window_registry.h"
#include "winuser.h"

using wintable::Window;

namespace {

std::function<void(HWND)>& CreatedHook() {
    static std::function<void(HWND)> hook;
    return hook;
}

bool IsTopLevel(const Window& w) { return !(w.style & WS_CHILD); }

void ClientSize(const Window& w, int* width, int* height) {
    int frameW = 0, frameH = 0;
    wintable::FrameSize(w.style, &frameW, &frameH);
    *width = w.outer.right - w.outer.left - frameW;
    *height = w.outer.bottom - w.outer.top - frameH;
    if (*width < 1) *width = 1;
    if (*height < 1) *height = 1;
}

bool WantsFullscreen(const Window& w) { return (w.style & WS_POPUP) && IsTopLevel(w); }

// Brings the SDL window in line with the style: desktop full screen for a popup, else framed.
void ApplyDisplayMode(Window& w) {
    if (!w.sdl) return;
    if (!WantsFullscreen(w)) {
        int cw, ch;
        ClientSize(w, &cw, &ch);
        SDL_SetWindowFullscreen(w.sdl, 0);
        SDL_SetWindowSize(w.sdl, cw, ch);
        return;
    }
    // A full-screen window covers its display by itself before it asks for full screen (even
    // while hidden, as the device may ask for it then): where no window manager grants full
    // screen, as on a bare X server, it still fills the screen and the picture is letterboxed.
    SDL_Rect display;
    int index = SDL_GetWindowDisplayIndex(w.sdl);
    if (!(SDL_GetWindowFlags(w.sdl) & SDL_WINDOW_FULLSCREEN) && index >= 0 &&
        SDL_GetDisplayBounds(index, &display) == 0) {
        SDL_SetWindowPosition(w.sdl, display.x, display.y);
        SDL_SetWindowSize(w.sdl, display.w, display.h);
    }
    if (w.visible) SDL_SetWindowFullscreen(w.sdl, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

SDL_Window* CreateSdlWindow(const Window& w) {
    if (!sdlvideo::EnsureVideo()) return nullptr;
    int cw, ch;
    ClientSize(w, &cw, &ch);
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL;
    SDL_Window* sdl = SDL_CreateWindow(w.title.c_str(), w.outer.left, w.outer.top, cw, ch, flags);
    if (!sdl) sdl = SDL_CreateWindow(w.title.c_str(), w.outer.left, w.outer.top, cw, ch, SDL_WINDOW_HIDDEN);
    if (!sdl) std::fprintf(stderr, "trevok: cannot create the window \"%s\" (%s)\n", w.title.c_str(), SDL_GetError());
    // From now on the input devices' reads also post the window's close requests, and the
    // mouse's events become the window's mouse messages.
    if (sdl) {
        x11lost::Watch(sdl);
        msgqueue::ListenToPlatformEvents();
        winmouse::WatchMouseEvents();
    }
    return sdl;
}

void ReleaseSdlWindow(Window& w) {
    if (w.sdl) x11lost::Destroy(w.sdl);
    w.sdl = nullptr;
}

bool HasLiveWindowOfClass(const char* name) {
    for (HWND h : wintable::WindowHandles()) {
        Window* w = wintable::FindLive(h);
        if (w && wintable::FindClass(name) == wintable::FindClass(w->className.c_str())) return true;
    }
    return false;
}

// Destroyed windows of the class give back their SDL windows now that nothing draws into them.
void ReleaseDestroyedOfClass(const char* name) {
    for (HWND h : wintable::WindowHandles()) {
        Window* w = wintable::FindAny(h);
        if (w && w->destroyed && ::SDL_strcasecmp(w->className.c_str(), name) == 0) {
            ReleaseSdlWindow(*w);
            wintable::ReleaseWindow(h);
        }
    }
}

}  // namespace

ATOM RegisterClassExA(const WNDCLASSEXA* lpwcx) {
    if (!lpwcx || lpwcx->cbSize != sizeof(WNDCLASSEXA) || !lpwcx->lpszClassName || !lpwcx->lpfnWndProc) return 0;
    static ATOM nextAtom = 0xC000;
    wintable::WindowClass cls;
    cls.name = lpwcx->lpszClassName;
    cls.style = lpwcx->style;
    cls.proc = lpwcx->lpfnWndProc;
    cls.instance = lpwcx->hInstance;
    if (!wintable::AddClass(cls)) return 0;
    return nextAtom++;
}

BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
    if (!lpClassName || !wintable::FindClass(lpClassName) || HasLiveWindowOfClass(lpClassName)) return FALSE;
    ReleaseDestroyedOfClass(lpClassName);
    return wintable::RemoveClass(lpClassName) ? TRUE : FALSE;
}

HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID) {
    wintable::WindowClass* cls = wintable::FindClass(lpClassName);
    if (!cls) return nullptr;
    Window& w = wintable::AddWindow();
    w.className = cls->name;
    w.title = lpWindowName ? lpWindowName : "";
    w.style = dwStyle;
    w.exStyle = dwExStyle;
    w.outer = {X == CW_USEDEFAULT ? 0 : X, Y == CW_USEDEFAULT ? 0 : Y, 0, 0};
    w.outer.right = w.outer.left + (nWidth == CW_USEDEFAULT ? 640 : nWidth);
    w.outer.bottom = w.outer.top + (nHeight == CW_USEDEFAULT ? 480 : nHeight);
    w.proc = cls->proc;
    w.instance = hInstance;
    w.parent = hWndParent == wintable::DesktopHandle() ? nullptr : hWndParent;
    w.id = (dwStyle & WS_CHILD) ? static_cast<int>(reinterpret_cast<intptr_t>(hMenu)) : 0;
    if (IsTopLevel(w)) {
        w.sdl = CreateSdlWindow(w);
        if (!w.sdl) {
            wintable::ReleaseWindow(w.handle);
            return nullptr;
        }
    }
    HWND handle = w.handle;
    if (dwStyle & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
    if (CreatedHook()) CreatedHook()(handle);
    return handle;
}

BOOL DestroyWindow(HWND hWnd) {
    Window* w = wintable::FindLive(hWnd);
    if (!w) return FALSE;
    // Children go first, as they do on Windows.
    for (HWND h : wintable::WindowHandles()) {
        Window* child = wintable::FindLive(h);
        if (child && child->parent == hWnd) DestroyWindow(h);
    }
    SendMessageA(hWnd, WM_DESTROY, 0, 0);
    SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
    w = wintable::FindAny(hWnd);
    if (!w) return TRUE;
    w->destroyed = true;
    w->visible = false;
    // A window that another program destroyed takes no more requests.
    if (w->sdl && !x11lost::IsLost(w->sdl)) SDL_HideWindow(w->sdl);
    if (!w->sdl) wintable::ReleaseWindow(hWnd);
    return TRUE;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    Window* w = wintable::FindLive(hWnd);
    if (!w) return FALSE;
    BOOL wasVisible = w->visible ? TRUE : FALSE;
    w->visible = nCmdShow != SW_HIDE;
    if (!w->sdl) return wasVisible;
    if (!w->visible) {
        SDL_HideWindow(w->sdl);
        return wasVisible;
    }
    if (!x11lost::Show(w->sdl)) return wasVisible;  // destroyed by another program: nothing to show
    ApplyDisplayMode(*w);
    SDL_RaiseWindow(w->sdl);
    return wasVisible;
}

BOOL UpdateWindow(HWND hWnd) { return wintable::FindLive(hWnd) ? TRUE : FALSE; }

BOOL IsWindow(HWND hWnd) { return wintable::FindLive(hWnd) ? TRUE : FALSE; }

BOOL IsWindowVisible(HWND hWnd) {
    Window* w = wintable::FindLive(hWnd);
    return (w && w->visible) ? TRUE : FALSE;
}

LONG GetWindowLongA(HWND hWnd, int nIndex) {
    Window* w = wintable::FindLive(hWnd);
    if (!w) return 0;
    switch (nIndex) {
        case GWL_STYLE: return static_cast<LONG>(w->style | (w->visible ? WS_VISIBLE : 0));
        case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
        // Module handles of the layer fit in 32 bits, so this word holds the whole handle.
        case GWL_HINSTANCE: return static_cast<LONG>(reinterpret_cast<intptr_t>(w->instance));
        case GWL_ID: return w->id;
        case GWL_USERDATA: return w->userData;
        default: return 0;
    }
}

LONG SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
    Window* w = wintable::FindLive(hWnd);
    if (!w) return 0;
    LONG previous = GetWindowLongA(hWnd, nIndex);
    switch (nIndex) {
        case GWL_STYLE:
            w->style = static_cast<DWORD>(dwNewLong) & ~WS_VISIBLE;
            ApplyDisplayMode(*w);
            break;
        case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(dwNewLong); break;
        case GWL_USERDATA: w->userData = dwNewLong; break;
        case GWL_ID: w->id = dwNewLong; break;
        default: return 0;
    }
    return previous;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    Window* w = wintable::FindLive(hWnd);
    if (!w || !lpRect) return FALSE;
    *lpRect = w->outer;
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    Window* w = wintable::FindLive(hWnd);
    if (!w || !lpRect) return FALSE;
    int cw, ch;
    ClientSize(*w, &cw, &ch);
    *lpRect = {0, 0, cw, ch};
    return TRUE;
}

HWND GetDesktopWindow(void) { return wintable::DesktopHandle(); }

int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    Window* w = wintable::FindLive(hWnd);
    if (!lpString || nMaxCount <= 0) return 0;
    lpString[0] = '\0';
    if (!w) return 0;
    size_t n = w->title.size() < static_cast<size_t>(nMaxCount - 1) ? w->title.size() : static_cast<size_t>(nMaxCount - 1);
    std::memcpy(lpString, w->title.data(), n);
    lpString[n] = '\0';
    return static_cast<int>(n);
}

namespace layer {
void SetWindowCreatedHook(std::function<void(HWND hWnd)> hook) { CreatedHook() = std::move(hook); }
}  // namespace layer

SDL_Window* PlatformWindowSDL(HWND hWnd) {
    Window* w = wintable::FindLive(hWnd);
    return w ? w->sdl : nullptr;
}
