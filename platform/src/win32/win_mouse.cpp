// win_mouse.cpp -- the mouse as windows see it: the cursor in screen and client coordinates,
// and SDL's mouse events posted as WM_MOUSEMOVE and the button messages.
#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "layer/input.h"
#include "win32/message_queue.h"
#include "win32/mouse_messages.h"
#include "win32/window_registry.h"
#include "winuser.h"

namespace {

struct MouseState {
    bool injected = false;  // a test put the cursor here
    POINT cursor = {};
    Uint32 sdlButtons = 0;  // what the buttons events have said, for injected moves
};

MouseState& Mouse() {
    static MouseState state;
    return state;
}

// How a top-level window's SDL window shows its client area: at `origin` on the screen, scaled
// by `scale` and moved by `offset` within the SDL window (full screen letterboxes the picture).
struct ClientPlacement {
    int originX = 0, originY = 0;
    double scale = 1.0, offsetX = 0.0, offsetY = 0.0;
};

bool PlacementOf(HWND hWnd, ClientPlacement* p) {
    wintable::Window* w = wintable::FindLive(hWnd);
    RECT client;
    if (!w || !w->sdl || !GetClientRect(hWnd, &client)) return false;
    SDL_GetWindowPosition(w->sdl, &p->originX, &p->originY);
    int sw = 0, sh = 0;
    SDL_GetWindowSize(w->sdl, &sw, &sh);
    const int cw = client.right, ch = client.bottom;
    if (sw <= 0 || sh <= 0 || (sw == cw && sh == ch)) return true;
    p->scale = std::min((double)sw / cw, (double)sh / ch);
    p->offsetX = (sw - cw * p->scale) / 2.0;
    p->offsetY = (sh - ch * p->scale) / 2.0;
    return true;
}

// From the SDL window's own coordinates to the client area's.
POINT WindowToClient(const ClientPlacement& p, int x, int y) {
    return POINT{(LONG)std::floor((x - p.offsetX) / p.scale), (LONG)std::floor((y - p.offsetY) / p.scale)};
}

HWND WindowOfSdlId(Uint32 id) {
    for (HWND h : wintable::WindowHandles()) {
        wintable::Window* w = wintable::FindLive(h);
        if (w && w->sdl && SDL_GetWindowID(w->sdl) == id) return h;
    }
    return nullptr;
}

WPARAM KeyFlags(Uint32 sdlButtons) {
    WPARAM flags = 0;
    if (sdlButtons & SDL_BUTTON_LMASK) flags |= MK_LBUTTON;
    if (sdlButtons & SDL_BUTTON_RMASK) flags |= MK_RBUTTON;
    if (sdlButtons & SDL_BUTTON_MMASK) flags |= MK_MBUTTON;
    if (sdlButtons & SDL_BUTTON_X1MASK) flags |= MK_XBUTTON1;
    if (sdlButtons & SDL_BUTTON_X2MASK) flags |= MK_XBUTTON2;
    const SDL_Keymod mods = SDL_GetModState();
    if (mods & KMOD_SHIFT) flags |= MK_SHIFT;
    if (mods & KMOD_CTRL) flags |= MK_CONTROL;
    return flags;
}

// The down, up and double-click messages of a button, or 0 for buttons without messages.
UINT ButtonMessage(Uint8 button, bool down, bool doubleClick) {
    UINT first;
    switch (button) {
        case SDL_BUTTON_LEFT: first = WM_LBUTTONDOWN; break;
        case SDL_BUTTON_RIGHT: first = WM_RBUTTONDOWN; break;
        case SDL_BUTTON_MIDDLE: first = WM_MBUTTONDOWN; break;
        default: return 0;
    }
    return down ? (doubleClick ? first + 2 : first) : first + 1;
}

bool WantsDoubleClicks(HWND hWnd) {
    wintable::Window* w = wintable::FindLive(hWnd);
    wintable::WindowClass* cls = w ? wintable::FindClass(w->className.c_str()) : nullptr;
    return cls && (cls->style & CS_DBLCLKS);
}

void Post(Uint32 windowId, UINT message, Uint32 sdlButtons, int x, int y) {
    HWND hWnd = WindowOfSdlId(windowId);
    ClientPlacement placement;
    if (!hWnd || !PlacementOf(hWnd, &placement)) return;
    const POINT pt = WindowToClient(placement, x, y);
    msgqueue::PostMouseMessage(hWnd, message, KeyFlags(sdlButtons), MAKELPARAM((WORD)pt.x, (WORD)pt.y));
}

int WatchMouse(void*, SDL_Event* e) {
    MouseState& mouse = Mouse();
    if (e->type == SDL_MOUSEMOTION) {
        Post(e->motion.windowID, WM_MOUSEMOVE, e->motion.state, e->motion.x, e->motion.y);
    } else if (e->type == SDL_MOUSEBUTTONDOWN || e->type == SDL_MOUSEBUTTONUP) {
        const bool down = e->type == SDL_MOUSEBUTTONDOWN;
        const Uint32 bit = SDL_BUTTON(e->button.button);
        mouse.sdlButtons = down ? (mouse.sdlButtons | bit) : (mouse.sdlButtons & ~bit);
        const HWND hWnd = WindowOfSdlId(e->button.windowID);
        const bool doubleClick = down && e->button.clicks >= 2 && e->button.clicks % 2 == 0 && WantsDoubleClicks(hWnd);
        const UINT message = ButtonMessage(e->button.button, down, doubleClick);
        if (message) Post(e->button.windowID, message, mouse.sdlButtons, e->button.x, e->button.y);
    }
    return 0;
}

Uint32 SdlIdOf(HWND hWnd) {
    wintable::Window* w = wintable::FindLive(hWnd);
    return w && w->sdl ? SDL_GetWindowID(w->sdl) : 0;
}

}  // namespace

