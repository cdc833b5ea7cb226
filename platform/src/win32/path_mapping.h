// path_mapping.h -- turns a Windows path of the program into a path on this machine.
#pragma once

#include <string>

namespace pathmap {

// Backslashes become '/'. When the path as written is missing, each component is looked up
// without regard to case; components that exist nowhere are kept as written (so a file can be
// created under a directory found that way).
std::string MapWindowsPath(const char* windowsPath);

}  // namespace pathmap
