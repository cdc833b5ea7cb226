// x11_lost_windows.cpp -- the X error handler that turns a window destroyed by another program
// into a lost window instead of the end of the process, and the watcher that ends SDL's waits
// on such a window.
#include "sdl/x11_lost_windows.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// The GLX extension's errors about a drawable, counted from its first error code.
constexpr int kGlxBadDrawable = 2;
constexpr int kGlxBadCurrentWindow = 5;
constexpr int kGlxBadCurrentDrawable = 11;
constexpr int kGlxBadWindow = 12;

struct Watched {
    SDL_Window* window;
    Display* display;  // null where the window is not an X window
    unsigned long xid;
    bool lost;
    bool told;  // the watcher has sent the reports that SDL may wait for
};

// Everything the error handler (on whichever thread an X call fails) and the watcher read is
// guarded by one mutex, which is never held across an X call.
struct State {
    std::mutex mutex;
    std::vector<Watched> table;
    std::vector<unsigned long> retired;  // ids of our windows that are destroyed
    XErrorHandler previous = nullptr;
    int glxFirstError = -1;
    // The watcher, while any X window is watched.
    Display* display = nullptr;  // SDL's connection
    Window mailbox = 0;          // SDL's connection receives what is sent to it
    std::thread watcher;
    int wake[2] = {-1, -1};
    std::vector<unsigned long> toFollow;
    bool stop = false;
};

// Never destroyed: the process may end (Xlib's exit on an error of no window of ours) while the
// watcher runs.
State& S() {
    static State* state = new State;
    return *state;
}

Watched* Find(SDL_Window* window) {
    for (Watched& w : S().table)
        if (window && w.window == window) return &w;
    return nullptr;
}

bool IsWindowQuery(unsigned char request) {
    return request == X_GetWindowAttributes || request == X_GetGeometry || request == X_QueryTree ||
           request == X_TranslateCoords;
}

bool IsDrawableError(int code, int glxFirst) {
    if (code == BadWindow || code == BadDrawable) return true;
    const int glx = glxFirst >= 0 ? code - glxFirst : -1;
    return glx == kGlxBadDrawable || glx == kGlxBadCurrentWindow || glx == kGlxBadCurrentDrawable ||
           glx == kGlxBadWindow;
}

void Wake() {
    if (S().wake[1] < 0) return;
    const char byte = 0;
    [[maybe_unused]] ssize_t written = write(S().wake[1], &byte, 1);
}

// Marks the window of the id lost; true when it was not lost before.
bool MarkLostLocked(unsigned long xid) {
    for (Watched& w : S().table) {
        if (!w.display || w.xid != xid || w.lost) continue;
        w.lost = true;
        return true;
    }
    return false;
}

// Runs inside Xlib, so it makes no X request: it only marks. A window is known by its id on any
// connection: SDL wakes a waiting event loop with an event sent to one of the windows over a
// connection of its own, and the watcher follows the windows over another.
int OnXError(Display* display, XErrorEvent* error) {
    XErrorHandler previous;
    {
        std::lock_guard<std::mutex> lock(S().mutex);
        const bool drawable = IsDrawableError(error->error_code, S().glxFirstError);
        bool anyLost = false;
        for (Watched& w : S().table) {
            if (w.display && w.xid == error->resourceid) {
                if (drawable && !w.lost) {
                    w.lost = true;
                    Wake();
                }
                if (w.lost) return 0;
            }
            anyLost = anyLost || w.lost;
        }
        const auto& retired = S().retired;
        if (drawable && std::find(retired.begin(), retired.end(), error->resourceid) != retired.end()) return 0;
        // A report the watcher sends goes nowhere once the mailbox went with SDL's connection.
        if (error->error_code == BadWindow && S().mailbox && error->resourceid == S().mailbox) return 0;
        // SDL takes a lost full-screen window out of full screen when it sees the window unmapped, and
        // goes on to ask about the window's parent, which the failed query left undefined: while a lost
        // window waits to be destroyed, a query about a window that does not exist passes too.
        if (anyLost && error->error_code == BadWindow && IsWindowQuery(error->request_code)) return 0;
        previous = S().previous;
    }
    return previous ? previous(display, error) : 0;
}

// A report of the window mapped or unmapped, sent to the mailbox: SDL's waits look at the window
// it names, its event loop at the mailbox, which it does not know and passes over.
void SendReport(Display* own, Window mailbox, int type, unsigned long xid) {
    XEvent e = {};
    if (type == MapNotify) {
        e.xmap.type = MapNotify;
        e.xmap.event = mailbox;
        e.xmap.window = xid;
    } else {
        e.xunmap.type = UnmapNotify;
        e.xunmap.event = mailbox;
        e.xunmap.window = xid;
    }
    XSendEvent(own, mailbox, False, NoEventMask, &e);
}

// The watcher thread: follows the destruction of every watched window over its own connection
// and tells SDL's connection of each lost one.
void Watcher(Display* own, int wake) {
    for (;;) {
        std::vector<unsigned long> follow;
        {
            std::lock_guard<std::mutex> lock(S().mutex);
            if (S().stop) break;
            follow.swap(S().toFollow);
        }
        for (unsigned long xid : follow) XSelectInput(own, xid, StructureNotifyMask);
        XSync(own, False);  // a window already gone fails here, and the handler marks it
        while (XPending(own)) {
            XEvent e;
            XNextEvent(own, &e);
            if (e.type != DestroyNotify) continue;
            std::lock_guard<std::mutex> lock(S().mutex);
            MarkLostLocked(e.xdestroywindow.window);
        }
        std::vector<unsigned long> tell;
        Window mailbox;
        {
            std::lock_guard<std::mutex> lock(S().mutex);
            mailbox = S().mailbox;
            for (Watched& w : S().table) {
                if (!w.display || !w.lost || w.told) continue;
                w.told = true;
                tell.push_back(w.xid);
            }
        }
        for (unsigned long xid : tell) {
            SendReport(own, mailbox, MapNotify, xid);
            SendReport(own, mailbox, UnmapNotify, xid);
        }
        XFlush(own);
        pollfd fds[2] = {{ConnectionNumber(own), POLLIN, 0}, {wake, POLLIN, 0}};
        if (!XPending(own)) poll(fds, 2, -1);
        char bytes[64];
        while (read(wake, bytes, sizeof bytes) > 0) {
        }
    }
    XSync(own, False);
    XCloseDisplay(own);
}

