// win_module.cpp -- the program's module handle.
#include "libloaderapi.h"

namespace {
// Any distinct non-null value: the module is never dereferenced, only compared and passed on.
int g_moduleAnchor;
}  // namespace

HMODULE GetModuleHandleA(LPCSTR lpModuleName) {
    if (lpModuleName) return nullptr;
    return reinterpret_cast<HMODULE>(&g_moduleAnchor);
}
