// image_write_bytes.h -- little-endian appending for the picture encoders.
#pragma once

#include <vector>

#include "layer/image_decode.h"
#include "wintypes.h"

namespace layer::image {

inline void Put8(std::vector<BYTE>* out, DWORD v) { out->push_back((BYTE)v); }
inline void Put16(std::vector<BYTE>* out, DWORD v) {
    Put8(out, v);
    Put8(out, v >> 8);
}
inline void Put32(std::vector<BYTE>* out, DWORD v) {
    Put16(out, v);
    Put16(out, v >> 16);
}

inline bool EncodableSize(UINT width, UINT height, const DWORD* pixels) {
    return pixels && ImageSizeAllowed(width, height);
}

}  // namespace layer::image
