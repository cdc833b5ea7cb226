// image_tga.cpp -- Truevision TGA: colour-mapped, true-colour and grey pictures, plain or
// run-length coded, 8, 15, 16, 24 or 32 bits a pixel, with either origin.
#include "image/image_bytes.h"
#include "layer/image_decode.h"
#include "layer/image_formats.h"

namespace layer {
namespace {

using image::ByteReader;
using image::ExpandBits;
using image::PackArgb;

// A 15/16-bit TGA value is x1r5g5b5: the top bit is alpha only when the picture says so.
DWORD From16(DWORD v, bool alphaBit) {
    DWORD a = alphaBit ? ((v & 0x8000) ? 0xFF : 0) : 0xFF;
    return PackArgb(a, ExpandBits((v >> 10) & 31, 5), ExpandBits((v >> 5) & 31, 5), ExpandBits(v & 31, 5));
}

// One stored value of `bytes` bytes turned into ARGB; grey and index values pass through.
DWORD ColourOf(const BYTE* p, unsigned bytes, bool alphaBit) {
    switch (bytes) {
    case 1: return p[0];
    case 2: return From16((DWORD)p[0] | ((DWORD)p[1] << 8), alphaBit);
    case 3: return PackArgb(0xFF, p[2], p[1], p[0]);
    default: return PackArgb(p[3], p[2], p[1], p[0]);
    }
}

struct TgaLayout {
    TgaHeader h;
    bool mapped = false, grey = false, rle = false;
    unsigned pixelBytes = 0;
    bool alphaBit = false;
    std::vector<DWORD> palette;
};

HRESULT ReadHeader(ByteReader& r, TgaLayout* t) {
    if (!r.Read(&t->h, sizeof t->h)) return D3DXERR_INVALIDDATA;
    const TgaHeader& h = t->h;
    switch (h.imageType) {
    case TGA_TYPE_COLORMAPPED: case TGA_TYPE_RLE_COLORMAPPED: t->mapped = true; break;
    case TGA_TYPE_TRUECOLOR: case TGA_TYPE_RLE_TRUECOLOR: break;
    case TGA_TYPE_GRAY: case TGA_TYPE_RLE_GRAY: t->grey = true; break;
    default: return D3DXERR_INVALIDDATA;
    }
    t->rle = h.imageType >= TGA_TYPE_RLE_COLORMAPPED;
    if (h.colorMapType > 1 || (t->mapped && h.colorMapType != 1)) return D3DXERR_INVALIDDATA;
    if (t->mapped || t->grey) {
        if (h.pixelDepth != 8) return D3DXERR_INVALIDDATA;
    } else if (h.pixelDepth != 15 && h.pixelDepth != 16 && h.pixelDepth != 24 && h.pixelDepth != 32) {
        return D3DXERR_INVALIDDATA;
    }
    t->pixelBytes = (h.pixelDepth + 7u) / 8;
    t->alphaBit = h.pixelDepth == 16 && (h.descriptor & TGA_DESC_ALPHA_BITS) == 1;
    if (!ImageSizeAllowed(h.width, h.height)) return D3DXERR_INVALIDDATA;
    if (!r.Skip(h.idLength)) return D3DXERR_INVALIDDATA;
    if (h.colorMapType == 1) {
        unsigned depth = h.colorMapDepth;
        if (depth != 15 && depth != 16 && depth != 24 && depth != 32) return D3DXERR_INVALIDDATA;
        unsigned bytes = (depth + 7) / 8;
        bool alphaBit = depth == 16 && (h.descriptor & TGA_DESC_ALPHA_BITS) == 1;
        const BYTE* p = r.Span((size_t)h.colorMapLength * bytes);
        if (!p) return D3DXERR_INVALIDDATA;
        if (t->mapped) {
            t->palette.resize(h.colorMapLength);
            for (unsigned i = 0; i < h.colorMapLength; ++i) t->palette[i] = ColourOf(p + i * bytes, bytes, alphaBit);
        }
        r.Skip((size_t)h.colorMapLength * bytes);
    }
    return S_OK;
}

// Stored values in file order, before the origin is applied.
HRESULT ReadValues(ByteReader& r, const TgaLayout& t, std::vector<DWORD>* values) {
    const size_t count = (size_t)t.h.width * t.h.height;
    values->resize(count);
    const unsigned n = t.pixelBytes;
    if (!t.rle) {
        const BYTE* p = r.Span(count * n);
        if (!p) return D3DXERR_INVALIDDATA;
        for (size_t i = 0; i < count; ++i) (*values)[i] = ColourOf(p + i * n, n, t.alphaBit);
        return S_OK;
    }
    for (size_t i = 0; i < count;) {
        BYTE packet;
        if (!r.U8(&packet)) return D3DXERR_INVALIDDATA;
        size_t run = (packet & 0x7Fu) + 1;
        if (run > count - i) return D3DXERR_INVALIDDATA;
        if (packet & 0x80) {
            const BYTE* p = r.Span(n);
            if (!p) return D3DXERR_INVALIDDATA;
            DWORD v = ColourOf(p, n, t.alphaBit);
            r.Skip(n);
            for (size_t k = 0; k < run; ++k) (*values)[i++] = v;
        } else {
            const BYTE* p = r.Span(run * n);
            if (!p) return D3DXERR_INVALIDDATA;
            for (size_t k = 0; k < run; ++k) (*values)[i++] = ColourOf(p + k * n, n, t.alphaBit);
            r.Skip(run * n);
        }
    }
    return S_OK;
}

}  // namespace

HRESULT DecodeTga(const void* data, size_t size, DecodedImage* out) {
    if (!data || !out) return E_POINTER;
    ByteReader r(data, size);
    TgaLayout t;
    HRESULT hr = ReadHeader(r, &t);
    if (FAILED(hr)) return hr;
    std::vector<DWORD> values;
    if (FAILED(hr = ReadValues(r, t, &values))) return hr;

    DecodedImage img;
    img.kind = ImageFileKind::Tga;
    if (FAILED(hr = image::AllocateLevel(&img.top, t.h.width, t.h.height))) return hr;
    const UINT w = t.h.width, h = t.h.height;
    const bool topDown = t.h.descriptor & TGA_DESC_TOP_TO_BOTTOM;
    const bool rightToLeft = t.h.descriptor & TGA_DESC_RIGHT_TO_LEFT;
    for (UINT y = 0; y < h; ++y) {
        DWORD* dst = &img.top.pixels[(size_t)(topDown ? y : h - 1 - y) * w];
        for (UINT x = 0; x < w; ++x) {
            DWORD v = values[(size_t)y * w + x];
            if (t.mapped) {
                if (v < t.h.colorMapFirst || v - t.h.colorMapFirst >= t.palette.size()) return D3DXERR_INVALIDDATA;
                v = t.palette[v - t.h.colorMapFirst];
            } else if (t.grey) {
                v = PackArgb(0xFF, v, v, v);
            }
            dst[rightToLeft ? w - 1 - x : x] = v;
        }
    }
    if (t.grey) {
        img.sourceFormat = ImageSourceFormat::Grey8;
    } else if (t.mapped) {
        img.sourceFormat = t.h.colorMapDepth == 32 ? ImageSourceFormat::Argb32 : ImageSourceFormat::Rgb24;
    } else if (t.pixelBytes == 4) {
        img.sourceFormat = ImageSourceFormat::Argb32;
    } else if (t.pixelBytes == 3) {
        img.sourceFormat = ImageSourceFormat::Rgb24;
    } else {
        img.sourceFormat = t.alphaBit ? ImageSourceFormat::Argb1555 : ImageSourceFormat::Xrgb1555;
    }
    *out = std::move(img);
    return S_OK;
}

}  // namespace layer
