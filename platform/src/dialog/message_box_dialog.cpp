// message_box_dialog.cpp -- a message box as one of the layer's own dialogs: a template laid out
// round the text (the icon that the call asks for, the lines, a row of buttons), run modally
// with the same drawing and keys as every other dialog.
#include "dialog/message_box_dialog.h"

#include <SDL.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dialog/dialog_host.h"
#include "dialog/dialog_stock_icons.h"
#include "dialog/dialog_text.h"
#include "dialog/dialog_view.h"
#include "sdl/sdl_video.h"

namespace dlghost {
namespace {

struct ButtonRow {
    int ids[3];
    const char* labels[3];
    int count;
};

ButtonRow ButtonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return {{IDOK, IDCANCEL}, {"OK", "Cancel"}, 2};
        case MB_ABORTRETRYIGNORE: return {{IDABORT, IDRETRY, IDIGNORE}, {"Abort", "Retry", "Ignore"}, 3};
        case MB_YESNOCANCEL: return {{IDYES, IDNO, IDCANCEL}, {"Yes", "No", "Cancel"}, 3};
        case MB_YESNO: return {{IDYES, IDNO}, {"Yes", "No"}, 2};
        case MB_RETRYCANCEL: return {{IDRETRY, IDCANCEL}, {"Retry", "Cancel"}, 2};
        default: return {{IDOK}, {"OK"}, 1};
    }
}

int IconFor(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND: return dlgview::kStockIconError;
        case MB_ICONQUESTION: return dlgview::kStockIconQuestion;
        case MB_ICONEXCLAMATION: return dlgview::kStockIconWarning;
        case MB_ICONASTERISK: return dlgview::kStockIconInformation;
        default: return 0;
    }
}

// What Esc answers: Cancel where the box has it, OK in a box that has only OK; otherwise Esc
// does nothing (0).
int EscapeAnswer(const ButtonRow& row) {
    for (int i = 0; i < row.count; ++i)
        if (row.ids[i] == IDCANCEL) return IDCANCEL;
    return row.count == 1 && row.ids[0] == IDOK ? IDOK : 0;
}

// The answer Esc gives in each box that is running, by its window.
std::map<HWND, int>& EscapeAnswers() {
    static std::map<HWND, int> answers;
    return answers;
}

INT_PTR CALLBACK MessageBoxProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: EscapeAnswers()[hDlg] = *reinterpret_cast<const int*>(lParam); return TRUE;
        case WM_COMMAND: {
            int id = LOWORD(wParam);
            if (id == IDCANCEL) id = EscapeAnswers()[hDlg];  // Esc, or the window closed
            if (id == 0) return TRUE;
            EndDialog(hDlg, id);
            return TRUE;
        }
        case WM_DESTROY: EscapeAnswers().erase(hDlg); return FALSE;
        default: return FALSE;
    }
}

// The text in lines no wider than maxWidth pixels, broken at spaces where a line is too long.
std::vector<std::string> WrapLines(const std::string& text, dlgtext::Font* font, int maxWidth) {
    auto width = [&](const std::string& s) { return font ? font->Width(s) : int(s.size()) * 6; };
    std::vector<std::string> lines;
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        std::string rest = text.substr(from, end - from);
        while (width(rest) > maxWidth) {
            size_t cut = rest.rfind(' ');
            while (cut != std::string::npos && cut > 0 && width(rest.substr(0, cut)) > maxWidth) cut = rest.rfind(' ', cut - 1);
            if (cut == std::string::npos || cut == 0) break;  // one word wider than the box stays whole
            lines.push_back(rest.substr(0, cut));
            rest = rest.substr(cut + 1);
        }
        lines.push_back(rest);
        from = end + 1;
    }
    return lines;
}

// Pixels to dialog units, rounded up (see ToPixels for the other way).
short UnitsX(int pixels) { return short((pixels * 4 + kBaseUnitX - 1) / kBaseUnitX); }
short UnitsY(int pixels) { return short((pixels * 8 + kBaseUnitY - 1) / kBaseUnitY); }

