// image_dds.cpp -- DirectDraw surfaces: uncompressed 16, 24 and 32-bit pixel formats given by
// bit masks, and the DXT1, DXT3 and DXT5 block formats, with their stored mip levels.
// Cube maps and volumes are refused.
#include "image/image_bytes.h"
#include "layer/image_decode.h"
#include "layer/image_formats.h"

namespace layer {
namespace {

using image::ByteReader;
using image::ExpandBits;
using image::MaskChannel;
using image::PackArgb;

DWORD From565(WORD c) {
    return PackArgb(0xFF, ExpandBits(c >> 11, 5), ExpandBits((c >> 5) & 63, 6), ExpandBits(c & 31, 5));
}

DWORD Mix(DWORD a, DWORD b, DWORD wa, DWORD wb, DWORD div) {
    DWORD out = 0xFF000000u;
    for (int s = 0; s < 24; s += 8) out |= (((a >> s & 0xFF) * wa + (b >> s & 0xFF) * wb) / div) << s;
    return out;
}

// The colour half of a block; in the three-colour mode (DXT1 with c0 <= c1) index 3 is
// transparent black.
void DecodeColourBlock(const BYTE* b, bool allowThreeColour, DWORD out[16]) {
    WORD c0 = (WORD)(b[0] | (b[1] << 8)), c1 = (WORD)(b[2] | (b[3] << 8));
    DWORD pal[4];
    pal[0] = From565(c0);
    pal[1] = From565(c1);
    if (c0 > c1 || !allowThreeColour) {
        pal[2] = Mix(pal[0], pal[1], 2, 1, 3);
        pal[3] = Mix(pal[0], pal[1], 1, 2, 3);
    } else {
        pal[2] = Mix(pal[0], pal[1], 1, 1, 2);
        pal[3] = 0x00000000u;
    }
    DWORD bits = (DWORD)b[4] | ((DWORD)b[5] << 8) | ((DWORD)b[6] << 16) | ((DWORD)b[7] << 24);
    for (int i = 0; i < 16; ++i) out[i] = pal[(bits >> (2 * i)) & 3];
}

void DecodeExplicitAlpha(const BYTE* b, DWORD out[16]) {
    for (int i = 0; i < 16; ++i) {
        DWORD a = (b[i / 2] >> ((i & 1) * 4)) & 0xF;
        out[i] = (out[i] & 0x00FFFFFFu) | (ExpandBits(a, 4) << 24);
    }
}

void DecodeInterpolatedAlpha(const BYTE* b, DWORD out[16]) {
    DWORD a[8];
    a[0] = b[0];
    a[1] = b[1];
    if (a[0] > a[1]) {
        for (int i = 1; i < 7; ++i) a[i + 1] = ((7 - i) * a[0] + i * a[1]) / 7;
    } else {
        for (int i = 1; i < 5; ++i) a[i + 1] = ((5 - i) * a[0] + i * a[1]) / 5;
        a[6] = 0;
        a[7] = 255;
    }
    uint64_t bits = 0;
    for (int i = 0; i < 6; ++i) bits |= (uint64_t)b[2 + i] << (8 * i);
    for (int i = 0; i < 16; ++i) out[i] = (out[i] & 0x00FFFFFFu) | (a[(bits >> (3 * i)) & 7] << 24);
}

struct DdsLayout {
    ImageSourceFormat format = ImageSourceFormat::Argb32;
    bool compressed = false;
    unsigned blockBytes = 0;  // compressed: 8 or 16
    unsigned pixelBytes = 0;  // uncompressed: 2, 3 or 4
    MaskChannel ch[4];
    bool alpha = false;
};

HRESULT ReadPixelFormat(const DDS_PIXELFORMAT& pf, DdsLayout* l) {
    if (pf.dwSize != sizeof(DDS_PIXELFORMAT)) return D3DXERR_INVALIDDATA;
    if (pf.dwFlags & DDPF_FOURCC) {
        l->compressed = true;
        switch (pf.dwFourCC) {
        case DDS_FOURCC_DXT1: l->format = ImageSourceFormat::Dxt1, l->blockBytes = 8; break;
        case DDS_FOURCC_DXT2: case DDS_FOURCC_DXT3: l->format = ImageSourceFormat::Dxt3, l->blockBytes = 16; break;
        case DDS_FOURCC_DXT4: case DDS_FOURCC_DXT5: l->format = ImageSourceFormat::Dxt5, l->blockBytes = 16; break;
        default: return D3DXERR_INVALIDDATA;
        }
        return S_OK;
    }
    if (!(pf.dwFlags & DDPF_RGB)) return D3DXERR_INVALIDDATA;
    if (pf.dwRGBBitCount != 16 && pf.dwRGBBitCount != 24 && pf.dwRGBBitCount != 32) return D3DXERR_INVALIDDATA;
    l->pixelBytes = pf.dwRGBBitCount / 8;
    l->alpha = (pf.dwFlags & DDPF_ALPHAPIXELS) && pf.dwABitMask;
    DWORD limit = pf.dwRGBBitCount == 32 ? 0xFFFFFFFFu : (1u << pf.dwRGBBitCount) - 1;
    const DWORD masks[4] = {pf.dwRBitMask, pf.dwGBitMask, pf.dwBBitMask, l->alpha ? pf.dwABitMask : 0};
    for (int i = 0; i < 4; ++i)
        if ((masks[i] & ~limit) || !l->ch[i].Set(masks[i])) return D3DXERR_INVALIDDATA;
    if (!masks[0] && !masks[1] && !masks[2]) return D3DXERR_INVALIDDATA;
    if (l->pixelBytes == 2) {
        if (l->ch[1].bits == 6) l->format = ImageSourceFormat::Rgb565;
        else if (l->ch[3].bits == 1) l->format = ImageSourceFormat::Argb1555;
        else if (l->ch[3].bits == 4) l->format = ImageSourceFormat::Argb4444;
        else l->format = ImageSourceFormat::Xrgb1555;
    } else {
        l->format = l->alpha ? ImageSourceFormat::Argb32 : ImageSourceFormat::Rgb24;
    }
    return S_OK;
}

uint64_t LevelBytes(const DdsLayout& l, uint64_t w, uint64_t h) {
    if (l.compressed) return ((w + 3) / 4) * ((h + 3) / 4) * l.blockBytes;
    return w * h * l.pixelBytes;
}

void DecodeLevel(const DdsLayout& l, const BYTE* p, ImageLevel* level) {
    const UINT w = level->width, h = level->height;
    if (!l.compressed) {
        for (size_t i = 0; i < (size_t)w * h; ++i, p += l.pixelBytes) {
            DWORD v = 0;
            for (unsigned k = 0; k < l.pixelBytes; ++k) v |= (DWORD)p[k] << (8 * k);
            DWORD a = l.alpha ? l.ch[3].Extract(v) : 0xFF;
            level->pixels[i] = PackArgb(a, l.ch[0].Extract(v), l.ch[1].Extract(v), l.ch[2].Extract(v));
        }
        return;
    }
    for (UINT by = 0; by < (h + 3) / 4; ++by) {
        for (UINT bx = 0; bx < (w + 3) / 4; ++bx, p += l.blockBytes) {
            DWORD texels[16];
            if (l.format == ImageSourceFormat::Dxt1) {
                DecodeColourBlock(p, true, texels);
            } else {
                DecodeColourBlock(p + 8, false, texels);
                if (l.format == ImageSourceFormat::Dxt3) DecodeExplicitAlpha(p, texels);
                else DecodeInterpolatedAlpha(p, texels);
            }
            for (UINT i = 0; i < 16; ++i) {
                UINT x = bx * 4 + (i & 3), y = by * 4 + i / 4;
                if (x < w && y < h) level->pixels[(size_t)y * w + x] = texels[i];
            }
        }
    }
}

}  // namespace

HRESULT DecodeDds(const void* data, size_t size, DecodedImage* out) {
    if (!out || (!data && size)) return E_POINTER;
    ByteReader r(data, size);
    DWORD magic;
    DDS_HEADER h;
    if (!r.U32(&magic) || magic != DDS_MAGIC || !r.Read(&h, sizeof h)) return D3DXERR_INVALIDDATA;
    if (h.dwSize != sizeof(DDS_HEADER)) return D3DXERR_INVALIDDATA;
    if (h.dwCaps2 & (DDSCAPS2_CUBEMAP | DDSCAPS2_VOLUME)) return D3DXERR_INVALIDDATA;
    if ((h.dwFlags & DDSD_DEPTH) && h.dwDepth > 1) return D3DXERR_INVALIDDATA;
    if (!ImageSizeAllowed(h.dwWidth, h.dwHeight)) return D3DXERR_INVALIDDATA;
    DdsLayout l;
    HRESULT hr = ReadPixelFormat(h.ddspf, &l);
    if (FAILED(hr)) return hr;

    DWORD fullChain = 1;
    for (DWORD m = h.dwWidth > h.dwHeight ? h.dwWidth : h.dwHeight; m > 1; m >>= 1) ++fullChain;
    DWORD levels = (h.dwFlags & DDSD_MIPMAPCOUNT) && h.dwMipMapCount ? h.dwMipMapCount : 1;
    if (levels > fullChain) return D3DXERR_INVALIDDATA;
    uint64_t total = 0;
    for (DWORD i = 0; i < levels; ++i) {
        uint64_t w = h.dwWidth >> i, hh = h.dwHeight >> i;
        total += LevelBytes(l, w ? w : 1, hh ? hh : 1);
    }
    if (total > r.Remaining()) return D3DXERR_INVALIDDATA;

    DecodedImage img;
    img.kind = ImageFileKind::Dds;
    img.sourceFormat = l.format;
    img.storedMips.resize(levels - 1);
    for (DWORD i = 0; i < levels; ++i) {
        ImageLevel* level = i ? &img.storedMips[i - 1] : &img.top;
        DWORD w = h.dwWidth >> i, hh = h.dwHeight >> i;
        if (FAILED(hr = image::AllocateLevel(level, w ? w : 1, hh ? hh : 1))) return hr;
        uint64_t bytes = LevelBytes(l, level->width, level->height);
        DecodeLevel(l, r.Span((size_t)bytes), level);
        r.Skip((size_t)bytes);
    }
    *out = std::move(img);
    return S_OK;
}

}  // namespace layer
