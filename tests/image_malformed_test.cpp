// image_malformed_test.cpp -- truncated, oversized and inconsistent picture files of every kind
// fail with D3DXERR_INVALIDDATA and leave the output untouched.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "image_test_files.h"
#include "layer/image_encode.h"
#include "layer/image_formats.h"
#include "wingdi.h"

using namespace image_test;

namespace {

using Decoder = HRESULT (*)(const void*, size_t, layer::DecodedImage*);

// Decoding fails cleanly, and the image given keeps what it held.
::testing::AssertionResult Refused(Decoder decode, const std::vector<BYTE>& file, size_t length) {
    layer::DecodedImage img;
    img.top.width = 77;
    // The bytes are copied to a buffer of exactly `length`, so that a read past it is caught.
    std::vector<BYTE> exact(file.begin(), file.begin() + length);
    HRESULT hr = decode(exact.empty() ? nullptr : exact.data(), exact.size(), &img);
    if (exact.empty()) hr = decode(file.data(), 0, &img);
    if (hr != D3DXERR_INVALIDDATA) return ::testing::AssertionFailure() << "result " << std::hex << hr;
    if (img.top.width != 77) return ::testing::AssertionFailure() << "output changed";
    return ::testing::AssertionSuccess();
}

struct Sample {
    const char* name;
    Decoder decode;
    std::vector<BYTE> file;
};

std::vector<Sample> ValidSamples() {
    auto px = Pattern(13, 9);
    std::vector<Sample> s;
    std::vector<BYTE> f;
    layer::EncodeBmp24(13, 9, px.data(), &f);
    s.push_back({"bmp", layer::DecodeBmp, f});
    layer::EncodeTga32(13, 9, px.data(), &f);
    s.push_back({"tga", layer::DecodeTga, f});
    layer::EncodeDdsArgb32(13, 9, px.data(), &f);
    s.push_back({"dds", layer::DecodeDds, f});
    layer::EncodePng(13, 9, px.data(), &f);
    s.push_back({"png", layer::DecodePng, f});
    layer::EncodeJpeg(13, 9, px.data(), 90, &f);
    s.push_back({"jpeg", layer::DecodeJpeg, f});
    Bytes ppm;
    ppm.raw("P6 13 9 255\n").zeros(13 * 9 * 3);
    s.push_back({"ppm", layer::DecodePpm, ppm.b});
    return s;
}

}  // namespace

TEST(MalformedImages, EveryTruncationOfEveryFormatIsRefused) {
    for (const Sample& s : ValidSamples()) {
        layer::DecodedImage img;
        ASSERT_EQ(s.decode(s.file.data(), s.file.size(), &img), S_OK) << s.name;
        // JPEG and PNG carry an end marker; the others end with their last pixel.
        for (size_t len = 0; len < s.file.size(); ++len) ASSERT_TRUE(Refused(s.decode, s.file, len)) << s.name << " " << len;
    }
}

TEST(MalformedImages, OversizedDimensionsAreRefusedBeforeAllocating) {
    Bytes bmp = BmpHeaders(100000, 100000, 24, BI_RGB, 0, 54);
    bmp.zeros(16);
    EXPECT_TRUE(Refused(layer::DecodeBmp, bmp.b, bmp.size()));
    Bytes negative = BmpHeaders(4, (LONG)0x80000000, 24, BI_RGB, 0, 54);
    negative.zeros(64);
    EXPECT_TRUE(Refused(layer::DecodeBmp, negative.b, negative.size()));

    // A 65535 x 65535 RLE TGA would fit in a few bytes of packets.
    Bytes tga;
    tga.u8(0).u8(0).u8(layer::TGA_TYPE_RLE_TRUECOLOR).zeros(9).u16(65535).u16(65535).u8(32).u8(8);
    tga.u8(0xFF).u32(0);
    EXPECT_TRUE(Refused(layer::DecodeTga, tga.b, tga.size()));

    Bytes ppm;
    ppm.raw("P6 4294967295 1 255\n").zeros(8);
    EXPECT_TRUE(Refused(layer::DecodePpm, ppm.b, ppm.size()));
    Bytes ppmOverflow;
    ppmOverflow.raw("P6 99999999999 1 255\n").zeros(8);
    EXPECT_TRUE(Refused(layer::DecodePpm, ppmOverflow.b, ppmOverflow.size()));

    auto px = Pattern(8, 8);
    std::vector<BYTE> dds;
    layer::EncodeDdsArgb32(8, 8, px.data(), &dds);
    std::memcpy(&dds[12], "\xFF\xFF\x00\x00", 4);  // height 65535
    EXPECT_TRUE(Refused(layer::DecodeDds, dds, dds.size()));

    // JPEG: patch the frame header's width to 9000 (past the side limit).
    std::vector<BYTE> jpeg;
    layer::EncodeJpeg(8, 8, px.data(), 90, &jpeg);
    for (size_t i = 0; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 7] = 9000 >> 8;
            jpeg[i + 8] = 9000 & 0xFF;
            break;
        }
    EXPECT_TRUE(Refused(layer::DecodeJpeg, jpeg, jpeg.size()));
}

