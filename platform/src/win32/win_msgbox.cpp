// win_msgbox.cpp -- MessageBoxA over SDL's message boxes. Every box is also written to
// standard error and kept for tests; without a display it answers at once.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

struct Buttons {
    SDL_MessageBoxButtonData data[3];
    int count;
};

Buttons ButtonsFor(UINT type) {
    const Uint32 ret = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, esc = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    switch (type & 0xF) {
        case MB_OKCANCEL: return {{{ret, IDOK, "OK"}, {esc, IDCANCEL, "Cancel"}, {}}, 2};
        case MB_ABORTRETRYIGNORE:
            return {{{ret, IDABORT, "Abort"}, {0, IDRETRY, "Retry"}, {esc, IDIGNORE, "Ignore"}}, 3};
        case MB_YESNOCANCEL: return {{{ret, IDYES, "Yes"}, {0, IDNO, "No"}, {esc, IDCANCEL, "Cancel"}}, 3};
        case MB_YESNO: return {{{ret, IDYES, "Yes"}, {esc, IDNO, "No"}, {}}, 2};
        case MB_RETRYCANCEL: return {{{ret, IDRETRY, "Retry"}, {esc, IDCANCEL, "Cancel"}, {}}, 2};
        default: return {{{ret | esc, IDOK, "OK"}, {}, {}}, 1};
    }
}

Uint32 IconFlags(UINT type) {
    switch (type & 0xF0) {
        case MB_ICONHAND: return SDL_MESSAGEBOX_ERROR;
        case MB_ICONEXCLAMATION: return SDL_MESSAGEBOX_WARNING;
        default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

}  // namespace

int MessageBoxA(HWND, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    const char* text = lpText ? lpText : "";
    const char* caption = lpCaption ? lpCaption : "Error";
    Log().push_back({text, caption, uType});
    std::fprintf(stderr, "[%s] %s\n", caption, text);

    if (!Interactive()) return DefaultAnswer(uType);

    Buttons buttons = ButtonsFor(uType);
    SDL_MessageBoxData box = {};
    box.flags = IconFlags(uType);
    box.title = caption;
    box.message = text;
    box.numbuttons = buttons.count;
    box.buttons = buttons.data;
    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) != 0 || pressed <= 0) {
        // No display to show it on: the text is on standard error, go on as if confirmed.
        return DefaultAnswer(uType);
    }
    return pressed;
}

namespace layer {

const std::vector<ShownMessageBox>& ShownMessageBoxes() { return Log(); }
void ClearShownMessageBoxes() { Log().clear(); }
void SetMessageBoxesInteractive(bool interactive) { g_interactive = interactive ? 1 : 0; }
void SetMessageBoxAnswer(int answer) { g_answer = answer; }

}  // namespace layer
