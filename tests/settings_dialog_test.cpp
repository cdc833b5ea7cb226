// settings_dialog_test.cpp -- the settings dialog driven as a person would, and trevok.cfg
// before and after it: defaults, edge-case files, both directions of every control's mapping.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "commctrl.h"
#include "content_test_support.h"
#include "layer/dialogs.h"
#include "layer/message_boxes.h"
#include "scratch_dir.h"
#include "shell/resource.h"
#include "shell/settings.h"

using namespace layer;

namespace {

using Bytes = std::vector<unsigned char>;

const Bytes kDefaultFile = {0x80, 0x02, 0, 0, 0xE0, 0x01, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0,
                            0,    0,    2, 0, 0,    0,    1, 0, 0, 0, 1, 0, 0, 0, 0xF4, 0x01, 0, 0};

void WriteFileBytes(const char* path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ConfigBytes(const SConfig& c) {
    Bytes b(sizeof c);
    std::memcpy(b.data(), &c, sizeof c);
    return b;
}

int Selection(HWND hDlg, int id) { return int(SendDlgItemMessageA(hDlg, id, CB_GETCURSEL, 0, 0)); }

// Runs the program's start of settings: defaults, the file, the dialog with the script; then the
// save that "Spustit" leads to. The dialog's result.
INT_PTR RunSettings(std::function<void(HWND)> script) {
    std::memset(&g_Config, 0, sizeof g_Config);  // as the program starts
    SetConfigDefaults();
    LoadConfig();
    SetDialogScript(std::move(script));
    INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(IDD_SETTINGS), nullptr, SettingsDlgProc, 0);
    SetDialogScript(nullptr);
    if (result == 1) SaveConfig();
    return result;
}

// The dialog left with "Spustit" after these items were chosen: its result.
INT_PTR StartWith(std::vector<std::pair<int, int>> choices) {
    return RunSettings([choices](HWND hDlg) {
        for (auto [id, item] : choices) EXPECT_TRUE(ChooseDialogComboItem(hDlg, id, item)) << id;
        ClickDialogControl(hDlg, IDC_START);
    });
}

INT_PTR PressStart(const Bytes& file) {
    WriteFileBytes("trevok.cfg", file);
    return StartWith({});
}

SConfig DefaultConfig() {
    SConfig c = {};
    std::memcpy(&c, kDefaultFile.data(), sizeof c);
    return c;
}

class SettingsDialog : public ::testing::Test {
protected:
    ScratchDir dir;  // each test's own, where trevok.cfg is read and written
};

}  // namespace

TEST_F(SettingsDialog, FirstStartShowsTheBoxThenTheTemplateWithTheDefaultsAndWritesThem) {
    size_t boxesBeforeDialog = 99;
    INT_PTR result = RunSettings([&](HWND hDlg) {
        boxesBeforeDialog = ShownMessageBoxes().size();
        EXPECT_EQ(DialogTitle(hDlg), "Rudurev VUGU!");
        for (auto [id, item] : {std::pair(IDC_RESOLUTION, 3), {IDC_DEPTH, 0}, {IDC_FILTER, 1},
                                {IDC_VERTEXPROC, 0}, {IDC_MULTISAMPLE, 0}})
            EXPECT_EQ(Selection(hDlg, id), item) << id;
        for (auto [id, state] : {std::pair(IDC_FULLSCREEN, BST_CHECKED), {IDC_FOG, BST_CHECKED},
                                 {IDC_VSYNC, BST_UNCHECKED}, {IDC_INVERTMOUSE, BST_UNCHECKED}})
            EXPECT_EQ(IsDlgButtonChecked(hDlg, id), UINT(state)) << id;
        for (auto [message, value] : {std::pair(TBM_GETPOS, 500), {TBM_GETRANGEMIN, 0},
                                      {TBM_GETRANGEMAX, 1000}})
            EXPECT_EQ(SendDlgItemMessageA(hDlg, IDC_SENSITIVITY, message, 0, 0), value) << message;
        EXPECT_EQ(SendDlgItemMessageA(hDlg, IDC_RESOLUTION, CB_GETCOUNT, 0, 0), 8);
        char text[32] = {};
        SendDlgItemMessageA(hDlg, IDC_MULTISAMPLE, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, "Žádný");
        // The program's icon, and the hidden controls that nobody can reach.
        HICON big = DialogIcon(hDlg, true);
        EXPECT_NE(big, nullptr);
        EXPECT_EQ(DialogIcon(hDlg, false), big);
        EXPECT_EQ(big, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(IDI_TREVOK)));
        EXPECT_FALSE(IsDialogControlVisible(hDlg, IDC_VERTEXPROC));
        EXPECT_FALSE(IsDialogControlVisible(hDlg, IDC_MULTISAMPLE));
        EXPECT_TRUE(IsDialogControlVisible(hDlg, IDC_SENSITIVITY));
        EXPECT_FALSE(ClickDialogControl(hDlg, IDC_VERTEXPROC));
        RECT start = {};
        EXPECT_TRUE(DialogControlPixels(hDlg, IDC_START, &start));
        EXPECT_EQ(start.left, 263);  // 175 dialog units at 6 pixels per 4 units
        EXPECT_EQ(start.right - start.left, 82);
        EXPECT_EQ(start.top, 244);  // 150 units at 13 pixels per 8 units
        ClickDialogControl(hDlg, IDC_START);
    });
    EXPECT_EQ(result, 1);
    ASSERT_GE(ShownMessageBoxes().size(), 1u);
    EXPECT_EQ(boxesBeforeDialog, 1u);
    EXPECT_EQ(ShownMessageBoxes()[0].text, "Nelze otevrit soubor");
    EXPECT_EQ(ReadFileBytes("trevok.cfg"), kDefaultFile);
}

