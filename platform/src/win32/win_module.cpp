// win_module.cpp -- the program's module handle.
#include "libloaderapi.h"

namespace {
// The classic image base of a program: never dereferenced, and small enough for a 32-bit window word.
constexpr uintptr_t kProgramModule = 0x00400000;
}  // namespace

HMODULE GetModuleHandleA(LPCSTR lpModuleName) {
    if (lpModuleName) return nullptr;
    return reinterpret_cast<HMODULE>(kProgramModule);
}
