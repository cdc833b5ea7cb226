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

// The least bytes that can hold the pixels: all of them stored, or for run-length data one
// repeated value a packet of 128.
uint64_t LeastPixelBytes(const TgaLayout& t) {
    const uint64_t count = (uint64_t)t.h.width * t.h.height;
    return t.rle ? (count + 127) / 128 * (1 + t.pixelBytes) : count * t.pixelBytes;
}

// Writes the pixels in file order to their places in the picture, whichever corner the file
// starts at.
class PixelCursor {
public:
    PixelCursor(const TgaLayout& t, ImageLevel* level)
        : t_(t), level_(level), w_(t.h.width), h_(t.h.height), topDown_(t.h.descriptor & TGA_DESC_TOP_TO_BOTTOM),
          rightToLeft_(t.h.descriptor & TGA_DESC_RIGHT_TO_LEFT) {
        StartRow();
    }

    // The colour of a stored value, or false for an index outside the colour map.
    bool Colour(const BYTE* p, DWORD* colour) const {
        DWORD v = ColourOf(p, t_.pixelBytes, t_.alphaBit);
        if (t_.mapped) {
            if (v < t_.h.colorMapFirst || v - t_.h.colorMapFirst >= t_.palette.size()) return false;
            v = t_.palette[v - t_.h.colorMapFirst];
        } else if (t_.grey) {
            v = PackArgb(0xFF, v, v, v);
        }
        *colour = v;
        return true;
    }

    UINT Left() const { return left_; }
    void Put(DWORD colour) {
        *dst_ = colour;
        dst_ += step_;
        if (--inRow_ == 0) {
            ++y_;
            if (y_ < h_) StartRow();
        }
        --left_;
    }

private:
    void StartRow() {
        DWORD* row = &level_->pixels[(size_t)(topDown_ ? y_ : h_ - 1 - y_) * w_];
        dst_ = rightToLeft_ ? row + w_ - 1 : row;
        step_ = rightToLeft_ ? -1 : 1;
        inRow_ = w_;
    }

    const TgaLayout& t_;
    ImageLevel* level_;
    const UINT w_, h_;
    const bool topDown_, rightToLeft_;
    UINT y_ = 0, inRow_ = 0;
    UINT left_ = w_ * h_;
    DWORD* dst_ = nullptr;
    ptrdiff_t step_ = 1;
};

HRESULT ReadPixels(ByteReader& r, const TgaLayout& t, ImageLevel* level) {
    PixelCursor cursor(t, level);
    const unsigned n = t.pixelBytes;
    DWORD colour;
    if (!t.rle) {
        const BYTE* p = r.Span((size_t)cursor.Left() * n);
        if (!p) return D3DXERR_INVALIDDATA;
        for (; cursor.Left(); p += n) {
            if (!cursor.Colour(p, &colour)) return D3DXERR_INVALIDDATA;
            cursor.Put(colour);
        }
        return S_OK;
    }
    while (cursor.Left()) {
        BYTE packet;
        if (!r.U8(&packet)) return D3DXERR_INVALIDDATA;
        const UINT run = (packet & 0x7Fu) + 1;
        if (run > cursor.Left()) return D3DXERR_INVALIDDATA;
        const BYTE* p = r.Span((packet & 0x80) ? n : (size_t)run * n);
        if (!p) return D3DXERR_INVALIDDATA;
        if (packet & 0x80) {
            if (!cursor.Colour(p, &colour)) return D3DXERR_INVALIDDATA;
            for (UINT k = 0; k < run; ++k) cursor.Put(colour);
            r.Skip(n);
        } else {
            for (UINT k = 0; k < run; ++k) {
                if (!cursor.Colour(p + k * n, &colour)) return D3DXERR_INVALIDDATA;
                cursor.Put(colour);
            }
            r.Skip((size_t)run * n);
        }
    }
    return S_OK;
}

}  // namespace

HRESULT DecodeTga(const void* data, size_t size, DecodedImage* out) {
    if (!out || (!data && size)) return E_POINTER;
    ByteReader r(data, size);
    TgaLayout t;
    HRESULT hr = ReadHeader(r, &t);
    if (FAILED(hr)) return hr;
    if (LeastPixelBytes(t) > r.Remaining()) return D3DXERR_INVALIDDATA;

    DecodedImage img;
    img.kind = ImageFileKind::Tga;
    if (FAILED(hr = image::AllocateLevel(&img.top, t.h.width, t.h.height))) return hr;
    if (FAILED(hr = ReadPixels(r, t, &img.top))) return hr;
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
