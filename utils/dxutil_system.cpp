// dxutil_system.cpp -- media-file lookup, typed registry values and the stopwatch.
#include <cstdio>
#include <cstring>

#include "utils/dxutil.h"

namespace {

// "\Media\" is appended to the registry value; a longer value would not leave room for it.
constexpr size_t kMediaSuffixRoom = MAX_PATH - sizeof("\\Media\\");

bool FileOpens(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// Copies src into the MAX_PATH buffer when it fits; false (and dest untouched) when it does not.
bool CopyPath(char* dest, const char* src) {
    if (std::strlen(src) >= MAX_PATH) return false;
    std::strcpy(dest, src);
    return true;
}

}  // namespace

const char* GetMediaPathFromRegistry() {
    static char s_path[MAX_PATH];
    static const char s_empty[] = "";
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Graphics Kit", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return s_empty;
    DWORD size = sizeof s_path;
    LONG result = RegQueryValueExA(key, "Media Samples Path", nullptr, nullptr, reinterpret_cast<BYTE*>(s_path), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return s_empty;
    s_path[MAX_PATH - 1] = '\0';
    if (std::strlen(s_path) > kMediaSuffixRoom) return s_empty;
    std::strcat(s_path, "\\Media\\");
    return s_path;
}

HRESULT LocateMediaFile(char* strDest, const char* strFilename) {
    if (!strDest || !strFilename) return E_INVALIDARG;

    char fullPath[1024];
    char* filePart = nullptr;
    DWORD length = GetFullPathNameA(strFilename, sizeof fullPath, fullPath, &filePart);
    if (length == 0 || length >= sizeof fullPath) return E_FAIL;
    const char* bareName = filePart ? filePart : fullPath + length;

    if (FileOpens(fullPath) && CopyPath(strDest, fullPath)) return S_OK;
    if (FileOpens(bareName) && CopyPath(strDest, bareName)) return S_OK;

    char mediaPath[1024];
    std::snprintf(mediaPath, sizeof mediaPath, "%s%s", GetMediaPathFromRegistry(), bareName);
    if (FileOpens(mediaPath) && CopyPath(strDest, mediaPath)) return S_OK;

    if (!CopyPath(strDest, strFilename)) strDest[0] = '\0';
    return E_FAIL;
}

namespace {

// Reads a value into a buffer of the size given; false when it is missing or does not fit.
bool ReadRegistryValue(HKEY hKey, const char* strRegName, void* pValue, DWORD dwSize) {
    return RegQueryValueExA(hKey, strRegName, nullptr, nullptr, static_cast<BYTE*>(pValue), &dwSize) == ERROR_SUCCESS;
}

HRESULT WriteRegistryValue(HKEY hKey, const char* strRegName, DWORD dwType, const void* pValue, DWORD dwSize) {
    LONG result = RegSetValueExA(hKey, strRegName, 0, dwType, static_cast<const BYTE*>(pValue), dwSize);
    return result == ERROR_SUCCESS ? S_OK : E_FAIL;
}

}  // namespace

HRESULT RegReadString(HKEY hKey, const char* strRegName, char* strValue, DWORD dwLength, const char* strDefault) {
    if (!strValue || dwLength == 0) return S_OK;
    if (!ReadRegistryValue(hKey, strRegName, strValue, dwLength))
        std::snprintf(strValue, dwLength, "%s", strDefault ? strDefault : "");
    strValue[dwLength - 1] = '\0';
    return S_OK;
}

HRESULT RegWriteString(HKEY hKey, const char* strRegName, const char* strValue) {
    if (!strValue) return E_FAIL;
    return WriteRegistryValue(hKey, strRegName, REG_SZ, strValue, static_cast<DWORD>(std::strlen(strValue) + 1));
}

HRESULT RegReadInt(HKEY hKey, const char* strRegName, DWORD* pdwValue, DWORD dwDefault) {
    if (!ReadRegistryValue(hKey, strRegName, pdwValue, sizeof(DWORD))) *pdwValue = dwDefault;
    return S_OK;
}

HRESULT RegWriteInt(HKEY hKey, const char* strRegName, DWORD dwValue) {
    return WriteRegistryValue(hKey, strRegName, REG_DWORD, &dwValue, sizeof dwValue);
}

HRESULT RegReadBool(HKEY hKey, const char* strRegName, BOOL* pbValue, BOOL bDefault) {
    if (!ReadRegistryValue(hKey, strRegName, pbValue, sizeof(BOOL))) *pbValue = bDefault;
    return S_OK;
}

HRESULT RegWriteBool(HKEY hKey, const char* strRegName, BOOL bValue) {
    return WriteRegistryValue(hKey, strRegName, REG_DWORD, &bValue, sizeof bValue);
}

HRESULT RegReadGuid(HKEY hKey, const char* strRegName, GUID* pGuidValue, const GUID& guidDefault) {
    if (!ReadRegistryValue(hKey, strRegName, pGuidValue, sizeof(GUID))) *pGuidValue = guidDefault;
    return S_OK;
}

HRESULT RegWriteGuid(HKEY hKey, const char* strRegName, GUID guidValue) {
    return WriteRegistryValue(hKey, strRegName, REG_BINARY, &guidValue, sizeof guidValue);
}

namespace {

// The three times of the stopwatch, in counter ticks or in seconds. A stop time of zero means
// "running".
template <typename T>
struct StopwatchTimes {
    T stop{};
    T last{};
    T base{};
};

// Runs a command at time t. Gives the time asked for by commands 4 to 6, and 0 for the others.
template <typename T>
T RunStopwatch(StopwatchTimes<T>& w, bool& stopped, int command, T t, T tenthOfSecond) {
    switch (command) {
        case 0:
            w.base = w.last = t;
            w.stop = 0;
            stopped = false;
            return 0;
        case 1:
            if (stopped) w.base += t - w.stop;
            w.stop = 0;
            w.last = t;
            stopped = false;
            return 0;
        case 2:
            w.stop = w.last = t;
            stopped = true;
            return 0;
        case 3:
            // Only a stopped watch is moved on: while running, the stop time must stay zero.
            if (stopped) w.stop += tenthOfSecond;
            return 0;
        case 4: return t;
        case 5: return t - w.base;
        default: {
            T elapsed = t - w.last;
            w.last = t;
            return elapsed;
        }
    }
}

}  // namespace

// The stopwatch counts in ticks of the high-resolution counter when the machine has one, else
// in seconds of the multimedia timer; the choice is made once, at the first call.
FLOAT UtilTimer(int command) {
    static bool s_initialised = false;
    static bool s_useCounter = false;
    static LONGLONG s_frequency = 0;
    static bool s_stopped = true;
    static StopwatchTimes<LONGLONG> s_ticks;
    static StopwatchTimes<double> s_seconds;

    if (!s_initialised) {
        LARGE_INTEGER frequency;
        s_useCounter = QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0;
        if (s_useCounter) s_frequency = frequency.QuadPart;
        s_initialised = true;
    }
    if (command < 0 || command > 6) return -1.0f;
    bool readFresh = command == 1 || command == 4;

    if (s_useCounter) {
        LONGLONG t = s_ticks.stop;
        if (t == 0 || readFresh) {
            LARGE_INTEGER now;
            QueryPerformanceCounter(&now);
            t = now.QuadPart;
        }
        LONGLONG ticks = RunStopwatch(s_ticks, s_stopped, command, t, s_frequency / 10);
        return static_cast<FLOAT>(static_cast<double>(ticks) / static_cast<double>(s_frequency));
    }
    double t = s_seconds.stop;
    if (t == 0.0 || readFresh) t = timeGetTime() * 0.001;
    return static_cast<FLOAT>(RunStopwatch(s_seconds, s_stopped, command, t, static_cast<double>(0.1f)));
}
