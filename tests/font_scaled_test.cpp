// font_scaled_test.cpp -- viewport-relative text and text as quads in world space.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "d3dx8math.h"
#include "font_test_device.h"
#include "utils/texture_font.h"

namespace {

// Rows and columns of the back buffer that hold any lit pixel.
struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    std::vector<bool> rows;
};
Ink FindInk(const std::vector<uint32_t>& pixels, int width, int height) {
    Ink ink;
    ink.rows.assign(size_t(height), false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (Rgb(pixels[size_t(y) * size_t(width) + size_t(x)]) == 0) continue;
            ink.rows[size_t(y)] = true;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
}

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

TEST(FontScaled, PositionIsAFractionOfTheViewportAndLinesAFractionOfItsHeight) {
    FontTestDevice dev(800, 600);
    ASSERT_NE(dev.device(), nullptr);
    auto font = ReadyFont(dev, 10);

    dev.Begin();
    EXPECT_EQ(font->DrawTextScaled(-1.0f, -1.0f, 0.5f, 0.02f, 0.05f, 0xFFFFFFFF, "H", 0), S_OK);
    dev.End();
    Ink corner = FindInk(dev.Pixels(), 800, 600);
    EXPECT_LE(corner.left, 4);
    EXPECT_LE(corner.top, 8);

    dev.Begin();
    EXPECT_EQ(font->DrawTextScaled(0.0f, 0.0f, 0.5f, 0.02f, 0.05f, 0xFFFFFFFF, "H\nH", 0), S_OK);
    dev.End();
    Ink centre = FindInk(dev.Pixels(), 800, 600);
    EXPECT_GE(centre.left, 400);
    EXPECT_LE(centre.left, 404);
    EXPECT_GE(centre.top, 300);
    // Two H's 30 pixels apart (0.05 of 600), whatever the font's own size.
    int firstTop = centre.top, secondTop = -1;
    for (int y = firstTop + 1; y < 600; ++y)
        if (centre.rows[size_t(y)] && !centre.rows[size_t(y - 1)]) {
            secondTop = y;
            break;
        }
    EXPECT_EQ(secondTop - firstTop, 30);
    // A line as tall as the space's cell is 30 pixels: the H fills most of it.
    EXPECT_GT(secondTop - 1 - firstTop, 10);

    // The middle of a smaller viewport, and lines of its height.
    D3DVIEWPORT8 quarter = {0, 0, 400, 300, 0.0f, 1.0f};
    dev.Begin();  // clears the whole frame first
    dev.device()->SetViewport(&quarter);
    EXPECT_EQ(font->DrawTextScaled(0.0f, 0.0f, 0.5f, 0.02f, 0.1f, 0xFFFFFFFF, "H\nH", 0), S_OK);
    dev.End();
    Ink small = FindInk(dev.Pixels(), 800, 600);
    EXPECT_GE(small.left, 200);
    EXPECT_LE(small.left, 204);
    EXPECT_GE(small.top, 150);
    EXPECT_LE(small.bottom, 150 + 30 + 30);
    EXPECT_GT(small.bottom, 150 + 30);
}

TEST(FontScaled, WorldTextIsCentredTenTexelsAUnitAndCulledFromBehind) {
    FontTestDevice dev;
    ASSERT_NE(dev.device(), nullptr);
    IDirect3DDevice8* d = dev.device();
    auto font = ReadyFont(dev, 14);
    TenPixelsAUnit(d);
    SIZE size = {};
    font->GetTextExtent("Centre", &size);

    dev.Begin();
    EXPECT_EQ(font->Render3DText("Centre", TEXTF_CENTERED), S_OK);
    dev.End();
    Ink ink = FindInk(dev.Pixels(), 640, 480);
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
    dev.Begin();
    EXPECT_EQ(font->Render3DText("Centre", TEXTF_CENTERED), S_OK);
    dev.End();
    Ink behind = FindInk(dev.Pixels(), 640, 480);
    EXPECT_LT(behind.right, behind.left);
    dev.Begin();
    EXPECT_EQ(font->Render3DText("Centre", TEXTF_CENTERED | TEXTF_TWOSIDED), S_OK);
    dev.End();
    Ink twoSided = FindInk(dev.Pixels(), 640, 480);
    EXPECT_GE(twoSided.right, twoSided.left);
    DWORD cull = 0;
    d->GetRenderState(D3DRS_CULLMODE, &cull);
    EXPECT_NE(cull, DWORD(D3DCULL_NONE));  // the caller's culling came back
}

TEST(FontScaled, WorldTextDrawsFortyThreeGlyphsABatch) {
    FontTestDevice dev;
    ASSERT_NE(dev.device(), nullptr);
    auto font = ReadyFont(dev, 8);
    TenPixelsAUnit(dev.device());
    const std::pair<std::string, uint32_t> cases[] = {
        {std::string(43, 'x'), 1}, {std::string(44, 'x'), 2}, {std::string(86, 'x') + " ", 2}, {"", 0}};
    for (const auto& c : cases) {
        dev.Begin();
        layer::DeviceFrameStats before = layer::CurrentFrameStats();
        EXPECT_EQ(font->Render3DText(c.first.c_str(), 0), S_OK);
        layer::DeviceFrameStats after = layer::CurrentFrameStats();
        dev.End();
        EXPECT_EQ(after.drawCalls - before.drawCalls, c.second) << c.first.size();
        EXPECT_EQ(after.primitives - before.primitives, uint32_t(2 * std::count(c.first.begin(), c.first.end(), 'x')));
    }
}
