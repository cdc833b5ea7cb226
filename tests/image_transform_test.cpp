// image_transform_test.cpp -- what a picture goes through on its way into a texture: the colour
// key, the resampling filters, the mip chain length and texel formats (A4R4G4B4 quantisation).
#include <gtest/gtest.h>

#include "d3dx8.h"
#include "image_test_files.h"
#include "layer/image_transform.h"

using namespace layer;
using Pixels = std::vector<DWORD>;

namespace {

ImageLevel Level(UINT w, UINT h, Pixels px) {
    ImageLevel l;
    l.width = w;
    l.height = h;
    l.pixels = std::move(px);
    return l;
}

ResampleFilter Filter(DWORD d3dx, bool mips = false) {
    ResampleFilter f;
    EXPECT_TRUE(ResampleFilterFromD3DX(d3dx, mips, &f)) << d3dx;
    return f;
}

}  // namespace

TEST(ImageTransform, ColorKeyMatchesAllThirtyTwoBitsExactly) {
    auto l = Level(5, 1, {0xFFFFFFFF, 0xFFFEFFFF, 0x00FFFFFF, 0xFFFF00FF, 0xFFFFFFFF});
    ApplyColorKey(&l, 0xFFFFFFFF);
    EXPECT_EQ(l.pixels, (Pixels{0, 0xFFFEFFFF, 0x00FFFFFF, 0xFFFF00FF, 0}));
    ApplyColorKey(&l, 0xFFFF00FF);
    EXPECT_EQ(l.pixels[3], 0u);
    // A key of 0 keys nothing, not even transparent black's neighbours.
    auto k = Level(2, 1, {0x00000000, 0xFF000000});
    ApplyColorKey(&k, 0);
    EXPECT_EQ(k.pixels, (Pixels{0, 0xFF000000}));
}

TEST(ImageTransform, FiltersFromD3DXValues) {
    EXPECT_EQ(Filter(D3DX_FILTER_LINEAR).kind, ResampleKind::Linear);
    EXPECT_EQ(Filter(D3DX_FILTER_POINT).kind, ResampleKind::Point);
    EXPECT_EQ(Filter(D3DX_FILTER_NONE).kind, ResampleKind::None);
    EXPECT_EQ(Filter(D3DX_FILTER_BOX).kind, ResampleKind::Box);
    EXPECT_EQ(Filter(D3DX_DEFAULT).kind, ResampleKind::Box);
    EXPECT_EQ(Filter(D3DX_DEFAULT, true).kind, ResampleKind::Box);
    auto m = Filter(D3DX_FILTER_LINEAR | D3DX_FILTER_MIRROR_V);
    EXPECT_FALSE(m.mirrorU);
    EXPECT_TRUE(m.mirrorV);
    ResampleFilter f;
    EXPECT_FALSE(ResampleFilterFromD3DX(6, false, &f));
    EXPECT_FALSE(ResampleFilterFromD3DX(0, false, &f));
    EXPECT_FALSE(ResampleFilterFromD3DX(D3DX_FILTER_LINEAR | 0x100000, false, &f));
}

TEST(ImageTransform, LinearResamplingKeepsSizeHalvesAndDoubles) {
    auto src = ImageLevel{};
    src = Level(4, 2, image_test::Pattern(4, 2));
    EXPECT_EQ(Resample(src, 4, 2, Filter(D3DX_FILTER_LINEAR)).pixels, src.pixels);

    // Halving with centres aligned averages each 2 x 2 block.
    auto quad = Level(2, 2, {0xFF000000, 0xFF0000FF, 0xFF00FF00, 0x00FF0000});
    auto half = Resample(quad, 1, 1, Filter(D3DX_FILTER_LINEAR));
    EXPECT_EQ(half.pixels, (Pixels{0xBF404040}));

    // Doubling a 2 x 1 row: destination centres at 0.25 and 0.75 of a source pixel, wrapping
    // around the edges by default and mirroring with the flag.
    auto row = Level(2, 1, {0xFF000000, 0xFF0000C8});
    auto wrap = Resample(row, 4, 1, Filter(D3DX_FILTER_LINEAR));
    EXPECT_EQ(wrap.pixels, (Pixels{0xFF000032, 0xFF000032, 0xFF000096, 0xFF000096}));
    auto mirror = Resample(row, 4, 1, Filter(D3DX_FILTER_LINEAR | D3DX_FILTER_MIRROR_U));
    EXPECT_EQ(mirror.pixels, (Pixels{0xFF000000, 0xFF000032, 0xFF000096, 0xFF0000C8}));
}