TEST(MalformedImages, InconsistentBitmapsAreRefused) {
    // More palette entries than the bit depth allows.
    Bytes pal = BmpHeaders(1, 1, 4, BI_RGB, 17, 54 + 68);
    pal.zeros(68 + 4);
    EXPECT_TRUE(Refused(layer::DecodeBmp, pal.b, pal.size()));
    // A pixel index past the colours used.
    Bytes idx = BmpHeaders(1, 1, 8, BI_RGB, 2, 54 + 8);
    idx.u32(0).u32(0).u8(2).zeros(3);
    EXPECT_TRUE(Refused(layer::DecodeBmp, idx.b, idx.size()));
    // A run above the top row, an index past the palette in a run that is dropped past the
    // row's end, and a delta past the bottom of the picture.
    Bytes run = BmpHeaders(4, 2, 8, BI_RLE8, 1, 54 + 4);
    run.u32(0).u8(0).u8(0).u8(0).u8(0).u8(1).u8(0).u8(0).u8(1);
    EXPECT_TRUE(Refused(layer::DecodeBmp, run.b, run.size()));
    Bytes dropped = BmpHeaders(2, 1, 8, BI_RLE8, 1, 54 + 4);
    dropped.u32(0).u8(0).u8(4).u8(0).u8(0).u8(0).u8(1).u8(0).u8(1);
    EXPECT_TRUE(Refused(layer::DecodeBmp, dropped.b, dropped.size()));
    Bytes delta = BmpHeaders(4, 2, 8, BI_RLE8, 1, 54 + 4);
    delta.u32(0).u8(0).u8(2).u8(0).u8(3).u8(0).u8(1);
    EXPECT_TRUE(Refused(layer::DecodeBmp, delta.b, delta.size()));
    // RLE with a top-down height, RLE8 at 4 bits, a pixel offset past the end, a zero width.
    Bytes topDownRle = BmpHeaders(4, -2, 8, BI_RLE8, 1, 54 + 4);
    topDownRle.u32(0).u8(0).u8(1);
    EXPECT_TRUE(Refused(layer::DecodeBmp, topDownRle.b, topDownRle.size()));
    Bytes wrongDepth = BmpHeaders(4, 2, 4, BI_RLE8, 1, 54 + 4);
    wrongDepth.u32(0).u8(0).u8(1);
    EXPECT_TRUE(Refused(layer::DecodeBmp, wrongDepth.b, wrongDepth.size()));
    Bytes offset = BmpHeaders(1, 1, 24, BI_RGB, 0, 0xFFFFFFF0u);
    offset.zeros(4);
    EXPECT_TRUE(Refused(layer::DecodeBmp, offset.b, offset.size()));
    Bytes zero = BmpHeaders(0, 1, 24, BI_RGB, 0, 54);
    zero.zeros(4);
    EXPECT_TRUE(Refused(layer::DecodeBmp, zero.b, zero.size()));
    // Bit-field masks that are not contiguous.
    Bytes masks = BmpHeaders(1, 1, 16, BI_BITFIELDS, 0, 54 + 12);
    masks.u32(0xF00F).u32(0x0F00).u32(0x00F0).zeros(4);
    EXPECT_TRUE(Refused(layer::DecodeBmp, masks.b, masks.size()));
}

