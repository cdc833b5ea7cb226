// image_write_file.cpp -- an encoded picture written out to a file.
#include <cstdio>

#include "layer/image_encode.h"

namespace layer {

HRESULT WriteBytesToFile(const char* path, const std::vector<BYTE>& bytes) {
    if (!path) return E_POINTER;
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return E_FAIL;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    return ok ? S_OK : E_FAIL;
}

}  // namespace layer
