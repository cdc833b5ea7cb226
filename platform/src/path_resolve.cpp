// path_resolve.cpp -- separators and case-insensitive component matching for Windows paths.
#include "path_resolve.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <vector>

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// The entry of the directory whose name matches without regard to case, or "" when none does.
std::string FindInsensitive(const std::string& dir, const std::string& name) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return "";
    std::string found;
    while (dirent* e = ::readdir(d)) {
        if (::strcasecmp(e->d_name, name.c_str()) == 0) {
            found = e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

}  // namespace

std::string ResolveWindowsPath(const std::string& windowsPath) {
    std::string mapped = windowsPath;
    for (char& c : mapped)
        if (c == '\\') c = '/';
    if (mapped.empty() || Exists(mapped)) return mapped;

    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= mapped.size()) {
        size_t slash = mapped.find('/', start);
        if (slash == std::string::npos) slash = mapped.size();
        parts.push_back(mapped.substr(start, slash - start));
        start = slash + 1;
    }
    std::string current = mapped[0] == '/' ? "/" : "";
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        std::string next = current.empty() || current == "/" ? current + part : current + "/" + part;
        if (!Exists(next)) {
            std::string match = part == "." || part == ".." ? "" : FindInsensitive(current, part);
            if (match.empty()) return mapped;
            next = current.empty() || current == "/" ? current + match : current + "/" + match;
        }
        current = next;
    }
    return current;
}
