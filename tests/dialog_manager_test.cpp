// dialog_manager_test.cpp -- the layer's dialog manager on a small template of its own: control
// messages, posted-message order, focus, hidden and disabled controls, and the drawn view.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "commctrl.h"
#include "layer/dialogs.h"
#include "layer/message_boxes.h"
#include "layer/resources.h"
#include "layer/window_hooks.h"
#include "windows.h"

using namespace layer;

namespace {

constexpr int kTestDialog = 900;
constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;

const DialogItemResource kItems[] = {
    {1, "button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP | kShown, 10, 80, 50, 14},
    {10, "combobox", "", CBS_DROPDOWNLIST | WS_TABSTOP | kShown, 10, 10, 80, 60},
    {11, "button", "Check", BS_AUTOCHECKBOX | WS_TABSTOP | kShown, 10, 30, 60, 10},
    {12, "button", "Hidden", BS_AUTOCHECKBOX | WS_TABSTOP | WS_CHILD, 10, 40, 60, 10},
    {13, "button", "Off", BS_AUTOCHECKBOX | WS_TABSTOP | WS_DISABLED | kShown, 10, 50, 60, 10},
    {14, TRACKBAR_CLASSA, "", WS_TABSTOP | kShown, 10, 60, 100, 10},
    {-1, "static", "Label", kShown, 100, 10, 40, 8},
};
const DialogResource kTemplate = {WS_POPUP | WS_CAPTION, 160, 100, "Test", "MS Shell Dlg", 8, kItems, 7};

struct Seen {
    std::vector<UINT> messages;
    std::vector<WPARAM> commands;
};
Seen g_seen;

INT_PTR CALLBACK RecordingProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    g_seen.messages.push_back(message);
    if (message == WM_COMMAND) {
        g_seen.commands.push_back(wParam);
        if (LOWORD(wParam) == 1) EndDialog(hDlg, 42);
        return TRUE;
    }
    if (message == WM_INITDIALOG) {
        HWND bar = GetDlgItem(hDlg, 14);
        // Posted in this order, the position arrives after the range that allows it.
        PostMessageA(bar, TBM_SETRANGEMAX, 1, 1000);
        PostMessageA(bar, TBM_SETPOS, 1, 700);
        SendMessageA(bar, TBM_SETPOS, 1, 700);  // sent at once: still the default range 0..100
        g_seen.commands.push_back(WPARAM(SendMessageA(bar, TBM_GETPOS, 0, 0)));
        return TRUE;
    }
    return FALSE;
}

LRESULT Send(HWND hDlg, int id, UINT message, WPARAM w = 0, LPARAM l = 0) {
    return SendDlgItemMessageA(hDlg, id, message, w, l);
}

// The pixels of the dialog's drawing whose colour is near rgb.
int PixelsNear(const std::vector<uint32_t>& px, uint32_t rgb) {
    int n = 0;
    for (uint32_t p : px) {
        int d = 0;
        for (int shift = 0; shift <= 16; shift += 8) d += std::abs(int((p >> shift) & 0xFF) - int((rgb >> shift) & 0xFF));
        n += d < 90;
    }
    return n;
}

// The pixels of a drawing `width` wide within x0..x1, y0..y1 (the ends outside) whose channel at
// the shift is dark.
int DarkIn(const std::vector<uint32_t>& px, int width, int x0, int y0, int x1, int y1, int shift = 0) {
    int dark = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            dark += ((px[size_t(y) * size_t(width) + size_t(x)] >> shift) & 0xFF) < 0x60;
    return dark;
}

INT_PTR RunTestDialog(std::function<void(HWND)> script) {
    static bool added = AddDialogResource(kTestDialog, &kTemplate);
    EXPECT_TRUE(added);
    g_seen = Seen();
    SetDialogScript(std::move(script));
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(kTestDialog), nullptr, RecordingProc, 0);
    SetDialogScript(nullptr);
    return result;
}

}  // namespace

