// platform_windows_test.cpp -- window classes, windows over SDL, styles and sizes, the message
// queue and the deferred release of a destroyed window.
#include <SDL.h>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "../platform/src/win32/window_link.h"
#include "dinput.h"
#include "layer/window_hooks.h"
#include "windows.h"

namespace {

std::vector<UINT> g_received;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    g_received.push_back(msg);
    if (msg == WM_DESTROY) PostQuitMessage(3);
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

void RegisterTestClass(const char* name) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_CLASSDC;
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = Module();
    wc.lpszClassName = name;
    ASSERT_NE(RegisterClassExA(&wc), 0);
}

HWND MakeWindow(const char* cls, DWORD style, int x, int y, int w, int h) {
    return CreateWindowExA(0, cls, "test", style, x, y, w, h, GetDesktopWindow(), nullptr, Module(), nullptr);
}

}  // namespace

TEST(PlatformWindows, ClassesRegisterOnceAndRefuseBadRecords) {
    RegisterTestClass("Alpha");
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "ALPHA";  // class names ignore case
    EXPECT_EQ(RegisterClassExA(&wc), 0);
    wc.lpszClassName = "Beta";
    wc.cbSize = 48;  // a record of another size is not ours
    EXPECT_EQ(RegisterClassExA(&wc), 0);
    EXPECT_EQ(MakeWindow("Gamma", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100), nullptr);
    EXPECT_TRUE(UnregisterClassA("alpha", Module()));
    EXPECT_FALSE(UnregisterClassA("alpha", Module()));
}

TEST(PlatformWindows, FramedClientAreaAndFullScreenCoveringTheDisplayBeforeItIsShown) {
    RegisterTestClass("Frame");
    HWND h = MakeWindow("Frame", WS_OVERLAPPEDWINDOW, 10, 10, 648, 510);
    ASSERT_NE(h, nullptr);
    SDL_Window* sdl = PlatformWindowSDL(h);
    ASSERT_NE(sdl, nullptr);
    EXPECT_FALSE(IsWindowVisible(h));  // created hidden
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(std::tie(client.right, client.bottom), std::make_tuple(640, 480));
    EXPECT_EQ(DWORD(GetWindowLongA(h, GWL_STYLE)), WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(GetWindowLongA(h, GWL_HINSTANCE), LONG(reinterpret_cast<intptr_t>(Module())));

    // The device may ask for full screen while the window is hidden; where nobody grants it, the
    // window must already fill the screen. The program's own idea of the window keeps its size,
    // all of it client now that there is no frame, and the style alone shows nothing.
    SDL_Rect display, at;
    ASSERT_EQ(SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(sdl), &display), 0);
    ASSERT_NE(display.w, 648);
    for (DWORD style : {WS_POPUP | WS_SYSMENU, WS_POPUP | WS_VISIBLE | WS_SYSMENU}) {
        SetWindowLongA(h, GWL_STYLE, LONG(style));
        SDL_GetWindowPosition(sdl, &at.x, &at.y);
        SDL_GetWindowSize(sdl, &at.w, &at.h);
        EXPECT_EQ(std::tie(at.x, at.y, at.w, at.h), std::tie(display.x, display.y, display.w, display.h));
        GetClientRect(h, &client);
        EXPECT_EQ(std::tie(client.right, client.bottom), std::make_tuple(648, 510));
        EXPECT_FALSE(IsWindowVisible(h));
    }
    EXPECT_FALSE(ShowWindow(h, SW_SHOWDEFAULT));
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ(DWORD(GetWindowLongA(h, GWL_STYLE)), WS_POPUP | WS_VISIBLE | WS_SYSMENU);
    // Framed again, the window has the chosen client size once more.
    SetWindowLongA(h, GWL_STYLE, LONG(WS_OVERLAPPEDWINDOW));
    SDL_GetWindowSize(sdl, &at.w, &at.h);
    GetClientRect(h, &client);
    EXPECT_EQ(std::tie(at.w, at.h), std::tie(client.right, client.bottom));

    EXPECT_FALSE(UnregisterClassA("Frame", Module()));  // a live window holds the class
    EXPECT_TRUE(DestroyWindow(h));
    EXPECT_EQ(PlatformWindowSDL(h), nullptr);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(DestroyWindow(h));
    EXPECT_TRUE(UnregisterClassA("Frame", Module()));
}

TEST(PlatformWindows, CloseGoesThroughDestroyToQuitAfterOtherMessages) {
    RegisterTestClass("Closing");
    HWND h = MakeWindow("Closing", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200);
    ASSERT_NE(h, nullptr);
    g_received.clear();
    PostMessageA(h, WM_USER + 1, 0, 0);
    PostMessageA(h, WM_CLOSE, 0, 0);
    PostMessageA(h, WM_USER + 2, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));  // filtered: skips the first
    EXPECT_EQ(msg.message, UINT(WM_CLOSE));
    DispatchMessageA(&msg);
    EXPECT_EQ(g_received, (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
    // The destroyed window's messages are gone; what is left is the quit, with its code.
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PostMessageA(h, WM_USER, 0, 0));
    EXPECT_EQ(SendMessageA(h, WM_USER, 0, 0), 0);
    EXPECT_TRUE(UnregisterClassA("Closing", Module()));
}

TEST(PlatformWindows, CloseRequestedWhileOnlyInputIsReadKeepsItsTurn) {
    RegisterTestClass("Intro");
    HWND h = MakeWindow("Intro", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200);
    ASSERT_NE(h, nullptr);
    IDirectInput8A* di = nullptr;
    ASSERT_EQ(DirectInput8Create(nullptr, 0x0800, IID_IDirectInput8A, reinterpret_cast<void**>(&di), nullptr), DI_OK);
    IDirectInputDevice8A* keyboard = nullptr;
    ASSERT_EQ(di->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);
    ASSERT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    ASSERT_EQ(keyboard->SetCooperativeLevel(h, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND), DI_OK);
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    g_received.clear();

    // A loop that reads only the keyboard, as the intro does, while the window is asked to close.
    layer::PostSystemCloseRequest(h);
    BYTE keys[256];
    EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DI_OK);
    // What the program posts afterwards comes after the close request.
    PostMessageA(h, WM_USER + 1, 0, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) DispatchMessageA(&msg);
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    // The close destroyed the window, so the later message never reached it.
    EXPECT_EQ(g_received, (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(h));

    EXPECT_EQ(keyboard->Release(), 0u);
    EXPECT_EQ(di->Release(), 0u);
    EXPECT_TRUE(UnregisterClassA("Intro", Module()));
}

TEST(PlatformWindows, ThreadMessagesAndQuitWaitForPostedOnes) {
    MSG msg;
    PostQuitMessage(0);
    PostMessageA(nullptr, WM_USER + 5, 1, 2);
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_USER + 5);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(DispatchMessageA(&msg), 0);
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));  // WM_QUIT
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
}

TEST(PlatformWindows, WindowDestroyedByAnotherProgramGetsItsDestroyAndEndsTheLoop) {
    RegisterTestClass("Lost");
    HWND h = MakeWindow("Lost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200);
    g_received.clear();
    layer::ReportWindowLost(h);  // as the X error handler does
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) DispatchMessageA(&msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(g_received, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_TRUE(UnregisterClassA("Lost", Module()));  // no window of the class is left
}
