// path_resolve.h -- Windows file names on this file system.
#pragma once

#include <string>

// Maps a Windows path to the file system here: '\' becomes '/', and where the exact name is
// missing, each component is matched without regard to case. When nothing matches, the path
// is returned with only its separators mapped.
std::string ResolveWindowsPath(const std::string& windowsPath);
