// image_bmp_test.cpp -- BMP and DIB pictures of every bit depth and layout decode pixel-exact.
#include <gtest/gtest.h>

#include "image_test_files.h"
#include "layer/image_encode.h"
#include "wingdi.h"

using namespace image_test;
using namespace layer;
using Format = ImageSourceFormat;
using Pixels = std::vector<DWORD>;

namespace {

struct BmpCase {
    const char* name;
    std::vector<BYTE> file;
    ImageFileKind kind;
    Format format;
    Pixels pixels;  // top row first
};

void ExpectDecoded(const std::vector<BmpCase>& cases) {
    for (const BmpCase& c : cases) {
        DecodedImage img;
        ASSERT_EQ(DecodeImage(c.file.data(), c.file.size(), &img), S_OK) << c.name;
        EXPECT_EQ(img.kind, c.kind) << c.name;
        EXPECT_EQ(img.sourceFormat, c.format) << c.name;
        EXPECT_EQ(img.top.pixels, c.pixels) << c.name;
    }
}

const DWORD W = 0xFFFFFFFF, K = 0xFF000000, B = 0xFF0000FF, G = 0xFF00FF00, R = 0xFFFF0000;

// Headers with a palette of blue, green and red for the run-length pictures.
Bytes Rle(LONG w, LONG h, WORD bits) {
    Bytes f = BmpHeaders(w, h, bits, bits == 8 ? BI_RLE8 : BI_RLE4, 3, 54 + 12);
    return f.u32(0x0000FF).u32(0x00FF00).u32(0xFF0000);
}

}  // namespace

TEST(BmpDecode, Encoder24BitRoundTripsWithOddWidthPadding) {
    for (UINT w : {1u, 3u, 5u, 8u}) {
        auto src = Pattern(w, 3, false);
        std::vector<BYTE> file;
        ASSERT_EQ(EncodeBmp24(w, 3, src.data(), &file), S_OK);
        EXPECT_EQ(file.size(), 54u + ((w * 3 + 3) & ~3u) * 3);
        DecodedImage img;
        ASSERT_EQ(DecodeImage(file.data(), file.size(), &img), S_OK);
        EXPECT_EQ(img.kind, ImageFileKind::Bmp);
        EXPECT_EQ(img.sourceFormat, Format::Rgb24);
        EXPECT_EQ(img.top.width, w);
        EXPECT_EQ(img.top.height, 3u);
        EXPECT_EQ(img.top.pixels, src) << "width " << w;
    }
}

TEST(BmpDecode, EveryDepthBottomUpAndTopDownWithDefaultAndGivenMasks) {
    // 8 bits with the full palette implied (colours used 0), bottom-up.
    Bytes eight = BmpHeaders(2, 2, 8, BI_RGB, 0, 54 + 1024);
    for (int i = 0; i < 256; ++i) eight.u32((DWORD)(i << 16 | (255 - i)));
    eight.u8(200).u8(3).u16(0).u8(0).u8(255).u16(0);  // bottom row, then top
    // 32 bits with an alpha mask in a 56-byte header; the masks of a 124-byte header count only
    // with BI_BITFIELDS.
    Bytes a, v5;
    a.u16(0x4D42).u32(0).u32(0).u32(14 + 56).u32(56).u32(2).u32(1).u16(1).u16(32).u32(BI_BITFIELDS).zeros(20);
    a.u32(0x00FF0000).u32(0x0000FF00).u32(0x000000FF).u32(0xFF000000).u32(0x80123456).u32(0x00ABCDEF);
    v5.u16(0x4D42).u32(0).u32(0).u32(14 + 124).u32(124).u32(2).u32(1).u16(1).u16(32).u32(BI_RGB).zeros(20);
    v5.u32(0x00FF0000).u32(0x0000FF00).u32(0x000000FF).u32(0xFF000000).zeros(124 - 56);
    v5.u32(0x00123456).u32(0x80ABCDEF);
    const auto bmp = ImageFileKind::Bmp;
    const auto rgb = Format::Rgb24;
    ExpectDecoded({
        // 1 bit: rows 1010101010 / 0000011111 (top first), stored bottom-up.
        {"1 bit", BmpHeaders(10, 2, 1, BI_RGB, 2, 54 + 8).u32(0).u32(0xFFFFFF).u8(0x07).u8(0xC0).u16(0)
                      .u8(0xAA).u8(0x80).u16(0).b,
         bmp, rgb, {W, K, W, K, W, K, W, K, W, K, K, K, K, K, K, W, W, W, W, W}},
        // 4 bits, top-down (negative height), 3 colours used: rows 0 1 2 / 2 2 1.
        {"4 bits", BmpHeaders(3, -2, 4, BI_RGB, 3, 54 + 12).u32(0x112233).u32(0x445566).u32(0x778899)
                       .u8(0x01).u8(0x20).u16(0).u8(0x22).u8(0x10).u16(0).b,
         bmp, rgb, {0xFF112233, 0xFF445566, 0xFF778899, 0xFF778899, 0xFF778899, 0xFF445566}},
        {"8 bits", eight.b, bmp, rgb, {0xFF0000FF, 0xFFFF0000, 0xFFC80037, 0xFF0300FC}},
        {"16-bit BI_RGB is x1r5g5b5",
         BmpHeaders(4, 1, 16, BI_RGB, 0, 54).u16(0x7C00).u16(0x03E0).u16(0x001F).u16(0x4210).b, bmp,
         Format::Xrgb1555, {R, G, B, 0xFF848484}},
        // The masks follow the 40-byte header.
        {"16-bit bit fields r5g6b5",
         BmpHeaders(2, 1, 16, BI_BITFIELDS, 0, 54 + 12).u32(0xF800).u32(0x07E0).u32(0x001F).u16(0x07E0)
             .u16(0xFFFF).b,
         bmp, Format::Rgb565, {G, W}},
        {"32-bit BI_RGB ignores the fourth byte",
         BmpHeaders(2, 1, 32, BI_RGB, 0, 54).u32(0x00123456).u32(0x80ABCDEF).b, bmp, rgb,
         {0xFF123456, 0xFFABCDEF}},
        {"32 bits with an alpha mask", a.b, bmp, Format::Argb32, {0x80123456, 0x00ABCDEF}},
        {"124-byte header, BI_RGB", v5.b, bmp, rgb, {0xFF123456, 0xFFABCDEF}},
        // A packed DIB: info header, palette and bits with no file header.
        {"packed DIB", Bytes().u32(40).u32(2).u32(1).u16(1).u16(8).u32(BI_RGB).zeros(12).u32(2).u32(0)
                           .u32(0x102030).u32(0x405060).u8(1).u8(0).u16(0).b,
         ImageFileKind::Dib, rgb, {0xFF405060, 0xFF102030}},
        // The old 12-byte core header with a three-byte palette.
        {"core header", Bytes().u16(0x4D42).u32(0).u32(0).u32(14 + 12 + 6).u32(12).u16(2).u16(1).u16(1).u16(1)
                            .u8(0x30).u8(0x20).u8(0x10).u8(0x60).u8(0x50).u8(0x40).u8(0x40).u8(0).u16(0).b,
         bmp, rgb, {0xFF102030, 0xFF405060}},
    });
}

