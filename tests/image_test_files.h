// image_test_files.h -- small pictures and hand-made file bytes for the image tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

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

// A TGA header: the type, size, depth and descriptor; the colour map's presence, first entry,
// length and depth; the length of the id that follows.
inline Bytes Tga(BYTE type, WORD w, WORD h, BYTE depth, BYTE descriptor = 0, BYTE mapType = 0, WORD mapFirst = 0,
                 WORD mapLength = 0, BYTE mapDepth = 0, BYTE idLength = 0) {
    Bytes t;
    t.u8(idLength).u8(mapType).u8(type).u16(mapFirst).u16(mapLength).u8(mapDepth);
    t.u16(0).u16(0).u16(w).u16(h).u8(depth).u8(descriptor);
    return t;
}

// A decoder of one kind of file.
using Decoder = HRESULT (*)(const void*, size_t, layer::DecodedImage*);

// The first level of a decoded picture, or an empty vector when decoding failed.
inline std::vector<DWORD> DecodeTop(layer::ImageFileKind kind, const std::vector<BYTE>& file, HRESULT* hr = nullptr) {
    layer::DecodedImage img;
    HRESULT r = layer::DecodeImage(file.data(), file.size(), &img);
    if (hr) *hr = r;
    if (FAILED(r) || img.kind != kind) return {};
    return img.top.pixels;
}

// A JPEG as libjpeg writes it: `setup` asks for what the file has beyond the defaults, `fill` gives
// each row of samples in the input's colour space.
template <class Setup, class Fill>
std::vector<BYTE> LibjpegFile(UINT w, UINT h, int components, J_COLOR_SPACE in, Setup setup, Fill fill) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&c, &buffer, &length);
    c.image_width = w, c.image_height = h, c.input_components = components, c.in_color_space = in;
    jpeg_set_defaults(&c);
    setup(c);
    jpeg_start_compress(&c, TRUE);
    std::vector<BYTE> row(size_t(w) * components);
    for (JSAMPROW rows[1] = {row.data()}; c.next_scanline < h; jpeg_write_scanlines(&c, rows, 1))
        fill(c.next_scanline, row.data());
    jpeg_finish_compress(&c), jpeg_destroy_compress(&c);
    std::vector<BYTE> file(buffer, buffer + length);
    std::free(buffer);
    return file;
}

// A CMYK JPEG as image editors write one for print: in `space` JCS_CMYK or JCS_YCCK with Adobe's
// APP14 marker and its inverted inks (255 for none), or plain CMYK without the marker.
inline std::vector<BYTE> CmykJpeg(UINT w, UINT h, const DWORD* argb, J_COLOR_SPACE space, bool adobe) {
    auto setup = [&](jpeg_compress_struct& c) {
        jpeg_set_colorspace(&c, space), jpeg_set_quality(&c, 100, TRUE);
        c.write_Adobe_marker = adobe;
    };
    return LibjpegFile(w, h, 4, JCS_CMYK, setup, [&](UINT y, BYTE* row) {
        for (UINT x = 0; x < w; ++x) {
            const DWORD p = argb[y * w + x];
            const int r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF, m = std::max({r, g, b, 1});
            const int ink[4] = {(m - r) * 255 / m, (m - g) * 255 / m, (m - b) * 255 / m, 255 - m};  // C, M, Y, K
            for (int k = 0; k < 4; ++k) row[4 * x + k] = BYTE(adobe ? 255 - ink[k] : ink[k]);
        }
    });
}

}  // namespace image_test