// Starts the watcher for SDL's connection; false where it cannot (the windows are then only known
// lost by the errors about them).
bool StartWatcher(Display* display) {
    State& s = S();
    if (s.watcher.joinable()) return true;
    Display* own = XOpenDisplay(DisplayString(display));
    if (!own) return false;
    int wake[2];
    if (pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0) {
        XCloseDisplay(own);
        return false;
    }
    s.display = display;
    const Window mailbox = XCreateWindow(display, DefaultRootWindow(display), -1, -1, 1, 1, 0, CopyFromParent,
                                         InputOnly, CopyFromParent, 0, nullptr);
    XSync(display, False);  // the mailbox exists before anything is sent to it
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.mailbox = mailbox;
        std::copy(wake, wake + 2, s.wake);
        s.stop = false;
    }
    s.watcher = std::thread(Watcher, own, wake[0]);
    return true;
}

// Stops the watcher once no X window is watched.
void StopWatcherIfIdle() {
    State& s = S();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        for (const Watched& w : s.table)
            if (w.display) return;
        if (!s.watcher.joinable()) return;
        s.stop = true;
        Wake();
    }
    s.watcher.join();
    int wake[2];
    Window mailbox;
    {
        std::lock_guard<std::mutex> lock(s.mutex);  // the handler may be about to wake it
        std::copy(s.wake, s.wake + 2, wake);
        s.wake[0] = s.wake[1] = -1;
        mailbox = s.mailbox;
        s.mailbox = 0;
    }
    close(wake[0]);
    close(wake[1]);
    XDestroyWindow(s.display, mailbox);
    XFlush(s.display);
    s.display = nullptr;
}

}  // namespace

namespace x11lost {

void Watch(SDL_Window* window) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!window || !driver || SDL_strcmp(driver, "x11") != 0) return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    Display* display = info.info.x11.display;
    const unsigned long xid = info.info.x11.window;
    int opcode, firstEvent, firstError;
    const bool glx = XQueryExtension(display, "GLX", &opcode, &firstEvent, &firstError);
    // SDL puts back the handler it found when its video stops, so it is checked at every window.
    XErrorHandler current = XSetErrorHandler(OnXError);
    const bool following = StartWatcher(display);
    std::lock_guard<std::mutex> lock(S().mutex);
    State& s = S();
    if (current != OnXError) s.previous = current;
    s.glxFirstError = glx ? firstError : -1;
    s.retired.erase(std::remove(s.retired.begin(), s.retired.end(), xid), s.retired.end());
    s.table.push_back({window, display, xid, false, false});
    if (following) {
        s.toFollow.push_back(xid);
        Wake();
    }
}

void MarkLost(SDL_Window* window) {
    std::lock_guard<std::mutex> lock(S().mutex);
    if (Watched* w = Find(window)) {
        w->lost = true;
        Wake();
    } else if (window) {
        S().table.push_back({window, nullptr, 0, true, false});
    }
}

bool IsLost(SDL_Window* window) {
    std::lock_guard<std::mutex> lock(S().mutex);
    Watched* w = Find(window);
    return w && w->lost;
}

bool IsGone(SDL_Window* window) {
    Display* display;
    unsigned long xid;
    {
        std::lock_guard<std::mutex> lock(S().mutex);
        Watched* w = Find(window);
        if (!w || w->lost || !w->display) return w && w->lost;
        display = w->display;
        xid = w->xid;
    }
    // SDL's event pump reads and drops the destroy notice at its next turn; what has come in since
    // is read here. Other events stay queued for SDL.
    XEvent destroyed;
    if (!XCheckTypedWindowEvent(display, xid, DestroyNotify, &destroyed)) return IsLost(window);
    std::lock_guard<std::mutex> lock(S().mutex);
    MarkLostLocked(xid);
    return true;
}

bool Show(SDL_Window* window) {
    if (IsGone(window)) return false;
    SDL_ShowWindow(window);
    return true;
}

void Destroy(SDL_Window* window) {
    Display* display = nullptr;
    unsigned long xid = 0;
    bool lost = false;
    {
        std::lock_guard<std::mutex> lock(S().mutex);
        if (Watched* w = Find(window)) {
            display = w->display;
            xid = w->xid;
            lost = w->lost;
        }
    }
    // SDL hides a shown window before it destroys it, and waits for the server to report the
    // window unmapped; for a window that is gone that report may never come, so it is queued here.
    if (lost && display) {
        XEvent unmapped = {};
        unmapped.xunmap.type = UnmapNotify;
        unmapped.xunmap.display = display;
        unmapped.xunmap.event = unmapped.xunmap.window = xid;
        XPutBackEvent(display, &unmapped);
    }
    SDL_DestroyWindow(window);
    if (display) XSync(display, False);
    {
        std::lock_guard<std::mutex> lock(S().mutex);
        auto& table = S().table;
        table.erase(std::remove_if(table.begin(), table.end(), [&](const Watched& w) { return w.window == window; }),
                    table.end());
        if (display) S().retired.push_back(xid);
    }
    StopWatcherIfIdle();
}

}  // namespace x11lost
