// path_mapping.cpp -- backslash and case-insensitive path lookup for the file functions.
#include "win32/path_mapping.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <vector>

namespace pathmap {
namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> SplitComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '/') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

// The entry of directory dir whose name equals name without regard to ASCII case, or name itself.
std::string MatchInDirectory(const std::string& dir, const std::string& name) {
    if (name == "." || name == "..") return name;
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return name;
    std::string found = name;
    while (dirent* entry = ::readdir(d)) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

std::string Join(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir == "/") return "/" + name;
    return dir + "/" + name;
}

}  // namespace

std::string MapWindowsPath(const char* windowsPath) {
    std::string path = windowsPath ? windowsPath : "";
    for (char& c : path)
        if (c == '\\') c = '/';
    if (path.empty() || Exists(path)) return path;

    const bool absolute = path[0] == '/';
    std::string result = absolute ? "/" : "";
    for (const std::string& part : SplitComponents(path)) {
        std::string exact = Join(result, part);
        result = Exists(exact) ? exact : Join(result, MatchInDirectory(result, part));
    }
    if (!path.empty() && path.back() == '/' && result != "/") result += '/';
    return result;
}

}  // namespace pathmap
