// win_registry.cpp -- the registry as an in-memory store of keys and values for the run.
// Key paths and value names match without regard to case, as on Windows.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "winreg.h"

namespace {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct RegistryStore {
    // Full key path, lower case, "root\sub\key" -> values by lower-case name.
    std::map<std::string, std::map<std::string, RegistryValue>> keys;
    // Open handles -> the key path they name.
    std::map<HKEY, std::string> handles;
    uintptr_t nextHandle = 1;
};

RegistryStore& Store() {
    static RegistryStore store;
    return store;
}

std::string Lower(const char* s) {
    std::string out = s ? s : "";
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

// The path of a predefined root or an open handle; false for anything else.
bool KeyPath(HKEY key, std::string& path) {
    switch (reinterpret_cast<uintptr_t>(key)) {
        case 0x80000000u: path = "hkcr"; return true;
        case 0x80000001u: path = "hkcu"; return true;
        case 0x80000002u: path = "hklm"; return true;
        case 0x80000003u: path = "hku"; return true;
        default: break;
    }
    auto it = Store().handles.find(key);
    if (it == Store().handles.end()) return false;
    path = it->second;
    return true;
}

std::string Join(const std::string& parent, const char* subKey) {
    std::string sub = Lower(subKey);
    while (!sub.empty() && sub.back() == '\\') sub.pop_back();
    return sub.empty() ? parent : parent + "\\" + sub;
}

HKEY NewHandle(const std::string& path) {
    // Handles are small numbers, well away from the predefined roots.
    HKEY handle = reinterpret_cast<HKEY>(Store().nextHandle++ * 16);
    Store().handles[handle] = path;
    return handle;
}

RegistryValue* FindValue(HKEY key, const char* name) {
    std::string path;
    if (!KeyPath(key, path)) return nullptr;
    auto k = Store().keys.find(path);
    if (k == Store().keys.end()) return nullptr;
    auto v = k->second.find(Lower(name));
    return v == k->second.end() ? nullptr : &v->second;
}

}  // namespace

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    std::string parent;
    if (!KeyPath(hKey, parent)) return ERROR_INVALID_HANDLE;
    std::string path = Join(parent, lpSubKey);
    if (!Store().keys.count(path)) return ERROR_FILE_NOT_FOUND;
    *phkResult = NewHandle(path);
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM, void*, PHKEY phkResult,
                     LPDWORD lpdwDisposition) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    std::string parent;
    if (!KeyPath(hKey, parent)) return ERROR_INVALID_HANDLE;
    std::string path = Join(parent, lpSubKey);
    bool existed = Store().keys.count(path) != 0;
    // Every key on the way exists once a key below it does.
    for (size_t pos = path.find('\\'); pos != std::string::npos; pos = path.find('\\', pos + 1))
        Store().keys[path.substr(0, pos)];
    Store().keys[path];
    if (lpdwDisposition) *lpdwDisposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    *phkResult = NewHandle(path);
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    std::string path;
    if (!KeyPath(hKey, path)) return ERROR_INVALID_HANDLE;
    if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
    const RegistryValue* value = FindValue(hKey, lpValueName);
    if (!value) return ERROR_FILE_NOT_FOUND;
    if (lpType) *lpType = value->type;
    DWORD size = static_cast<DWORD>(value->data.size());
    if (!lpData) {
        if (lpcbData) *lpcbData = size;
        return ERROR_SUCCESS;
    }
    bool fits = size <= *lpcbData;
    *lpcbData = size;
    if (!fits) return ERROR_MORE_DATA;
    if (size) std::memcpy(lpData, value->data.data(), size);
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
    std::string path;
    if (!KeyPath(hKey, path)) return ERROR_INVALID_HANDLE;
    if (!lpData && cbData) return ERROR_INVALID_PARAMETER;
    RegistryValue& value = Store().keys[path][Lower(lpValueName)];
    value.type = dwType;
    value.data.assign(lpData, lpData + cbData);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey) {
    return Store().handles.erase(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
