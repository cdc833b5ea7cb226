// win_files.cpp -- CreateFileA, ReadFile, WriteFile, CloseHandle and GetFullPathNameA over POSIX
// descriptors. Handles are small positive numbers indexing a table of open descriptors.
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "fileapi.h"
#include "win32/path_mapping.h"

namespace {

constexpr int kMaxOpenFiles = 256;

// Slot i holds the descriptor of handle i + 1, or -1 when free.
std::vector<int>& Descriptors() {
    static std::vector<int> table(kMaxOpenFiles, -1);
    return table;
}

HANDLE HandleOfSlot(int slot) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(slot + 1)); }

// The descriptor behind a handle, or -1 for anything that is not an open file handle.
int DescriptorOf(HANDLE h) {
    intptr_t value = reinterpret_cast<intptr_t>(h);
    if (value < 1 || value > kMaxOpenFiles) return -1;
    return Descriptors()[static_cast<size_t>(value - 1)];
}

int OpenFlags(DWORD access, DWORD disposition) {
    int flags;
    const bool reads = access & GENERIC_READ, writes = access & GENERIC_WRITE;
    if (reads && writes) flags = O_RDWR;
    else if (writes) flags = O_WRONLY;
    else flags = O_RDONLY;
    switch (disposition) {
        case CREATE_NEW: return flags | O_CREAT | O_EXCL;
        case CREATE_ALWAYS: return flags | O_CREAT | O_TRUNC;
        case OPEN_ALWAYS: return flags | O_CREAT;
        case TRUNCATE_EXISTING: return flags | O_TRUNC;
        default: return flags;
    }
}

bool ValidDisposition(DWORD disposition) { return disposition >= CREATE_NEW && disposition <= TRUNCATE_EXISTING; }

}  // namespace

HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                   DWORD dwCreationDisposition, DWORD, HANDLE) {
    if (!lpFileName || !*lpFileName || !ValidDisposition(dwCreationDisposition)) return INVALID_HANDLE_VALUE;
    std::vector<int>& table = Descriptors();
    int slot = 0;
    while (slot < kMaxOpenFiles && table[static_cast<size_t>(slot)] >= 0) ++slot;
    if (slot == kMaxOpenFiles) return INVALID_HANDLE_VALUE;

    std::string path = pathmap::MapWindowsPath(lpFileName);
    int fd = ::open(path.c_str(), OpenFlags(dwDesiredAccess, dwCreationDisposition) | O_CLOEXEC, 0644);
    if (fd < 0) return INVALID_HANDLE_VALUE;
    // A directory is not a file: opening one fails, as it does for the program's own platform.
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return INVALID_HANDLE_VALUE;
    }
    table[static_cast<size_t>(slot)] = fd;
    return HandleOfSlot(slot);
}

namespace {

// Moves count bytes through op (read or write) until done, the end of the file, or an error.
template <typename Buffer, typename Op>
BOOL TransferAll(HANDLE h, Buffer* buffer, DWORD count, LPDWORD done, bool endIsFailure, Op op) {
    if (done) *done = 0;
    int fd = DescriptorOf(h);
    if (fd < 0 || (!buffer && count > 0)) return FALSE;
    DWORD total = 0;
    while (total < count) {
        ssize_t n = op(fd, buffer + total, count - total);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || (n == 0 && endIsFailure)) return FALSE;
        if (n == 0) break;
        total += static_cast<DWORD>(n);
    }
    if (done) *done = total;
    return TRUE;
}

}  // namespace

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED) {
    return TransferAll(hFile, static_cast<char*>(lpBuffer), nNumberOfBytesToRead, lpNumberOfBytesRead, false,
                       [](int fd, char* p, size_t n) { return ::read(fd, p, n); });
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED) {
    return TransferAll(hFile, static_cast<const char*>(lpBuffer), nNumberOfBytesToWrite, lpNumberOfBytesWritten, true,
                       [](int fd, const char* p, size_t n) { return ::write(fd, p, n); });
}

BOOL CloseHandle(HANDLE hObject) {
    int fd = DescriptorOf(hObject);
    if (fd < 0) return FALSE;
    Descriptors()[static_cast<size_t>(reinterpret_cast<intptr_t>(hObject) - 1)] = -1;
    return ::close(fd) == 0 ? TRUE : FALSE;
}

DWORD GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart) {
    if (!lpFileName || !*lpFileName) return 0;
    std::string full = lpFileName;
    const bool absolute = full[0] == '\\' || full[0] == '/';
    if (!absolute) {
        char cwd[PATH_MAX];
        if (!::getcwd(cwd, sizeof cwd)) return 0;
        full = std::string(cwd) + "/" + full;
    }
    if (full.size() + 1 > nBufferLength || !lpBuffer) return static_cast<DWORD>(full.size() + 1);
    std::memcpy(lpBuffer, full.c_str(), full.size() + 1);
    if (lpFilePart) {
        size_t cut = full.find_last_of("/\\");
        *lpFilePart = (cut == std::string::npos || cut + 1 == full.size()) ? nullptr : lpBuffer + cut + 1;
    }
    return static_cast<DWORD>(full.size());
}
