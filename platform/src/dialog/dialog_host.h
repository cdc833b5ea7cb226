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
};

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
