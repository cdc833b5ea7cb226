// main_window_test.cpp -- WinMain with a scripted dialog: early exits, warning, window; the main loop.
#include <fstream>

#include "layer/message_boxes.h"
#include "playthrough.h"
#include "scratch_dir.h"
#include "shell/settings.h"

namespace {

struct WindowSeen {
    int created = 0;
    std::string title;
    RECT outer = {}, client = {};
    bool configWritten = false, visibleAtCreation = true;
    size_t boxesSoFar = 0;
};

// Runs WinMain with the dialog answered; the window is closed as soon as it is made, so the loop
// ends at its first pass, and Esc held from then on ends the intro after its first frame.
int RunProgram(int resolution, bool fullscreen, int button, WindowSeen* seen) {
    playthrough::AnswerDialog(resolution, fullscreen, button);
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

// "Konec" in the dialog, or a dialog nobody could answer: the end at once, with 0 or 1.
TEST(ProgramStart, QuitOrNoDialogEndsAtOnceWithNothingSaved) {
    for (const bool answered : {true, false}) {
        ScratchDir dir;
        WindowSeen seen;
        char none[] = "";
        const int status = answered ? RunProgram(4, false, IDC_QUIT, &seen)
                                    : WinMain(GetModuleHandleA(nullptr), nullptr, none, SW_SHOWDEFAULT);
        EXPECT_EQ(status, answered ? 0 : 1);
        EXPECT_EQ(seen.created, 0);
        EXPECT_FALSE(std::ifstream("trevok.cfg").good());
        EXPECT_FALSE(ClassStillRegistered());
    }
}

// A first start at 320x240 shows the missing trevok.cfg, then the warning, before the window; no
// larger size warns. Windowed at (10, 10) framed, full screen exactly the size (framed at first).
TEST(ProgramStart, EachSizeOpensItsWindowOnlyASmallOneWarnsAndTheRunEndsWithIt) {
    ScratchDir dir;
    const struct { int item; bool fullscreen; LONG left, top, width, height; size_t boxes; } runs[] = {
        {1, false, 10, 10, 320, 240, 2}, {2, false, 10, 10, 512, 384, 0}, {4, false, 10, 10, 800, 600, 0},
        {5, true, 0, 0, 1024, 768, 0}};
    for (const auto& c : runs) {
        layer::ClearShownMessageBoxes();
        WindowSeen seen;
        EXPECT_EQ(RunProgram(c.item, c.fullscreen, IDC_START, &seen), 0);
        EXPECT_EQ(seen.created, 1) << c.width;
        EXPECT_EQ(seen.title, "Vizuvor VUGU !") << c.width;
        const LONG outerW = c.width + (c.fullscreen ? 0 : 8), outerH = c.height + (c.fullscreen ? 0 : 30);
        EXPECT_EQ(seen.outer.left, c.left) << c.width;
        EXPECT_EQ(seen.outer.top, c.top) << c.width;
        EXPECT_EQ(seen.outer.right - seen.outer.left, outerW);
        EXPECT_EQ(seen.outer.bottom - seen.outer.top, outerH);
        EXPECT_EQ(seen.client.right, outerW - 8) << c.width;
        EXPECT_EQ(seen.client.bottom, outerH - 30) << c.width;
        EXPECT_TRUE(seen.configWritten);
        EXPECT_FALSE(seen.visibleAtCreation);  // shown only when the intro starts
        EXPECT_EQ(seen.boxesSoFar, c.boxes);  // missing pictures come later
        EXPECT_EQ(g_Config.dwWidth, UINT(c.width));
        EXPECT_FALSE(IsWindow(seen.created ? g_hWnd : nullptr));
        EXPECT_FALSE(ClassStillRegistered());
        const auto& boxes = layer::ShownMessageBoxes();
        int warnings = 0;
        for (const auto& box : boxes) warnings += box.caption == "Varování";
        EXPECT_EQ(warnings, c.boxes == 2 ? 1 : 0);
        if (c.boxes < 2) continue;
        ASSERT_GE(boxes.size(), 2u);
        EXPECT_EQ(boxes[0].text, "Nelze otevrit soubor");
        EXPECT_EQ(boxes[1].caption, "Varování");
        EXPECT_EQ(boxes[1].type, UINT(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(boxes[1].text, "Vybrali jste rozlišení menši než 512x384.\nPři tomto rozlišení mohou být "
                                 "některé grafické prvky\nzkreslené nebo mohou být mimo obraz.");
    }
}

namespace {

struct LoopLog {
    int frames = 0, closeAt = 0;
    int messagesSeen = 0;
    std::vector<int> messagesAtFrame;
};
LoopLog g_log;

LRESULT CALLBACK CountingProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER) ++g_log.messagesSeen;
    return WndProc(hWnd, msg, wParam, lParam);
}

// Frame 1 posts two messages; frame `closeAt` closes the window (3), or the system does (2, 1).
void CountingFrame() {
    ASSERT_LT(++g_log.frames, 1000);
    g_log.messagesAtFrame.push_back(g_log.messagesSeen);
    if (g_log.frames == 1) {
        PostMessageA(g_hWnd, WM_USER, 0, 0);
        PostMessageA(g_hWnd, WM_USER, 0, 0);
    }
    if (g_log.frames != g_log.closeAt) return;
    if (g_log.closeAt == 1) layer::PostSystemQuitRequest();
    if (g_log.closeAt == 2) layer::PostSystemCloseRequest(g_hWnd);
    if (g_log.closeAt != 3) return;
    SendMessageA(g_hWnd, WM_CLOSE, 0, 0);
    // The frame goes on with a window closed but not yet released.
    RECT r;
    EXPECT_FALSE(GetClientRect(g_hWnd, &r));
    PostMessageA(g_hWnd, WM_USER, 0, 0);  // to a destroyed window: refused
}

HWND MakeLoopWindow() {
    WNDCLASSEXA wc = {sizeof wc, 0, CountingProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                      "LOOPTEST", nullptr};
    EXPECT_NE(RegisterClassExA(&wc), 0);
    return CreateWindowExA(0, "LOOPTEST", "loop", WS_OVERLAPPEDWINDOW, 10, 10, 328, 270, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

// A frame runs only when no message waits; every way to close ends the loop at once.
TEST(MainLoop, DrawsOnlyWhenNoMessageWaitsAndEndsOnEveryKindOfClose) {
    for (const int closeAt : {3, 2, 1}) {
        g_log = LoopLog();
        g_log.closeAt = closeAt;
        g_hWnd = MakeLoopWindow();
        ASSERT_NE(g_hWnd, nullptr);
        if (closeAt == 2) ShowWindow(g_hWnd, SW_SHOWDEFAULT);
        PostMessageA(g_hWnd, WM_USER, 0, 0);
        RunMessageLoop(CountingFrame);
        EXPECT_EQ(g_log.frames, closeAt);
        const int taken[] = {1, 3, 3};  // messages handled before each frame
        EXPECT_EQ(g_log.messagesAtFrame, std::vector<int>(taken, taken + closeAt));
        EXPECT_FALSE(IsWindow(g_hWnd));
        MSG msg;
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // WM_QUIT was taken, nothing left
        EXPECT_TRUE(UnregisterClassA("LOOPTEST", GetModuleHandleA(nullptr)));
    }
}

TEST(MainWindowProc, DestroyQuitsAndEverythingElseTakesTheDefaultPath) {
    WNDCLASSEXA wc = {sizeof wc, CS_CLASSDC, WndProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                      "TREVOK", nullptr};
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
    // By default a close request destroys the window, which asks to quit again.
    EXPECT_EQ(WndProc(h, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(h));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_TRUE(UnregisterClassA("TREVOK", GetModuleHandleA(nullptr)));
}
