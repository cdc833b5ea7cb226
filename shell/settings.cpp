// settings.cpp -- g_Config: its defaults, trevok.cfg, and the settings dialog that edits it.
#include "shell/settings.h"

#include "commctrl.h"
#include "shell/disk_file.h"
#include "shell/resource.h"

SConfig g_Config;

namespace {

constexpr const char* kConfigFile = "trevok.cfg";
constexpr WORD kOpenForReading = 0;
constexpr WORD kCreateOrTruncate = 0xFFFF;
constexpr DWORD kSensitivityMax = 1000;

struct Resolution {
    const char* text;
    DWORD width, height;
};

constexpr Resolution kResolutions[] = {
    {"320x200", 320, 200},   {"320x240", 320, 240},   {"512x384", 512, 384},     {"640x480", 640, 480},
    {"800x600", 800, 600},   {"1024x768", 1024, 768}, {"1280x1024", 1280, 1024}, {"1600x1200", 1600, 1200},
};
constexpr const char* kDepths[] = {"Default", "16b", "32b"};
constexpr const char* kFilters[] = {"Nearest point", "Billinear", "Trillinear"};
constexpr const char* kVertexPaths[] = {"Software T&L", "Hardware T&L"};
constexpr const char* kMultiSamples[] = {"Žádný", "2 samples", "4 samples"};

template <size_t N>
void AddItems(HWND hDlg, int id, const char* const (&items)[N]) {
    for (const char* item : items) SendDlgItemMessageA(hDlg, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

// Selects an item, or leaves the combo box without a selection for -1.
void Preselect(HWND hDlg, int id, int index) {
    if (index >= 0) SendDlgItemMessageA(hDlg, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Selection(HWND hDlg, int id) { return static_cast<int>(SendDlgItemMessageA(hDlg, id, CB_GETCURSEL, 0, 0)); }

void FillResolutions(HWND hDlg) {
    int selected = -1;
    for (int i = 0; i < 8; ++i) {
        SendDlgItemMessageA(hDlg, IDC_RESOLUTION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kResolutions[i].text));
        // The height alone picks the item.
        if (g_Config.dwHeight == kResolutions[i].height) selected = i;
    }
    Preselect(hDlg, IDC_RESOLUTION, selected);
}

int FilterIndex() {
    if (g_Config.dwFilter == 1 && g_Config.dwMipFilter == 1) return 0;
    if (g_Config.dwFilter == 2 && g_Config.dwMipFilter == 1) return 1;
    if (g_Config.dwFilter == 2 && g_Config.dwMipFilter == 2) return 2;
    return -1;
}

int DepthIndex() {
    switch (g_Config.dwDepth) {
        case 0: return 0;
        case 16: return 1;
        case 32: return 2;
        default: return -1;
    }
}

int MultiSampleIndex() { return g_Config.dwMultiSample <= 2 ? static_cast<int>(g_Config.dwMultiSample) : -1; }

void FillCombos(HWND hDlg) {
    FillResolutions(hDlg);
    AddItems(hDlg, IDC_FILTER, kFilters);
    Preselect(hDlg, IDC_FILTER, FilterIndex());
    AddItems(hDlg, IDC_VERTEXPROC, kVertexPaths);
    Preselect(hDlg, IDC_VERTEXPROC, g_Config.bHardwareTL ? 1 : 0);
    AddItems(hDlg, IDC_MULTISAMPLE, kMultiSamples);
    Preselect(hDlg, IDC_MULTISAMPLE, MultiSampleIndex());
    AddItems(hDlg, IDC_DEPTH, kDepths);
    Preselect(hDlg, IDC_DEPTH, DepthIndex());
}

// Posted, not sent: the range must be in place before the position arrives, after WM_INITDIALOG.
void PostSensitivity(HWND hDlg) {
    HWND slider = GetDlgItem(hDlg, IDC_SENSITIVITY);
    PostMessageA(slider, TBM_SETRANGEMAX, 1, kSensitivityMax);
    PostMessageA(slider, TBM_SETRANGEMIN, 1, 0);
    PostMessageA(slider, TBM_SETPOS, 1, static_cast<LPARAM>(static_cast<LONG>(g_Config.dwSensitivity)));
}

BYTE Checked(HWND hDlg, int id) { return IsDlgButtonChecked(hDlg, id) == BST_CHECKED ? 1 : 0; }

void TakeResolution(HWND hDlg) {
    int i = Selection(hDlg, IDC_RESOLUTION);
    const Resolution& r = (i >= 0 && i < 8) ? kResolutions[i] : kResolutions[3];
    g_Config.dwWidth = r.width;
    g_Config.dwHeight = r.height;
}

void TakeFilter(HWND hDlg) {
    switch (Selection(hDlg, IDC_FILTER)) {
        case 0: g_Config.dwFilter = 1; g_Config.dwMipFilter = 1; break;
        case 2: g_Config.dwFilter = 2; g_Config.dwMipFilter = 2; break;
        default: g_Config.dwFilter = 2; g_Config.dwMipFilter = 1; break;
    }
}

void TakeChoices(HWND hDlg) {
    g_Config.bHardwareTL = Selection(hDlg, IDC_VERTEXPROC) == 1 ? 1 : 0;
    int samples = Selection(hDlg, IDC_MULTISAMPLE);
    g_Config.dwMultiSample = (samples == 1 || samples == 2) ? static_cast<DWORD>(samples) : 0;
    int depth = Selection(hDlg, IDC_DEPTH);
    g_Config.dwDepth = depth == 1 ? 16 : (depth == 2 ? 32 : 0);
}

// Everything the dialog shows goes back into g_Config, in the order the dialog lists it.
void TakeSettingsControls(HWND hDlg) {
    TakeResolution(hDlg);
    TakeFilter(hDlg);
    g_Config.bFullscreen = Checked(hDlg, IDC_FULLSCREEN);
    g_Config.bVSync = Checked(hDlg, IDC_VSYNC);
    g_Config.bInvertMouse = Checked(hDlg, IDC_INVERTMOUSE);
    g_Config.bFog = Checked(hDlg, IDC_FOG);
    TakeChoices(hDlg);
    g_Config.dwSensitivity = static_cast<DWORD>(SendDlgItemMessageA(hDlg, IDC_SENSITIVITY, TBM_GETPOS, 0, 0));
}

}  // namespace

void SetConfigDefaults() {
    g_Config.dwWidth = 640;
    g_Config.dwHeight = 480;
    g_Config.dwDepth = 0;
    g_Config.bFullscreen = 1;
    g_Config.bVSync = 0;
    g_Config.bFog = 1;
    g_Config.bHardwareTL = 0;
    g_Config.dwMultiSample = 0;
    g_Config.dwFilter = 2;
    g_Config.dwMipFilter = 1;
    g_Config.bInvertMouse = 0;
    g_Config.dwSensitivity = 500;
}

void LoadConfig() {
    CDiskFile* file = new CDiskFile(kConfigFile, kOpenForReading);
    file->Read(&g_Config, sizeof(SConfig));
    delete file;
}

void SaveConfig() {
    CDiskFile* file = new CDiskFile(kConfigFile, kCreateOrTruncate);
    file->Write(&g_Config, sizeof(SConfig));
    delete file;
}

void FillSettingsControls(HWND hDlg) {
    FillCombos(hDlg);
    PostSensitivity(hDlg);
    CheckDlgButton(hDlg, IDC_FULLSCREEN, g_Config.bFullscreen);
    CheckDlgButton(hDlg, IDC_VSYNC, g_Config.bVSync);
    CheckDlgButton(hDlg, IDC_INVERTMOUSE, g_Config.bInvertMouse);
    CheckDlgButton(hDlg, IDC_FOG, g_Config.bFog);
}

void OnSettingsInitDialog(HWND hDlg) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(GetWindowLongA(hDlg, GWL_HINSTANCE)));
    HICON icon = LoadIconA(instance, MAKEINTRESOURCE(IDI_TREVOK));
    PostMessageA(hDlg, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    PostMessageA(hDlg, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    FillSettingsControls(hDlg);
}

INT_PTR CALLBACK SettingsDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        OnSettingsInitDialog(hDlg);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
        case IDC_QUIT: EndDialog(hDlg, 0); return TRUE;
        case IDC_START:
            TakeSettingsControls(hDlg);
            EndDialog(hDlg, 1);
            return TRUE;
        default: return FALSE;  // Esc's IDCANCEL among them: only the two buttons leave
    }
}
