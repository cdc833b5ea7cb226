// dialog_host.h -- a running modal dialog: its window, its procedure and its model.
#pragma once

#include <functional>

#include "dialog/dialog_model.h"
#include "winuser.h"

namespace dlghost {

struct Host {
    explicit Host(const layer::DialogResource& resource) : model(resource) {}
    HWND hwnd = nullptr;
    DLGPROC proc = nullptr;
    dlgmodel::Model model;
    bool ended = false;
    INT_PTR result = 0;
    bool lost = false;  // another program destroyed its window
};

// Runs a modal dialog of the template to its end (shown by the view, or by the test script when
// one is set) and answers what the procedure ended it with; -1 when it could not be shown.
INT_PTR RunModal(const layer::DialogResource& res, HINSTANCE instance, HWND owner, DLGPROC proc, LPARAM param);
// The host of a dialog window that is running, or null.
Host* Find(HWND hDlg);
// Delivers every posted message waiting (WM_QUIT stays queued).
void DeliverPosted();
// The test script, when one is set.
const std::function<void(HWND)>& Script();

// Dialog-unit to pixel scale of the dialogs' font (pixels per 4 horizontal and 8 vertical units).
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;
RECT ToPixels(const RECT& dlu);

}  // namespace dlghost