TEST(DialogManager, ComboBoxMessagesAndKeys) {
    RunTestDialog([](HWND hDlg) {
        EXPECT_EQ(Send(hDlg, 10, CB_GETCURSEL), CB_ERR);
        EXPECT_EQ(Send(hDlg, 10, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("first")), 0);
        EXPECT_EQ(Send(hDlg, 10, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("second")), 1);
        EXPECT_EQ(Send(hDlg, 10, CB_SETCURSEL, 1), 1);
        EXPECT_EQ(Send(hDlg, 10, CB_SETCURSEL, 2), CB_ERR);  // out of range clears it
        EXPECT_EQ(Send(hDlg, 10, CB_SETCURSEL, 1), 1);
        EXPECT_EQ(Send(hDlg, 10, CB_SETCURSEL, 5), CB_ERR);
        EXPECT_EQ(Send(hDlg, 10, CB_GETCURSEL), CB_ERR);
        EXPECT_EQ(Send(hDlg, 10, CB_GETLBTEXTLEN, 1), 6);
        EXPECT_EQ(Send(hDlg, 10, CB_GETLBTEXTLEN, 2), CB_ERR);
        char text[16] = {};
        EXPECT_EQ(Send(hDlg, 10, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text)), 5);
        EXPECT_STREQ(text, "first");
        EXPECT_TRUE(ChooseDialogComboItem(hDlg, 10, 1));
        EXPECT_FALSE(ChooseDialogComboItem(hDlg, 10, 2));
        EXPECT_EQ(Send(hDlg, 10, CB_GETCURSEL), 1);
        // The keys step within the items: past the last or the first the choice stays.
        using K = DialogKey;
        for (auto [key, item] : {std::pair(K::Down, 1), {K::Home, 0}, {K::Up, 0}, {K::End, 1},
                                 {K::Left, 0}}) {
            PressDialogKey(hDlg, key);
            EXPECT_EQ(Send(hDlg, 10, CB_GETCURSEL), item) << int(key);
        }
        ClickDialogControl(hDlg, 1);
    });
    // The choice told the procedure: close-up, then selection change, both with the combo's id.
    ASSERT_GE(g_seen.commands.size(), 3u);
    EXPECT_EQ(g_seen.commands[1], MAKEWPARAM(10, CBN_CLOSEUP));
    EXPECT_EQ(g_seen.commands[2], MAKEWPARAM(10, CBN_SELCHANGE));
}

TEST(DialogManager, TrackbarClampsAndPostedMessagesArriveInOrder) {
    INT_PTR result = RunTestDialog([](HWND hDlg) {
        EXPECT_EQ(Send(hDlg, 14, TBM_GETPOS), 700);
        Send(hDlg, 14, TBM_SETPOS, 1, 5000);
        EXPECT_EQ(Send(hDlg, 14, TBM_GETPOS), 1000);
        Send(hDlg, 14, TBM_SETPOS, 1, LPARAM(0xFFFFFFFFu));  // -1 in 32 bits
        EXPECT_EQ(Send(hDlg, 14, TBM_GETPOS), 0);
        Send(hDlg, 14, TBM_SETRANGEMIN, 1, 300);
        EXPECT_EQ(Send(hDlg, 14, TBM_GETPOS), 300);
        DragDialogTrackbar(hDlg, 14, 1.5);
        EXPECT_EQ(Send(hDlg, 14, TBM_GETPOS), 1000);
        PressDialogKey(hDlg, DialogKey::Home);
        EXPECT_EQ(Send(hDlg, 14, TBM_GETPOS), 300);
        PressDialogKey(hDlg, DialogKey::Left);
        EXPECT_EQ(Send(hDlg, 14, TBM_GETPOS), 300);
        PressDialogKey(hDlg, DialogKey::Enter);
    });
    EXPECT_EQ(result, 42);
    ASSERT_FALSE(g_seen.commands.empty());
    EXPECT_EQ(g_seen.commands[0], 100u);  // the sent position was clamped to the default range
}

TEST(DialogManager, CheckBoxesFocusAndWhatCannotBeReached) {
    RunTestDialog([](HWND hDlg) {
        EXPECT_TRUE(CheckDlgButton(hDlg, 11, 2));  // any non-zero state of a two-state box is checked
        EXPECT_EQ(IsDlgButtonChecked(hDlg, 11), BST_CHECKED);
        ClickDialogControl(hDlg, 11);
        EXPECT_EQ(IsDlgButtonChecked(hDlg, 11), BST_UNCHECKED);
        EXPECT_FALSE(ClickDialogControl(hDlg, 12));  // hidden
        ClickDialogControl(hDlg, 13);  // disabled: nothing happens
        EXPECT_EQ(IsDlgButtonChecked(hDlg, 13), BST_UNCHECKED);
        EXPECT_EQ(GetDlgItem(hDlg, 99), nullptr);
        EXPECT_EQ(Send(hDlg, 99, CB_GETCOUNT), 0);
        EXPECT_EQ(GetDlgCtrlID(GetDlgItem(hDlg, 14)), 14);
        // Tab visits only visible, enabled tab stops, in template order, and wraps around.
        std::vector<int> order = {DialogFocusId(hDlg)};
        for (int i = 0; i < 4; ++i) {
            PressDialogKey(hDlg, DialogKey::Tab);
            order.push_back(DialogFocusId(hDlg));
        }
        EXPECT_EQ(order, (std::vector<int>{11, 14, 1, 10, 11}));
        PressDialogKey(hDlg, DialogKey::Space);
        EXPECT_EQ(IsDlgButtonChecked(hDlg, 11), BST_CHECKED);
        PressDialogKey(hDlg, DialogKey::Escape);
        EXPECT_TRUE(IsWindow(hDlg));
        ClickDialogControl(hDlg, 1);
    });
    EXPECT_EQ(g_seen.messages.front(), UINT(WM_INITDIALOG));
    EXPECT_NE(std::find(g_seen.commands.begin(), g_seen.commands.end(), MAKEWPARAM(IDCANCEL, 0)),
              g_seen.commands.end());
}

