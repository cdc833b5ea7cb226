// x11_lost_windows.cpp -- the X error handler that turns a window destroyed by another program
// into a lost window instead of the end of the process.
#include "sdl/x11_lost_windows.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include <vector>

namespace {

struct Watched {
    SDL_Window* window;  // null once forgotten
    Display* display;    // null where the window is not an X window
    unsigned long xid;
    bool lost;
};

std::vector<Watched>& Table() {
    static std::vector<Watched> table;
    return table;
}

XErrorHandler g_previous = nullptr;

Watched* Find(SDL_Window* window) {
    for (Watched& w : Table())
        if (window && w.window == window) return &w;
    return nullptr;
}

bool IsWindowQuery(unsigned char request) {
    return request == X_GetWindowAttributes || request == X_GetGeometry || request == X_QueryTree ||
           request == X_TranslateCoords;
}

// Runs inside Xlib, so it makes no X request and touches no window: it only marks. A window is
// known by its id on any connection: SDL wakes a waiting event loop with an event sent to one of
// the windows over a connection of its own, and that error may come in after the window is gone.
int OnXError(Display* display, XErrorEvent* error) {
    bool anyLost = false;
    for (Watched& w : Table()) {
        if (!w.display) continue;
        if (w.xid == error->resourceid) {
            if (error->error_code == BadWindow || error->error_code == BadDrawable) w.lost = true;
            if (w.lost) return 0;
        }
        anyLost = anyLost || w.lost;
    }
    // SDL takes a lost full-screen window out of full screen when it sees the window unmapped, and
    // goes on to ask about the window's parent, which the failed query left undefined: a query
    // about a window that does not exist changes nothing, so that error passes too.
    if (anyLost && error->error_code == BadWindow && IsWindowQuery(error->request_code)) return 0;
    return g_previous ? g_previous(display, error) : 0;
}

}  // namespace

namespace x11lost {

void Watch(SDL_Window* window) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!window || !driver || SDL_strcmp(driver, "x11") != 0) return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    // SDL puts back the handler it found when its video stops, so it is checked at every window.
    XErrorHandler current = XSetErrorHandler(OnXError);
    if (current != OnXError) g_previous = current;
    Table().push_back({window, info.info.x11.display, info.info.x11.window, false});
}

void MarkLost(SDL_Window* window) {
    if (Watched* w = Find(window)) {
        w->lost = true;
    } else if (window) {
        Table().push_back({window, nullptr, 0, true});
    }
}

bool IsLost(SDL_Window* window) {
    Watched* w = Find(window);
    return w && w->lost;
}

bool IsGone(SDL_Window* window) {
    Watched* w = Find(window);
    if (!w) return false;
    // SDL's event pump reads and drops the destroy notice at its next turn; what has come in since
    // is read here. Other events stay queued for SDL.
    XEvent destroyed;
    if (!w->lost && w->display && XCheckTypedWindowEvent(w->display, w->xid, DestroyNotify, &destroyed))
        w->lost = true;
    return w->lost;
}

void Destroy(SDL_Window* window) {
    Watched* w = Find(window);
    // SDL hides a shown window before it destroys it, and waits for the server to report the
    // window unmapped; for a window that is gone that report may never come, so it is queued here.
    if (w && w->lost && w->display) {
        XEvent unmapped = {};
        unmapped.xunmap.type = UnmapNotify;
        unmapped.xunmap.display = w->display;
        unmapped.xunmap.event = unmapped.xunmap.window = w->xid;
        XPutBackEvent(w->display, &unmapped);
    }
    SDL_DestroyWindow(window);
    if (!w) return;
    if (!w->lost || !w->display) {
        Table().erase(Table().begin() + (w - Table().data()));
        return;
    }
    w->window = nullptr;  // the same address may come back as another window
    XSync(w->display, False);
}

}  // namespace x11lost
