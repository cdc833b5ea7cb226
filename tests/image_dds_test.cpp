// image_dds_test.cpp -- DDS surfaces: uncompressed formats, stored mip levels and the three
// DXT block formats decode pixel-exact.
#include <gtest/gtest.h>

#include <cstring>

#include "image_test_files.h"
#include "layer/image_encode.h"
#include "layer/image_formats.h"

using namespace image_test;
using namespace layer;
using Format = ImageSourceFormat;

namespace {

Bytes DdsHeader(DWORD w, DWORD h, DWORD mips, DWORD pfFlags, DWORD fourCC, DWORD bits, DWORD r, DWORD g, DWORD b,
                DWORD a) {
    Bytes d;
    d.u32(DDS_MAGIC).u32(124);
    d.u32(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT |
          (mips ? DDSD_MIPMAPCOUNT : 0));
    d.u32(h).u32(w).u32(0).u32(0).u32(mips).zeros(44);
    d.u32(32).u32(pfFlags).u32(fourCC).u32(bits).u32(r).u32(g).u32(b).u32(a);
    d.u32(DDSCAPS_TEXTURE).u32(0).u32(0).u32(0).u32(0);
    return d;
}

// A four-character code as the file holds it.
DWORD Code(const char* text) {
    DWORD v;
    std::memcpy(&v, text, 4);
    return v;
}

Bytes DxtHeader(DWORD w, DWORD h, DWORD fourCC) { return DdsHeader(w, h, 0, DDPF_FOURCC, fourCC, 0, 0, 0, 0, 0); }

}  // namespace

TEST(DdsDecode, EncoderArgbWithStoredMipChain) {
    EXPECT_EQ(DDS_MAGIC, Code("DDS "));  // as every file starts
    ImageLevel levels[3];
    UINT sizes[3][2] = {{4, 2}, {2, 1}, {1, 1}};
    for (int i = 0; i < 3; ++i) {
        levels[i].width = sizes[i][0];
        levels[i].height = sizes[i][1];
        levels[i].pixels = Pattern(sizes[i][0], sizes[i][1]);
        for (DWORD& v : levels[i].pixels) v ^= (DWORD)i * 0x01010101u;
    }
    std::vector<BYTE> file;
    ASSERT_EQ(EncodeDdsArgb32Levels(levels, 3, &file), S_OK);
    EXPECT_EQ(file.size(), 128u + (8 + 2 + 1) * 4);
    DecodedImage img;
    ASSERT_EQ(DecodeImage(file.data(), file.size(), &img), S_OK);
    EXPECT_EQ(img.kind, ImageFileKind::Dds);
    EXPECT_EQ(img.sourceFormat, Format::Argb32);
    EXPECT_EQ(img.top.pixels, levels[0].pixels);
    ASSERT_EQ(img.storedMips.size(), 2u);
    EXPECT_EQ(img.storedMips[0].width, 2u);
    EXPECT_EQ(img.storedMips[0].pixels, levels[1].pixels);
    EXPECT_EQ(img.storedMips[1].pixels, levels[2].pixels);
}

// Pixels given by masks, stored values in a row: channels wider than 8 bits keep their top bits
// and narrower ones are replicated, in whatever order the masks put them; an alpha mask counts
// only with the alpha flag.
TEST(DdsDecode, EveryMaskedPixelFormat) {
    const DWORD rgb = DDPF_RGB, rgba = DDPF_RGB | DDPF_ALPHAPIXELS;
    const struct {
        const char* name;
        DWORD flags, bits, r, g, b, a;
        std::vector<DWORD> stored, argb;
        Format format;
    } cases[] = {
        {"r5g6b5", rgb, 16, 0xF800, 0x07E0, 0x001F, 0, {0xF800, 0x07E0, 0x8410},
         {0xFFFF0000, 0xFF00FF00, 0xFF848284}, Format::Rgb565},
        {"a4r4g4b4", rgba, 16, 0x0F00, 0x00F0, 0x000F, 0xF000, {0x8F00, 0x0ABC}, {0x88FF0000, 0x00AABBCC},
         Format::Argb4444},
        {"a1r5g5b5", rgba, 16, 0x7C00, 0x03E0, 0x001F, 0x8000, {0x801F, 0x7C00}, {0xFF0000FF, 0x00FF0000},
         Format::Argb1555},
        {"r8g8b8", rgb, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0, {0x112233, 0x445566}, {0xFF112233, 0xFF445566},
         Format::Rgb24},
        {"a2r10g10b10", rgba, 32, 0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000, {0xBFF800FF}, {0xAAFF803F},
         Format::Argb32},
        {"a2b10g10r10", rgba, 32, 0x000003FF, 0x000FFC00, 0x3FF00000, 0xC0000000, {0x8FF803FF}, {0xAAFF803F},
         Format::Argb32},
        {"alpha mask without the flag", rgb, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000, {0x00123456},
         {0xFF123456}, Format::Rgb24},
    };
    for (const auto& c : cases) {
        Bytes d = DdsHeader((DWORD)c.stored.size(), 1, 0, c.flags, 0, c.bits, c.r, c.g, c.b, c.a);
        for (DWORD v : c.stored)
            for (DWORD k = 0; k < c.bits; k += 8) d.u8(v >> k);
        DecodedImage img;
        ASSERT_EQ(DecodeImage(d.b.data(), d.size(), &img), S_OK) << c.name;
        EXPECT_EQ(img.top.pixels, c.argb) << c.name;
        EXPECT_EQ(img.sourceFormat, c.format) << c.name;
    }
}

