// disk_file.cpp -- CDiskFile and the thin layer of file calls beneath it.
#include "shell/disk_file.h"

namespace {

constexpr WORD kCreateMode = 0xFFFF;
constexpr DWORD kCallFailed = 0xFFFFFFFF;

// A handle counts as open when it is positive as a signed 32-bit value.
bool IsOpenHandle(HANDLE h) { return static_cast<LONG>(reinterpret_cast<intptr_t>(h)) >= 0; }

DWORD AccessOfMode(WORD mode) {
    switch (mode & 3) {
        case 1: return GENERIC_WRITE;
        case 2: return GENERIC_READ | GENERIC_WRITE;
        default: return GENERIC_READ;
    }
}

DWORD SharingOfMode(WORD mode) {
    switch ((mode >> 4) & 15) {
        case 2: return FILE_SHARE_READ;
        case 3: return FILE_SHARE_WRITE;
        case 4: return FILE_SHARE_READ | FILE_SHARE_WRITE;
        default: return 0;
    }
}

HANDLE CreateNewFile(const char* name) {
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE OpenExistingFile(const char* name, WORD mode) {
    return CreateFileA(name, AccessOfMode(mode), SharingOfMode(mode), nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

DWORD ReadFromFile(HANDLE h, void* buffer, DWORD count) {
    DWORD done = 0;
    return ReadFile(h, buffer, count, &done, nullptr) ? done : kCallFailed;
}

DWORD WriteToFile(HANDLE h, const void* buffer, DWORD count) {
    DWORD done = 0;
    return WriteFile(h, buffer, count, &done, nullptr) ? done : kCallFailed;
}

BOOL CloseFileHandle(HANDLE h) { return CloseHandle(h); }

}  // namespace

CDiskFile::CDiskFile(const char* name, WORD mode) {
    m_hFile = (mode == kCreateMode) ? CreateNewFile(name) : OpenExistingFile(name, mode);
    if (!IsOpenHandle(m_hFile)) MessageBoxA(nullptr, "Nelze otevrit soubor", "Error", MB_ICONERROR);
}

CDiskFile::~CDiskFile() {
    if (IsOpenHandle(m_hFile)) CloseFileHandle(m_hFile);
}

bool CDiskFile::IsOpen() const { return IsOpenHandle(m_hFile); }

DWORD CDiskFile::Read(void* buffer, DWORD count) {
    if (!IsOpenHandle(m_hFile)) return 0;
    DWORD done = ReadFromFile(m_hFile, buffer, count);
    return done == kCallFailed ? 0 : done;
}

DWORD CDiskFile::Write(const void* buffer, DWORD count) {
    if (!IsOpenHandle(m_hFile)) return 0;
    DWORD done = WriteToFile(m_hFile, buffer, count);
    return done == kCallFailed ? 0 : done;
}
