// main_window_test.cpp -- WinMain from start to end with a scripted settings dialog: the early
// exits, the warning box, the window it creates, and the main loop's frames and close.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dinput.h"
#include "layer/audio.h"
#include "layer/dialogs.h"
#include "layer/input.h"
#include "layer/message_boxes.h"
#include "layer/window_hooks.h"
#include "scratch_dir.h"
#include "shell/main_window.h"
#include "shell/resource.h"
#include "shell/settings.h"

namespace {

struct WindowSeen {
    int created = 0;
    std::string title;
    RECT outer = {}, client = {};
    bool configWritten = false;
    bool visibleAtCreation = true;
    size_t boxesSoFar = 0;
};

// Runs WinMain with a dialog that picks a resolution and the full-screen state and presses a
// button; the window is closed as soon as it is created, so the main loop ends at its first pass,
// and Esc is held from then on, so the intro ends after its first frame.
int RunProgram(int resolution, bool fullscreen, int button, WindowSeen* seen) {
    layer::SetDialogScript([=](HWND hDlg) {
        layer::ChooseDialogComboItem(hDlg, IDC_RESOLUTION, resolution);
        if ((IsDlgButtonChecked(hDlg, IDC_FULLSCREEN) == BST_CHECKED) != fullscreen)
            layer::ClickDialogControl(hDlg, IDC_FULLSCREEN);
        layer::ClickDialogControl(hDlg, button);
    });
    layer::SetWindowCreatedHook([seen](HWND hWnd) {
        ++seen->created;
        char title[64];
        GetWindowTextA(hWnd, title, sizeof title);
        seen->title = title;
        GetWindowRect(hWnd, &seen->outer);
        GetClientRect(hWnd, &seen->client);
        seen->configWritten = std::ifstream("trevok.cfg").good();
        seen->boxesSoFar = layer::ShownMessageBoxes().size();
        seen->visibleAtCreation = IsWindowVisible(hWnd);
        PostMessageA(hWnd, WM_CLOSE, 0, 0);
        layer::InjectKey(DIK_ESCAPE, true);
    });
    int status = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWDEFAULT);
    layer::SetDialogScript(nullptr);
    layer::SetWindowCreatedHook(nullptr);
    layer::ClearInjectedInput();
    return status;
}

bool ClassStillRegistered() { return UnregisterClassA("TREVOK", GetModuleHandleA(nullptr)) != FALSE; }

}  // namespace

TEST(ProgramStart, QuitInTheDialogEndsAtOnceWithNothingSavedAndNoWindow) {
    ScratchDir dir;
    WindowSeen seen;
    EXPECT_EQ(RunProgram(4, false, IDC_QUIT, &seen), 0);
    EXPECT_EQ(seen.created, 0);
    EXPECT_FALSE(std::ifstream("trevok.cfg").good());
    EXPECT_FALSE(ClassStillRegistered());
}

TEST(ProgramStart, WindowedRunOpensTheFramedWindowAndEndsWhenItCloses) {
    ScratchDir dir;
    layer::ClearShownMessageBoxes();
    WindowSeen seen;
    EXPECT_EQ(RunProgram(4, false, IDC_START, &seen), 0);
    EXPECT_EQ(seen.created, 1);
    EXPECT_EQ(seen.title, "Vizuvor VUGU !");
    EXPECT_EQ(seen.outer.left, 10);
    EXPECT_EQ(seen.outer.top, 10);
    EXPECT_EQ(seen.outer.right - seen.outer.left, 808);
    EXPECT_EQ(seen.outer.bottom - seen.outer.top, 630);
    EXPECT_EQ(seen.client.right, 800);
    EXPECT_EQ(seen.client.bottom, 600);
    EXPECT_TRUE(seen.configWritten);
    EXPECT_FALSE(seen.visibleAtCreation);  // shown only when the intro starts
    EXPECT_EQ(seen.boxesSoFar, 1u);  // only the first start's missing file, no warning for 800
    EXPECT_EQ(g_Config.dwWidth, 800u);
    EXPECT_FALSE(IsWindow(seen.created ? g_hWnd : nullptr));
    EXPECT_FALSE(ClassStillRegistered());  // the shut-down unregistered it
}

