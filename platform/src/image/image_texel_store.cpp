// image_texel_store.cpp -- 8-bit ARGB pixels written as texels of the Direct3D formats that
// textures made from pictures use: 32-bit, 16-bit, alpha-only and luminance formats.
#include "layer/image_transform.h"

namespace layer {
namespace {

// An 8-bit channel rounded to `bits` bits.
DWORD Narrow(DWORD v, unsigned bits) { return (v * ((1u << bits) - 1) + 127) / 255; }

DWORD Luminance(DWORD argb) {
    DWORD r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    return (r * 299 + g * 587 + b * 114 + 500) / 1000;
}

DWORD Pack16(DWORD argb, unsigned a, unsigned r, unsigned g, unsigned b, bool opaqueFill) {
    DWORD out = Narrow(argb & 0xFF, b);
    out |= Narrow((argb >> 8) & 0xFF, g) << b;
    out |= Narrow((argb >> 16) & 0xFF, r) << (b + g);
    if (a) out |= Narrow(argb >> 24, a) << (b + g + r);
    else if (opaqueFill) out |= ((1u << (16 - b - g - r)) - 1) << (b + g + r);
    return out;
}

}  // namespace

bool TexelFormatStorable(D3DFORMAT format) { return TexelBytes(format) != 0; }

UINT TexelBytes(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_A8R8G8B8: case D3DFMT_X8R8G8B8: return 4;
    case D3DFMT_R5G6B5: case D3DFMT_X1R5G5B5: case D3DFMT_A1R5G5B5: case D3DFMT_A4R4G4B4: case D3DFMT_X4R4G4B4:
    case D3DFMT_A8L8: return 2;
    case D3DFMT_A8: case D3DFMT_L8: return 1;
    default: return 0;
    }
}

bool StoreTexels(const ImageLevel& level, D3DFORMAT format, BYTE* dst, INT pitch) {
    const UINT bytes = TexelBytes(format);
    if (!bytes || !dst) return false;
    for (UINT y = 0; y < level.height; ++y) {
        BYTE* row = dst + (ptrdiff_t)y * pitch;
        const DWORD* src = &level.pixels[(size_t)y * level.width];
        for (UINT x = 0; x < level.width; ++x) {
            const DWORD p = src[x];
            DWORD t = 0;
            switch (format) {
            case D3DFMT_A8R8G8B8: t = p; break;
            case D3DFMT_X8R8G8B8: t = p | 0xFF000000u; break;
            case D3DFMT_R5G6B5: t = Pack16(p, 0, 5, 6, 5, false); break;
            case D3DFMT_X1R5G5B5: t = Pack16(p, 0, 5, 5, 5, true); break;
            case D3DFMT_A1R5G5B5: t = Pack16(p, 1, 5, 5, 5, false); break;
            case D3DFMT_A4R4G4B4: t = Pack16(p, 4, 4, 4, 4, false); break;
            case D3DFMT_X4R4G4B4: t = Pack16(p, 0, 4, 4, 4, true); break;
            case D3DFMT_A8L8: t = (p >> 24) << 8 | Luminance(p); break;
            case D3DFMT_A8: t = p >> 24; break;
            case D3DFMT_L8: t = Luminance(p); break;
            default: return false;
            }
            for (UINT k = 0; k < bytes; ++k) row[x * bytes + k] = (BYTE)(t >> (8 * k));
        }
    }
    return true;
}

}  // namespace layer
