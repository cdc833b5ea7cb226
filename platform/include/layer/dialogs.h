// layer/dialogs.h -- lets tests operate modal dialogs as a person would, without a screen.
#pragma once

#include <functional>
#include <cstdint>
#include <string>
#include <vector>

#include "../wintypes.h"

namespace layer {

enum class DialogKey { Tab, ShiftTab, Space, Enter, Escape, Up, Down, Left, Right, Home, End, PageUp, PageDown };

// While set, each modal dialog runs the script once it is initialised (WM_INITDIALOG handled and
// the messages posted meanwhile delivered) instead of showing itself; a dialog that the script
// leaves open ends with -1. An empty function clears it.
void SetDialogScript(std::function<void(HWND hDlg)> script);

// A mouse click on a control: presses a button, toggles a check box, opens or closes a combo box.
bool ClickDialogControl(HWND hDlg, int id);
// Picks an item of a combo box from its list, as a click on the item does.
bool ChooseDialogComboItem(HWND hDlg, int id, int index);
// Drags a trackbar's thumb to a fraction (0..1) of its channel.
bool DragDialogTrackbar(HWND hDlg, int id, double fraction);
// A key pressed in the dialog; posted messages are delivered after it.
void PressDialogKey(HWND hDlg, DialogKey key);

// Read-outs of the model.
int DialogFocusId(HWND hDlg);  // 0 when nothing has the focus
bool IsDialogControlVisible(HWND hDlg, int id);
bool IsDialogComboDropped(HWND hDlg, int id);
std::string DialogTitle(HWND hDlg);
HICON DialogIcon(HWND hDlg, bool big);
// The control's rectangle in the dialog's client area, in pixels, as the view draws it.
bool DialogControlPixels(HWND hDlg, int id, RECT* rect);

}  // namespace layer

namespace layer {

// Draws the dialog as its view would into 32-bit ARGB pixels (rows top first); false when no
// font or renderer is available.
bool RenderDialogToPixels(HWND hDlg, std::vector<uint32_t>* pixels, int* width, int* height);

}  // namespace layer
