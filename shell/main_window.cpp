// main_window.cpp -- WinMain runs the program's life in order: settings, window, devices, intro,
// game content, the main loop and the shut-down; WndProc is the main window's procedure.
#include "shell/main_window.h"

#include <cstdio>

#include "game/frame.h"
#include "game/game_loading.h"
#include "game/intro.h"
#include "game/sound_object.h"
#include "shell/devices.h"
#include "shell/geometry.h"
#include "shell/resource.h"
#include "shell/settings.h"
#include "shell/timer.h"

HWND g_hWnd = nullptr;

namespace {

constexpr const char* kClassName = "TREVOK";
constexpr const char* kWindowTitle = "Vizuvor VUGU !";
constexpr DWORD kIntroMusicFlags = 0x4080;  // DMUS_SEGF_DEFAULT | DMUS_SEGF_SECONDARY

// A start-up that cannot go on says why and ends with status 1.
int StartFailed(const char* why) {
    std::fprintf(stderr, "trevok: %s\n", why);
    return 1;
}

void WarnAboutSmallResolution() {
    if (static_cast<LONG>(g_Config.dwWidth) >= 500) return;
    MessageBoxA(nullptr,
                "Vybrali jste rozlišení menši než 512x384.\nPři tomto rozlišení mohou být některé grafické prvky\n"
                "zkreslené nebo mohou být mimo obraz.",
                "Varování", MB_OK | MB_ICONEXCLAMATION);
}

void RegisterWindowClass(HINSTANCE module) {
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.cbSize = sizeof(WNDCLASSEXA);
    wc.style = CS_CLASSDC;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = module;
    wc.lpszClassName = kClassName;
    RegisterClassExA(&wc);
}

void CreateMainWindow(HINSTANCE module) {
    int x = 0, y = 0;
    int width = static_cast<int>(g_Config.dwWidth), height = static_cast<int>(g_Config.dwHeight);
    if (!g_Config.bFullscreen) {
        x = 10;
        y = 10;
        width += 8;
        height += 30;
    }
    g_hWnd = CreateWindowExA(0, kClassName, kWindowTitle, WS_OVERLAPPEDWINDOW, x, y, width, height,
                             GetDesktopWindow(), nullptr, module, nullptr);
}

// Shows the window and plays the intro to its end; no window message is taken meanwhile.
void RunIntro() {
    if (InitIntro() < 0) return;
    ShowWindow(g_hWnd, SW_SHOWDEFAULT);
    UpdateWindow(g_hWnd);
    g_pSoundManager->PlaySegment(g_iSndIntro, 0, kIntroMusicFlags);
    g_Timer.ResetStopwatch();
    while (RenderIntroFrame()) {
    }
    g_pSoundManager->StopSegment(g_iSndIntro);
    FreeIntro();
}

void ShutDown(HINSTANCE module) {
    Cleanup();
    UnregisterClassA(kClassName, module);
}

}  // namespace

void RunMessageLoop(void (*frame)()) {
    MSG msg;
    ZeroMemory(&msg, sizeof msg);
    while (msg.message != WM_QUIT) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            frame();
        }
    }
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    SetConfigDefaults();
    LoadConfig();
    INT_PTR choice = DialogBoxParamA(hInstance, MAKEINTRESOURCE(IDD_SETTINGS), nullptr, SettingsDlgProc, 0);
    if (choice == -1) return StartFailed("the settings dialog could not be shown");
    if (choice != 1) return 0;
    WarnAboutSmallResolution();
    SaveConfig();

    HINSTANCE module = GetModuleHandleA(nullptr);
    RegisterWindowClass(module);
    CreateMainWindow(module);
    InitDirectInput(g_hWnd);
    if (FAILED(InitD3D(g_hWnd))) {
        ShutDown(module);
        return StartFailed("the graphics device could not be set up");
    }
    InitGeometry();
    RunIntro();
    if (FAILED(LoadGameData())) {
        ShutDown(module);
        return StartFailed("the game could not be loaded");
    }
    RunMessageLoop(RenderFrame);
    FreeGameData();
    ShutDown(module);
    return 0;
}

LRESULT CALLBACK WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}
