// settings.h -- the settings block, its file trevok.cfg and the settings dialog.
#pragma once

#include <cstddef>

#include "windows.h"

// The settings as the dialog edits them; also the exact 36-byte image of trevok.cfg.
struct SConfig {
    DWORD dwWidth;
    DWORD dwHeight;
    DWORD dwDepth;  // 0 the desktop's format, 16 or 32
    BYTE bFullscreen;
    BYTE bVSync;
    BYTE bHardwareTL;
    BYTE bReserved1;  // kept as loaded
    DWORD dwMultiSample;  // 0 none, 1 two samples, 2 four samples
    DWORD dwFilter;  // 1 point, 2 linear
    DWORD dwMipFilter;  // 1 point, 2 linear
    BYTE bFog;
    BYTE bInvertMouse;
    BYTE bReserved2[2];  // kept as loaded
    DWORD dwSensitivity;  // 0..1000
};

static_assert(sizeof(SConfig) == 36, "trevok.cfg is 36 bytes");
static_assert(offsetof(SConfig, dwDepth) == 8 && offsetof(SConfig, bFullscreen) == 12 &&
                  offsetof(SConfig, bHardwareTL) == 14 && offsetof(SConfig, dwMultiSample) == 16 &&
                  offsetof(SConfig, dwMipFilter) == 24 && offsetof(SConfig, bFog) == 28 &&
                  offsetof(SConfig, bInvertMouse) == 29 && offsetof(SConfig, dwSensitivity) == 32,
              "trevok.cfg field offsets");

extern SConfig g_Config;

// The settings before trevok.cfg is read (the reserved bytes are left alone).
void SetConfigDefaults();
// Reads trevok.cfg over g_Config; a missing or short file leaves the rest as it was.
void LoadConfig();
// Writes the 36 bytes of g_Config to trevok.cfg.
void SaveConfig();

// The settings dialog: ends with 1 for "Spustit" (the controls taken into g_Config) and 0 for "Konec".
INT_PTR CALLBACK SettingsDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
void OnSettingsInitDialog(HWND hDlg);
void FillSettingsControls(HWND hDlg);
