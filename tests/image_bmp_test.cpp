// image_bmp_test.cpp -- BMP and DIB pictures of every bit depth and layout decode pixel-exact.
#include <gtest/gtest.h>

#include "image_test_files.h"
#include "layer/image_encode.h"
#include "wingdi.h"

using namespace image_test;
using layer::ImageFileKind;

TEST(BmpDecode, Encoder24BitRoundTripsWithOddWidthPadding) {
    for (UINT w : {1u, 3u, 5u, 8u}) {
        auto src = Pattern(w, 3, false);
        std::vector<BYTE> file;
        ASSERT_EQ(layer::EncodeBmp24(w, 3, src.data(), &file), S_OK);
        EXPECT_EQ(file.size(), 54u + ((w * 3 + 3) & ~3u) * 3);
        layer::DecodedImage img;
        ASSERT_EQ(layer::DecodeImage(file.data(), file.size(), &img), S_OK);
        EXPECT_EQ(img.kind, ImageFileKind::Bmp);
        EXPECT_EQ(img.sourceFormat, layer::ImageSourceFormat::Rgb24);
        EXPECT_EQ(img.top.width, w);
        EXPECT_EQ(img.top.height, 3u);
        EXPECT_EQ(img.top.pixels, src) << "width " << w;
    }
}

TEST(BmpDecode, PalettedDepthsBottomUpAndTopDown) {
    // 1 bit: 10 x 2, rows 1010101010 / 0000011111 (top first).
    Bytes one = BmpHeaders(10, 2, 1, BI_RGB, 2, 54 + 8);
    one.u32(0x00000000).u32(0x00FFFFFF);
    one.u8(0x07).u8(0xC0).u16(0);  // bottom row: 00000 11111
    one.u8(0xAA).u8(0x80).u16(0);  // top row:    10101 01010
    auto p = DecodeTop(ImageFileKind::Bmp, one.b);
    ASSERT_EQ(p.size(), 20u);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(p[x], (x % 2 == 0) ? 0xFFFFFFFFu : 0xFF000000u) << x;
        EXPECT_EQ(p[10 + x], x >= 5 ? 0xFFFFFFFFu : 0xFF000000u) << x;
    }

    // 4 bits, top-down (negative height), 3 colours used.
    Bytes four = BmpHeaders(3, -2, 4, BI_RGB, 3, 54 + 12);
    four.u32(0x00112233).u32(0x00445566).u32(0x00778899);
    four.u8(0x01).u8(0x20).u16(0);  // top row: 0 1 2
    four.u8(0x22).u8(0x10).u16(0);  // next:    2 2 1
    p = DecodeTop(ImageFileKind::Bmp, four.b);
    ASSERT_EQ(p.size(), 6u);
    EXPECT_EQ(p, (std::vector<DWORD>{0xFF112233, 0xFF445566, 0xFF778899, 0xFF778899, 0xFF778899, 0xFF445566}));

    // 8 bits with the full palette implied (colours used 0), bottom-up.
    Bytes eight = BmpHeaders(2, 2, 8, BI_RGB, 0, 54 + 1024);
    for (int i = 0; i < 256; ++i) eight.u32((DWORD)(i << 16 | (255 - i)));
    eight.u8(200).u8(3).u16(0);  // bottom
    eight.u8(0).u8(255).u16(0);  // top
    p = DecodeTop(ImageFileKind::Bmp, eight.b);
    EXPECT_EQ(p, (std::vector<DWORD>{0xFF0000FF, 0xFFFF0000, 0xFFC80037, 0xFF0300FC}));
}

