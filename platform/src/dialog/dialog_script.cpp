// dialog_script.cpp -- operating a running dialog as a person would, for tests.
#include "dialog/dialog_host.h"
#include "layer/dialogs.h"
#include "win32/window_registry.h"

namespace {

dlgmodel::Control* ControlOf(HWND hDlg, int id, dlghost::Host** host = nullptr) {
    dlghost::Host* h = dlghost::Find(hDlg);
    if (host) *host = h;
    return h ? h->model.Find(id) : nullptr;
}

// Does what a person does to a visible control, then delivers the messages it posted.
template <typename Action>
bool ActOnVisible(HWND hDlg, int id, Action action) {
    dlghost::Host* host;
    dlgmodel::Control* c = ControlOf(hDlg, id, &host);
    if (!c || !c->visible) return false;
    action(host->model, *c);
    dlghost::DeliverPosted();
    return true;
}

}  // namespace

namespace layer {

bool ClickDialogControl(HWND hDlg, int id) {
    return ActOnVisible(hDlg, id, [](dlgmodel::Model& m, dlgmodel::Control& c) { m.Click(c); });
}

bool ChooseDialogComboItem(HWND hDlg, int id, int index) {
    bool chosen = false;
    ActOnVisible(hDlg, id, [&](dlgmodel::Model& m, dlgmodel::Control& c) {
        if (c.kind != dlgmodel::Kind::ComboBox) return;
        m.ChooseItem(c, index);
        chosen = c.selection == index;
    });
    return chosen;
}

bool DragDialogTrackbar(HWND hDlg, int id, double fraction) {
    bool dragged = false;
    ActOnVisible(hDlg, id, [&](dlgmodel::Model& m, dlgmodel::Control& c) {
        if (c.kind != dlgmodel::Kind::Trackbar) return;
        m.DragTrackbar(c, fraction);
        dragged = true;
    });
    return dragged;
}

void PressDialogKey(HWND hDlg, DialogKey key) {
    if (dlghost::Host* host = dlghost::Find(hDlg)) {
        host->model.Key(key);
        dlghost::DeliverPosted();
    }
}

int DialogFocusId(HWND hDlg) {
    dlghost::Host* host = dlghost::Find(hDlg);
    dlgmodel::Control* c = host ? host->model.Focused() : nullptr;
    return c ? c->id : 0;
}

bool IsDialogControlVisible(HWND hDlg, int id) {
    dlgmodel::Control* c = ControlOf(hDlg, id);
    return c && c->visible;
}

bool IsDialogComboDropped(HWND hDlg, int id) {
    dlgmodel::Control* c = ControlOf(hDlg, id);
    return c && c->dropped;
}

std::string DialogTitle(HWND hDlg) {
    wintable::Window* w = dlghost::Find(hDlg) ? wintable::FindLive(hDlg) : nullptr;
    return w ? w->title : std::string();
}

HICON DialogIcon(HWND hDlg, bool big) {
    wintable::Window* w = dlghost::Find(hDlg) ? wintable::FindLive(hDlg) : nullptr;
    return w ? (big ? w->bigIcon : w->smallIcon) : nullptr;
}

bool DialogControlPixels(HWND hDlg, int id, RECT* rect) {
    dlgmodel::Control* c = ControlOf(hDlg, id);
    if (!c || !rect) return false;
    *rect = dlghost::ToPixels(c->dlu);
    return true;
}

}  // namespace layer
