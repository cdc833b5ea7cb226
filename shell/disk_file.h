// disk_file.h -- the file object through which the game reads and writes whole blocks.
#pragma once

#include "windows.h"

// Opens (or creates) one file for the life of the object; a failed open shows a box once,
// and every later Read or Write then returns 0.
class CDiskFile {
public:
    // mode 0xFFFF: create or truncate for reading and writing; any other mode: open an existing
    // file, access from bits 0-1 and sharing from bits 4-7.
    CDiskFile(const char* name, WORD mode);
    ~CDiskFile();

    CDiskFile(const CDiskFile&) = delete;
    CDiskFile& operator=(const CDiskFile&) = delete;

    // Whether the file was opened (or created).
    bool IsOpen() const;
    DWORD Read(void* buffer, DWORD count);
    DWORD Write(const void* buffer, DWORD count);

private:
    HANDLE m_hFile;
};
