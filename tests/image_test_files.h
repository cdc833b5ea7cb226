// image_test_files.h -- small pictures and hand-made file bytes for the image tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "layer/image_decode.h"

namespace image_test {

// A picture whose every pixel differs: the position shows in red and green, alpha varies.
inline std::vector<DWORD> Pattern(UINT w, UINT h, bool alpha = true) {
    std::vector<DWORD> p((size_t)w * h);
    for (UINT y = 0; y < h; ++y)
        for (UINT x = 0; x < w; ++x) {
            DWORD a = alpha ? (DWORD)(0x40 + 0x10 * ((x + 2 * y) % 12)) : 0xFF;
            p[(size_t)y * w + x] = (a << 24) | ((DWORD)(x * 37 % 256) << 16) | ((DWORD)(y * 53 % 256) << 8) |
                                   (DWORD)((x ^ y) * 11 % 256);
        }
    return p;
}

inline std::vector<DWORD> Opaque(std::vector<DWORD> p) {
    for (DWORD& v : p) v |= 0xFF000000u;
    return p;
}

// Little-endian byte building.
struct Bytes {
    std::vector<BYTE> b;
    Bytes& u8(DWORD v) { b.push_back((BYTE)v); return *this; }
    Bytes& u16(DWORD v) { return u8(v).u8(v >> 8); }
    Bytes& u32(DWORD v) { return u16(v).u16(v >> 16); }
    Bytes& raw(const std::string& s) { b.insert(b.end(), s.begin(), s.end()); return *this; }
    Bytes& raw(const std::vector<BYTE>& v) { b.insert(b.end(), v.begin(), v.end()); return *this; }
    Bytes& zeros(size_t n) { b.insert(b.end(), n, 0); return *this; }
    size_t size() const { return b.size(); }
};

// A BMP file header and a 40-byte info header; the pixel data starts at `offBits`.
inline Bytes BmpHeaders(LONG w, LONG h, WORD bits, DWORD compression, DWORD colorsUsed, DWORD offBits,
                        DWORD fileSize = 0) {
    Bytes f;
    f.u16(0x4D42).u32(fileSize).u32(0).u32(offBits);
    f.u32(40).u32((DWORD)w).u32((DWORD)h).u16(1).u16(bits).u32(compression).u32(0).u32(0).u32(0).u32(colorsUsed).u32(0);
    return f;
}

// The first level of a decoded picture, or an empty vector when decoding failed.
inline std::vector<DWORD> DecodeTop(layer::ImageFileKind kind, const std::vector<BYTE>& file, HRESULT* hr = nullptr) {
    layer::DecodedImage img;
    HRESULT r = layer::DecodeImage(file.data(), file.size(), &img);
    if (hr) *hr = r;
    if (FAILED(r) || img.kind != kind) return {};
    return img.top.pixels;
}

}  // namespace image_test