TEST(BmpDecode, RunLengthEightAndFourWithDeltaAndAbsoluteRuns) {
    // As common tools write them: every row coded to its padded width (8 pixels for 5 at 8 bits,
    // 8 for 3 at 4 bits), then an end of line. The pixels past the row's end are dropped.
    const auto bmp = ImageFileKind::Bmp;
    const auto rgb = Format::Rgb24;
    ExpectDecoded({
        // bottom: 1 1 1 1 2 | 2 2 2; top: 0 2 0 2 1 | 1 1 1
        {"padded rle8", Rle(5, 2, 8).u8(4).u8(1).u8(4).u8(2).u8(0).u8(0).u8(0).u8(8).u8(0).u8(2).u8(0).u8(2)
                            .u8(1).u8(1).u8(1).u8(1).u8(0).u8(0).u8(0).u8(1).b,
         bmp, rgb, {B, R, B, R, G, G, G, G, G, R}},
        {"padded rle4", Rle(3, 1, 4).u8(0).u8(8).u8(0x21).u8(0x02).u8(0x22).u8(0x22).u8(0).u8(0)
                            .u8(0).u8(1).b,
         bmp, rgb, {R, G, B}},
        // bottom: 1 1 1 2, end of line; delta right 1, up 1 (the middle row skipped from x = 1); the
        // top row from x = 1: absolute 2 0 1, padded; end of picture.
        {"rle8 with a delta", Rle(4, 3, 8).u8(3).u8(1).u8(1).u8(2).u8(0).u8(0).u8(0).u8(2).u8(1).u8(1)
                                  .u8(0).u8(3).u8(2).u8(0).u8(1).u8(0).u8(0).u8(1).b,
         bmp, rgb, {K, R, B, G, K, K, K, K, G, G, G, R}},
        // RLE4, 6 x 1: a run of 3 alternating 1, 2, then an absolute run of 3 (0, 1, 2) in two bytes.
        {"rle4", Rle(6, 1, 4).u8(3).u8(0x12).u8(0).u8(3).u8(0x01).u8(0x20).u8(0).u8(1).b, bmp, rgb,
         {G, R, G, B, G, R}},
    });
    // A run above the top row is past the picture: the file is refused.
    HRESULT hr;
    EXPECT_TRUE(DecodeTop(bmp, Rle(4, 1, 8).u8(4).u8(1).u8(0).u8(0).u8(1).u8(1).u8(0).u8(1).b, &hr).empty());
    EXPECT_EQ(hr, D3DXERR_INVALIDDATA);
}