TEST(ProgramStart, FullScreenWindowHasExactlyTheChosenSize) {
    ScratchDir dir;
    WindowSeen seen;
    EXPECT_EQ(RunProgram(5, true, IDC_START, &seen), 0);
    EXPECT_EQ(seen.outer.left, 0);
    EXPECT_EQ(seen.outer.top, 0);
    EXPECT_EQ(seen.outer.right, 1024);
    EXPECT_EQ(seen.outer.bottom, 768);
}

TEST(ProgramStart, SmallResolutionWarnsBeforeSavingAndStillStarts) {
    ScratchDir dir;
    layer::ClearShownMessageBoxes();
    WindowSeen seen;
    EXPECT_EQ(RunProgram(1, false, IDC_START, &seen), 0);
    // The first box is the missing trevok.cfg, the second the warning; both come before the window.
    // (Boxes after it, such as pictures missing from the empty directory, are not this test's concern.)
    const auto& boxes = layer::ShownMessageBoxes();
    ASSERT_GE(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Nelze otevrit soubor");
    EXPECT_EQ(boxes[1].caption, "Varování");
    EXPECT_EQ(boxes[1].type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(boxes[1].text,
              "Vybrali jste rozlišení menši než 512x384.\nPři tomto rozlišení mohou být některé grafické prvky\n"
              "zkreslené nebo mohou být mimo obraz.");
    EXPECT_EQ(seen.created, 1);
    EXPECT_EQ(seen.boxesSoFar, 2u);

    layer::ClearShownMessageBoxes();
    EXPECT_EQ(RunProgram(2, false, IDC_START, &seen), 0);  // 512x384: no warning
    for (const auto& box : layer::ShownMessageBoxes()) EXPECT_NE(box.caption, "Varování");
    EXPECT_EQ(seen.boxesSoFar, 0u);
}

TEST(ProgramStart, TheIntroPlaysWithItsMusicBetweenTheDialogAndTheGame) {
    ScratchDir dir;
    for (const auto& entry : std::filesystem::directory_iterator(TREVOK_DATA_DIR))
        if (entry.path().filename() != "trevok.cfg")
            std::filesystem::create_symlink(entry.path(), entry.path().filename());
    layer::ClearShownMessageBoxes();
    layer::ClearPlayedWaves();
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // whatever an earlier test left
    WindowSeen seen;
    EXPECT_EQ(RunProgram(4, false, IDC_START, &seen), 0);
    // Every picture and sound of the intro was there.
    for (const auto& box : layer::ShownMessageBoxes())
        for (const char* name : {"intro", "vugove", "melidrak", "g_pVBintro"})
            EXPECT_EQ(box.text.find(name), std::string::npos) << box.text;
    ASSERT_FALSE(layer::PlayedWaves().empty());
    const layer::PlayedWave& first = layer::PlayedWaves()[0];
    EXPECT_NE(first.file.find("melidrak.wav"), std::string::npos) << first.file;
    EXPECT_EQ(first.flags, 0x4080u);
}

TEST(ProgramStart, ADialogThatCannotAppearEndsWithStatusOne) {
    ScratchDir dir;
    // No script and a video driver that shows nothing: nobody could answer the dialog.
    EXPECT_EQ(WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWDEFAULT), 1);
    EXPECT_FALSE(std::ifstream("trevok.cfg").good());
}

namespace {

struct LoopLog {
    int frames = 0;
    int messagesSeen = 0;
    std::vector<int> messagesAtFrame;
    bool closeFromFrame = false;
};
LoopLog g_log;

LRESULT CALLBACK CountingProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER) ++g_log.messagesSeen;
    return WndProc(hWnd, msg, wParam, lParam);
}

