// disk_file.h -- the file object: opens a file or creates it, then reads or writes whole blocks.
#pragma once

#include "windows.h"

class CDiskFile {
public:
    // Mode 0xFFFF creates or truncates the file for reading and writing; any other mode opens
    // an existing file (access in bits 0-1, sharing in bits 4-7). A failed open shows a box.
    CDiskFile(const char* name, WORD mode);
    ~CDiskFile();
    // Bytes read, or 0 when the read failed.
    DWORD Read(void* buffer, DWORD count);
    // Bytes written, or 0 when the write failed.
    DWORD Write(const void* buffer, DWORD count);

private:
    HANDLE hFile;
};

// Reports a failed Direct3D, D3DX or DirectMusic call given its result and a text naming it.
void ErrorBox(HRESULT hr, const char* what);
