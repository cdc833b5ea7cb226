// standin_disk_file.cpp -- stands in for the shell's file object until the real one is merged.
#include <cstdio>
#include <string>

#include "shell/disk_file.h"

CDiskFile::CDiskFile(const char* name, WORD mode) : hFile(INVALID_HANDLE_VALUE) {
    std::string path(name);
    for (char& c : path)
        if (c == '\\') c = '/';
    const char* how = (mode == 0xFFFF) ? "w+b" : ((mode & 3) == 0 ? "rb" : "r+b");
    std::FILE* f = std::fopen(path.c_str(), how);
    if (f)
        hFile = f;
    else
        MessageBoxA(nullptr, "Nelze otevrit soubor", "Error", MB_ICONERROR);
}

CDiskFile::~CDiskFile() {
    if (hFile != INVALID_HANDLE_VALUE) std::fclose(static_cast<std::FILE*>(hFile));
}

DWORD CDiskFile::Read(void* buffer, DWORD count) {
    if (hFile == INVALID_HANDLE_VALUE) return 0;
    return static_cast<DWORD>(std::fread(buffer, 1, count, static_cast<std::FILE*>(hFile)));
}

DWORD CDiskFile::Write(const void* buffer, DWORD count) {
    if (hFile == INVALID_HANDLE_VALUE) return 0;
    return static_cast<DWORD>(std::fwrite(buffer, 1, count, static_cast<std::FILE*>(hFile)));
}

void ErrorBox(HRESULT hr, const char* what) {
    if (hr >= 0) return;
    char text[512];
    std::snprintf(text, sizeof(text), "Nastala chyba!\nP\xC5\x99\xC3\xADznak: %s\nChyba: %.00f", what, (double)hr);
    MessageBoxA(nullptr, text, "Error", MB_ICONERROR);
}
