// image_png.cpp -- PNG pictures through libpng: palette, grey, alpha, transparency chunks
// and 16-bit samples, all expanded to 8-bit ARGB. Errors return through libpng's longjmp,
// so a broken file never ends the program; warnings are dropped.
#include <png.h>

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

// What libpng hands back: RGBA rows, or for a palette picture one index a pixel and the
// palette (with the alpha of its transparency chunk).
struct PngSamples {
    UINT width = 0, height = 0;
    bool alpha = false, grey = false, indexed = false;
    std::vector<BYTE> bytes;
    DWORD palette[256];
    int paletteCount = 0;
};

// The libpng part, kept free of C++ objects with destructors: a longjmp may cross it.
HRESULT DecodeWithLibpng(PngSource* src, PngSamples* out) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!png) return E_OUTOFMEMORY;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return E_OUTOFMEMORY;
    }
    png_bytep* volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        png_free(png, rows);
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
    out->width = w;
    out->height = h;
    out->alpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    out->grey = !(colourType & PNG_COLOR_MASK_COLOR);
    out->indexed = colourType == PNG_COLOR_TYPE_PALETTE;
    size_t pixelBytes = 4;
    if (out->indexed) {
        // Indices are mapped here, so that one past the palette refuses the file.
        png_colorp plte = nullptr;
        int count = 0;
        if (!png_get_PLTE(png, info, &plte, &count) || count < 1 || count > 256) png_error(png, "no palette");
        png_bytep trans = nullptr;
        int transCount = 0;
        png_get_tRNS(png, info, &trans, &transCount, nullptr);
        for (int i = 0; i < count; ++i) {
            DWORD a = trans && i < transCount ? trans[i] : 0xFF;
            out->palette[i] = image::PackArgb(a, plte[i].red, plte[i].green, plte[i].blue);
        }
        out->paletteCount = count;
        png_set_packing(png);
        pixelBytes = 1;
    } else {
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != (size_t)w * pixelBytes) png_error(png, "unexpected layout");
    out->bytes.resize((size_t)w * h * pixelBytes);
    rows = static_cast<png_bytep*>(png_malloc(png, sizeof(png_bytep) * h));
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = out->bytes.data() + (size_t)y * w * pixelBytes;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    png_free(png, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    return S_OK;
}

}  // namespace

HRESULT DecodePng(const void* data, size_t size, DecodedImage* out) {
    if (!data || !out) return E_POINTER;
    PngSource src{static_cast<const BYTE*>(data), size, 0};
    PngSamples samples;
    HRESULT hr = DecodeWithLibpng(&src, &samples);
    if (FAILED(hr)) return hr;
    DecodedImage img;
    img.kind = ImageFileKind::Png;
    if (FAILED(hr = image::AllocateLevel(&img.top, samples.width, samples.height))) return hr;
    for (size_t i = 0; i < img.top.pixels.size(); ++i) {
        if (samples.indexed) {
            BYTE index = samples.bytes[i];
            if (index >= samples.paletteCount) return D3DXERR_INVALIDDATA;
            img.top.pixels[i] = samples.palette[index];
        } else {
            const BYTE* p = &samples.bytes[i * 4];
            img.top.pixels[i] = image::PackArgb(p[3], p[0], p[1], p[2]);
        }
    }
    img.sourceFormat = samples.alpha  ? ImageSourceFormat::Argb32
                       : samples.grey ? ImageSourceFormat::Grey8
                                      : ImageSourceFormat::Rgb24;
    *out = std::move(img);
    return S_OK;
}

}  // namespace layer