TEST(DialogManager, LeftOpenByTheScriptItEndsWithMinusOneDestroyedByAnotherProgramWithZero) {
    EXPECT_EQ(RunTestDialog([](HWND) {}), -1);
    EXPECT_EQ(RunTestDialog([](HWND hDlg) { ReportWindowLost(hDlg); }), 0);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCE(901), nullptr, RecordingProc, 0), -1);  // no such template
    EXPECT_FALSE(EndDialog(nullptr, 1));
}

TEST(DialogManager, TheViewDrawsTextAndStateOfTheControls) {
    std::vector<uint32_t> unchecked, checked;
    int width = 0, height = 0;
    RunTestDialog([&](HWND hDlg) {
        ASSERT_TRUE(RenderDialogToPixels(hDlg, &unchecked, &width, &height));
        CheckDlgButton(hDlg, 11, BST_CHECKED);
        ASSERT_TRUE(RenderDialogToPixels(hDlg, &checked, &width, &height));
        ClickDialogControl(hDlg, 1);
    });
    ASSERT_EQ(width, 240);  // 160 dialog units
    ASSERT_EQ(height, 163);  // 100 dialog units
    // "Label" at (150, 16) is drawn in dark text on the light face.
    EXPECT_GT(DarkIn(unchecked, width, 150, 16, 210, 30), 10);
    EXPECT_EQ(DarkIn(unchecked, width, 200, 100, 235, 120), 0);  // empty face
    // The check mark appears in the box of control 11 (at 15, 49) only when checked.
    EXPECT_EQ(DarkIn(unchecked, width, 17, 51, 26, 60), 0);
    EXPECT_GT(DarkIn(checked, width, 17, 51, 26, 60), 10);
}

// A message box is a dialog of the layer: drawn as the others with the icon it asks for, the
// default button focused, Esc answering Cancel, or OK where OK is the only button, and otherwise
// nothing; destroyed by another program, it answers as closed (Cancel, or OK where OK is the only
// button), else by its default button.
TEST(MessageBoxDialog, ShowsItsIconAndAnswersByItsButtonsAndKeys) {
    struct Case {
        UINT type;
        uint32_t iconColour;  // 0: no icon
        int focused;
        std::vector<DialogKey> keys;
        int clicked;  // 0: none; -1: the window destroyed by another program
        int answer;
    } cases[] = {
        {MB_OK | MB_ICONERROR, 0xC8202A, IDOK, {DialogKey::Escape}, 0, IDOK},
        {MB_OKCANCEL | MB_ICONWARNING, 0xF2C230, IDOK, {DialogKey::Escape}, 0, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, 0x2A64C8, IDYES, {DialogKey::Escape, DialogKey::Enter}, 0, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, 0, IDNO, {DialogKey::Enter}, 0, IDNO},
        {MB_YESNO | MB_DEFBUTTON2, 0, IDNO, {}, -1, IDNO},
        {MB_OKCANCEL, 0, IDOK, {}, -1, IDCANCEL},
        {MB_OK | MB_ICONERROR, 0xC8202A, IDOK, {}, -1, IDOK},
        {MB_RETRYCANCEL | MB_ICONINFORMATION, 0x2A64C8, IDRETRY, {DialogKey::Tab}, IDRETRY, IDRETRY},
    };
    SetMessageBoxesInteractive(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type);
        std::vector<uint32_t> px;
        int width = 0, height = 0;
        RECT text = {};
        SetDialogScript([&](HWND hDlg) {
            EXPECT_EQ(DialogTitle(hDlg), "Otázka");
            EXPECT_EQ(DialogFocusId(hDlg), c.focused);
            EXPECT_TRUE(DialogControlPixels(hDlg, 0xFFFF, &text));
            ASSERT_TRUE(RenderDialogToPixels(hDlg, &px, &width, &height));
            for (DialogKey key : c.keys) PressDialogKey(hDlg, key);
            if (c.clicked < 0) ReportWindowLost(hDlg);
            if (c.clicked > 0) ClickDialogControl(hDlg, c.clicked);
        });
        EXPECT_EQ(MessageBoxA(nullptr, "Prvni radek\nDruhy radek\nTreti", "Otázka", c.type), c.answer);
        SetDialogScript(nullptr);
        EXPECT_GE(text.bottom - text.top, 3 * 12) << "three lines of text";
        // Dark text in the lowest third of the text's place: the third line is drawn.
        const int top = text.top + (text.bottom - text.top) * 2 / 3, right = std::min<int>(text.right, width);
        EXPECT_GT(DarkIn(px, width, text.left, top, right, std::min<int>(text.bottom, height), 16), 10);
        if (c.iconColour)
            EXPECT_GT(PixelsNear(px, c.iconColour), 150) << "the icon";
        else
            EXPECT_EQ(PixelsNear(px, 0xC8202A) + PixelsNear(px, 0xF2C230) + PixelsNear(px, 0x2A64C8), 0) << "no icon";
    }
    SetMessageBoxesInteractive(false);
    EXPECT_EQ(ShownMessageBoxes().size(), std::size(cases));  // and every one logged
}