TEST(DdsDecode, Dxt1FourAndThreeColourBlocks) {
    // 8 x 4: two blocks. Every row of a block uses indices 0, 1, 2, 3 (0xE4).
    Bytes d = DxtHeader(8, 4, Code("DXT1"));
    d.u16(0xF800).u16(0x001F).u32(0xE4E4E4E4);  // red > blue: four colours
    d.u16(0x001F).u16(0xF800).u32(0xE4E4E4E4);  // blue < red: three colours and transparent
    DecodedImage img;
    ASSERT_EQ(DecodeImage(d.b.data(), d.size(), &img), S_OK);
    EXPECT_EQ(img.sourceFormat, Format::Dxt1);
    const std::vector<DWORD> row = {0xFFFF0000, 0xFF0000FF, 0xFFAA0055, 0xFF5500AA,
                                    0xFF0000FF, 0xFFFF0000, 0xFF7F007F, 0x00000000};
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(std::vector<DWORD>(img.top.pixels.begin() + y * 8, img.top.pixels.begin() + y * 8 + 8), row) << y;
}

// The mode is chosen by comparing the two 16-bit endpoints: DXT1 has four colours only while
// c0 > c1, so equal endpoints make index 3 transparent black; DXT3 and DXT5 always have four.
// The endpoints differ by one in the last bit of blue where the pair is one apart.
TEST(DdsDecode, ColourModeAtEqualAndNeighbouringEndpoints) {
    const DWORD grey = 0xFF7B7D7B;  // 0x7BEF
    const struct {
        const char* name;
        DWORD fourCC;
        WORD c0, c1;
        DWORD palette[4];  // what indices 0 to 3 decode to
    } cases[] = {
        {"DXT1 equal", Code("DXT1"), 0x7BEF, 0x7BEF, {grey, grey, grey, 0x00000000}},
        {"DXT1 equal black", Code("DXT1"), 0x0000, 0x0000, {0xFF000000, 0xFF000000, 0xFF000000, 0}},
        {"DXT1 c0 one above", Code("DXT1"), 0xF804, 0xF803, {0xFFFF0021, 0xFFFF0018, 0xFFFF001E, 0xFFFF001B}},
        {"DXT1 c0 one below", Code("DXT1"), 0xF801, 0xF802, {0xFFFF0008, 0xFFFF0010, 0xFFFF000C, 0}},
        {"DXT3 equal", Code("DXT3"), 0x7BEF, 0x7BEF, {grey, grey, grey, grey}},
        {"DXT5 equal", Code("DXT5"), 0x7BEF, 0x7BEF, {grey, grey, grey, grey}},
        {"DXT5 c0 one below", Code("DXT5"), 0xF803, 0xF804, {0xFFFF0018, 0xFFFF0021, 0xFFFF001B, 0xFFFF001E}},
    };
    for (const auto& c : cases) {
        Bytes d = DxtHeader(4, 4, c.fourCC);
        if (c.fourCC == Code("DXT3")) d.u32(0xFFFFFFFF).u32(0xFFFFFFFF);  // opaque
        if (c.fourCC == Code("DXT5")) d.u8(255).u8(255).zeros(6);       // opaque
        d.u16(c.c0).u16(c.c1).u32(0xE4E4E4E4);  // every row: indices 0, 1, 2, 3
        DecodedImage img;
        ASSERT_EQ(DecodeImage(d.b.data(), d.size(), &img), S_OK) << c.name;
        for (int i = 0; i < 16; ++i) EXPECT_EQ(img.top.pixels[i], c.palette[i & 3]) << c.name << " texel " << i;
    }
}

TEST(DdsDecode, Dxt3AndDxt5AlphaAndPartialBlocks) {
    // DXT3: explicit 4-bit alpha i for texel i; the colour block is always four-colour.
    Bytes d3 = DxtHeader(4, 4, Code("DXT3"));
    for (int k = 0; k < 8; ++k) d3.u8((2 * k) | ((2 * k + 1) << 4));
    d3.u16(0x001F).u16(0xF800).u32(0xE4E4E4E4);
    DecodedImage img;
    ASSERT_EQ(DecodeImage(d3.b.data(), d3.size(), &img), S_OK);
    const DWORD rgb[4] = {0x0000FF, 0xFF0000, 0x5500AA, 0xAA0055};
    for (DWORD i = 0; i < 16; ++i) EXPECT_EQ(img.top.pixels[i], (i * 17) << 24 | rgb[i & 3]) << i;

    // DXT5 in both alpha modes; a 3 x 2 picture uses the top-left of its one block.
    const DWORD eight[8] = {255, 0, 218, 182, 145, 109, 72, 36};
    const DWORD six[8] = {0, 255, 51, 102, 153, 204, 0, 255};
    for (int mode = 0; mode < 2; ++mode) {
        Bytes d5 = DxtHeader(3, 2, Code("DXT5"));
        d5.u8(mode ? 0 : 255).u8(mode ? 255 : 0);
        uint64_t bits = 0;
        for (int i = 0; i < 16; ++i) bits |= (uint64_t)(i & 7) << (3 * i);
        for (int i = 0; i < 6; ++i) d5.u8((DWORD)(bits >> (8 * i)));
        d5.u16(0xFFFF).u16(0xFFFF).u32(0);
        ASSERT_EQ(DecodeImage(d5.b.data(), d5.size(), &img), S_OK);
        EXPECT_EQ(img.sourceFormat, Format::Dxt5);
        ASSERT_EQ(img.top.pixels.size(), 6u);
        const DWORD* table = mode ? six : eight;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(img.top.pixels[y * 3 + x], table[(y * 4 + x) & 7] << 24 | 0xFFFFFF) << mode << x << y;
    }
}