TEST(BmpDecode, SixteenAndThirtyTwoBitsWithDefaultAndGivenMasks) {
    // 16-bit BI_RGB is x1r5g5b5.
    Bytes s = BmpHeaders(4, 1, 16, BI_RGB, 0, 54);
    s.u16(0x7C00).u16(0x03E0).u16(0x001F).u16(0x4210);
    auto p = DecodeTop(ImageFileKind::Bmp, s.b);
    EXPECT_EQ(p, (std::vector<DWORD>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF848484}));

    // 16-bit bit fields r5g6b5: the masks follow the 40-byte header.
    Bytes f = BmpHeaders(2, 1, 16, BI_BITFIELDS, 0, 54 + 12);
    f.u32(0xF800).u32(0x07E0).u32(0x001F);
    f.u16(0x07E0).u16(0xFFFF);
    layer::DecodedImage img;
    ASSERT_EQ(layer::DecodeImage(f.b.data(), f.size(), &img), S_OK);
    EXPECT_EQ(img.sourceFormat, layer::ImageSourceFormat::Rgb565);
    EXPECT_EQ(img.top.pixels, (std::vector<DWORD>{0xFF00FF00, 0xFFFFFFFF}));

    // 32-bit BI_RGB ignores the fourth byte: the picture is opaque.
    Bytes x = BmpHeaders(2, 1, 32, BI_RGB, 0, 54);
    x.u32(0x00123456).u32(0x80ABCDEF);
    p = DecodeTop(ImageFileKind::Bmp, x.b);
    EXPECT_EQ(p, (std::vector<DWORD>{0xFF123456, 0xFFABCDEF}));

    // 32-bit with an alpha mask in a 56-byte header keeps alpha.
    Bytes a;
    a.u16(0x4D42).u32(0).u32(0).u32(14 + 56);
    a.u32(56).u32(2).u32(1).u16(1).u16(32).u32(BI_BITFIELDS).zeros(20);
    a.u32(0x00FF0000).u32(0x0000FF00).u32(0x000000FF).u32(0xFF000000);
    a.u32(0x80123456).u32(0x00ABCDEF);
    ASSERT_EQ(layer::DecodeImage(a.b.data(), a.size(), &img), S_OK);
    EXPECT_EQ(img.sourceFormat, layer::ImageSourceFormat::Argb32);
    EXPECT_EQ(img.top.pixels, (std::vector<DWORD>{0x80123456, 0x00ABCDEF}));

    // The masks of a 124-byte header count only with BI_BITFIELDS: a BI_RGB picture stays opaque.
    Bytes v5;
    v5.u16(0x4D42).u32(0).u32(0).u32(14 + 124);
    v5.u32(124).u32(2).u32(1).u16(1).u16(32).u32(BI_RGB).zeros(20);
    v5.u32(0x00FF0000).u32(0x0000FF00).u32(0x000000FF).u32(0xFF000000).zeros(124 - 56);
    v5.u32(0x00123456).u32(0x80ABCDEF);
    ASSERT_EQ(layer::DecodeImage(v5.b.data(), v5.size(), &img), S_OK);
    EXPECT_EQ(img.sourceFormat, layer::ImageSourceFormat::Rgb24);
    EXPECT_EQ(img.top.pixels, (std::vector<DWORD>{0xFF123456, 0xFFABCDEF}));
}

