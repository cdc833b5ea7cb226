// content_test_support.h -- reaching the generated data from the tests.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The generated file of a game path ("graph\\cross.bmp") in the build's data folder.
inline std::string DataPath(const std::string& gamePath) {
    std::string rel = gamePath;
    for (char& c : rel)
        if (c == '\\') c = '/';
    return std::string(TREVOK_DATA_DIR) + "/" + rel;
}

// A whole file, empty when it cannot be read.
inline std::vector<unsigned char> ReadFileBytes(const std::string& path) {
    std::vector<unsigned char> bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    unsigned char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}
