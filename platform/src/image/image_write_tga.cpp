// image_write_tga.cpp -- uncompressed 32-bit TGA files with alpha.
#include "image/image_write_bytes.h"
#include "layer/image_encode.h"
#include "layer/image_formats.h"

namespace layer {

HRESULT EncodeTga32(UINT width, UINT height, const DWORD* pixels, std::vector<BYTE>* out) {
    if (!out || !image::EncodableSize(width, height, pixels) || width > 0xFFFF || height > 0xFFFF) return E_INVALIDARG;
    out->clear();
    out->reserve(sizeof(TgaHeader) + (size_t)width * height * 4);
    image::Put8(out, 0);                   // no image id
    image::Put8(out, 0);                   // no colour map
    image::Put8(out, TGA_TYPE_TRUECOLOR);
    image::Put16(out, 0);
    image::Put16(out, 0);
    image::Put8(out, 0);
    image::Put16(out, 0);                  // origin x, y
    image::Put16(out, 0);
    image::Put16(out, width);
    image::Put16(out, height);
    image::Put8(out, 32);
    image::Put8(out, 8);                   // 8 alpha bits, bottom-left origin
    for (UINT y = height; y-- > 0;) {
        const DWORD* row = pixels + (size_t)y * width;
        for (UINT x = 0; x < width; ++x) image::Put32(out, row[x]);  // B, G, R, A
    }
    return S_OK;
}

}  // namespace layer
