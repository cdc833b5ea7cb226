// image_claims_test.cpp -- a picture is allocated only once the data can hold it: small files
// that claim large pictures are refused first, while the most compressed files that do hold
// such pictures still load; PNG's interlaced pictures land in their rows.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <zlib.h>

#include "image_test_files.h"
#include "layer/image_encode.h"
#include "layer/image_formats.h"
#include "png_test_writer.h"
#include "wingdi.h"

using namespace image_test;
using namespace layer;

namespace {

// A PNG with its header's size changed, its check sum made again.
std::vector<BYTE> ResizedPng(std::vector<BYTE> f, UINT w, UINT h) {
    for (int k = 0; k < 4; ++k) f[16 + k] = BYTE(w >> (24 - 8 * k)), f[20 + k] = BYTE(h >> (24 - 8 * k));
    uLong crc = crc32(0, f.data() + 12, 17);
    for (int k = 0; k < 4; ++k) f[29 + k] = BYTE(crc >> (24 - 8 * k));
    return f;
}

// A JPEG with its frame header's size changed.
std::vector<BYTE> ResizedJpeg(std::vector<BYTE> f, UINT w, UINT h) {
    for (size_t i = 0; i + 8 < f.size(); ++i)
        if (f[i] == 0xFF && f[i + 1] == 0xC0) {
            f[i + 5] = BYTE(h >> 8), f[i + 6] = BYTE(h), f[i + 7] = BYTE(w >> 8), f[i + 8] = BYTE(w);
            break;
        }
    return f;
}

// A flat grey JPEG of one component with Huffman tables made for it: two bits a block.
std::vector<BYTE> FlatGreyJpeg(UINT side) {
    return LibjpegFile(side, side, 1, JCS_GRAYSCALE, [](jpeg_compress_struct& c) { c.optimize_coding = TRUE; },
                       [side](UINT, BYTE* row) { std::memset(row, 0x80, side); });
}

}  // namespace

// Small files that claim large pictures, and files that claim pictures past the limits, are refused
// before any picture is allocated, and the image given keeps what it held.
TEST(ImageClaims, LargeClaimsAreRefusedBeforeAllocating) {
    const DWORD one = 0xFF336699u;
    const auto px = Pattern(8, 8);
    std::vector<BYTE> png, jpeg, jpeg8, dds;
    EncodePng(1, 1, &one, &png);
    EncodeJpeg(16, 16, std::vector<DWORD>(256, one).data(), 90, &jpeg);
    EncodeJpeg(8, 8, px.data(), 90, &jpeg8);
    EncodeDdsArgb32(8, 8, px.data(), &dds);
    std::memcpy(&dds[12], "\xFF\xFF\x00\x00", 4);  // height 65535
    const Bytes runs = BmpHeaders(4096, 4096, 8, BI_RLE8, 1, 58).u32(0);
    // 131,072 packets of 128 pixels are the least that codes 4096 x 4096; 40 are given.
    Bytes tgaRle = Tga(TGA_TYPE_RLE_TRUECOLOR, 4096, 4096, 32, 8);
    for (int i = 0; i < 40; ++i) tgaRle.u8(0xFF).u32(0xFF112233);
    const struct {
        const char* name;
        Decoder decode;
        std::vector<BYTE> file;
    } claims[] = {
        {"bmp", DecodeBmp, BmpHeaders(4096, 4096, 24, BI_RGB, 0, 54).zeros(200).b},
        // Runs that stop short of an end of picture, and ones with an index past the palette.
        {"bmp rle8", DecodeBmp, Bytes(runs).u8(255).u8(0).u8(255).u8(0).u8(0).u8(0).b},
        {"bmp rle8 index past the palette", DecodeBmp,
         Bytes(runs).u8(0).u8(2).u8(255).u8(255).u8(1).u8(5).u8(0).u8(1).b},
        {"tga", DecodeTga, Tga(TGA_TYPE_TRUECOLOR, 4096, 4096, 32, 8).zeros(200).b},
        {"tga rle", DecodeTga, tgaRle.b},
        {"ppm", DecodePpm, Bytes().raw("P6 4096 4096 255\n").zeros(200).b},
        {"png", DecodePng, ResizedPng(png, 4096, 4096)},
        {"png, one row too wide to fit", DecodePng, ResizedPng(png, 4096, 32)},
        {"jpeg", DecodeJpeg, ResizedJpeg(jpeg, 4096, 4096)},
        // Past the limits: 65535 x 65535 would fit in a few bytes of TGA packets; 9000 is past the side.
        {"bmp 100000 square", DecodeBmp, BmpHeaders(100000, 100000, 24, BI_RGB, 0, 54).zeros(16).b},
        {"bmp of negative height", DecodeBmp,
         BmpHeaders(4, (LONG)0x80000000, 24, BI_RGB, 0, 54).zeros(64).b},
        {"tga rle 65535 square", DecodeTga,
         Tga(TGA_TYPE_RLE_TRUECOLOR, 65535, 65535, 32, 8).u8(0xFF).u32(0).b},
        {"ppm 4294967295 wide", DecodePpm, Bytes().raw("P6 4294967295 1 255\n").zeros(8).b},
        {"ppm past 32 bits", DecodePpm, Bytes().raw("P6 99999999999 1 255\n").zeros(8).b},
        {"ppm 2^32 + 1 wide, not 1", DecodePpm, Bytes().raw("P6 4294967297 1 255\n").zeros(8).b},
        {"dds 65535 high", DecodeDds, dds},
        {"jpeg 9000 wide", DecodeJpeg, ResizedJpeg(jpeg8, 9000, 8)},
    };
    for (const auto& c : claims) {
        const uint64_t before = DecodedPixelsAllocated();
        DecodedImage img;
        img.top.width = 77;
        EXPECT_EQ(c.decode(c.file.data(), c.file.size(), &img), D3DXERR_INVALIDDATA) << c.name;
        EXPECT_EQ(DecodedPixelsAllocated(), before) << c.name;
        EXPECT_EQ(img.top.width, 77u) << c.name;
    }
}