TEST_F(SettingsDialog, QuitLeavesTheFileAsItWasAndEscapeDoesNothing) {
    Bytes file = kDefaultFile;
    file[0] = 0x20;  // width 544, an odd value nobody offers
    WriteFileBytes("trevok.cfg", file);
    int closedBy = 0;
    INT_PTR result = RunSettings([&](HWND hDlg) {
        PressDialogKey(hDlg, DialogKey::Escape);
        SendMessageA(hDlg, WM_CLOSE, 0, 0);
        if (IsWindow(hDlg)) closedBy = 1;  // still open after Esc and a close request
        ClickDialogControl(hDlg, IDC_FULLSCREEN);
        ClickDialogControl(hDlg, IDC_QUIT);
    });
    EXPECT_EQ(closedBy, 1);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFileBytes("trevok.cfg"), file);
}

TEST_F(SettingsDialog, StoredValuesPreselectAndFallBackAsTheTableSays) {
    // The height alone picks 1280x1024; no item has the filters 1, 2 or the depth 24; the hidden
    // vertex processing and multisampling pass through; the trackbar clamps 1500; any non-zero
    // byte checks a box; the reserved bytes stay.
    SConfig c = DefaultConfig();
    c.dwHeight = 1024, c.dwFilter = 1, c.dwMipFilter = 2, c.dwDepth = 24, c.bHardwareTL = 1;
    c.dwMultiSample = 2, c.dwSensitivity = 1500, c.bVSync = 7;
    c.bReserved1 = 0xAB, c.bReserved2[0] = 0xCD, c.bReserved2[1] = 0xEF;
    WriteFileBytes("trevok.cfg", ConfigBytes(c));
    INT_PTR result = RunSettings([](HWND hDlg) {
        for (auto [id, item] : {std::pair(IDC_RESOLUTION, 6), {IDC_FILTER, CB_ERR}, {IDC_DEPTH, CB_ERR},
                                {IDC_VERTEXPROC, 1}, {IDC_MULTISAMPLE, 2}})
            EXPECT_EQ(Selection(hDlg, id), item) << id;
        EXPECT_EQ(SendDlgItemMessageA(hDlg, IDC_SENSITIVITY, TBM_GETPOS, 0, 0), 1000);
        EXPECT_EQ(IsDlgButtonChecked(hDlg, IDC_VSYNC), BST_CHECKED);
        ClickDialogControl(hDlg, IDC_START);
    });
    ASSERT_EQ(result, 1);
    SConfig expected = c;
    expected.dwWidth = 1280, expected.dwFilter = 2, expected.dwMipFilter = 1, expected.dwDepth = 0;
    expected.dwSensitivity = 1000, expected.bVSync = 1;
    EXPECT_EQ(ReadFileBytes("trevok.cfg"), ConfigBytes(expected));

    // An unknown height falls back to 640x480, a sensitivity of -1 (as the trackbar reads it) to 0
    // and an unknown multisampling to none.
    c = DefaultConfig();
    c.dwWidth = 1920, c.dwHeight = 1080, c.dwSensitivity = 0xFFFFFFFF, c.dwMultiSample = 9;
    ASSERT_EQ(PressStart(ConfigBytes(c)), 1);
    expected = DefaultConfig();
    expected.dwSensitivity = 0;
    EXPECT_EQ(ReadFileBytes("trevok.cfg"), ConfigBytes(expected));
}

TEST_F(SettingsDialog, ShortAndLongFilesAreReadOnlyAsFarAsTheBlock) {
    // Ten bytes: width 800, height 600, two bytes of depth; the rest stays default.
    Bytes shortFile = {0x20, 0x03, 0, 0, 0x58, 0x02, 0, 0, 0x10, 0};
    ASSERT_EQ(PressStart(shortFile), 1);
    Bytes expected = kDefaultFile;
    expected[0] = 0x20, expected[1] = 0x03, expected[4] = 0x58, expected[5] = 0x02, expected[8] = 0x10;
    EXPECT_EQ(ReadFileBytes("trevok.cfg"), expected);

    Bytes longFile = kDefaultFile;
    longFile.resize(100, 0x77);
    ASSERT_EQ(PressStart(longFile), 1);
    EXPECT_EQ(ReadFileBytes("trevok.cfg"), kDefaultFile);
}

