// image_bmp.cpp -- BMP files and packed DIBs: 1, 4, 8, 16, 24 and 32 bits a pixel,
// bottom-up or top-down, uncompressed, bit fields, RLE8 and RLE4.
#include "image/image_bytes.h"
#include "layer/image_decode.h"
#include "wingdi.h"

namespace layer {
namespace {

using image::ByteReader;
using image::MaskChannel;
using image::PackArgb;

struct BmpInfo {
    bool fileHeader = false;
    DWORD pixelOffset = 0;  // from the start of the data; 0 = right after the palette
    DWORD headerSize = 0;
    int64_t width = 0;
    int64_t height = 0;
    bool topDown = false;
    WORD bitCount = 0;
    DWORD compression = BI_RGB;
    DWORD colorsUsed = 0;
    DWORD masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    bool masksGiven = false;
    size_t paletteStart = 0;
    size_t paletteEntrySize = 4;
};

bool ReadCoreHeader(ByteReader& r, BmpInfo* info) {
    WORD w, h, planes, bits;
    if (!r.U16(&w) || !r.U16(&h) || !r.U16(&planes) || !r.U16(&bits)) return false;
    info->width = w;
    info->height = h;
    info->bitCount = bits;
    info->paletteEntrySize = 3;
    return planes == 1;
}

bool ReadInfoHeader(ByteReader& r, size_t infoStart, BmpInfo* info) {
    DWORD width, height, sizeImage, clrImportant, xppm, yppm;
    WORD planes;
    if (!r.U32(&width) || !r.U32(&height) || !r.U16(&planes) || !r.U16(&info->bitCount) ||
        !r.U32(&info->compression) || !r.U32(&sizeImage) || !r.U32(&xppm) || !r.U32(&yppm) ||
        !r.U32(&info->colorsUsed) || !r.U32(&clrImportant))
        return false;
    if (planes != 1) return false;
    info->width = (int32_t)width;
    int64_t h = (int32_t)height;
    info->topDown = h < 0;
    info->height = h < 0 ? -h : h;
    if (info->headerSize >= 52) {
        // The later header versions carry the masks inside the header.
        for (int i = 0; i < (info->headerSize >= 56 ? 4 : 3); ++i)
            if (!r.U32(&info->masks[i])) return false;
        info->masksGiven = info->compression == BI_BITFIELDS;
    } else if (info->compression == BI_BITFIELDS) {
        if (!r.Seek(infoStart + 40)) return false;
        for (int i = 0; i < 3; ++i)
            if (!r.U32(&info->masks[i])) return false;
        info->masksGiven = true;
        info->paletteStart = infoStart + 52;
    }
    return true;
}

HRESULT ReadHeaders(ByteReader& r, BmpInfo* info) {
    size_t infoStart = 0;
    WORD type;
    if (r.Size() >= 2 && r.U16(&type) && type == BITMAPFILE_TYPE_BM) {
        DWORD fileSize, reserved;
        if (!r.U32(&fileSize) || !r.U32(&reserved) || !r.U32(&info->pixelOffset)) return D3DXERR_INVALIDDATA;
        info->fileHeader = true;
        infoStart = sizeof(BITMAPFILEHEADER);
    } else {
        r.Seek(0);
    }
    if (!r.U32(&info->headerSize)) return D3DXERR_INVALIDDATA;
    info->paletteStart = infoStart + info->headerSize;
    bool ok = false;
    switch (info->headerSize) {
    case 12: ok = ReadCoreHeader(r, info); break;
    case 40: case 52: case 56: case 108: case 124: ok = ReadInfoHeader(r, infoStart, info); break;
    default: ok = false;
    }
    if (!ok || info->width <= 0 || info->height <= 0) return D3DXERR_INVALIDDATA;
    if (!ImageSizeAllowed((uint64_t)info->width, (uint64_t)info->height)) return D3DXERR_INVALIDDATA;

    switch (info->compression) {
    case BI_RGB:
        if (info->bitCount != 1 && info->bitCount != 4 && info->bitCount != 8 && info->bitCount != 16 &&
            info->bitCount != 24 && info->bitCount != 32)
            return D3DXERR_INVALIDDATA;
        break;
    case BI_RLE8:
        if (info->bitCount != 8 || info->topDown) return D3DXERR_INVALIDDATA;
        break;
    case BI_RLE4:
        if (info->bitCount != 4 || info->topDown) return D3DXERR_INVALIDDATA;
        break;
    case BI_BITFIELDS:
        if (info->bitCount != 16 && info->bitCount != 32) return D3DXERR_INVALIDDATA;
        break;
    default: return D3DXERR_INVALIDDATA;
    }
    return S_OK;
}

HRESULT ReadPalette(ByteReader& r, const BmpInfo& info, std::vector<DWORD>* palette, size_t* paletteEnd) {
    *paletteEnd = info.paletteStart;
    if (info.bitCount > 8) return S_OK;
    DWORD maxColors = 1u << info.bitCount;
    DWORD count = info.colorsUsed ? info.colorsUsed : maxColors;
    if (count > maxColors) return D3DXERR_INVALIDDATA;
    if (!r.Seek(info.paletteStart)) return D3DXERR_INVALIDDATA;
    palette->resize(count);
    for (DWORD i = 0; i < count; ++i) {
        BYTE e[4] = {0, 0, 0, 0};
        if (!r.Read(e, info.paletteEntrySize)) return D3DXERR_INVALIDDATA;
        (*palette)[i] = PackArgb(0xFF, e[2], e[1], e[0]);
    }
    *paletteEnd = r.Position();
    return S_OK;
}

// Channel masks of a 16- or 32-bit picture: given in the file or the BI_RGB defaults.
bool SetupMasks(const BmpInfo& info, MaskChannel ch[4]) {
    DWORD m[4] = {0, 0, 0, 0};
    if (info.masksGiven) {
        for (int i = 0; i < 4; ++i) m[i] = info.masks[i];
    } else if (info.bitCount == 16) {
        m[0] = 0x7C00, m[1] = 0x03E0, m[2] = 0x001F;
    } else {
        m[0] = 0x00FF0000, m[1] = 0x0000FF00, m[2] = 0x000000FF;
    }
    if (info.bitCount == 16)
        for (DWORD& v : m) v &= 0xFFFF;
    for (int i = 0; i < 4; ++i)
        if (!ch[i].Set(m[i])) return false;
    return m[0] || m[1] || m[2];
}

ImageSourceFormat SourceFormatOf(const BmpInfo& info, const MaskChannel ch[4]) {
    if (info.bitCount == 32) return ch[3].mask ? ImageSourceFormat::Argb32 : ImageSourceFormat::Rgb24;
    if (info.bitCount != 16) return ImageSourceFormat::Rgb24;
    if (ch[1].bits == 6) return ImageSourceFormat::Rgb565;
    if (ch[3].bits == 1) return ImageSourceFormat::Argb1555;
    if (ch[3].bits == 4) return ImageSourceFormat::Argb4444;
    return ImageSourceFormat::Xrgb1555;
}

// Bytes of one stored row, padded to a 32-bit boundary.
uint64_t StrideOf(const BmpInfo& info) { return ((uint64_t)info.width * info.bitCount + 31) / 32 * 4; }

HRESULT DecodeUncompressed(ByteReader& r, const BmpInfo& info, size_t dataStart, const std::vector<DWORD>& palette,
                           const MaskChannel ch[4], ImageLevel* level) {
    const uint64_t w = (uint64_t)info.width, h = (uint64_t)info.height;
    const uint64_t stride = StrideOf(info);
    const BYTE* base = r.At(dataStart);
    for (uint64_t y = 0; y < h; ++y) {
        const BYTE* row = base + y * stride;
        DWORD* dst = &level->pixels[(size_t)((info.topDown ? y : h - 1 - y) * w)];
        for (uint64_t x = 0; x < w; ++x) {
            DWORD v;
            switch (info.bitCount) {
            case 1: v = (row[x >> 3] >> (7 - (x & 7))) & 1; break;
            case 4: v = (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF; break;
            case 8: v = row[x]; break;
            case 16: v = (DWORD)row[2 * x] | ((DWORD)row[2 * x + 1] << 8); break;
            case 24: dst[x] = PackArgb(0xFF, row[3 * x + 2], row[3 * x + 1], row[3 * x]); continue;
            default:
                v = (DWORD)row[4 * x] | ((DWORD)row[4 * x + 1] << 8) | ((DWORD)row[4 * x + 2] << 16) |
                    ((DWORD)row[4 * x + 3] << 24);
                break;
            }
            if (info.bitCount <= 8) {
                if (v >= palette.size()) return D3DXERR_INVALIDDATA;
                dst[x] = palette[v];
            } else {
                DWORD a = ch[3].mask ? ch[3].Extract(v) : 0xFF;
                dst[x] = PackArgb(a, ch[0].Extract(v), ch[1].Extract(v), ch[2].Extract(v));
            }
        }
    }
    return S_OK;
}

// Run-length coded rows, stored bottom-up: runs of one index, absolute runs, line and picture
// ends and position deltas. Without a level it only checks the codes, at a cost that follows
// the file's length and not the picture's size, so a file is known to be whole before its
// picture is allocated; with one it writes the pixels. Writers that code every row to its
// padded width leave pixels past the row's end: those are dropped. Skipped pixels stay opaque
// black.
HRESULT WalkRunLength(ByteReader r, const BmpInfo& info, size_t dataStart, const std::vector<DWORD>& palette,
                      ImageLevel* level) {
    const bool four = info.compression == BI_RLE4;
    const uint64_t w = (uint64_t)info.width, h = (uint64_t)info.height;
    if (!r.Seek(dataStart)) return D3DXERR_INVALIDDATA;
    uint64_t x = 0, y = 0;
    // `count` pixels from the cursor, the i-th of index `indexAt(i)`; `distinct` of them are to
    // be checked against the palette (the rest repeat those).
    auto pixels = [&](DWORD count, DWORD distinct, auto indexAt) -> bool {
        if (y >= h) return false;
        for (DWORD i = 0; i < distinct; ++i)
            if (indexAt(i) >= palette.size()) return false;
        if (level) {
            DWORD* row = &level->pixels[(size_t)((h - 1 - y) * w)];
            for (uint64_t i = 0; i < count && x + i < w; ++i) row[x + i] = palette[indexAt((DWORD)i)];
        }
        x += count;
        return true;
    };
    for (;;) {
        BYTE count, value;
        if (!r.U8(&count) || !r.U8(&value)) return D3DXERR_INVALIDDATA;
        if (count) {
            auto index = [&](DWORD i) -> DWORD { return four ? ((i & 1) ? value & 0xF : value >> 4) : value; };
            if (!pixels(count, four && count > 1 ? 2 : 1, index)) return D3DXERR_INVALIDDATA;
            continue;
        }
        switch (value) {
        case 0: x = 0, ++y; break;          // end of line
        case 1: return S_OK;                // end of picture
        case 2: {                           // move right and up
            BYTE dx, dy;
            if (!r.U8(&dx) || !r.U8(&dy)) return D3DXERR_INVALIDDATA;
            x += dx, y += dy;
            if (x > w || y > h) return D3DXERR_INVALIDDATA;
            break;
        }
        default: {                          // absolute run of `value` pixels, padded to a word
            size_t bytes = four ? (value + 1u) / 2 : value;
            const BYTE* p = r.Span(bytes);
            if (!p) return D3DXERR_INVALIDDATA;
            auto index = [&](DWORD i) -> DWORD { return four ? ((i & 1) ? p[i >> 1] & 0xF : p[i >> 1] >> 4) : p[i]; };
            if (!pixels(value, value, index)) return D3DXERR_INVALIDDATA;
            if (!r.Skip(bytes + (bytes & 1))) return D3DXERR_INVALIDDATA;
        }
        }
    }
}

// Whether the data from `dataStart` on holds the whole picture: every stored row, or a
// complete run-length coding.
HRESULT CheckPixelData(ByteReader& r, const BmpInfo& info, size_t dataStart, const std::vector<DWORD>& palette) {
    if (info.compression == BI_RLE8 || info.compression == BI_RLE4)
        return WalkRunLength(r, info, dataStart, palette, nullptr);
    if (dataStart > r.Size() || StrideOf(info) * (uint64_t)info.height > r.Size() - dataStart)
        return D3DXERR_INVALIDDATA;
    return S_OK;
}

}  // namespace

HRESULT DecodeBmp(const void* data, size_t size, DecodedImage* out) {
    if (!out || (!data && size)) return E_POINTER;
    ByteReader r(data, size);
    BmpInfo info;
    HRESULT hr = ReadHeaders(r, &info);
    if (FAILED(hr)) return hr;
    std::vector<DWORD> palette;
    size_t paletteEnd = 0;
    if (FAILED(hr = ReadPalette(r, info, &palette, &paletteEnd))) return hr;
    MaskChannel ch[4];
    if (info.bitCount > 8 && info.bitCount != 24 && !SetupMasks(info, ch)) return D3DXERR_INVALIDDATA;
    size_t dataStart = info.fileHeader ? info.pixelOffset : paletteEnd;
    if (FAILED(hr = CheckPixelData(r, info, dataStart, palette))) return hr;

    DecodedImage img;
    img.kind = info.fileHeader ? ImageFileKind::Bmp : ImageFileKind::Dib;
    img.sourceFormat = SourceFormatOf(info, ch);
    if (FAILED(hr = image::AllocateLevel(&img.top, (uint64_t)info.width, (uint64_t)info.height))) return hr;
    if (info.compression == BI_RLE8 || info.compression == BI_RLE4)
        hr = WalkRunLength(r, info, dataStart, palette, &img.top);
    else
        hr = DecodeUncompressed(r, info, dataStart, palette, ch, &img.top);
    if (FAILED(hr)) return hr;
    *out = std::move(img);
    return S_OK;
}

}  // namespace layer
