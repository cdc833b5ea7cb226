// image_write_dds.cpp -- uncompressed A8R8G8B8 DDS files, with or without a mip chain.
#include <cstring>

#include "image/image_write_bytes.h"
#include "layer/image_encode.h"
#include "layer/image_formats.h"

namespace layer {

HRESULT EncodeDdsArgb32Levels(const ImageLevel* levels, size_t count, std::vector<BYTE>* out) {
    if (!out || !levels || count == 0 || count > 14) return E_INVALIDARG;
    for (size_t i = 0; i < count; ++i) {
        const ImageLevel& l = levels[i];
        if (!ImageSizeAllowed(l.width, l.height) || l.pixels.size() != (size_t)l.width * l.height) return E_INVALIDARG;
        if (i > 0) {
            UINT w = levels[0].width >> i, h = levels[0].height >> i;
            if (l.width != (w ? w : 1) || l.height != (h ? h : 1)) return E_INVALIDARG;
        }
    }
    DDS_HEADER h;
    std::memset(&h, 0, sizeof h);
    h.dwSize = sizeof(DDS_HEADER);
    h.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    h.dwHeight = levels[0].height;
    h.dwWidth = levels[0].width;
    h.dwPitchOrLinearSize = levels[0].width * 4;
    h.dwCaps = DDSCAPS_TEXTURE;
    if (count > 1) {
        h.dwFlags |= DDSD_MIPMAPCOUNT;
        h.dwMipMapCount = (DWORD)count;
        h.dwCaps |= DDSCAPS_COMPLEX | DDSCAPS_MIPMAP;
    }
    h.ddspf.dwSize = sizeof(DDS_PIXELFORMAT);
    h.ddspf.dwFlags = DDPF_RGB | DDPF_ALPHAPIXELS;
    h.ddspf.dwRGBBitCount = 32;
    h.ddspf.dwRBitMask = 0x00FF0000;
    h.ddspf.dwGBitMask = 0x0000FF00;
    h.ddspf.dwBBitMask = 0x000000FF;
    h.ddspf.dwABitMask = 0xFF000000;
    out->clear();
    image::Put32(out, DDS_MAGIC);
    const BYTE* hb = reinterpret_cast<const BYTE*>(&h);
    out->insert(out->end(), hb, hb + sizeof h);
    for (size_t i = 0; i < count; ++i)
        for (DWORD v : levels[i].pixels) image::Put32(out, v);
    return S_OK;
}

HRESULT EncodeDdsArgb32(UINT width, UINT height, const DWORD* pixels, std::vector<BYTE>* out) {
    if (!image::EncodableSize(width, height, pixels)) return E_INVALIDARG;
    ImageLevel level;
    level.width = width;
    level.height = height;
    level.pixels.assign(pixels, pixels + (size_t)width * height);
    return EncodeDdsArgb32Levels(&level, 1, out);
}

}  // namespace layer