TEST(ImageClaims, TheMostCompressedFilesThatHoldTheirPicturesLoad) {
    // 8,192 packets of 128 pixels of one colour.
    Bytes tgaRle = Tga(TGA_TYPE_RLE_TRUECOLOR, 1024, 1024, 32, 8);
    for (int i = 0; i < 8192; ++i) tgaRle.u8(0xFF).u32(0xFF112233);
    // Flat pictures at the highest compression, packed and interlaced.
    const std::vector<std::vector<BYTE>> blackRows(1024, std::vector<BYTE>(1024 * 4, 0));
    const auto png = WritePng(1024, 1024, 8, PNG_COLOR_TYPE_RGB_ALPHA, blackRows, {}, {}, nullptr, PNG_INTERLACE_NONE, 9);
    const std::vector<std::vector<BYTE>> bitRows(2048, std::vector<BYTE>(256, 0xFF));
    const auto bits = WritePng(2048, 2048, 1, PNG_COLOR_TYPE_GRAY, bitRows, {}, {}, nullptr, PNG_INTERLACE_ADAM7, 9);
    std::vector<BYTE> jpeg;
    EncodeJpeg(2048, 2048, std::vector<DWORD>(2048 * 2048, 0xFF808080u).data(), 10, &jpeg);
    const auto greyJpeg = FlatGreyJpeg(2048);  // 65,536 blocks in some 16 KB
    const struct {
        const char* name;
        std::vector<BYTE> file;
        UINT side;
        DWORD pixel;
    } files[] = {
        // An end of picture at once codes an all-black picture.
        {"bmp rle8", BmpHeaders(1024, 1024, 8, BI_RLE8, 1, 58).u32(0xFFFFFF).u8(0).u8(1).b, 1024, 0xFF000000},
        {"bmp rle8 at the side limit", BmpHeaders(8192, 1, 8, BI_RLE8, 1, 58).u32(0).u8(0).u8(1).b, 8192,
         0xFF000000},
        {"tga rle", tgaRle.b, 1024, 0xFF112233},
        {"png", png, 1024, 0x00000000},
        {"png 1-bit interlaced", bits, 2048, 0xFFFFFFFF},
        {"jpeg", jpeg, 2048, 0xFF808080},
        {"grey jpeg with its own tables", greyJpeg, 2048, 0xFF808080},
    };
    for (const auto& f : files) {
        DecodedImage img;
        ASSERT_EQ(DecodeImage(f.file.data(), f.file.size(), &img), S_OK) << f.name << ", " << f.file.size();
        EXPECT_EQ(img.top.width, f.side) << f.name;
        EXPECT_EQ(img.top.pixels[img.top.pixels.size() / 2 + 7], f.pixel) << f.name;
    }
}

TEST(ImageClaims, InterlacedPngsDecodeAsTheirPlainTwins) {
    // 13 x 11 has rows and columns in every pass, and some passes empty at the edges.
    const UINT w = 13, h = 11;
    std::vector<std::vector<BYTE>> rgba(h), indices(h);
    for (UINT y = 0; y < h; ++y)
        for (UINT x = 0; x < w; ++x) {
            for (int c = 0; c < 4; ++c) rgba[y].push_back(BYTE(x * 19 + y * 7 + c * 50));
            indices[y].push_back(BYTE((x + 2 * y) % 3));
        }
    const std::vector<png_color> pal = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    for (bool paletted : {false, true}) {
        const int type = paletted ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB_ALPHA;
        const auto& rows = paletted ? indices : rgba;
        const std::vector<png_color> palette = paletted ? pal : std::vector<png_color>{};
        const auto plain = WritePng(w, h, 8, type, rows, palette);
        const auto laced = WritePng(w, h, 8, type, rows, palette, {}, nullptr, PNG_INTERLACE_ADAM7);
        const auto expected = DecodeTop(ImageFileKind::Png, plain);
        ASSERT_EQ(expected.size(), (size_t)w * h) << paletted;
        EXPECT_EQ(DecodeTop(ImageFileKind::Png, laced), expected) << paletted;
        EXPECT_EQ(expected[w + 1], paletted ? 0xFFFF0000u : 0xB01A4C7Eu);
    }
    // An index past the palette in the last pass is found too.
    indices[h - 1][w - 2] = 3;
    const auto outside = WritePng(w, h, 8, PNG_COLOR_TYPE_PALETTE, indices, pal, {}, nullptr, PNG_INTERLACE_ADAM7);
    HRESULT hr = S_OK;
    EXPECT_TRUE(DecodeTop(ImageFileKind::Png, outside, &hr).empty());
    EXPECT_EQ(hr, D3DXERR_INVALIDDATA);
}
