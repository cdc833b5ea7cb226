// image_png.cpp -- PNG pictures through libpng: palette, grey, alpha, transparency chunks
// and 16-bit samples, all expanded to 8-bit ARGB. Errors return through libpng's longjmp,
// so a broken file never ends the program; warnings are dropped.
#include <png.h>

#include <algorithm>

#include "image/image_bytes.h"
#include "layer/image_decode.h"

namespace layer {
namespace {

struct PngSource {
    const BYTE* data;
    size_t size;
    size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep dst, png_size_t n) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (n > src->size - src->pos) png_error(png, "truncated");
    std::memcpy(dst, src->data + src->pos, n);
    src->pos += n;
}

void OnPngWarning(png_structp, png_const_charp) {}

[[noreturn]] void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "rows of B, G, R, A bytes are ARGB pixels");

// The bytes of all IDAT chunks, read from the chunk list without checking it further: libpng
// checks the chunks as it reads them.
uint64_t CompressedPixelBytes(const BYTE* data, size_t size) {
    uint64_t total = 0;
    for (size_t pos = 8; pos <= size && size - pos >= 12;) {
        const BYTE* chunk = data + pos;
        const uint64_t length = ((uint64_t)chunk[0] << 24) | (chunk[1] << 16) | (chunk[2] << 8) | chunk[3];
        if (std::memcmp(chunk + 4, "IDAT", 4) == 0) total += std::min<uint64_t>(length, size - pos - 8);
        if (std::memcmp(chunk + 4, "IEND", 4) == 0 || length > size - pos - 12) break;
        pos += 12 + (size_t)length;
    }
    return total;
}

// Deflate codes at most 258 bytes in two bits, so the compressed pixels of a picture of
// `width` x `height` samples of `bits` bits take at least 1/1032 of their unpacked size.
bool CanHoldPicture(uint64_t compressed, uint64_t width, uint64_t height, unsigned bits) {
    return compressed >= width * height * bits / 8 / 1032;
}

struct PngResult {
    bool alpha = false, grey = false;
};

// A row of one index a byte at the start of its pixels becomes the palette's colours, from the
// last pixel back so that no index is overwritten before it is read; false for an index past
// the palette.
bool ExpandIndexedRow(DWORD* row, UINT width, const DWORD* palette, int count) {
    const BYTE* index = reinterpret_cast<const BYTE*>(row);
    for (UINT x = width; x-- > 0;) {
        const BYTE i = index[x];
        if (i >= count) return false;
        row[x] = palette[i];
    }
    return true;
}

// The libpng part, kept free of C++ objects with destructors: a longjmp may cross it. Decodes
// straight into `level`, which it sizes once the header is known: every colour type but the
// palette is expanded by libpng to rows of B, G, R, A bytes; palette indices are mapped here,
// so that one past the palette refuses the file.
HRESULT DecodeWithLibpng(PngSource* src, ImageLevel* level, PngResult* out) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!png) return E_OUTOFMEMORY;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return E_OUTOFMEMORY;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return D3DXERR_INVALIDDATA;
    }
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_set_benign_errors(png, 0);
    png_set_read_fn(png, src, ReadFromMemory);
    png_read_info(png, info);
    png_uint_32 w = 0, h = 0;
    int depth = 0, colourType = 0;
    png_get_IHDR(png, info, &w, &h, &depth, &colourType, nullptr, nullptr, nullptr);
    if (!ImageSizeAllowed(w, h)) png_error(png, "too large");
    if (!CanHoldPicture(CompressedPixelBytes(src->data, src->size), w, h, png_get_channels(png, info) * depth))
        png_error(png, "too little data");
    out->alpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    out->grey = !(colourType & PNG_COLOR_MASK_COLOR);
    const bool indexed = colourType == PNG_COLOR_TYPE_PALETTE;
    DWORD palette[256];
    int paletteCount = 0;
    if (indexed) {
        png_colorp plte = nullptr;
        if (!png_get_PLTE(png, info, &plte, &paletteCount) || paletteCount < 1 || paletteCount > 256)
            png_error(png, "no palette");
        png_bytep trans = nullptr;
        int transCount = 0;
        png_get_tRNS(png, info, &trans, &transCount, nullptr);
        for (int i = 0; i < paletteCount; ++i) {
            DWORD a = trans && i < transCount ? trans[i] : 0xFF;
            palette[i] = image::PackArgb(a, plte[i].red, plte[i].green, plte[i].blue);
        }
        png_set_packing(png);
    } else {
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_bgr(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != (size_t)w * (indexed ? 1 : 4)) png_error(png, "unexpected layout");
    if (FAILED(image::AllocateLevel(level, w, h))) png_error(png, "too large");
    // Each row is finished in the last pass; an interlaced picture's earlier passes fill it in part.
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < h; ++y) {
            DWORD* row = &level->pixels[(size_t)y * w];
            png_read_row(png, reinterpret_cast<png_bytep>(row), nullptr);
            if (indexed && pass == passes - 1 && !ExpandIndexedRow(row, w, palette, paletteCount))
                png_error(png, "index past the palette");
        }
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return S_OK;
}

}  // namespace

HRESULT DecodePng(const void* data, size_t size, DecodedImage* out) {
    if (!out || (!data && size)) return E_POINTER;
    PngSource src{static_cast<const BYTE*>(data), size, 0};
    DecodedImage img;
    img.kind = ImageFileKind::Png;
    PngResult result;
    HRESULT hr = DecodeWithLibpng(&src, &img.top, &result);
    if (FAILED(hr)) return hr;
    img.sourceFormat = result.alpha  ? ImageSourceFormat::Argb32
                       : result.grey ? ImageSourceFormat::Grey8
                                     : ImageSourceFormat::Rgb24;
    *out = std::move(img);
    return S_OK;
}

}  // namespace layer
