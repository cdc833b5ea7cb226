// settings_dialog_template.cpp -- the settings dialog "Rudurev VUGU!" as a template table, in
// dialog units, with its controls in tab order.
#include "shell/settings_dialog_template.h"

#include "commctrl.h"
#include "shell/resource.h"

namespace {

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kCombo = CBS_DROPDOWNLIST | WS_TABSTOP;
constexpr DWORD kCheck = BS_AUTOCHECKBOX | BS_FLAT | WS_TABSTOP | kShown;

const layer::DialogItemResource kItems[] = {
    {IDC_START, "button", "Spustit", BS_DEFPUSHBUTTON | WS_TABSTOP | kShown, 175, 150, 55, 14},
    {IDC_QUIT, "button", "Konec", BS_PUSHBUTTON | WS_TABSTOP | kShown, 120, 150, 50, 14},
    {IDC_GROUP_D3D, "button", "Direct 3D", BS_GROUPBOX | kShown, 0, 0, 232, 90},
    {IDC_GROUP_INPUT, "button", "Direct Input", BS_GROUPBOX | kShown, 0, 95, 232, 50},
    {IDC_STATIC, "static", "Filtrování textur", SS_LEFT | kShown, 29, 39, 50, 8},
    {IDC_STATIC, "static", "Vertex processing path", SS_LEFT | WS_CHILD, 5, 55, 73, 8},
    {IDC_STATIC, "static", "Rozlišení", SS_LEFT | kShown, 51, 10, 30, 8},
    {IDC_RESOLUTION, "combobox", "", kCombo | WS_VSCROLL | kShown, 85, 10, 90, 85},
    {IDC_FILTER, "combobox", "", kCombo | kShown, 85, 39, 90, 40},
    {IDC_FULLSCREEN, "button", "Fullscreen", kCheck, 181, 10, 45, 10},
    {IDC_VSYNC, "button", "VSYNC", kCheck, 181, 20, 40, 10},
    {IDC_VERTEXPROC, "combobox", "", kCombo | WS_CHILD, 85, 55, 90, 43},
    {IDC_INVERTMOUSE, "button", "Ivertovat myš", kCheck, 5, 105, 58, 10},
    {IDC_MULTISAMPLE, "combobox", "", kCombo | WS_CHILD, 85, 70, 90, 54},
    {IDC_STATIC, "static", "Antialiasing", SS_LEFT | WS_CHILD, 41, 70, 36, 8},
    {IDC_SENSITIVITY, TRACKBAR_CLASSA, "Slider1", TBS_BOTH | TBS_NOTICKS | WS_TABSTOP | kShown, 25, 130, 165, 10},
    {IDC_STATIC, "static", "Citlivost myši", SS_LEFT | kShown, 5, 120, 40, 8},
    {IDC_STATIC, "static", "Nízká", SS_LEFT | kShown, 5, 130, 20, 8},
    {IDC_STATIC, "static", "Vysoká", SS_LEFT | kShown, 195, 130, 24, 8},
    {IDC_DEPTH, "combobox", "", kCombo | kShown, 85, 25, 90, 41},
    {IDC_STATIC, "static", "Barevná hlobka", SS_LEFT | kShown, 31, 25, 51, 8},
    {IDC_FOG, "button", "Mlha", kCheck, 181, 34, 31, 10},
};

}  // namespace

const layer::DialogResource kSettingsDialogTemplate = {
    WS_POPUP | WS_CAPTION | WS_MINIMIZEBOX | DS_CENTER | DS_SETFONT,
    235,
    169,
    "Rudurev VUGU!",
    "MS Shell Dlg",
    8,
    kItems,
    static_cast<int>(sizeof kItems / sizeof kItems[0]),
};
