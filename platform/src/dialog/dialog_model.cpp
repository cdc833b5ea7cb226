// dialog_model.cpp -- buttons, check boxes, drop-down combo boxes and trackbars of a dialog:
// their messages and the effect of clicks and keys.
#include "dialog/dialog_model.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "commctrl.h"

namespace dlgmodel {
namespace {

constexpr WORD kTrackbarEndTrack = 8;

bool ClassIs(const char* name, const char* expected) { return name && ::strcasecmp(name, expected) == 0; }

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

Control MakeControl(const layer::DialogItemResource& item) {
    Control c;
    c.id = item.id;
    c.kind = KindOf(item);
    c.text = item.text ? item.text : "";
    c.style = item.style;
    c.dlu = {item.x, item.y, item.x + item.cx, item.y + item.cy};
    c.visible = (item.style & WS_VISIBLE) != 0;
    c.tabStop = (item.style & WS_TABSTOP) != 0;
    return c;
}

bool CanFocus(const Control& c) { return c.visible && c.tabStop && !(c.style & WS_DISABLED); }

bool IsPushButton(const Control& c) { return c.kind == Kind::PushButton || c.kind == Kind::DefPushButton; }

}  // namespace

int PageSize(const Control& c) {
    if (c.pageSize > 0) return c.pageSize;
    int fifth = (c.rangeMax - c.rangeMin) / 5;
    return fifth > 0 ? fifth : 1;
}

Kind KindOf(const layer::DialogItemResource& item) {
    if (ClassIs(item.className, "combobox")) return Kind::ComboBox;
    if (ClassIs(item.className, TRACKBAR_CLASSA)) return Kind::Trackbar;
    if (!ClassIs(item.className, "button")) return Kind::Static;
    switch (item.style & BS_TYPEMASK) {
        case BS_DEFPUSHBUTTON: return Kind::DefPushButton;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX: return Kind::CheckBox;
        case BS_GROUPBOX: return Kind::GroupBox;
        default: return Kind::PushButton;
    }
}

Model::Model(const layer::DialogResource& resource) : resource_(&resource) {
    for (int i = 0; i < resource.itemCount; ++i) controls_.push_back(MakeControl(resource.items[i]));
}

Control* Model::Find(int id) {
    if (id == -1) return nullptr;
    for (Control& c : controls_)
        if (c.id == id) return &c;
    return nullptr;
}

Control* Model::FindByHandle(HWND hwnd) {
    for (Control& c : controls_)
        if (c.hwnd == hwnd) return &c;
    return nullptr;
}

Control* Model::Focused() { return focus_ >= 0 ? &controls_[static_cast<size_t>(focus_)] : nullptr; }

void Model::FocusFirst() {
    focus_ = -1;
    for (size_t i = 0; i < controls_.size(); ++i) {
        if (CanFocus(controls_[i])) {
            focus_ = static_cast<int>(i);
            return;
        }
    }
}

void Model::SetFocus(Control& control) {
    // A click focuses any visible control a person can operate, tab stop or not.
    if (!control.visible || control.kind == Kind::Static || control.kind == Kind::GroupBox) return;
    if (&control != Focused()) CloseDropped();
    focus_ = static_cast<int>(&control - controls_.data());
}

Control* Model::DroppedCombo() {
    for (Control& c : controls_)
        if (c.kind == Kind::ComboBox && c.dropped) return &c;
    return nullptr;
}

LRESULT Model::ControlMessage(Control& c, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (c.kind) {
        case Kind::ComboBox: return ComboMessage(c, message, wParam, lParam);
        case Kind::Trackbar: return TrackbarMessage(c, message, wParam, lParam);
        case Kind::CheckBox:
        case Kind::PushButton:
        case Kind::DefPushButton: return ButtonMessage(c, message, wParam);
        default: return 0;
    }
}

LRESULT Model::ComboMessage(Control& c, UINT message, WPARAM wParam, LPARAM lParam) {
    const int count = static_cast<int>(c.items.size());
    const int index = static_cast<int>(static_cast<int32_t>(wParam));
    switch (message) {
        case CB_ADDSTRING:
            c.items.emplace_back(lParam ? reinterpret_cast<const char*>(lParam) : "");
            return count;
        case CB_GETCOUNT: return count;
        case CB_GETCURSEL: return c.selection >= 0 ? c.selection : CB_ERR;
        case CB_SETCURSEL:
            c.selection = (index >= 0 && index < count) ? index : -1;
            return c.selection >= 0 ? c.selection : CB_ERR;
        case CB_GETLBTEXTLEN:
            return (index >= 0 && index < count) ? static_cast<LRESULT>(c.items[static_cast<size_t>(index)].size())
                                                 : CB_ERR;
        case CB_GETLBTEXT: {
            if (index < 0 || index >= count || !lParam) return CB_ERR;
            const std::string& s = c.items[static_cast<size_t>(index)];
            std::memcpy(reinterpret_cast<char*>(lParam), s.c_str(), s.size() + 1);
            return static_cast<LRESULT>(s.size());
        }
        case CB_RESETCONTENT:
            c.items.clear();
            c.selection = -1;
            return 0;
        case CB_SHOWDROPDOWN: c.dropped = wParam != 0 && c.visible; return TRUE;
        case CB_GETDROPPEDSTATE: return c.dropped ? TRUE : FALSE;
        default: return 0;
    }
}

LRESULT Model::ButtonMessage(Control& c, UINT message, WPARAM wParam) {
    switch (message) {
        case BM_GETCHECK: return c.check;
        // A two-state check box shows any non-zero state as checked.
        case BM_SETCHECK: c.check = (c.kind == Kind::CheckBox && wParam != 0) ? BST_CHECKED : BST_UNCHECKED; return 0;
        case BM_CLICK: Click(c); return 0;
        default: return 0;
    }
}

LRESULT Model::TrackbarMessage(Control& c, UINT message, WPARAM wParam, LPARAM lParam) {
    // Positions travel in the low 32 bits of the word, as signed values.
    const int value = static_cast<int32_t>(lParam);
    switch (message) {
        case TBM_GETPOS: return c.pos;
        case TBM_GETRANGEMIN: return c.rangeMin;
        case TBM_GETRANGEMAX: return c.rangeMax;
        case TBM_SETPOS: c.pos = Clamp(value, c.rangeMin, c.rangeMax); return 0;
        case TBM_SETRANGEMIN:
            c.rangeMin = value;
            c.pos = Clamp(c.pos, c.rangeMin, std::max(c.rangeMin, c.rangeMax));
            return 0;
        case TBM_SETRANGEMAX:
            c.rangeMax = value;
            c.pos = Clamp(c.pos, std::min(c.rangeMin, c.rangeMax), c.rangeMax);
            return 0;
        case TBM_SETRANGE:
            c.rangeMin = static_cast<SHORT>(LOWORD(lParam));
            c.rangeMax = static_cast<SHORT>(HIWORD(lParam));
            c.pos = Clamp(c.pos, c.rangeMin, std::max(c.rangeMin, c.rangeMax));
            return 0;
        case TBM_SETPAGESIZE: {
            int previous = PageSize(c);
            c.pageSize = value;
            return previous;
        }
        case TBM_GETPAGESIZE: return PageSize(c);
        case TBM_SETLINESIZE: return std::exchange(c.lineSize, value);
        case TBM_GETLINESIZE: return c.lineSize;
        default: (void)wParam; return 0;
    }
}

void Model::Command(const Control& c, WORD code) {
    if (notify) notify(WM_COMMAND, MAKEWPARAM(c.id, code), reinterpret_cast<LPARAM>(c.hwnd));
}

void Model::Click(Control& c) {
    if (!c.visible || (c.style & WS_DISABLED)) return;
    SetFocus(c);
    switch (c.kind) {
        case Kind::PushButton:
        case Kind::DefPushButton: Command(c, BN_CLICKED); break;
        case Kind::CheckBox:
            if ((c.style & BS_TYPEMASK) == BS_AUTOCHECKBOX) c.check = c.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
            Command(c, BN_CLICKED);
            break;
        case Kind::ComboBox:
            c.dropped = !c.dropped;
            Command(c, c.dropped ? CBN_DROPDOWN : CBN_CLOSEUP);
            break;
        default: break;
    }
}

void Model::ChooseItem(Control& c, int index) {
    if (c.kind != Kind::ComboBox || !c.visible || index < 0 || index >= static_cast<int>(c.items.size())) return;
    SetFocus(c);
    const bool changed = c.selection != index;
    c.selection = index;
    c.dropped = false;
    Command(c, CBN_CLOSEUP);
    if (changed) Command(c, CBN_SELCHANGE);
}

void Model::DragTrackbar(Control& c, double fraction) {
    if (c.kind != Kind::Trackbar || !c.visible) return;
    SetFocus(c);
    fraction = std::clamp(fraction, 0.0, 1.0);
    MoveTrackbar(c, c.rangeMin + static_cast<int>(fraction * (c.rangeMax - c.rangeMin) + 0.5));
}

void Model::MoveTrackbar(Control& c, int newPos) {
    newPos = Clamp(newPos, c.rangeMin, std::max(c.rangeMin, c.rangeMax));
    if (newPos == c.pos) return;
    c.pos = newPos;
    if (notify) notify(WM_HSCROLL, MAKEWPARAM(kTrackbarEndTrack, 0), reinterpret_cast<LPARAM>(c.hwnd));
}

void Model::StepCombo(Control& c, int delta) {
    const int count = static_cast<int>(c.items.size());
    if (count == 0) return;
    int next = c.selection < 0 ? 0 : Clamp(c.selection + delta, 0, count - 1);
    if (next == c.selection) return;
    c.selection = next;
    Command(c, CBN_SELCHANGE);
}

void Model::MoveFocus(bool backwards) {
    CloseDropped();
    const int n = static_cast<int>(controls_.size());
    for (int step = 1; step <= n; ++step) {
        int i = ((focus_ < 0 ? (backwards ? 0 : -1) : focus_) + (backwards ? -step : step) % n + n) % n;
        if (CanFocus(controls_[static_cast<size_t>(i)])) {
            focus_ = i;
            return;
        }
    }
}

void Model::CloseDropped() {
    if (Control* c = DroppedCombo()) {
        c->dropped = false;
        Command(*c, CBN_CLOSEUP);
    }
}

void Model::PressDefault() {
    Control* focused = Focused();
    if (focused && IsPushButton(*focused)) {
        Click(*focused);
        return;
    }
    for (Control& c : controls_) {
        if (c.kind == Kind::DefPushButton && c.visible) {
            Command(c, BN_CLICKED);
            return;
        }
    }
    if (notify) notify(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void Model::Key(layer::DialogKey key) {
    using layer::DialogKey;
    Control* f = Focused();
    if (key == DialogKey::Tab || key == DialogKey::ShiftTab) return MoveFocus(key == DialogKey::ShiftTab);
    if (key == DialogKey::Escape) {
        if (DroppedCombo()) return CloseDropped();
        if (notify) notify(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    if (key == DialogKey::Enter) {
        if (DroppedCombo()) return CloseDropped();
        return PressDefault();
    }
    if (!f) return;
    const bool back = key == DialogKey::Up || key == DialogKey::Left;
    const bool forward = key == DialogKey::Down || key == DialogKey::Right;
    switch (f->kind) {
        case Kind::PushButton:
        case Kind::DefPushButton:
        case Kind::CheckBox:
            if (key == DialogKey::Space) Click(*f);
            break;
        case Kind::ComboBox:
            if (key == DialogKey::Space) Click(*f);
            if (back || forward) StepCombo(*f, back ? -1 : 1);
            if (key == DialogKey::Home) StepCombo(*f, -static_cast<int>(f->items.size()));
            if (key == DialogKey::End) StepCombo(*f, static_cast<int>(f->items.size()));
            break;
        case Kind::Trackbar:
            if (back || forward) MoveTrackbar(*f, f->pos + (back ? -f->lineSize : f->lineSize));
            if (key == DialogKey::PageUp) MoveTrackbar(*f, f->pos - PageSize(*f));
            if (key == DialogKey::PageDown) MoveTrackbar(*f, f->pos + PageSize(*f));
            if (key == DialogKey::Home) MoveTrackbar(*f, f->rangeMin);
            if (key == DialogKey::End) MoveTrackbar(*f, f->rangeMax);
            break;
        default: break;
    }
}

}  // namespace dlgmodel