namespace winmouse {

void WatchMouseEvents() {
    // SDL forgets its watches when its event loop stops, so the watch is made anew each time.
    SDL_DelEventWatch(WatchMouse, nullptr);
    SDL_AddEventWatch(WatchMouse, nullptr);
}

}  // namespace winmouse

BOOL GetCursorPos(LPPOINT lpPoint) {
    if (!lpPoint) return FALSE;
    if (Mouse().injected) {
        *lpPoint = Mouse().cursor;
        return TRUE;
    }
    int x = 0, y = 0;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_GetGlobalMouseState(&x, &y);
    *lpPoint = POINT{x, y};
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    if (!lpPoint) return FALSE;
    if (hWnd == GetDesktopWindow()) return TRUE;
    ClientPlacement p;
    if (!PlacementOf(hWnd, &p)) return FALSE;
    *lpPoint = WindowToClient(p, lpPoint->x - p.originX, lpPoint->y - p.originY);
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    if (!lpPoint) return FALSE;
    if (hWnd == GetDesktopWindow()) return TRUE;
    ClientPlacement p;
    if (!PlacementOf(hWnd, &p)) return FALSE;
    lpPoint->x = p.originX + (LONG)std::lround(p.offsetX + lpPoint->x * p.scale);
    lpPoint->y = p.originY + (LONG)std::lround(p.offsetY + lpPoint->y * p.scale);
    return TRUE;
}

namespace layer {

void InjectCursorPosition(const POINT* position) {
    Mouse().injected = position != nullptr;
    if (position) Mouse().cursor = *position;
}

void InjectWindowMouseMove(HWND hWnd, int x, int y) {
    SDL_Event e = {};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = SdlIdOf(hWnd);
    e.motion.state = Mouse().sdlButtons;
    e.motion.x = x;
    e.motion.y = y;
    if (e.motion.windowID) SDL_PushEvent(&e);
}

void InjectWindowMouseButton(HWND hWnd, int button, bool down, int x, int y, int clicks) {
    static const Uint8 kSdlButtons[3] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE};
    if (button < 0 || button > 2) return;
    SDL_Event e = {};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = SdlIdOf(hWnd);
    e.button.button = kSdlButtons[button];
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = (Uint8)clicks;
    e.button.x = x;
    e.button.y = y;
    if (e.button.windowID) SDL_PushEvent(&e);
}

}  // namespace layer
