// win_msgbox.cpp -- MessageBoxA: every box is written to standard error and kept for tests, and
// shown as one of the layer's dialogs; in tests and without a display it answers at once.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "dialog/message_box_dialog.h"
#include "layer/message_boxes.h"
#include "winuser.h"

namespace {

std::vector<layer::ShownMessageBox>& Log() {
    static std::vector<layer::ShownMessageBox> log;
    return log;
}

int g_interactive = -1;  // -1: decide from the video driver on first use
int g_answer = IDOK;

bool Interactive() {
    if (g_interactive < 0) {
        const char* driver = std::getenv("SDL_VIDEODRIVER");
        bool headless = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
        g_interactive = headless ? 0 : 1;
    }
    return g_interactive == 1;
}

// The answer a box gives without a person: the first button of its kind, or the test's answer.
int DefaultAnswer(UINT type) {
    switch (type & 0xF) {
        case MB_YESNO:
        case MB_YESNOCANCEL: return g_answer == IDOK ? IDYES : g_answer;
        case MB_ABORTRETRYIGNORE: return g_answer == IDOK ? IDABORT : g_answer;
        case MB_RETRYCANCEL: return g_answer == IDOK ? IDRETRY : g_answer;
        default: return g_answer;
    }
}

}  // namespace

int MessageBoxA(HWND, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    const char* text = lpText ? lpText : "";
    const char* caption = lpCaption ? lpCaption : "Error";
    Log().push_back({text, caption, uType});
    std::fprintf(stderr, "[%s] %s\n", caption, text);

    if (!Interactive()) return DefaultAnswer(uType);
    // Drawn as the program's other dialogs; with no display to show it on, the text is on
    // standard error and the program goes on as if the box were confirmed.
    int pressed = dlghost::RunMessageBox(text, caption, uType);
    return pressed > 0 ? pressed : DefaultAnswer(uType);
}

namespace layer {

const std::vector<ShownMessageBox>& ShownMessageBoxes() { return Log(); }
void ClearShownMessageBoxes() { Log().clear(); }
void SetMessageBoxesInteractive(bool interactive) { g_interactive = interactive ? 1 : 0; }
void SetMessageBoxAnswer(int answer) { g_answer = answer; }

}  // namespace layer
