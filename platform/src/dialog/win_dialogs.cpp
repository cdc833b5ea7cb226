// win_dialogs.cpp -- modal dialogs: DialogBoxParamA builds the dialog window and its controls
// from a registered template, runs the dialog procedure and a modal loop over the view (or the
// test script), and the dialog-item functions reach the controls' model.
#include <cstdio>
#include <memory>
#include <vector>

#include "dialog/dialog_host.h"
#include "dialog/dialog_view.h"
#include "win32/message_queue.h"
#include "sdl/sdl_video.h"
#include "win32/window_registry.h"
#include "winuser.h"

namespace dlghost {
namespace {

std::vector<Host*>& Running() {
    static std::vector<Host*> running;
    return running;
}

std::function<void(HWND)>& ScriptSlot() {
    static std::function<void(HWND)> script;
    return script;
}

// The dialog class's own handling of what the dialog procedure leaves alone.
LRESULT DefaultDialogMessage(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETICON: return DefWindowProcA(hDlg, message, wParam, lParam);
        // A close request is the Esc key's IDCANCEL, which the procedure may ignore.
        case WM_CLOSE: PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0); return 0;
        default: return 0;
    }
}

LRESULT CALLBACK DialogWindowProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
    Host* host = Find(hDlg);
    if (!host) return 0;
    INT_PTR handled = host->proc ? host->proc(hDlg, message, wParam, lParam) : FALSE;
    return handled ? handled : DefaultDialogMessage(hDlg, message, wParam, lParam);
}

LRESULT CALLBACK ControlWindowProc(HWND hCtl, UINT message, WPARAM wParam, LPARAM lParam) {
    wintable::Window* w = wintable::FindAny(hCtl);
    Host* host = w ? Find(w->parent) : nullptr;
    dlgmodel::Control* c = host ? host->model.FindByHandle(hCtl) : nullptr;
    return c ? host->model.ControlMessage(*c, message, wParam, lParam) : 0;
}

HWND CreateDialogWindow(const layer::DialogResource& res, HINSTANCE instance, HWND owner) {
    wintable::Window& w = wintable::AddWindow();
    w.className = "#32770";
    w.title = res.title ? res.title : "";
    w.style = res.style;
    w.proc = DialogWindowProc;
    w.instance = instance;
    w.parent = owner;
    return w.handle;
}

void CreateControlWindows(Host& host, HINSTANCE instance) {
    const layer::DialogResource& res = host.model.Resource();
    for (int i = 0; i < res.itemCount; ++i) {
        wintable::Window& w = wintable::AddWindow();
        const layer::DialogItemResource& item = res.items[i];
        w.className = item.className ? item.className : "static";
        w.title = item.text ? item.text : "";
        w.style = item.style | WS_CHILD;
        w.outer = {item.x, item.y, item.x + item.cx, item.y + item.cy};
        w.proc = ControlWindowProc;
        w.instance = instance;
        w.parent = host.hwnd;
        w.id = item.id;
        w.visible = (item.style & WS_VISIBLE) != 0;
        host.model.Controls()[static_cast<size_t>(i)].hwnd = w.handle;
    }
}

void RemoveHost(Host* host) {
    auto& running = Running();
    for (auto it = running.begin(); it != running.end(); ++it) {
        if (*it == host) {
            running.erase(it);
            return;
        }
    }
}

// Without a person to answer it, a dialog would wait for ever: refuse to show it instead.
bool CanShowDialog() {
    if (!sdlvideo::EnsureVideo()) return false;
    if (!sdlvideo::IsHeadless()) return true;
    std::fprintf(stderr, "trevok: the video driver shows nothing, so no dialog can be answered\n");
    return false;
}

// A dialog whose window another program destroyed ends as one destroyed without EndDialog.
void EndIfLost(Host& host) {
    if (!host.lost || host.ended) return;
    host.ended = true;
    host.result = 0;
}