void CountingFrame() {
    ++g_log.frames;
    g_log.messagesAtFrame.push_back(g_log.messagesSeen);
    if (g_log.frames == 1) {
        PostMessageA(g_hWnd, WM_USER, 0, 0);
        PostMessageA(g_hWnd, WM_USER, 0, 0);
    }
    if (g_log.frames == 3 && g_log.closeFromFrame) {
        SendMessageA(g_hWnd, WM_CLOSE, 0, 0);
        // The rest of the frame goes on with a window that is closed but not yet released.
        RECT r;
        EXPECT_FALSE(GetClientRect(g_hWnd, &r));
        PostMessageA(g_hWnd, WM_USER, 0, 0);  // to a destroyed window: refused
    }
}

HWND MakeLoopWindow() {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = CountingProc;
    wc.lpszClassName = "LOOPTEST";
    EXPECT_NE(RegisterClassExA(&wc), 0);
    return CreateWindowExA(0, "LOOPTEST", "loop", WS_OVERLAPPEDWINDOW, 10, 10, 328, 270, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

TEST(MainLoop, DrawsOnlyWhenNoMessageWaitsAndEndsOnCloseFromInsideAFrame) {
    g_log = LoopLog();
    g_log.closeFromFrame = true;
    g_hWnd = MakeLoopWindow();
    ASSERT_NE(g_hWnd, nullptr);
    PostMessageA(g_hWnd, WM_USER, 0, 0);
    RunMessageLoop(CountingFrame);
    EXPECT_EQ(g_log.frames, 3);
    // Frame 1 ran after the first message; frames 2 and 3 after the two posted by frame 1.
    EXPECT_EQ(g_log.messagesAtFrame, (std::vector<int>{1, 3, 3}));
    EXPECT_FALSE(IsWindow(g_hWnd));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // WM_QUIT was taken, nothing left
    EXPECT_TRUE(UnregisterClassA("LOOPTEST", GetModuleHandleA(nullptr)));
}

TEST(MainLoop, CloseRequestFromTheWindowSystemEndsTheLoop) {
    g_log = LoopLog();
    g_hWnd = MakeLoopWindow();
    ASSERT_NE(g_hWnd, nullptr);
    ShowWindow(g_hWnd, SW_SHOWDEFAULT);
    // The window's close button, then (for a second window) the system's quit request.
    void (*frame)() = [] {
        if (++g_log.frames == 2) layer::PostSystemCloseRequest(g_hWnd);
        ASSERT_LT(g_log.frames, 1000);
    };
    RunMessageLoop(frame);
    EXPECT_EQ(g_log.frames, 2);
    EXPECT_FALSE(IsWindow(g_hWnd));

    g_log = LoopLog();
    g_hWnd = CreateWindowExA(0, "LOOPTEST", "loop", WS_OVERLAPPEDWINDOW, 10, 10, 328, 270, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    void (*quitFrame)() = [] {
        if (++g_log.frames == 1) layer::PostSystemQuitRequest();
        ASSERT_LT(g_log.frames, 1000);
    };
    RunMessageLoop(quitFrame);
    EXPECT_EQ(g_log.frames, 1);
    EXPECT_FALSE(IsWindow(g_hWnd));
    EXPECT_TRUE(UnregisterClassA("LOOPTEST", GetModuleHandleA(nullptr)));
}

TEST(MainWindowProc, DestroyQuitsAndEverythingElseTakesTheDefaultPath) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_CLASSDC;
    wc.lpfnWndProc = WndProc;
    wc.lpszClassName = "TREVOK";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    HWND h = CreateWindowExA(0, "TREVOK", "Vizuvor VUGU !", WS_OVERLAPPEDWINDOW, 0, 0, 320, 200, GetDesktopWindow(),
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(h, nullptr);
    MSG msg;
    EXPECT_EQ(WndProc(h, WM_DESTROY, 0, 0), 0);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_TRUE(IsWindow(h));  // WM_DESTROY alone destroys nothing
    // The default handling of a close request destroys the window, which asks to quit again.
    EXPECT_EQ(WndProc(h, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(h));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_TRUE(UnregisterClassA("TREVOK", GetModuleHandleA(nullptr)));
}