TEST(MalformedImages, InconsistentTgaPpmAndDdsAreRefused) {
    // Colour-map index below the first entry and past the last.
    for (BYTE index : {4, 7}) {
        Bytes t;
        t.u8(0).u8(1).u8(layer::TGA_TYPE_COLORMAPPED).u16(5).u16(2).u8(24).zeros(4).u16(1).u16(1).u8(8).u8(0);
        t.zeros(6).u8(index);
        EXPECT_TRUE(Refused(layer::DecodeTga, t.b, t.size())) << int(index);
    }
    // An RLE packet longer than the picture; an unknown type; a colour-mapped file without a map.
    Bytes rle;
    rle.u8(0).u8(0).u8(layer::TGA_TYPE_RLE_TRUECOLOR).zeros(9).u16(2).u16(1).u8(32).u8(8).u8(0x82).u32(0);
    EXPECT_TRUE(Refused(layer::DecodeTga, rle.b, rle.size()));
    Bytes type;
    type.u8(0).u8(0).u8(32).zeros(9).u16(1).u16(1).u8(32).u8(8).u32(0);
    EXPECT_TRUE(Refused(layer::DecodeTga, type.b, type.size()));
    Bytes noMap;
    noMap.u8(0).u8(0).u8(layer::TGA_TYPE_COLORMAPPED).zeros(9).u16(1).u16(1).u8(8).u8(0).u8(0);
    EXPECT_TRUE(Refused(layer::DecodeTga, noMap.b, noMap.size()));

    // PPM: a sample above maxval, maxval 0 and 65536, an ASCII (P3) file.
    Bytes above;
    above.raw("P6 1 1 100\n").u8(101).u8(0).u8(0);
    EXPECT_TRUE(Refused(layer::DecodePpm, above.b, above.size()));
    for (const char* h : {"P6 1 1 0\n", "P6 1 1 65536\n", "P3 1 1 255\n"}) {
        Bytes b;
        b.raw(h).zeros(6);
        EXPECT_TRUE(Refused(layer::DecodePpm, b.b, b.size())) << h;
    }

    // DDS: more mip levels than the chain has, sizes that do not add up, a cube map, an
    // unknown FOURCC, a wrong header size.
    auto px = Pattern(4, 4);
    std::vector<BYTE> good;
    layer::EncodeDdsArgb32(4, 4, px.data(), &good);
    auto patch = [&](size_t at, DWORD v, DWORD flagsOr = 0) {
        std::vector<BYTE> f = good;
        std::memcpy(&f[at], &v, 4);
        if (flagsOr) {
            DWORD flags;
            std::memcpy(&flags, &f[8], 4);
            flags |= flagsOr;
            std::memcpy(&f[8], &flags, 4);
        }
        return f;
    };
    auto tooMany = patch(28, 4, layer::DDSD_MIPMAPCOUNT);  // 4 x 4 has 3 levels
    EXPECT_TRUE(Refused(layer::DecodeDds, tooMany, tooMany.size()));
    auto unstored = patch(28, 3, layer::DDSD_MIPMAPCOUNT);  // 3 levels claimed, 1 stored
    EXPECT_TRUE(Refused(layer::DecodeDds, unstored, unstored.size()));
    auto cube = patch(112, layer::DDSCAPS2_CUBEMAP);
    EXPECT_TRUE(Refused(layer::DecodeDds, cube, cube.size()));
    auto fourcc = patch(80, layer::DDPF_FOURCC);
    fourcc = [&] {
        auto f = fourcc;
        DWORD cc = layer::MakeFourCC('A', 'T', 'I', '2');
        std::memcpy(&f[84], &cc, 4);
        return f;
    }();
    EXPECT_TRUE(Refused(layer::DecodeDds, fourcc, fourcc.size()));
    auto headerSize = patch(4, 120);
    EXPECT_TRUE(Refused(layer::DecodeDds, headerSize, headerSize.size()));
}

TEST(MalformedImages, UnknownBytesAreRefusedByTheDispatcher) {
    Bytes junk;
    junk.raw("GIF89a").zeros(40);
    layer::DecodedImage img;
    EXPECT_EQ(layer::DecodeImage(junk.b.data(), junk.size(), &img), D3DXERR_INVALIDDATA);
    EXPECT_EQ(layer::DecodeImage(junk.b.data(), 0, &img), D3DXERR_INVALIDDATA);
    EXPECT_EQ(layer::DecodeImage(nullptr, 10, &img), E_POINTER);
}
