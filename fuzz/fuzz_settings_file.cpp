// fuzz_settings_file.cpp -- libFuzzer entry for trevok.cfg: whatever the file holds, the settings
// dialog shows it and "Spustit" leaves settings the program can start with, the reserved bytes
// kept as they were read.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "layer/dialogs.h"
#include "shell/resource.h"
#include "shell/settings.h"

namespace {

bool Flag(BYTE b) { return b == 0 || b == 1; }

bool Startable(const SConfig& c) {
    static const DWORD kHeights[][2] = {{320, 200}, {320, 240}, {512, 384}, {640, 480},
                                        {800, 600}, {1024, 768}, {1280, 1024}, {1600, 1200}};
    bool listed = false;
    for (const auto& r : kHeights) listed |= c.dwWidth == r[0] && c.dwHeight == r[1];
    return listed && (c.dwDepth == 0 || c.dwDepth == 16 || c.dwDepth == 32) && Flag(c.bFullscreen) &&
           Flag(c.bVSync) && Flag(c.bHardwareTL) && c.dwMultiSample <= 2 && (c.dwFilter == 1 || c.dwFilter == 2) &&
           (c.dwMipFilter == 1 || c.dwMipFilter == 2) && Flag(c.bFog) && Flag(c.bInvertMouse) &&
           c.dwSensitivity <= 1000;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::RunHeadless();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::WriteWholeFile("trevok.cfg", data, size);
    SetConfigDefaults();
    LoadConfig();
    const SConfig read = g_Config;
    layer::SetDialogScript([](HWND hDlg) { layer::ClickDialogControl(hDlg, IDC_START); });
    INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(IDD_SETTINGS), nullptr, SettingsDlgProc, 0);
    layer::SetDialogScript(nullptr);
    if (result != 1 || !Startable(g_Config)) std::abort();
    if (g_Config.bReserved1 != read.bReserved1 || std::memcmp(g_Config.bReserved2, read.bReserved2, 2) != 0)
        std::abort();
    layer::ClearShownMessageBoxes();
    return 0;
}
