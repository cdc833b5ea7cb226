// image_write_png.cpp -- 8-bit RGBA PNG files through libpng, errors returned, never exit.
#include <png.h>

#include "image/image_write_bytes.h"
#include "layer/image_encode.h"

namespace layer {
namespace {

void WriteToVector(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<std::vector<BYTE>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
void FlushNothing(png_structp) {}
void OnWarning(png_structp, png_const_charp) {}
[[noreturn]] void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Free of C++ objects with destructors: a longjmp may cross it. `rgba` holds the rows.
bool CompressWithLibpng(UINT width, UINT height, BYTE* rgba, std::vector<BYTE>* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, WriteToVector, FlushNothing);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (UINT y = 0; y < height; ++y) png_write_row(png, rgba + (size_t)y * width * 4);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

HRESULT EncodePng(UINT width, UINT height, const DWORD* pixels, std::vector<BYTE>* out) {
    if (!out || !image::EncodableSize(width, height, pixels)) return E_INVALIDARG;
    std::vector<BYTE> rgba((size_t)width * height * 4);
    for (size_t i = 0; i < (size_t)width * height; ++i) {
        rgba[4 * i] = (BYTE)(pixels[i] >> 16);
        rgba[4 * i + 1] = (BYTE)(pixels[i] >> 8);
        rgba[4 * i + 2] = (BYTE)pixels[i];
        rgba[4 * i + 3] = (BYTE)(pixels[i] >> 24);
    }
    out->clear();
    return CompressWithLibpng(width, height, rgba.data(), out) ? S_OK : E_FAIL;
}

}  // namespace layer
