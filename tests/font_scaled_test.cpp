// font_scaled_test.cpp -- viewport-relative text and text as quads in world space.
#include <gtest/gtest.h>

#include <string>

#include "d3dx8math.h"
#include "font_test_device.h"
#include "utils/texture_font.h"

namespace {

// One world unit to ten pixels, the origin at the centre of the 640 x 480 frame, y up.
void TenPixelsAUnit(IDirect3DDevice8* d) {
    D3DXMATRIX identity, projection;
    D3DXMatrixIdentity(&identity);
    D3DXMatrixScaling(&projection, 2.0f / 64.0f, 2.0f / 48.0f, 0.05f);
    projection._43 = 0.5f;
    d->SetTransform(D3DTS_WORLD, &identity);
    d->SetTransform(D3DTS_VIEW, &identity);
    d->SetTransform(D3DTS_PROJECTION, &projection);
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
}

}  // namespace

using FontScaled = FontDeviceTest;

TEST(FontViewport, PositionIsAFractionOfTheViewportAndLinesAFractionOfItsHeight) {
    FontTestDevice dev(800, 600);
    ASSERT_NE(dev.device(), nullptr);
    auto font = ReadyFont(dev, 10);
    // From the corner of the frame, or the middle of the whole frame or of a quarter viewport: two
    // H's 30 pixels apart (0.05 of 600 or 0.1 of 300), whatever the font's own size.
    const struct {
        DWORD width, height;
        float at, yScale;
        int left, top, lowest;  // the top of the ink lies from top to lowest
    } kCases[] = {{800, 600, -1, 0.05f, 0, 0, 8},
                  {800, 600, 0, 0.05f, 400, 300, 315},
                  {400, 300, 0, 0.1f, 200, 150, 170}};  // squeezed to its crossbar
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.width << " at " << c.at);
        const D3DVIEWPORT8 viewport = {0, 0, c.width, c.height, 0.0f, 1.0f};
        dev.Begin();  // clears the whole frame first
        dev.device()->SetViewport(&viewport);
        EXPECT_EQ(font->DrawTextScaled(c.at, c.at, 0.5f, 0.02f, c.yScale, 0xFFFFFFFF, "H\nH", 0), S_OK);
        dev.End();
        const Ink ink = FindInk(dev.Pixels(), 800);
        EXPECT_TRUE(ink.left >= c.left && ink.left <= c.left + 4) << ink.left;
        EXPECT_TRUE(ink.top >= c.top && ink.top <= c.lowest) << ink.top;
        int second = ink.top + 1;  // where the second H starts
        while (second < 600 && !(ink.rows[size_t(second)] && !ink.rows[size_t(second - 1)])) ++second;
        EXPECT_EQ(second - ink.top, 30);
        EXPECT_LE(ink.bottom, c.top + 60) << "each H within its line";
    }
}

TEST_F(FontScaled, WorldTextIsCentredTenTexelsAUnitAndCulledFromBehind) {
    IDirect3DDevice8* d = dev.device();
    auto font = ReadyFont(dev, 14);
    TenPixelsAUnit(d);
    SIZE size = {};
    font->GetTextExtent("Centre", &size);
    // The ink of a frame of the text drawn with the flags.
    auto drawn = [&](DWORD flags) {
        dev.Begin();
        EXPECT_EQ(font->Render3DText("Centre", flags), S_OK) << flags;
        dev.End();
        return FindInk(dev.Pixels(), 640);
    };

    Ink ink = drawn(TEXTF_CENTERED);
    ASSERT_GE(ink.right, ink.left);
    // The text's box is the extent, centred on the middle of the frame.
    EXPECT_NEAR(ink.left, 320 - size.cx / 2, 3);
    EXPECT_NEAR(ink.right, 320 + size.cx / 2, 3);
    EXPECT_GE(ink.top, 240 - size.cy / 2 - 1);
    EXPECT_LE(ink.bottom, 240 + size.cy / 2 + 1);

    // Seen from behind (turned half a turn about y), it shows only when two-sided.
    D3DXMATRIX turned;
    D3DXMatrixRotationY(&turned, D3DX_PI);
    d->SetTransform(D3DTS_WORLD, &turned);
    Ink behind = drawn(TEXTF_CENTERED);
    EXPECT_LT(behind.right, behind.left);
    Ink twoSided = drawn(TEXTF_CENTERED | TEXTF_TWOSIDED);
    EXPECT_GE(twoSided.right, twoSided.left);
    DWORD cull = 0;
    d->GetRenderState(D3DRS_CULLMODE, &cull);
    EXPECT_NE(cull, DWORD(D3DCULL_NONE));  // the caller's culling came back
}

TEST_F(FontScaled, ADrawTakesFiftyScreenGlyphsOrFortyThreeWorldGlyphsAndNothingDrawsNothing) {
    auto font = ReadyFont(dev, 8);
    TenPixelsAUnit(dev.device());
    const std::string x43(43, 'x'), x50(50, 'x');
    const struct {
        bool world;
        std::string text;
        uint32_t draws, primitives;
    } kCases[] = {{false, "", 0, 0},          {false, "   \n \x01", 0, 0},         {false, x50, 1, 100},
                  {false, x50 + "x", 2, 102}, {false, x50 + "     ", 1, 100},  // spaces do not count
                  {false, x50 + x50, 2, 200}, {false, std::string(101, 'i'), 3, 202}, {true, x43, 1, 86},
                  {true, x43 + "x", 2, 88},   {true, x43 + x43 + " ", 2, 172},   {true, "", 0, 0}};
    for (const auto& c : kCases) {
        dev.Begin();
        const layer::DeviceFrameStats before = layer::CurrentFrameStats();
        const char* text = c.text.c_str();
        EXPECT_EQ(c.world ? font->Render3DText(text, 0) : font->DrawText(0, 0, 0xFFFFFFFF, text, 0), S_OK);
        const layer::DeviceFrameStats after = layer::CurrentFrameStats();
        dev.End();
        EXPECT_EQ(after.drawCalls - before.drawCalls, c.draws) << c.world << " " << c.text.size();
        EXPECT_EQ(after.primitives - before.primitives, c.primitives) << c.world << " " << c.text.size();
    }
}