// Puts the mouse back in the person's hands while the box is up (the game may hold it).
struct FreeMouse {
    SDL_bool was = SDL_GetRelativeMouseMode();
    FreeMouse() { SDL_SetRelativeMouseMode(SDL_FALSE); }
    ~FreeMouse() { SDL_SetRelativeMouseMode(was); }
};

}  // namespace

int RunMessageBox(const char* text, const char* caption, UINT type) {
    if (!sdlvideo::EnsureVideo()) return 0;
    if (!Script() && sdlvideo::IsHeadless()) return 0;  // nobody could answer it

    // Measured in the dialogs' own font.
    layer::DialogResource res = {};
    res.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
    res.title = caption;
    res.fontFace = "MS Shell Dlg";
    res.fontPoints = 8;
    std::unique_ptr<dlgtext::Font> font = dlgtext::Font::Open(dlgview::kDialogFace, dlgview::FontPixels(res));
    const int lineHeight = font ? font->LineHeight() : 13;

    std::vector<std::string> lines = WrapLines(text, font.get(), 420);
    int textWidth = 0;
    std::string wrapped;
    for (size_t i = 0; i < lines.size(); ++i) {
        textWidth = std::max(textWidth, font ? font->Width(lines[i]) : int(lines[i].size()) * 6);
        wrapped += (i ? "\n" : "") + lines[i];
    }

    // Layout in dialog units: the icon at the upper left, the text beside it (centred on the icon
    // when shorter), the buttons in a centred row below both.
    const short margin = 7, gap = 4, buttonW = 50, buttonH = 14, iconW = UnitsX(32), iconH = UnitsY(32);
    const int icon = IconFor(type);
    const ButtonRow row = ButtonsFor(type);
    const std::string iconName = "#" + std::to_string(icon);
    short textX = icon ? short(margin + iconW + 7) : margin;
    short textW = short(UnitsX(textWidth) + 2), textH = UnitsY(int(lines.size()) * lineHeight);
    short textY = icon && textH < iconH ? short(margin + (iconH - textH) / 2) : margin;
    short top = short(std::max(icon ? margin + iconH : 0, textY + textH) + 9);
    short rowW = short(row.count * buttonW + (row.count - 1) * gap);
    short captionW = short(UnitsX(font && caption ? font->Width(caption) : 0) + 30);
    res.cx = std::max({short(textX + textW + margin), short(rowW + 2 * margin), captionW, short(120)});
    res.cy = short(top + buttonH + margin);

    std::vector<layer::DialogItemResource> items;
    if (icon) items.push_back({20, "static", iconName.c_str(), SS_ICON | WS_CHILD | WS_VISIBLE, margin, margin, iconW, iconH});
    items.push_back({0xFFFF, "static", wrapped.c_str(), SS_LEFT | WS_CHILD | WS_VISIBLE, textX, textY, textW, textH});
    // The default button first, so that it has the focus; Tab then goes on to the right and round.
    int chosen = int((type & MB_DEFMASK) >> 8);
    if (chosen >= row.count) chosen = 0;
    for (int k = 0; k < row.count; ++k) {
        int i = (chosen + k) % row.count;
        DWORD kind = i == chosen ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        short x = short((res.cx - rowW) / 2 + i * (buttonW + gap));
        items.push_back({row.ids[i], "button", row.labels[i], kind | WS_TABSTOP | WS_CHILD | WS_VISIBLE, x, top, buttonW, buttonH});
    }
    res.items = items.data();
    res.itemCount = int(items.size());

    font.reset();
    FreeMouse mouse;
    const int escape = EscapeAnswer(row);
    INT_PTR answer = RunModal(res, nullptr, nullptr, MessageBoxProc, reinterpret_cast<LPARAM>(&escape));
    // Its window destroyed by another program: what closing the box answers (Cancel where it has
    // one, OK where OK is its only button), else its default button.
    if (answer == 0) return escape ? escape : row.ids[chosen];
    return answer > 0 ? int(answer) : 0;
}

}  // namespace dlghost
