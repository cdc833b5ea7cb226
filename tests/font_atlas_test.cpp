// font_atlas_test.cpp -- the glyph atlas of CTextureFont, its life cycle and its failures.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "font_test_device.h"
#include "utils/texture_font.h"

namespace {

// The atlas texels, row by row.
std::vector<WORD> AtlasTexels(CTextureFont& font) {
    std::vector<WORD> texels;
    D3DLOCKED_RECT locked = {};
    EXPECT_EQ(font.pTexture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), S_OK);
    if (!locked.pBits) return texels;
    for (DWORD y = 0; y < font.texHeight; ++y) {
        const WORD* row = reinterpret_cast<const WORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
        texels.insert(texels.end(), row, row + font.texWidth);
    }
    font.pTexture->UnlockRect(0);
    return texels;
}

// A glyph rectangle in whole texels.
struct TexelRect {
    int left, top, right, bottom;
};
TexelRect Texels(const CTextureFont& font, int code) {
    const float* r = font.glyphRects[code - 32];
    return {int(r[0] * font.texWidth + 0.5f), int(r[1] * font.texHeight + 0.5f), int(r[2] * font.texWidth + 0.5f),
            int(r[3] * font.texHeight + 0.5f)};
}

}  // namespace

using FontAtlas = FontDeviceTest;

TEST_F(FontAtlas, SizeFollowsTheHeightAndTheDevicesLargestTexture) {
    const DWORD heights[] = {8, 10, 14, 20, 21, 40, 41};
    const DWORD sizes[] = {256, 256, 256, 256, 512, 512, 1024};
    for (int i = 0; i < 7; ++i) {
        CTextureFont font("Arial", heights[i]);
        ASSERT_EQ(font.InitDeviceObjects(dev.device()), S_OK) << heights[i];
        EXPECT_EQ(font.texWidth, sizes[i]) << heights[i];
        EXPECT_EQ(font.texHeight, sizes[i]) << heights[i];
        EXPECT_FLOAT_EQ(font.textScale, 1.0f);
        D3DSURFACE_DESC desc = {};
        ASSERT_EQ(font.pTexture->GetLevelDesc(0, &desc), S_OK);
        EXPECT_EQ(desc.Format, D3DFMT_A4R4G4B4);
        EXPECT_EQ(desc.Width, sizes[i]) << heights[i];
        EXPECT_EQ(desc.Height, sizes[i]) << heights[i];
        EXPECT_EQ(font.pTexture->GetLevelCount(), 1u);
    }

    // A device that takes no texture wider than 256: the atlas shrinks and the font with it.
    layer::SetMaxTextureSize(256);
    CTextureFont capped("Arial", 30);
    CTextureFont half("Arial", 15);
    ASSERT_EQ(capped.InitDeviceObjects(dev.device()), S_OK);
    ASSERT_EQ(half.InitDeviceObjects(dev.device()), S_OK);
    EXPECT_EQ(capped.texWidth, 256u);
    EXPECT_FLOAT_EQ(capped.textScale, 0.5f);
    // Rasterised at half size (20 pixels, as a 15-point font is), so its glyphs match those of 15.
    for (int code : {'W', 'g', ' '})
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(capped.glyphRects[code - 32][k], half.glyphRects[code - 32][k], 1e-6f) << char(code);
    SIZE cappedSize = {}, halfSize = {};
    ASSERT_EQ(capped.GetTextExtent("Wg", &cappedSize), S_OK);
    ASSERT_EQ(half.GetTextExtent("Wg", &halfSize), S_OK);
    EXPECT_EQ(cappedSize.cx, 2 * halfSize.cx);  // measured as drawn: twice the texels
    EXPECT_EQ(cappedSize.cy, 2 * halfSize.cy);
}

TEST_F(FontAtlas, GameFontsGlyphsLieInsideTheAtlasInRowsOneTexelApart) {
    for (DWORD height : {8u, 10u, 14u}) {
        auto font = ReadyFont(dev, height);
        std::vector<WORD> texels = AtlasTexels(*font);
        ASSERT_EQ(texels.size(), size_t(font->texWidth) * font->texHeight);
        // Every texel is clear or white with some alpha.
        for (WORD t : texels)
            ASSERT_TRUE(t == 0 || ((t & 0x0FFF) == 0x0FFF && (t >> 12) >= 1)) << std::hex << t;

        const int cell = Texels(*font, ' ').bottom;
        EXPECT_EQ(Texels(*font, ' ').left, 0);
        EXPECT_EQ(Texels(*font, ' ').top, 0);
        // The cells of 8, 10 and 14 points at 96 dots per inch: 11, 13 and 19 pixel ems.
        EXPECT_GE(cell, height == 8 ? 12 : height == 10 ? 14 : 21);
        EXPECT_LE(cell, height == 8 ? 14 : height == 10 ? 16 : 23);
        for (int c = 32; c <= 126; ++c) {
            TexelRect r = Texels(*font, c);
            EXPECT_GE(r.left, 0);
            EXPECT_LE(r.right, int(font->texWidth));
            EXPECT_LE(r.bottom, int(font->texHeight));
            EXPECT_EQ(r.bottom - r.top, cell) << "every cell is the font's height";
            EXPECT_GT(r.right, r.left) << char(c);
            if (c > 32) {
                const TexelRect p = Texels(*font, c - 1);
                if (r.top == p.top)
                    EXPECT_EQ(r.left, p.right + 1) << char(c);
                else
                    EXPECT_TRUE(r.left == 0 && r.top == p.top + cell + 1) << char(c) << ": " << r.left << " " << r.top;
                bool ink = false;  // each visible glyph has ink in its cell
                for (int y = r.top; y < r.bottom && !ink; ++y)
                    for (int x = r.left; x < r.right && !ink; ++x)
                        ink = texels[y * font->texWidth + x] != 0;
                EXPECT_TRUE(ink) << char(c);
            }
        }
        for (int k = 0; k < 4; ++k) EXPECT_EQ(font->glyphRects[127 - 32][k], 0.0f);
    }
}

