// dialog_model.h -- the controls of one dialog and what a person's clicks and keys do to them,
// with no screen: the view draws this state and feeds input into it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "layer/dialogs.h"
#include "layer/resources.h"
#include "winuser.h"

namespace dlgmodel {

enum class Kind { PushButton, DefPushButton, GroupBox, Static, ComboBox, CheckBox, Trackbar };

struct Control {
    int id = -1;
    Kind kind = Kind::Static;
    std::string text;
    DWORD style = 0;
    RECT dlu = {};  // left, top, right, bottom in dialog units
    bool visible = false;
    bool tabStop = false;
    HWND hwnd = nullptr;
    // Combo box.
    std::vector<std::string> items;
    int selection = -1;
    bool dropped = false;
    // Check box.
    UINT check = BST_UNCHECKED;
    // Trackbar.
    int rangeMin = 0, rangeMax = 100, pos = 0, lineSize = 1;
    int pageSize = 0;  // 0: a fifth of the range
};

// The page a trackbar moves by: as set, or else a fifth of its range.
int PageSize(const Control& c);

// The kind of control an item of a template makes.
Kind KindOf(const layer::DialogItemResource& item);

class Model {
public:
    explicit Model(const layer::DialogResource& resource);

    // Told about everything a person changes: the message and its words for the dialog procedure.
    std::function<void(UINT message, WPARAM wParam, LPARAM lParam)> notify;

    const layer::DialogResource& Resource() const { return *resource_; }
    std::vector<Control>& Controls() { return controls_; }
    Control* Find(int id);
    Control* FindByHandle(HWND hwnd);
    Control* Focused();
    void FocusFirst();
    void SetFocus(Control& control);

    // A message sent to a control (CB_*, BM_*, TBM_*).
    LRESULT ControlMessage(Control& control, UINT message, WPARAM wParam, LPARAM lParam);

    // What a person does.
    void Click(Control& control);
    void ChooseItem(Control& control, int index);
    void DragTrackbar(Control& control, double fraction);
    void Key(layer::DialogKey key);
    // The combo box whose list is open, or null.
    Control* DroppedCombo();

private:
    LRESULT ComboMessage(Control& c, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ButtonMessage(Control& c, UINT message, WPARAM wParam);
    LRESULT TrackbarMessage(Control& c, UINT message, WPARAM wParam, LPARAM lParam);
    void MoveFocus(bool backwards);
    void PressDefault();
    void CloseDropped();
    void StepCombo(Control& c, int delta);
    void MoveTrackbar(Control& c, int newPos);
    void Command(const Control& c, WORD code);

    const layer::DialogResource* resource_;
    std::vector<Control> controls_;
    int focus_ = -1;
};

}  // namespace dlgmodel