void RunScript(Host& host) {
    ScriptSlot()(host.hwnd);
    DeliverPosted();
    EndIfLost(host);
    if (host.ended) return;
    std::fprintf(stderr, "trevok: the dialog script left the dialog open\n");
    host.ended = true;
    host.result = -1;
}

void RunView(Host& host) {
    std::unique_ptr<dlgview::View> view = dlgview::View::Open(host);
    if (!view) {
        host.ended = true;
        host.result = -1;
        return;
    }
    while (!host.ended) {
        view->HandleEvents();
        DeliverPosted();
        host.lost = host.lost || view->Lost();
        EndIfLost(host);
        if (!host.ended) view->Draw();
    }
}


}  // namespace

INT_PTR RunModal(const layer::DialogResource& res, HINSTANCE instance, HWND owner, DLGPROC proc, LPARAM param) {
    Host host(res);
    host.proc = proc;
    host.hwnd = CreateDialogWindow(res, instance, owner);
    CreateControlWindows(host, instance);
    host.model.notify = [&host](UINT message, WPARAM wParam, LPARAM lParam) {
        SendMessageA(host.hwnd, message, wParam, lParam);
    };
    Running().push_back(&host);
    host.model.FocusFirst();
    SendMessageA(host.hwnd, WM_INITDIALOG, 0, param);
    DeliverPosted();
    if (!host.ended) {
        if (ScriptSlot())
            RunScript(host);
        else
            RunView(host);
    }
    DestroyWindow(host.hwnd);
    RemoveHost(&host);
    return host.result;
}

Host* Find(HWND hDlg) {
    for (Host* h : Running())
        if (h->hwnd == hDlg) return h;
    return nullptr;
}

void DeliverPosted() {
    MSG msg;
    while (msgqueue::TakeNextPosted(&msg)) DispatchMessageA(&msg);
}

const std::function<void(HWND)>& Script() { return ScriptSlot(); }

RECT ToPixels(const RECT& dlu) {
    auto x = [](LONG v) { return (v * kBaseUnitX + 2) / 4; };
    auto y = [](LONG v) { return (v * kBaseUnitY + 4) / 8; };
    return {x(dlu.left), y(dlu.top), x(dlu.right), y(dlu.bottom)};
}

}  // namespace dlghost

namespace layer {
void SetDialogScript(std::function<void(HWND hDlg)> script) { dlghost::ScriptSlot() = std::move(script); }
}  // namespace layer

INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam) {
    const int id = IS_INTRESOURCE(lpTemplateName) ? static_cast<int>(reinterpret_cast<uintptr_t>(lpTemplateName)) : -1;
    const layer::DialogResource* res = layer::FindDialogResource(id);
    if (!res) {
        std::fprintf(stderr, "trevok: dialog resource %d is missing\n", id);
        return -1;
    }
    if (!dlghost::ScriptSlot() && !dlghost::CanShowDialog()) return -1;
    return dlghost::RunModal(*res, hInstance, hWndParent, lpDialogFunc, dwInitParam);
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult) {
    dlghost::Host* host = dlghost::Find(hDlg);
    if (!host) return FALSE;
    host->ended = true;
    host->result = nResult;
    return TRUE;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
    dlghost::Host* host = dlghost::Find(hDlg);
    dlgmodel::Control* c = host ? host->model.Find(nIDDlgItem) : nullptr;
    return c ? c->hwnd : nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
    wintable::Window* w = wintable::FindLive(hWnd);
    return (w && (w->style & WS_CHILD)) ? w->id : 0;
}

LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item ? SendMessageA(item, Msg, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
    HWND item = GetDlgItem(hDlg, nIDButton);
    if (!item) return FALSE;
    SendMessageA(item, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton) {
    return static_cast<UINT>(SendDlgItemMessageA(hDlg, nIDButton, BM_GETCHECK, 0, 0));
}