TEST_F(FontAtlas, BoldIsWiderAndItalicDiffers) {
    auto regular = ReadyFont(dev, 14);
    auto bold = ReadyFont(dev, 14, FONTF_BOLD);
    auto italic = ReadyFont(dev, 14, FONTF_ITALIC);
    SIZE r = {}, b = {}, i = {};
    regular->GetTextExtent("Bold text", &r);
    bold->GetTextExtent("Bold text", &b);
    italic->GetTextExtent("Bold text", &i);
    EXPECT_GT(b.cx, r.cx);
    EXPECT_NE(AtlasTexels(*italic), AtlasTexels(*regular));
}

TEST_F(FontAtlas, FaceNameIsCutToItsFieldAndNothingWorksBeforeTheAtlas) {
    std::string longName(300, 'x');
    CTextureFont font(longName.c_str(), 10, FONTF_BOLD);
    EXPECT_EQ(std::strlen(font.faceName), 79u);
    EXPECT_EQ(font.height, 10u);
    EXPECT_EQ(font.flags, DWORD(FONTF_BOLD));
    EXPECT_EQ(font.pDevice, nullptr);
    EXPECT_EQ(font.savedStateBlock, 0u);

    SIZE size = {7, 7};
    EXPECT_EQ(font.GetTextExtent("abc", &size), E_FAIL);
    EXPECT_EQ(size.cx, 7);
    EXPECT_EQ(font.DrawText(0, 0, 0xFFFFFFFF, "abc", 0), E_FAIL);
    EXPECT_EQ(font.DrawTextScaled(0, 0, 0, 0.1f, 0.1f, 0xFFFFFFFF, "abc", 0), E_FAIL);
    EXPECT_EQ(font.Render3DText("abc", 0), E_FAIL);
}

TEST_F(FontAtlas, LifeCycleAndFailedCreations) {
    CTextureFont font("Arial", 10);
    SIZE size = {};

    // No texture: nothing is measured or drawn, whatever the rectangles held.
    layer::FailNextResourceCreation(E_OUTOFMEMORY);
    EXPECT_EQ(font.InitDeviceObjects(dev.device()), E_OUTOFMEMORY);
    EXPECT_EQ(font.pTexture, nullptr);
    EXPECT_EQ(font.GetTextExtent("a", &size), E_FAIL);
    EXPECT_EQ(font.RestoreDeviceObjects(), S_OK);
    EXPECT_EQ(font.DrawText(0, 0, 0xFFFFFFFF, "a", 0), E_FAIL);
    font.InvalidateDeviceObjects();

    // An atlas, but no vertex buffer: measuring works, drawing does not, no state block is made.
    ASSERT_EQ(font.InitDeviceObjects(dev.device()), S_OK);
    EXPECT_EQ(font.GetTextExtent("a", &size), S_OK);
    layer::FailNextResourceCreation(E_OUTOFMEMORY);
    EXPECT_EQ(font.RestoreDeviceObjects(), E_OUTOFMEMORY);
    EXPECT_EQ(font.pVB, nullptr);
    EXPECT_EQ(font.savedStateBlock, 0u);
    EXPECT_EQ(font.drawStateBlock, 0u);
    EXPECT_EQ(font.DrawText(0, 0, 0xFFFFFFFF, "a", 0), E_FAIL);

    ASSERT_EQ(font.RestoreDeviceObjects(), S_OK);
    EXPECT_NE(font.savedStateBlock, 0u);
    EXPECT_NE(font.drawStateBlock, font.savedStateBlock);
    dev.Begin();
    EXPECT_EQ(font.DrawText(0, 0, 0xFFFFFFFF, "a", 0), S_OK);
    dev.End();

    EXPECT_EQ(font.InvalidateDeviceObjects(), S_OK);
    EXPECT_TRUE(!font.pVB && !font.savedStateBlock) << font.pVB << " " << font.savedStateBlock;
    EXPECT_EQ(font.DrawText(0, 0, 0xFFFFFFFF, "a", 0), E_FAIL);
    EXPECT_EQ(font.RestoreDeviceObjects(), S_OK);
    EXPECT_EQ(font.DeleteDeviceObjects(), S_OK);
    EXPECT_TRUE(!font.pDevice && !font.pTexture) << font.pDevice << " " << font.pTexture;
    EXPECT_EQ(font.GetTextExtent("a", &size), E_FAIL);
    EXPECT_EQ(font.DrawText(0, 0, 0xFFFFFFFF, "a", 0), E_FAIL);
    // The destructor releases the vertex buffer left; the state blocks go with the device.
}
