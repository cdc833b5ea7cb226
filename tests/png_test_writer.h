// png_test_writer.h -- PNG files of any colour type, interlace and compression, written with
// libpng itself, for the tests and the fuzz seeds.
#pragma once

#include <csetjmp>
#include <vector>

#include <png.h>

#include "wintypes.h"

namespace image_test {

// `rows` are packed as libpng expects them; an empty result when libpng refuses.
inline std::vector<BYTE> WritePng(UINT w, UINT h, int depth, int colourType, const std::vector<std::vector<BYTE>>& rows,
                                  const std::vector<png_color>& palette = {}, const std::vector<BYTE>& trns = {},
                                  const png_color_16* trnsColour = nullptr, int interlace = PNG_INTERLACE_NONE,
                                  int compressionLevel = -1) {
    std::vector<BYTE> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep d, png_size_t n) {
            auto* v = static_cast<std::vector<BYTE>*>(png_get_io_ptr(p));
            v->insert(v->end(), d, d + n);
        },
        nullptr);
    if (compressionLevel >= 0) png_set_compression_level(png, compressionLevel);
    png_set_IHDR(png, info, w, h, depth, colourType, interlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), (int)palette.size());
    if (!trns.empty() || trnsColour)
        png_set_tRNS(png, info, trns.empty() ? nullptr : trns.data(), (int)trns.size(), trnsColour);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
        for (const auto& row : rows) png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

}  // namespace image_test
