// image_jpeg_png_test.cpp -- JPEG and PNG through their libraries: our encoders round-trip, and
// PNG colour types our encoder does not write (palette, grey, 16-bit, transparency) decode exactly.
#include <gtest/gtest.h>

#include <cstdlib>

#include "image_test_files.h"
#include "layer/image_encode.h"
#include "png_test_writer.h"

using namespace image_test;
using layer::ImageFileKind;

// Our encoder's RGBA and the colour types it does not write (palette, grey, 16-bit, tRNS); a
// tRNS chunk gives a picture of any colour type transparency, so it is reported as a picture with
// alpha: a texture made in the file's own format then keeps it. Empty pixels: not compared.
TEST(PngDecode, EveryColourTypeDecodesExactly) {
    using F = layer::ImageSourceFormat;
    auto ours = Pattern(9, 4);
    ours[0] = 0x00000000, ours[1] = 0xFFFFFFFF;
    std::vector<BYTE> encoded;
    ASSERT_EQ(layer::EncodePng(9, 4, ours.data(), &encoded), S_OK);
    const std::vector<png_color> pal = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, pal2(&pal[0], &pal[2]);
    png_color_16 key{}, red{};
    key.red = 10, key.green = 20, key.blue = 30, red.red = red.gray = 10;
    const struct {
        const char* name;
        std::vector<BYTE> file;
        F format;
        std::vector<DWORD> pixels;
    } cases[] = {
        {"ours", encoded, F::Argb32, ours},
        // 2 bits a pixel, a tRNS entry for index 1.
        {"palette, tRNS", WritePng(4, 1, 2, PNG_COLOR_TYPE_PALETTE, {{0x16}}, pal, {0xFF, 0x40}), F::Argb32,
         {0xFFFF0000, 0x4000FF00, 0x4000FF00, 0xFF0000FF}},
        {"pal 2", WritePng(2, 1, 8, PNG_COLOR_TYPE_PALETTE, {{0, 1}}, pal2), F::Rgb24, {}},
        {"pal 2, tRNS", WritePng(2, 1, 8, PNG_COLOR_TYPE_PALETTE, {{0, 1}}, pal2, {0xFF, 0}), F::Argb32, {}},
        {"grey", WritePng(3, 1, 8, PNG_COLOR_TYPE_GRAY, {{0x00, 0x7F, 0xFF}}), F::Grey8,
         {0xFF000000, 0xFF7F7F7F, 0xFFFFFFFF}},
        // 4-bit grey expands by replication; grey with alpha keeps the alpha.
        {"grey 4", WritePng(2, 1, 4, PNG_COLOR_TYPE_GRAY, {{0xF5}}), F::Grey8, {0xFFFFFFFF, 0xFF555555}},
        {"grey+alpha", WritePng(1, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA, {{0x20, 0x90}}), F::Argb32, {0x90202020}},
        {"grey, tRNS", WritePng(1, 1, 8, PNG_COLOR_TYPE_GRAY, {{10}}, {}, {}, &red), F::Argb32, {}},
        // 16-bit RGBA keeps the high byte of every sample.
        {"rgba 16",
         WritePng(1, 1, 16, PNG_COLOR_TYPE_RGB_ALPHA, {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}}),
         F::Argb32, {0xDE12569A}},
        {"rgb", WritePng(1, 1, 8, PNG_COLOR_TYPE_RGB, {{10, 0, 0}}), F::Rgb24, {}},
        {"rgb, red tRNS", WritePng(1, 1, 8, PNG_COLOR_TYPE_RGB, {{10, 0, 0}}, {}, {}, &red), F::Argb32, {}},
        // A transparent colour key in the tRNS chunk.
        {"rgb, tRNS", WritePng(2, 1, 8, PNG_COLOR_TYPE_RGB, {{10, 20, 30, 10, 20, 31}}, {}, {}, &key),
         F::Argb32, {0x000A141E, 0xFF0A141F}},
    };
    for (const auto& c : cases) {
        layer::DecodedImage img;
        ASSERT_EQ(layer::DecodeImage(c.file.data(), c.file.size(), &img), S_OK) << c.name;
        EXPECT_EQ(img.kind, ImageFileKind::Png) << c.name;
        EXPECT_EQ(img.sourceFormat, c.format) << c.name;
        EXPECT_EQ(img.top.pixels, c.pixels.empty() ? img.top.pixels : c.pixels) << c.name;
    }
    // Index 3 lies outside the palette of three: the file is refused; with 2 there, it is read.
    for (BYTE last : {2, 3}) {
        HRESULT hr = S_OK;
        const auto file = WritePng(4, 1, 2, PNG_COLOR_TYPE_PALETTE, {{BYTE(0x18 | last)}}, pal);
        ASSERT_FALSE(file.empty());
        EXPECT_EQ(DecodeTop(ImageFileKind::Png, file, &hr).size(), last == 2 ? 4u : 0u);
        EXPECT_EQ(hr, last == 2 ? S_OK : D3DXERR_INVALIDDATA);
    }
}

TEST(JpegDecode, EncoderAndCmykFilesKeepFlatBlocksClosely) {
    // Flat 16 x 16 blocks survive a quality-100 JPEG within a few steps per channel, away from
    // the block borders where the smoothed colour subsampling mixes neighbours.
    const UINT w = 32, h = 32;
    const DWORD colours[4] = {0xFFC03020, 0xFF20C030, 0xFF3020C0, 0xFF808080};
    std::vector<DWORD> src(w * h);
    for (UINT y = 0; y < h; ++y)
        for (UINT x = 0; x < w; ++x) src[y * w + x] = colours[(y / 16) * 2 + x / 16];
    std::vector<BYTE> ours;
    ASSERT_EQ(layer::EncodeJpeg(w, h, src.data(), 100, &ours), S_OK);
    const std::vector<BYTE> files[] = {ours, CmykJpeg(w, h, src.data(), JCS_CMYK, true),
                                       CmykJpeg(w, h, src.data(), JCS_YCCK, true),
                                       CmykJpeg(w, h, src.data(), JCS_CMYK, false)};
    for (const auto& file : files) {
        layer::DecodedImage img;
        ASSERT_EQ(layer::DecodeImage(file.data(), file.size(), &img), S_OK) << (&file - files);
        EXPECT_EQ(img.kind, ImageFileKind::Jpg);
        EXPECT_EQ(img.sourceFormat, layer::ImageSourceFormat::Rgb24);
        ASSERT_EQ(img.top.width, w);
        ASSERT_EQ(img.top.height, h);
        for (UINT i = 0; i < w * h; ++i) {
            if ((i % w) % 16 < 2 || (i % w) % 16 > 13 || (i / w) % 16 < 2 || (i / w) % 16 > 13) continue;
            DWORD got = img.top.pixels[i], want = src[i];
            EXPECT_EQ(got >> 24, 0xFFu);
            for (int s = 0; s < 24; s += 8)
                EXPECT_NEAR((int)(got >> s & 0xFF), (int)(want >> s & 0xFF), 3) << &file - files << " " << i;
        }
    }
}
