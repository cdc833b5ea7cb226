// win_messages.cpp -- posted and sent messages, the default window procedure, SDL's close
// requests turned into WM_CLOSE, and windows that another program destroyed into WM_DESTROY.
#include <SDL.h>

#include <deque>
#include <functional>
#include <utility>

#include "dialog/dialog_host.h"
#include "layer/window_hooks.h"
#include "win32/message_queue.h"
#include "mmsystem.h"
#include "sdl/platform_events.h"
#include "sdl/x11_lost_windows.h"
#include "win32/window_registry.h"
#include "winuser.h"

namespace {

struct QueueState {
    std::deque<MSG> posted;
    bool quitPending = false;
    int quitCode = 0;
};

QueueState& Queue() {
    static QueueState state;
    return state;
}

std::function<void()>& IdleHook() {
    static std::function<void()> hook;
    return hook;
}

// Input events are read by polling; a queue that nobody empties is kept from overflowing.
constexpr int kMaxWaitingEvents = 4096;
// As many messages as a thread's queue holds on Windows.
constexpr size_t kMaxPostedMessages = 10000;

bool InRange(UINT message, UINT first, UINT last) {
    if (first == 0 && last == 0) return true;
    return message >= first && message <= last;
}

MSG MakeMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = timeGetTime();
    return msg;
}

HWND WindowOfSdl(Uint32 sdlWindowId) {
    for (HWND h : wintable::WindowHandles()) {
        wintable::Window* w = wintable::FindLive(h);
        if (w && w->sdl && SDL_GetWindowID(w->sdl) == sdlWindowId) return h;
    }
    return nullptr;
}

void PostCloseToTopLevelWindows() {
    for (HWND h : wintable::WindowHandles()) {
        wintable::Window* w = wintable::FindLive(h);
        if (w && w->sdl) PostMessageA(h, WM_CLOSE, 0, 0);
    }
}

// A window that another program destroyed gets its WM_DESTROY now, as if it had been closed.
void DestroyLostWindows() {
    for (HWND h : wintable::WindowHandles()) {
        wintable::Window* w = wintable::FindLive(h);
        if (w && w->sdl && x11lost::IsLost(w->sdl)) DestroyWindow(h);
    }
}

void TranslateSdlEvent(const SDL_Event& e) {
    if (e.type == SDL_QUIT) {
        PostCloseToTopLevelWindows();
    } else if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE) {
        if (HWND h = WindowOfSdl(e.window.windowID)) PostMessageA(h, WM_CLOSE, 0, 0);
    }
}

}  // namespace

namespace msgqueue {

bool TakePosted(MSG* msg, HWND hWnd, UINT first, UINT last, bool remove) {
    QueueState& q = Queue();
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if ((hWnd && it->hwnd != hWnd) || !InRange(it->message, first, last)) continue;
        *msg = *it;
        if (remove) q.posted.erase(it);
        return true;
    }
    if (q.quitPending && InRange(WM_QUIT, first, last)) {
        *msg = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0);
        if (remove) q.quitPending = false;
        return true;
    }
    return false;
}

bool TakeNextPosted(MSG* msg) {
    auto& posted = Queue().posted;
    if (posted.empty()) return false;
    *msg = posted.front();
    posted.pop_front();
    return true;
}

void PostMouseMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& posted = Queue().posted;
    if (message == WM_MOUSEMOVE && !posted.empty() && posted.back().message == WM_MOUSEMOVE &&
        posted.back().hwnd == hWnd) {
        posted.back() = MakeMessage(hWnd, message, wParam, lParam);
        return;
    }
    if (posted.size() < kMaxPostedMessages) PostMessageA(hWnd, message, wParam, lParam);
}

void DropMessagesFor(HWND hWnd) {
    auto& posted = Queue().posted;
    for (auto it = posted.begin(); it != posted.end();) it = (it->hwnd == hWnd) ? posted.erase(it) : it + 1;
}

void PumpSystemEvents() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_PumpEvents();
    SDL_Event events[16];
    int n;
    while ((n = SDL_PeepEvents(events, 16, SDL_GETEVENT, SDL_QUIT, SDL_SYSWMEVENT)) > 0)
        for (int i = 0; i < n; ++i) TranslateSdlEvent(events[i]);
    DestroyLostWindows();
    if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > kMaxWaitingEvents)
        SDL_FlushEvents(SDL_KEYDOWN, SDL_LASTEVENT);
}

void ListenToPlatformEvents() { SetPlatformEventHandler(TranslateSdlEvent); }

}  // namespace msgqueue

namespace layer {

void SetIdleHook(std::function<void()> hook) { IdleHook() = std::move(hook); }

void PostSystemCloseRequest(HWND hWnd) {
    wintable::Window* w = wintable::FindLive(hWnd);
    if (!w || !w->sdl) return;
    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    e.window.windowID = SDL_GetWindowID(w->sdl);
    SDL_PushEvent(&e);
}

void ReportWindowLost(HWND hWnd) {
    if (dlghost::Host* dialog = dlghost::Find(hWnd))
        dialog->lost = true;
    else if (wintable::Window* w = wintable::FindLive(hWnd))
        x11lost::MarkLost(w->sdl);
}

void PostSystemQuitRequest() {
    SDL_Event e = {};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

}  // namespace layer

namespace {

bool Peek(LPMSG lpMsg, HWND hWnd, UINT first, UINT last, UINT remove) {
    msgqueue::PumpSystemEvents();
    return msgqueue::TakePosted(lpMsg, hWnd, first, last, (remove & PM_REMOVE) != 0);
}

}  // namespace

BOOL PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (!lpMsg) return FALSE;
    if (Peek(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg)) return TRUE;
    if (!IdleHook()) return FALSE;
    IdleHook()();  // what it posts is answered now
    return Peek(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
}

BOOL GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (!lpMsg) return -1;
    while (!Peek(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE)) {
        if (SDL_WasInit(SDL_INIT_VIDEO))
            SDL_WaitEventTimeout(nullptr, 10);
        else
            SDL_Delay(1);
    }
    return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* lpMsg) {
    if (!lpMsg || !lpMsg->hwnd) return 0;
    return SendMessageA(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd && !wintable::FindLive(hWnd)) return FALSE;
    Queue().posted.push_back(MakeMessage(hWnd, Msg, wParam, lParam));
    return TRUE;
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    wintable::Window* w = wintable::FindAny(hWnd);
    // WM_DESTROY and WM_NCDESTROY still reach a window while it is being destroyed.
    if (!w || !w->proc || (w->destroyed && Msg != WM_DESTROY && Msg != WM_NCDESTROY)) return 0;
    return w->proc(hWnd, Msg, wParam, lParam);
}

void PostQuitMessage(int nExitCode) {
    Queue().quitPending = true;
    Queue().quitCode = nExitCode;
}

LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    wintable::Window* w = wintable::FindLive(hWnd);
    switch (Msg) {
        case WM_CLOSE: DestroyWindow(hWnd); return 0;
        case WM_NCDESTROY: msgqueue::DropMessagesFor(hWnd); return 0;
        case WM_SETICON: {
            if (!w) return 0;
            HICON& slot = (wParam == ICON_BIG) ? w->bigIcon : w->smallIcon;
            HICON previous = slot;
            slot = reinterpret_cast<HICON>(lParam);
            return reinterpret_cast<LRESULT>(previous);
        }
        default: return 0;
    }
}
