// image_jpeg_png_test.cpp -- JPEG and PNG through their libraries: our encoders round-trip, and
// PNG colour types our encoder does not write (palette, grey, 16-bit, transparency) decode exactly.
#include <gtest/gtest.h>

#include <cstdlib>

#include "image_test_files.h"
#include "layer/image_encode.h"
#include "png_test_writer.h"

using namespace image_test;
using layer::ImageFileKind;

TEST(PngDecode, EncoderRoundTripsEveryAlphaLevel) {
    auto src = Pattern(9, 4);
    src[0] = 0x00000000;
    src[1] = 0xFFFFFFFF;
    std::vector<BYTE> file;
    ASSERT_EQ(layer::EncodePng(9, 4, src.data(), &file), S_OK);
    layer::DecodedImage img;
    ASSERT_EQ(layer::DecodeImage(file.data(), file.size(), &img), S_OK);
    EXPECT_EQ(img.kind, ImageFileKind::Png);
    EXPECT_EQ(img.sourceFormat, layer::ImageSourceFormat::Argb32);
    EXPECT_EQ(img.top.pixels, src);
}

TEST(PngDecode, PaletteGreySixteenBitAndTransparency) {
    // Palette of 3 with a transparency entry for index 1, 2 bits a pixel.
    std::vector<png_color> pal = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    auto paletted = WritePng(4, 1, 2, PNG_COLOR_TYPE_PALETTE, {{0x16}}, pal, {0xFF, 0x40});
    ASSERT_FALSE(paletted.empty());
    EXPECT_EQ(DecodeTop(ImageFileKind::Png, paletted), (std::vector<DWORD>{0xFFFF0000, 0x4000FF00, 0x4000FF00, 0xFF0000FF}));

    // Index 3 lies outside the palette of three: the file is refused.
    auto outside = WritePng(4, 1, 2, PNG_COLOR_TYPE_PALETTE, {{0x1B}}, pal);
    ASSERT_FALSE(outside.empty());
    HRESULT hr = S_OK;
    EXPECT_TRUE(DecodeTop(ImageFileKind::Png, outside, &hr).empty());
    EXPECT_EQ(hr, D3DXERR_INVALIDDATA);
}

TEST(PngDecode, GreyAndSixteenBitSamples) {
    auto grey = WritePng(3, 1, 8, PNG_COLOR_TYPE_GRAY, {{0x00, 0x7F, 0xFF}});
    layer::DecodedImage img;
    ASSERT_EQ(layer::DecodeImage(grey.data(), grey.size(), &img), S_OK);
    EXPECT_EQ(img.sourceFormat, layer::ImageSourceFormat::Grey8);
    EXPECT_EQ(img.top.pixels, (std::vector<DWORD>{0xFF000000, 0xFF7F7F7F, 0xFFFFFFFF}));

    // 4-bit grey expands by replication; grey with alpha keeps the alpha.
    auto grey4 = WritePng(2, 1, 4, PNG_COLOR_TYPE_GRAY, {{0xF5}});
    EXPECT_EQ(DecodeTop(ImageFileKind::Png, grey4), (std::vector<DWORD>{0xFFFFFFFF, 0xFF555555}));
    auto greyAlpha = WritePng(1, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA, {{0x20, 0x90}});
    EXPECT_EQ(DecodeTop(ImageFileKind::Png, greyAlpha), (std::vector<DWORD>{0x90202020}));

    // 16-bit RGBA keeps the high byte of every sample.
    auto deep = WritePng(1, 1, 16, PNG_COLOR_TYPE_RGB_ALPHA, {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}});
    EXPECT_EQ(DecodeTop(ImageFileKind::Png, deep), (std::vector<DWORD>{0xDE12569A}));

    // An RGB picture with a transparent colour key in its tRNS chunk.
    png_color_16 key{};
    key.red = 10, key.green = 20, key.blue = 30;
    auto keyed = WritePng(2, 1, 8, PNG_COLOR_TYPE_RGB, {{10, 20, 30, 10, 20, 31}}, {}, {}, &key);
    EXPECT_EQ(DecodeTop(ImageFileKind::Png, keyed), (std::vector<DWORD>{0x000A141E, 0xFF0A141F}));
}

// A tRNS chunk gives a picture of any colour type transparency, so it is reported as a picture
// with alpha: a texture made in the file's own format then keeps it.
TEST(PngDecode, TransparencyChunksMakeAnAlphaPicture) {
    const std::vector<png_color> pal = {{255, 0, 0}, {0, 255, 0}};
    png_color_16 key{};
    key.red = 10, key.gray = 10;
    const struct {
        const char* name;
        std::vector<BYTE> file;
        layer::ImageSourceFormat format;
    } cases[] = {
        {"palette", WritePng(2, 1, 8, PNG_COLOR_TYPE_PALETTE, {{0, 1}}, pal), layer::ImageSourceFormat::Rgb24},
        {"palette, tRNS", WritePng(2, 1, 8, PNG_COLOR_TYPE_PALETTE, {{0, 1}}, pal, {0xFF, 0}),
         layer::ImageSourceFormat::Argb32},
        {"rgb", WritePng(1, 1, 8, PNG_COLOR_TYPE_RGB, {{10, 0, 0}}), layer::ImageSourceFormat::Rgb24},
        {"rgb, tRNS", WritePng(1, 1, 8, PNG_COLOR_TYPE_RGB, {{10, 0, 0}}, {}, {}, &key), layer::ImageSourceFormat::Argb32},
        {"grey, tRNS", WritePng(1, 1, 8, PNG_COLOR_TYPE_GRAY, {{10}}, {}, {}, &key), layer::ImageSourceFormat::Argb32},
    };
    for (const auto& c : cases) {
        layer::DecodedImage img;
        ASSERT_EQ(layer::DecodeImage(c.file.data(), c.file.size(), &img), S_OK) << c.name;
        EXPECT_EQ(img.sourceFormat, c.format) << c.name;
    }
}

TEST(JpegDecode, EncoderRoundTripsFlatBlocksClosely) {
    // Flat 16 x 16 blocks survive a quality-100 JPEG within a few steps per channel, away from
    // the block borders where the smoothed colour subsampling mixes neighbours.
    const UINT w = 32, h = 32;
    const DWORD colours[4] = {0xFFC03020, 0xFF20C030, 0xFF3020C0, 0xFF808080};
    std::vector<DWORD> src(w * h);
    for (UINT y = 0; y < h; ++y)
        for (UINT x = 0; x < w; ++x) src[y * w + x] = colours[(y / 16) * 2 + x / 16];
    std::vector<BYTE> file;
    ASSERT_EQ(layer::EncodeJpeg(w, h, src.data(), 100, &file), S_OK);
    layer::DecodedImage img;
    ASSERT_EQ(layer::DecodeImage(file.data(), file.size(), &img), S_OK);
    EXPECT_EQ(img.kind, ImageFileKind::Jpg);
    EXPECT_EQ(img.sourceFormat, layer::ImageSourceFormat::Rgb24);
    ASSERT_EQ(img.top.width, w);
    ASSERT_EQ(img.top.height, h);
    for (UINT i = 0; i < w * h; ++i) {
        if ((i % w) % 16 < 2 || (i % w) % 16 > 13 || (i / w) % 16 < 2 || (i / w) % 16 > 13) continue;
        DWORD got = img.top.pixels[i], want = src[i];
        EXPECT_EQ(got >> 24, 0xFFu);
        for (int s = 0; s < 24; s += 8)
            EXPECT_NEAR((int)(got >> s & 0xFF), (int)(want >> s & 0xFF), 3) << "pixel " << i << " shift " << s;
    }
}
