// win_resources.cpp -- the registry of the program's dialog templates and icons, and LoadIconA.
#include <map>

#include "layer/resources.h"
#include "winuser.h"

namespace {

std::map<int, const layer::DialogResource*>& Dialogs() {
    static std::map<int, const layer::DialogResource*> dialogs;
    return dialogs;
}

std::map<int, const layer::IconResource*>& Icons() {
    static std::map<int, const layer::IconResource*> icons;
    return icons;
}

}  // namespace

namespace layer {

bool AddDialogResource(int id, const DialogResource* dialog) {
    return dialog && Dialogs().emplace(id, dialog).second;
}

bool AddIconResource(int id, const IconResource* icon) { return icon && Icons().emplace(id, icon).second; }

const DialogResource* FindDialogResource(int id) {
    auto it = Dialogs().find(id);
    return it == Dialogs().end() ? nullptr : it->second;
}

const IconResource* FindIconResource(int id) {
    auto it = Icons().find(id);
    return it == Icons().end() ? nullptr : it->second;
}

}  // namespace layer

// Icons are named by number only; the handle is the icon's record, valid for the whole run.
HICON LoadIconA(HINSTANCE, LPCSTR lpIconName) {
    if (!IS_INTRESOURCE(lpIconName)) return nullptr;
    const layer::IconResource* icon = layer::FindIconResource(static_cast<int>(reinterpret_cast<uintptr_t>(lpIconName)));
    return reinterpret_cast<HICON>(const_cast<layer::IconResource*>(icon));
}