TEST_F(SettingsDialog, EveryItemMapsBackToItsValues) {
    const DWORD widths[] = {320, 320, 512, 640, 800, 1024, 1280, 1600};
    const DWORD heights[] = {200, 240, 384, 480, 600, 768, 1024, 1200};
    for (int i = 0; i < 8; ++i) {
        WriteFileBytes("trevok.cfg", kDefaultFile);
        StartWith({{IDC_RESOLUTION, i}});
        EXPECT_EQ(g_Config.dwWidth, widths[i]);
        EXPECT_EQ(g_Config.dwHeight, heights[i]);
    }
    const DWORD filters[][2] = {{1, 1}, {2, 1}, {2, 2}};
    const DWORD depths[] = {0, 16, 32};
    for (int i = 0; i < 3; ++i) {
        StartWith({{IDC_FILTER, i}, {IDC_DEPTH, i}});
        EXPECT_EQ(g_Config.dwFilter, filters[i][0]);
        EXPECT_EQ(g_Config.dwMipFilter, filters[i][1]);
        EXPECT_EQ(g_Config.dwDepth, depths[i]);
    }
    // Each check box and the trackbar, changed and read back.
    RunSettings([](HWND hDlg) {
        for (int id : {IDC_FULLSCREEN, IDC_VSYNC, IDC_INVERTMOUSE, IDC_FOG}) ClickDialogControl(hDlg, id);
        DragDialogTrackbar(hDlg, IDC_SENSITIVITY, 0.25);
        ClickDialogControl(hDlg, IDC_START);
    });
    EXPECT_EQ(g_Config.bFullscreen, 0);
    EXPECT_EQ(g_Config.bVSync, 1);
    EXPECT_EQ(g_Config.bInvertMouse, 1);
    EXPECT_EQ(g_Config.bFog, 0);
    EXPECT_EQ(g_Config.dwSensitivity, 250u);
}

TEST_F(SettingsDialog, KeyboardAloneOperatesTheVisibleControlsAndTheComboLists) {
    WriteFileBytes("trevok.cfg", kDefaultFile);
    std::vector<int> focusOrder;
    INT_PTR result = RunSettings([&](HWND hDlg) {
        using K = DialogKey;
        focusOrder.push_back(DialogFocusId(hDlg));
        for (int i = 0; i < 11; ++i) {
            PressDialogKey(hDlg, K::Tab);
            focusOrder.push_back(DialogFocusId(hDlg));
        }
        // Focus is back on "Spustit"; go to the resolution box and step it down to 800x600.
        while (DialogFocusId(hDlg) != IDC_RESOLUTION) PressDialogKey(hDlg, K::Tab);
        PressDialogKey(hDlg, K::Down);
        while (DialogFocusId(hDlg) != IDC_VSYNC) PressDialogKey(hDlg, K::ShiftTab);
        PressDialogKey(hDlg, K::Space);
        while (DialogFocusId(hDlg) != IDC_SENSITIVITY) PressDialogKey(hDlg, K::Tab);
        PressDialogKey(hDlg, K::Right);
        PressDialogKey(hDlg, K::PageDown);
        PressDialogKey(hDlg, K::Escape);  // ignored
        // A combo's list opens and closes without leaving: Enter closes the list, not the dialog.
        ClickDialogControl(hDlg, IDC_DEPTH);
        EXPECT_TRUE(IsDialogComboDropped(hDlg, IDC_DEPTH));
        PressDialogKey(hDlg, K::Down);
        PressDialogKey(hDlg, K::Enter);
        EXPECT_FALSE(IsDialogComboDropped(hDlg, IDC_DEPTH));
        EXPECT_TRUE(IsWindow(hDlg));
        PressDialogKey(hDlg, K::Enter);  // the default button
    });
    const std::vector<int> expectedOrder = {IDC_START, IDC_QUIT, IDC_RESOLUTION, IDC_FILTER, IDC_FULLSCREEN,
                                            IDC_VSYNC, IDC_INVERTMOUSE, IDC_SENSITIVITY, IDC_DEPTH, IDC_FOG,
                                            IDC_START, IDC_QUIT};
    EXPECT_EQ(focusOrder, expectedOrder);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(g_Config.dwWidth, 800u);
    EXPECT_EQ(g_Config.bVSync, 1);
    EXPECT_EQ(g_Config.dwSensitivity, 701u);  // one line and one page, a fifth of the range
    EXPECT_EQ(g_Config.dwDepth, 16u);
}

TEST_F(SettingsDialog, UnwritableFileShowsTheBoxAndKeepsTheChoice) {
    WriteFileBytes("trevok.cfg", kDefaultFile);
    std::filesystem::remove("trevok.cfg");
    std::filesystem::create_directory("trevok.cfg");  // a directory cannot be opened as a file
    EXPECT_EQ(StartWith({{IDC_RESOLUTION, 4}}), 1);
    EXPECT_EQ(g_Config.dwWidth, 800u);
    ASSERT_EQ(ShownMessageBoxes().size(), 2u);  // one on reading, one on writing
    EXPECT_EQ(ShownMessageBoxes()[1].text, "Nelze otevrit soubor");
}