TEST(BmpDecode, RunLengthEightAndFourWithDeltaAndAbsoluteRuns) {
    // As common tools write them: every row coded to its padded width (8 pixels for 5 at 8 bits,
    // 8 for 3 at 4 bits), then an end of line. The pixels past the row's end are dropped.
    const DWORD B = 0xFF0000FF, G = 0xFF00FF00, R = 0xFFFF0000, K = 0xFF000000;
    Bytes padded = BmpHeaders(5, 2, 8, BI_RLE8, 3, 54 + 12);
    padded.u32(0x000000FF).u32(0x0000FF00).u32(0x00FF0000);
    padded.u8(4).u8(1).u8(4).u8(2).u8(0).u8(0);                         // bottom: 1 1 1 1 2 | 2 2 2
    padded.u8(0).u8(8).u8(0).u8(2).u8(0).u8(2).u8(1).u8(1).u8(1).u8(1);  // top: 0 2 0 2 1 | 1 1 1
    padded.u8(0).u8(0).u8(0).u8(1);
    EXPECT_EQ(DecodeTop(ImageFileKind::Bmp, padded.b), (std::vector<DWORD>{B, R, B, R, G, G, G, G, G, R}));
    Bytes padded4 = BmpHeaders(3, 1, 4, BI_RLE4, 3, 54 + 12);
    padded4.u32(0x000000FF).u32(0x0000FF00).u32(0x00FF0000);
    padded4.u8(0).u8(8).u8(0x21).u8(0x02).u8(0x22).u8(0x22).u8(0).u8(0).u8(0).u8(1);
    EXPECT_EQ(DecodeTop(ImageFileKind::Bmp, padded4.b), (std::vector<DWORD>{R, G, B}));

    // A run above the top row is past the picture: the file is refused.
    Bytes r = BmpHeaders(4, 1, 8, BI_RLE8, 3, 54 + 12);
    r.u32(0x000000FF).u32(0x0000FF00).u32(0x00FF0000);
    r.u8(4).u8(1).u8(0).u8(0).u8(1).u8(1).u8(0).u8(1);
    HRESULT hr;
    EXPECT_TRUE(DecodeTop(ImageFileKind::Bmp, r.b, &hr).empty());
    EXPECT_EQ(hr, D3DXERR_INVALIDDATA);

    Bytes ok = BmpHeaders(4, 3, 8, BI_RLE8, 3, 54 + 12);
    ok.u32(0x000000FF).u32(0x0000FF00).u32(0x00FF0000);
    ok.u8(3).u8(1).u8(1).u8(2);                 // bottom: 1 1 1 2
    ok.u8(0).u8(0);                             // end of line
    ok.u8(0).u8(2).u8(1).u8(1);                 // delta: right 1, up 1 (middle row skipped from x = 1)
    ok.u8(0).u8(3).u8(2).u8(0).u8(1).u8(0);     // top row from x = 1: absolute 2 0 1, padded
    ok.u8(0).u8(1);                             // end of picture
    auto p = DecodeTop(ImageFileKind::Bmp, ok.b);
    EXPECT_EQ(p, (std::vector<DWORD>{K, R, B, G, K, K, K, K, G, G, G, R}));

    // RLE4, 6 x 1: a run of 3 alternating 1, 2, then an absolute run of 3 (0, 1, 2).
    Bytes f = BmpHeaders(6, 1, 4, BI_RLE4, 3, 54 + 12);
    f.u32(0x000000FF).u32(0x0000FF00).u32(0x00FF0000);
    f.u8(3).u8(0x12);
    f.u8(0).u8(3).u8(0x01).u8(0x20);  // 3 nibbles in two bytes, already a word
    f.u8(0).u8(1);
    p = DecodeTop(ImageFileKind::Bmp, f.b);
    EXPECT_EQ(p, (std::vector<DWORD>{G, R, G, B, G, R}));
}

TEST(BmpDecode, PackedDibAndCoreHeader) {
    // A packed DIB: info header, palette and bits with no file header.
    Bytes d;
    d.u32(40).u32(2).u32(1).u16(1).u16(8).u32(BI_RGB).u32(0).u32(0).u32(0).u32(2).u32(0);
    d.u32(0x00102030).u32(0x00405060);
    d.u8(1).u8(0).u16(0);
    layer::DecodedImage img;
    ASSERT_EQ(layer::DecodeImage(d.b.data(), d.size(), &img), S_OK);
    EXPECT_EQ(img.kind, ImageFileKind::Dib);
    EXPECT_EQ(img.top.pixels, (std::vector<DWORD>{0xFF405060, 0xFF102030}));

    // The old 12-byte core header with a three-byte palette.
    Bytes c;
    c.u16(0x4D42).u32(0).u32(0).u32(14 + 12 + 6);
    c.u32(12).u16(2).u16(1).u16(1).u16(1);
    c.u8(0x30).u8(0x20).u8(0x10).u8(0x60).u8(0x50).u8(0x40);
    c.u8(0x40).u8(0).u16(0);
    auto p = DecodeTop(ImageFileKind::Bmp, c.b);
    EXPECT_EQ(p, (std::vector<DWORD>{0xFF102030, 0xFF405060}));
}
