// image_tga_ppm_test.cpp -- TGA variants (origins, depths, colour maps, run-length packets) and
// binary PPM decode pixel-exact.
#include <gtest/gtest.h>

#include "image_test_files.h"
#include "layer/image_encode.h"
#include "layer/image_formats.h"

using namespace image_test;
using namespace layer;

TEST(TgaDecode, Encoder32BitRoundTripsWithAlpha) {
    auto src = Pattern(7, 5);
    std::vector<BYTE> file;
    ASSERT_EQ(EncodeTga32(7, 5, src.data(), &file), S_OK);
    ASSERT_EQ(file.size(), 18u + 7 * 5 * 4);
    DecodedImage img;
    ASSERT_EQ(DecodeImage(file.data(), file.size(), &img), S_OK);
    EXPECT_EQ(img.kind, ImageFileKind::Tga);
    EXPECT_EQ(img.sourceFormat, ImageSourceFormat::Argb32);
    EXPECT_EQ(img.top.pixels, src);
}

TEST(TgaDecode, OriginsFlipRowsAndColumns) {
    // The same stored values A B / C D under the four origins.
    const DWORD A = 0x11223344, B = 0x55667788, C = 0x99AABBCC, D = 0xDDEEFF00;
    struct Case {
        BYTE descriptor;
        std::vector<DWORD> expect;
    } cases[] = {
        {0x08, {C, D, A, B}},        // bottom-left: first stored row is the bottom
        {0x28, {A, B, C, D}},        // top-left
        {0x18, {D, C, B, A}},        // bottom-right
        {0x38, {B, A, D, C}},        // top-right
    };
    for (const Case& c : cases) {
        Bytes t = Tga(TGA_TYPE_TRUECOLOR, 2, 2, 32, c.descriptor);
        t.u32(A).u32(B).u32(C).u32(D);
        EXPECT_EQ(DecodeTop(ImageFileKind::Tga, t.b), c.expect) << int(c.descriptor);
    }
    // A header as tools write it: 320 x 240 at 32 bits with 8 alpha bits, from the top left.
    const BYTE header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0x01, 0xF0, 0x00, 32, 0x28};
    Bytes big{std::vector<BYTE>(header, header + 18)};
    big.u32(A).zeros(320 * 240 * 4 - 8).u32(D);
    DecodedImage img;
    ASSERT_EQ(DecodeImage(big.b.data(), big.size(), &img), S_OK);
    EXPECT_EQ(img.top.width, 320u);
    EXPECT_EQ(img.top.height, 240u);
    EXPECT_EQ(img.top.pixels.front(), A);
    EXPECT_EQ(img.top.pixels.back(), D);
}

// Each file's pixels, top row first.
void ExpectPixels(ImageFileKind kind, const std::vector<std::pair<Bytes, std::vector<DWORD>>>& files) {
    for (const auto& f : files) EXPECT_EQ(DecodeTop(kind, f.first.b), f.second) << f.first.size() << " bytes";
}

TEST(TgaDecode, DepthsColourMapsAndRunLengthPacketsThatCrossRows) {
    const BYTE truecolour = TGA_TYPE_TRUECOLOR, mapped = TGA_TYPE_COLORMAPPED;
    const DWORD B = 0xFF0000FF, G = 0xFF00FF00, R = 0xFFFF0000;
    ExpectPixels(ImageFileKind::Tga, {
        {Tga(truecolour, 2, 1, 24, 0x20, 0, 0, 0, 0, 3).raw("id!").u8(0x30).u8(0x20).u8(0x10).u8(0xFF)
             .u8(0).u8(0x80), {0xFF102030, 0xFF8000FF}},
        // 16 bits: with one attribute bit the top bit is alpha, without it the picture is opaque.
        {Tga(truecolour, 2, 1, 16, 0x21).u16(0x7C00).u16(0x83E0), {0x00FF0000, G}},
        {Tga(truecolour, 2, 1, 16, 0x20).u16(0x7C00).u16(0x001F), {R, B}},
        {Tga(TGA_TYPE_GRAY, 3, 1, 8, 0x20).u8(0).u8(0x80).u8(0xFF),
         {0xFF000000, 0xFF808080, 0xFFFFFFFF}},
        // A colour map of 24-bit entries numbered from 10: stored indices 10..12.
        {Tga(mapped, 3, 1, 8, 0x20, 1, 10, 3, 24).u8(0x01).u8(0x02).u8(0x03).u8(0x04).u8(0x05).u8(0x06)
             .u8(0x07).u8(0x08).u8(0x09).u8(12).u8(10).u8(11), {0xFF090807, 0xFF030201, 0xFF060504}},
        // 3 x 2, bottom-up: a run of 4 crosses from the first stored row into the second; then 2 raw.
        {Tga(TGA_TYPE_RLE_TRUECOLOR, 3, 2, 32, 0x08).u8(0x83).u32(B).u8(0x01).u32(G).u32(R),
         {B, G, R, B, B, B}},
        {Tga(TGA_TYPE_RLE_COLORMAPPED, 4, 1, 8, 0x20, 1, 0, 2, 32).u32(0x80FFFFFF).u32(0)
             .u8(0x82).u8(1).u8(0x00).u8(0), {0, 0, 0, 0x80FFFFFF}},
    });
}

TEST(PpmDecode, EightAndSixteenBitSamplesWithComments) {
    Bytes p;
    p.raw("P6\n# made by hand\n2 1\n255\n").u8(1).u8(2).u8(3).u8(250).u8(251).u8(252);
    DecodedImage img;
    ASSERT_EQ(DecodeImage(p.b.data(), p.size(), &img), S_OK);
    EXPECT_EQ(img.kind, ImageFileKind::Ppm);
    EXPECT_EQ(img.top.pixels, (std::vector<DWORD>{0xFF010203, 0xFFFAFBFC}));
    ExpectPixels(ImageFileKind::Ppm, {
        // maxval 65535: two big-endian bytes a sample.
        {Bytes().raw("P6 1 1 65535 ").u8(0xFF).u8(0xFF).u8(0x80).u8(0x00).u8(0x00).u8(0x00), {0xFFFF8000}},
        // maxval 100: samples scaled to 0..255, rounded.
        {Bytes().raw("P6\t1\r\n1#c\n100\n").u8(100).u8(50).u8(1), {0xFFFF8003}},
    });
}