TEST(ImageTransform, PointBoxAndNoneFilters) {
    auto row = Level(4, 1, {0xFF000010, 0xFF000020, 0xFF000030, 0xFF000041});
    EXPECT_EQ(Resample(row, 2, 1, Filter(D3DX_FILTER_POINT)).pixels, (Pixels{0xFF000020, 0xFF000041}));
    EXPECT_EQ(Resample(row, 8, 1, Filter(D3DX_FILTER_POINT)).pixels[3], 0xFF000020u);
    // Box: thirds of a 4-pixel row into 3 pixels weigh the covered parts.
    auto box = Resample(row, 3, 1, Filter(D3DX_FILTER_BOX));
    EXPECT_EQ(box.pixels, (Pixels{0xFF000014, 0xFF000028, 0xFF00003D}));
    // None copies the top-left part and leaves the rest transparent black.
    auto none = Resample(row, 2, 2, Filter(D3DX_FILTER_NONE));
    EXPECT_EQ(none.pixels, (Pixels{0xFF000010, 0xFF000020, 0, 0}));
}

TEST(ImageTransform, FullMipChainLengths) {
    EXPECT_EQ(FullMipChainLength(1, 1), 1u);
    EXPECT_EQ(FullMipChainLength(256, 256), 9u);
    EXPECT_EQ(FullMipChainLength(128, 32), 8u);
    EXPECT_EQ(FullMipChainLength(3, 64), 7u);
}

// The values StoreTexels writes for a level, a row every `pitch` bytes, read back in the size of the
// format's texels from a buffer that held 0xDEAD in every 32 bits.
Pixels Stored(const ImageLevel& level, D3DFORMAT format, INT pitch) {
    const UINT bytes = TexelBytes(format);
    std::vector<BYTE> buffer((size_t)pitch * level.height);
    for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = BYTE(0xDEAD >> (8 * (i & 3)));
    EXPECT_TRUE(StoreTexels(level, format, buffer.data(), pitch));
    Pixels values(buffer.size() / bytes);
    for (size_t i = 0; i < buffer.size(); ++i) values[i / bytes] |= (DWORD)buffer[i] << (8 * (i % bytes));
    return values;
}

TEST(ImageTransform, TexelFormatsRoundToTheirChannelWidths) {
    // Each channel rounded, not cut: alpha 0x80 rounds up to one bit, 0x77 down; 0xF0 is nearer 14
    // than 15 in 4 bits, 0x0F nearer 1 than 0 (cutting gives 1, 1, 30 for 2, 2, 29 in R5G6B5).
    const auto l = Level(4, 1, {0xFFFFFFFF, 0x80FF0008, 0x00000000, 0x77888899});
    const auto near = Level(1, 1, {0xF00F07F0});
    // Rows land `pitch` bytes apart; X8R8G8B8 is opaque; luminance weighs green most (79.71 is 80).
    const auto two = Level(1, 2, {0x12345678, 0x00FF0000});
    const struct {
        const ImageLevel& level;
        D3DFORMAT format;
        INT pitch;
        Pixels texels;
    } cases[] = {
        {l, D3DFMT_A4R4G4B4, 8, {0xFFFF, 0x8F00, 0x0000, 0x7889}},  // alpha in the top nibble
        {near, D3DFMT_A4R4G4B4, 2, {0xE10E}},
        {near, D3DFMT_R5G6B5, 2, {0x105D}},
        {l, D3DFMT_R5G6B5, 8, {0xFFFF, 0xF801, 0x0000, 0x8C53}},
        {l, D3DFMT_A1R5G5B5, 8, {0xFFFF, 0xFC01, 0x0000, 0x4633}},
        {l, D3DFMT_X1R5G5B5, 8, {0xFFFF, 0xFC01, 0x8000, 0xC633}},
        {two, D3DFMT_X8R8G8B8, 8, {0xFF345678, 0xDEAD, 0xFFFF0000, 0xDEAD}},
        {two, D3DFMT_L8, 1, {80, 76}},
        {two, D3DFMT_A8L8, 2, {0x1250, 0x004C}},  // alpha in the high byte
    };
    for (const auto& c : cases) EXPECT_EQ(Stored(c.level, c.format, c.pitch), c.texels) << c.format;
    BYTE lum[2];
    EXPECT_FALSE(TexelFormatStorable(D3DFMT_DXT1));
    EXPECT_FALSE(StoreTexels(two, D3DFMT_P8, lum, 1));
    EXPECT_EQ(TexelBytes(D3DFMT_A8R8G8B8), 4u);
}

TEST(D3DXBuffer, HoldsZeroedBytesAndCountsReferences) {
    ID3DXBuffer* buffer = nullptr;
    ASSERT_EQ(D3DXCreateBuffer(12, &buffer), S_OK);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->GetBufferSize(), 12u);
    auto* bytes = static_cast<BYTE*>(buffer->GetBufferPointer());
    for (int i = 0; i < 12; ++i) EXPECT_EQ(bytes[i], 0);
    EXPECT_EQ(buffer->AddRef(), 2u);
    IUnknown* unknown = nullptr;
    EXPECT_EQ(buffer->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown->Release(), 2u);
    EXPECT_EQ(buffer->Release(), 1u);
    EXPECT_EQ(buffer->Release(), 0u);
    EXPECT_EQ(D3DXCreateBuffer(4, nullptr), D3DERR_INVALIDCALL);
}
