// image_malformed_test.cpp -- truncated, oversized and inconsistent picture files of every kind
// fail with D3DXERR_INVALIDDATA and leave the output untouched.
#include <gtest/gtest.h>

#include <cstring>

#include "image_test_files.h"
#include "layer/image_encode.h"
#include "layer/image_formats.h"
#include "wingdi.h"

using namespace image_test;
using namespace layer;

namespace {

// Decoding fails cleanly, and the image given keeps what it held.
::testing::AssertionResult Refused(Decoder decode, const std::vector<BYTE>& file, size_t length) {
    DecodedImage img;
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

void ExpectRefused(const std::vector<Sample>& samples) {
    for (const Sample& s : samples) EXPECT_TRUE(Refused(s.decode, s.file, s.file.size())) << s.name;
}

std::vector<Sample> ValidSamples() {
    const auto px = Pattern(13, 9);
    auto encoded = [&](HRESULT (*encode)(UINT, UINT, const DWORD*, std::vector<BYTE>*)) {
        std::vector<BYTE> f;
        EXPECT_EQ(encode(13, 9, px.data(), &f), S_OK);
        return f;
    };
    std::vector<BYTE> jpeg;
    EncodeJpeg(13, 9, px.data(), 90, &jpeg);
    const Bytes ppm = Bytes().raw("P6 13 9 255\n").zeros(13 * 9 * 3);
    return {{"bmp", DecodeBmp, encoded(EncodeBmp24)},     {"tga", DecodeTga, encoded(EncodeTga32)},
            {"dds", DecodeDds, encoded(EncodeDdsArgb32)}, {"png", DecodePng, encoded(EncodePng)},
            {"jpeg", DecodeJpeg, jpeg},                   {"ppm", DecodePpm, ppm.b}};
}

}  // namespace

TEST(MalformedImages, EveryTruncationOfEveryFormatIsRefused) {
    for (const Sample& s : ValidSamples()) {
        DecodedImage img;
        ASSERT_EQ(s.decode(s.file.data(), s.file.size(), &img), S_OK) << s.name;
        // JPEG and PNG carry an end marker; the others end with their last pixel.
        for (size_t len = 0; len < s.file.size(); ++len) ASSERT_TRUE(Refused(s.decode, s.file, len)) << s.name << " " << len;
    }
}

TEST(MalformedImages, InconsistentBitmapsAreRefused) {
    ExpectRefused({
        {"more palette entries than the bit depth allows", DecodeBmp,
         BmpHeaders(1, 1, 4, BI_RGB, 17, 54 + 68).zeros(68 + 4).b},
        {"a pixel index past the colours used", DecodeBmp,
         BmpHeaders(1, 1, 8, BI_RGB, 2, 54 + 8).u32(0).u32(0).u8(2).zeros(3).b},
        {"a run above the top row", DecodeBmp,
         BmpHeaders(4, 2, 8, BI_RLE8, 1, 54 + 4).u32(0).u8(0).u8(0).u8(0).u8(0).u8(1).u8(0).u8(0).u8(1).b},
        {"an index past the palette in a run dropped past the row's end", DecodeBmp,
         BmpHeaders(2, 1, 8, BI_RLE8, 1, 54 + 4).u32(0).u8(0).u8(4).u8(0).u8(0).u8(0).u8(1).u8(0).u8(1).b},
        {"a delta past the bottom of the picture", DecodeBmp,
         BmpHeaders(4, 2, 8, BI_RLE8, 1, 54 + 4).u32(0).u8(0).u8(2).u8(0).u8(3).u8(0).u8(1).b},
        {"RLE with a top-down height", DecodeBmp,
         BmpHeaders(4, -2, 8, BI_RLE8, 1, 54 + 4).u32(0).u8(0).u8(1).b},
        {"RLE8 at 4 bits", DecodeBmp, BmpHeaders(4, 2, 4, BI_RLE8, 1, 54 + 4).u32(0).u8(0).u8(1).b},
        {"a pixel offset past the end", DecodeBmp,
         BmpHeaders(1, 1, 24, BI_RGB, 0, 0xFFFFFFF0u).zeros(4).b},
        {"a zero width", DecodeBmp, BmpHeaders(0, 1, 24, BI_RGB, 0, 54).zeros(4).b},
        {"bit-field masks that are not contiguous", DecodeBmp,
         BmpHeaders(1, 1, 16, BI_BITFIELDS, 0, 54 + 12).u32(0xF00F).u32(0x0F00).u32(0x00F0).zeros(4).b},
    });
}

TEST(MalformedImages, InconsistentTgaPpmAndDdsAreRefused) {
    // DDS: a good file with fields patched (at 8 its flags, at 28 its mip count).
    auto px = Pattern(4, 4);
    std::vector<BYTE> good;
    EncodeDdsArgb32(4, 4, px.data(), &good);
    DWORD flags;
    std::memcpy(&flags, &good[8], 4);
    const DWORD mips = flags | DDSD_MIPMAPCOUNT;
    auto patch = [&](std::initializer_list<std::pair<size_t, DWORD>> fields) {
        std::vector<BYTE> f = good;
        for (const auto& field : fields) std::memcpy(&f[field.first], &field.second, 4);
        return f;
    };
    // A colour map of two entries from 5.
    auto mapped = [](BYTE index) {
        return Tga(TGA_TYPE_COLORMAPPED, 1, 1, 8, 0, 1, 5, 2, 24).zeros(6).u8(index).b;
    };
    ExpectRefused({
        {"tga colour-map index below the first entry", DecodeTga, mapped(4)},
        {"tga colour-map index past the last", DecodeTga, mapped(7)},
        {"tga RLE packet longer than the picture", DecodeTga,
         Tga(TGA_TYPE_RLE_TRUECOLOR, 2, 1, 32, 8).u8(0x82).u32(0).b},
        {"tga of an unknown type", DecodeTga, Tga(32, 1, 1, 32, 8).u32(0).b},
        {"tga colour-mapped without a map", DecodeTga,
         Tga(TGA_TYPE_COLORMAPPED, 1, 1, 8).u8(0).b},
        {"ppm sample above maxval", DecodePpm, Bytes().raw("P6 1 1 100\n").u8(101).u8(0).u8(0).b},
        {"ppm maxval 0", DecodePpm, Bytes().raw("P6 1 1 0\n").zeros(6).b},
        {"ppm maxval 65536", DecodePpm, Bytes().raw("P6 1 1 65536\n").zeros(6).b},
        {"ascii ppm", DecodePpm, Bytes().raw("P3 1 1 255\n").zeros(6).b},
        {"dds of more mip levels than the chain has", DecodeDds, patch({{8, mips}, {28, 4}})},
        {"dds of 3 levels with 1 stored", DecodeDds, patch({{8, mips}, {28, 3}})},
        {"dds cube map", DecodeDds, patch({{112, DDSCAPS2_CUBEMAP}})},
        {"dds of an unknown FOURCC", DecodeDds,
         patch({{80, DDPF_FOURCC}, {84, MakeFourCC('A', 'T', 'I', '2')}})},
        {"dds with a wrong header size", DecodeDds, patch({{4, 120}})},
    });
}

TEST(MalformedImages, UnknownBytesAreRefusedByTheDispatcher) {
    Bytes junk;
    junk.raw("GIF89a").zeros(40);
    DecodedImage img;
    EXPECT_EQ(DecodeImage(junk.b.data(), junk.size(), &img), D3DXERR_INVALIDDATA);
    EXPECT_EQ(DecodeImage(junk.b.data(), 0, &img), D3DXERR_INVALIDDATA);
    EXPECT_EQ(DecodeImage(nullptr, 10, &img), E_POINTER);
}
