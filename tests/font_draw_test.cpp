// font_draw_test.cpp -- CTextureFont drawing on a real device, read back from the back buffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "font_test_device.h"
#include "layer/image_encode.h"
#include "utils/texture_font.h"

namespace {

// Draws one text on a black frame and gives the back buffer.
std::vector<uint32_t> Drawn(FontTestDevice& dev, CTextureFont& font, float x, float y, DWORD colour,
                            const char* text) {
    dev.Begin();
    EXPECT_EQ(font.DrawText(x, y, colour, text, 0), S_OK);
    dev.End();
    return dev.Pixels();
}

// The smallest box holding every pixel that is not black; left > right when there is none.
struct Box {
    int left, top, right, bottom;
};
Box InkBox(const std::vector<uint32_t>& pixels, int width) {
    Box box = {1 << 30, 1 << 30, -1, -1};
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (Rgb(pixels[i]) == 0) continue;
        int x = int(i % size_t(width)), y = int(i / size_t(width));
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
    }
    return box;
}

// The pixels of a region, to compare two drawings.
std::vector<uint32_t> Region(const std::vector<uint32_t>& pixels, int width, int x, int y, int w, int h) {
    std::vector<uint32_t> out;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) out.push_back(pixels[size_t(j) * size_t(width) + size_t(i)]);
    return out;
}

int LineHeight(CTextureFont& font) {
    SIZE size = {};
    font.GetTextExtent("", &size);
    return int(size.cy);
}

}  // namespace

TEST(FontDraw, ExtentsMeasureTheWidestRowAndOneCellPerLine) {
    FontTestDevice dev;
    ASSERT_NE(dev.device(), nullptr);
    auto font = ReadyFont(dev, 10);
    const int line = LineHeight(*font);
    EXPECT_EQ(line, int((font->glyphRects[0][3] - font->glyphRects[0][1]) * font->texHeight + 0.5f));
    SIZE a = {}, ab = {}, abcd = {}, two = {}, skipped = {};
    ASSERT_EQ(font->GetTextExtent("a", &a), S_OK);
    ASSERT_EQ(font->GetTextExtent("ab", &ab), S_OK);
    ASSERT_EQ(font->GetTextExtent("abcd", &abcd), S_OK);
    ASSERT_EQ(font->GetTextExtent("ab\nabcd\nb", &two), S_OK);
    ASSERT_EQ(font->GetTextExtent("a\x01\x1f\x7f\x80\xc3\xa9\xff", &skipped), S_OK);
    EXPECT_EQ(a.cx, LONG((font->glyphRects['a' - 32][2] - font->glyphRects['a' - 32][0]) * font->texWidth + 0.5f));
    EXPECT_GT(ab.cx, a.cx);
    EXPECT_EQ(two.cx, abcd.cx);
    EXPECT_EQ(two.cy, 3 * line);
    EXPECT_EQ(skipped.cx, a.cx);  // control bytes, 127 and bytes over 127 add nothing
    EXPECT_EQ(skipped.cy, line);
    SIZE untouched = {5, 5};
    EXPECT_EQ(font->GetTextExtent(nullptr, &untouched), E_FAIL);
    EXPECT_EQ(untouched.cx, 5);
    EXPECT_EQ(font->GetTextExtent("a", nullptr), E_FAIL);
}

TEST(FontDraw, CallersStatesComeBackAfterDrawing) {
    FontTestDevice dev;
    ASSERT_NE(dev.device(), nullptr);
    IDirect3DDevice8* d = dev.device();
    auto font = ReadyFont(dev, 10);
    IDirect3DTexture8* mine = nullptr;
    ASSERT_EQ(d->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &mine), S_OK);

    d->SetTexture(0, mine);
    d->SetRenderState(D3DRS_ZENABLE, TRUE);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_ALPHAREF, 64);
    d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_LESS);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_FOGENABLE, TRUE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    d->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);

    for (DWORD flags : {0u, DWORD(TEXTF_FILTERED)}) {
        dev.Begin();
        ASSERT_EQ(font->DrawText(5, 5, 0xFFFFFFFF, "States", flags), S_OK);
        dev.End();
        auto rs = [d](D3DRENDERSTATETYPE state) {
            DWORD v = 0xDEAD;
            d->GetRenderState(state, &v);
            return v;
        };
        auto tss = [d](DWORD stage, D3DTEXTURESTAGESTATETYPE type) {
            DWORD v = 0xDEAD;
            d->GetTextureStageState(stage, type, &v);
            return v;
        };
        EXPECT_EQ(rs(D3DRS_ZENABLE), DWORD(TRUE));
        EXPECT_EQ(rs(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
        EXPECT_EQ(rs(D3DRS_ALPHAREF), 64u);
        EXPECT_EQ(rs(D3DRS_ALPHAFUNC), DWORD(D3DCMP_LESS));
        EXPECT_EQ(rs(D3DRS_CULLMODE), DWORD(D3DCULL_NONE));
        EXPECT_EQ(rs(D3DRS_FOGENABLE), DWORD(TRUE));
        EXPECT_EQ(rs(D3DRS_SRCBLEND), DWORD(D3DBLEND_ONE));
        EXPECT_EQ(tss(0, D3DTSS_MINFILTER), DWORD(D3DTEXF_LINEAR));
        EXPECT_EQ(tss(0, D3DTSS_MAGFILTER), DWORD(D3DTEXF_LINEAR));
        EXPECT_EQ(tss(0, D3DTSS_COLOROP), DWORD(D3DTOP_SELECTARG1));
        EXPECT_EQ(tss(1, D3DTSS_COLOROP), DWORD(D3DTOP_MODULATE));
        IDirect3DBaseTexture8* bound = nullptr;
        d->GetTexture(0, &bound);
        EXPECT_EQ(bound, static_cast<IDirect3DBaseTexture8*>(mine));
        if (bound) bound->Release();
        // The vertex format and the stream stay as the font set them.
        DWORD shader = 0;
        d->GetVertexShader(&shader);
        EXPECT_EQ(shader, DWORD(D3DFVF_SVERTEX2D));
        IDirect3DVertexBuffer8* stream = nullptr;
        UINT stride = 0;
        d->GetStreamSource(0, &stream, &stride);
        EXPECT_EQ(stream, font->pVB);
        EXPECT_EQ(stride, 28u);
        if (stream) stream->Release();
    }
    d->SetTexture(0, nullptr);
    mine->Release();
}

TEST(FontDraw, OneDrawForEachFiftyGlyphsAndNoneForNothing) {
    FontTestDevice dev;
    ASSERT_NE(dev.device(), nullptr);
    auto font = ReadyFont(dev, 8);
    struct Case {
        std::string text;
        uint32_t draws, primitives;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"   \n \x01", 0, 0},
        {std::string(50, 'x'), 1, 100},
        {std::string(51, 'x'), 2, 102},
        {std::string(50, 'x') + "     ", 1, 100},  // spaces do not count
        {std::string(100, 'x'), 2, 200},
        {std::string(101, 'i'), 3, 202},
    };
    for (const Case& c : cases) {
        dev.Begin();
        layer::DeviceFrameStats before = layer::CurrentFrameStats();
        EXPECT_EQ(font->DrawText(0, 0, 0xFFFFFFFF, c.text.c_str(), 0), S_OK);
        layer::DeviceFrameStats after = layer::CurrentFrameStats();
        dev.End();
        EXPECT_EQ(after.drawCalls - before.drawCalls, c.draws) << c.text.size();
        EXPECT_EQ(after.primitives - before.primitives, c.primitives) << c.text.size();
    }
}

TEST(FontDraw, LineBreaksStartAgainAtTheCallsXAndControlBytesAreSkipped) {
    FontTestDevice dev;
    ASSERT_NE(dev.device(), nullptr);
    auto font = ReadyFont(dev, 14);
    const int line = LineHeight(*font), w = int(dev.width());
    SIZE ab = {};
    font->GetTextExtent("ab", &ab);

    std::vector<uint32_t> twoLines = Drawn(dev, *font, 20, 30, 0xFFFFFFFF, "ab\ncd");
    std::vector<uint32_t> first = Drawn(dev, *font, 20, 30, 0xFFFFFFFF, "ab");
    std::vector<uint32_t> second = Drawn(dev, *font, 20, float(30 + line), 0xFFFFFFFF, "cd");
    EXPECT_EQ(Region(twoLines, w, 10, 20, 80, line + 10), Region(first, w, 10, 20, 80, line + 10));
    EXPECT_EQ(Region(twoLines, w, 10, 30 + line, 80, line + 10), Region(second, w, 10, 30 + line, 80, line + 10));
    Box box = InkBox(twoLines, w);
    EXPECT_GE(box.left, 19);
    EXPECT_LE(box.left, 22);
    EXPECT_GT(box.bottom, 30 + line);

    // Control bytes, 127 and every byte over 127 neither draw nor move the pen.
    std::vector<uint32_t> plain = Drawn(dev, *font, 20, 30, 0xFFFFFFFF, "ab");
    std::vector<uint32_t> noisy = Drawn(dev, *font, 20, 30, 0xFFFFFFFF, "\x7f" "a\x01\x09\x1b\x7f\x80\xe1\xff" "b\x7f");
    EXPECT_EQ(noisy, plain);
    std::vector<uint32_t> nothing = Drawn(dev, *font, 20, 30, 0xFFFFFFFF, "\x7f\x7f\x80\xa0\xff");
    EXPECT_GT(InkBox(nothing, w).left, InkBox(nothing, w).right);
}

TEST(FontDraw, TextTakesTheColourAndItsAlpha) {
    FontTestDevice dev;
    ASSERT_NE(dev.device(), nullptr);
    auto font = ReadyFont(dev, 14);
    std::vector<uint32_t> red = Drawn(dev, *font, 10, 10, 0xFFFF0000, "Red text");
    int full = 0, lit = 0;
    for (uint32_t p : red) {
        if (Rgb(p) == 0) continue;
        ++lit;
        EXPECT_EQ(p & 0x0000FFFF, 0u) << std::hex << p;  // no green, no blue
        if (Rgb(p) == 0x00FF0000) ++full;
    }
    EXPECT_GT(lit, 50);
    EXPECT_GT(full, 10);

    // Half alpha blends half of the colour over the frame.
    std::vector<uint32_t> half = Drawn(dev, *font, 10, 10, 0x80FFFFFF, "Red text");
    uint32_t brightest = 0;
    for (uint32_t p : half) brightest = std::max(brightest, p & 0xFF);
    EXPECT_GE(brightest, 0x7Eu);
    EXPECT_LE(brightest, 0x81u);
}

TEST(FontDraw, GlyphAtWholePixelsReproducesTheAtlas) {
    FontTestDevice dev;
    ASSERT_NE(dev.device(), nullptr);
    auto font = ReadyFont(dev, 14);
    std::vector<uint32_t> pixels = Drawn(dev, *font, 40, 50, 0xFFFFFFFF, "W&g");
    D3DLOCKED_RECT locked = {};
    ASSERT_EQ(font->pTexture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), S_OK);
    int x = 40, compared = 0;
    for (char c : std::string("W&g")) {
        const float* r = font->glyphRects[c - 32];
        int left = int(r[0] * font->texWidth + 0.5f), top = int(r[1] * font->texHeight + 0.5f);
        int cw = int((r[2] - r[0]) * font->texWidth + 0.5f), ch = int((r[3] - r[1]) * font->texHeight + 0.5f);
        for (int j = 0; j < ch; ++j)
            for (int i = 0; i < cw; ++i) {
                WORD texel = reinterpret_cast<const WORD*>(static_cast<const BYTE*>(locked.pBits) +
                                                           (top + j) * locked.Pitch)[left + i];
                uint32_t expected = (texel >> 12) * 17;  // alpha over black
                uint32_t got = pixels[size_t(50 + j) * dev.width() + size_t(x + i)] & 0xFF;
                EXPECT_NEAR(double(got), double(expected), 1.0) << c << " at " << i << "," << j;
                ++compared;
            }
        x += cw;
    }
    font->pTexture->UnlockRect(0);
    EXPECT_GT(compared, 300);
}

TEST(FontDraw, EachGameFontRendersAReadableSpecimen) {
    FontTestDevice dev;
    ASSERT_NE(dev.device(), nullptr);
    auto font8 = ReadyFont(dev, 8);
    auto font10 = ReadyFont(dev, 10);
    auto font14 = ReadyFont(dev, 14);
    const char* pangram = "The quick brown fox jumps over the lazy dog 0123456789";
    const char* symbols = "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~ ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    dev.Begin(0xFF203040);
    float y = 10;
    for (CTextureFont* f : {font8.get(), font10.get(), font14.get()}) {
        EXPECT_EQ(f->DrawText(10, y, 0xFFFFFFFF, pangram, 0), S_OK);
        EXPECT_EQ(f->DrawText(10, y + 30, 0xFFFFFF00, symbols, 0), S_OK);
        EXPECT_EQ(f->DrawText(10, y + 60, 0xDCFB0DA8, "Skore: 1250  Penize: 300\nZivoty: 3", 0), S_OK);
        y += 130;
    }
    dev.End();
    std::vector<uint32_t> pixels = dev.Pixels();
    // Each font left ink on its own band.
    for (int band = 0; band < 3; ++band) {
        std::vector<uint32_t> part(pixels.begin() + size_t(10 + 130 * band) * dev.width(),
                                   pixels.begin() + size_t(10 + 130 * band + 100) * dev.width());
        int lit = 0;
        for (uint32_t p : part) lit += Rgb(p) != 0x203040;
        EXPECT_GT(lit, 1000) << band;
    }
    for (uint32_t& p : pixels) p |= 0xFF000000;  // the back buffer keeps no alpha
    std::vector<BYTE> png;
    ASSERT_EQ(layer::EncodePng(dev.width(), dev.height(), pixels.data(), &png), S_OK);
    std::string path = ::testing::TempDir() + "font_specimen.png";
    EXPECT_EQ(layer::WriteBytesToFile(path.c_str(), png), S_OK);
}

TEST(FontDraw, AVertexBufferThatCannotBeLockedDrawsNothingAndRestoresTheStates) {
    FontTestDevice dev;
    ASSERT_NE(dev.device(), nullptr);
    IDirect3DDevice8* d = dev.device();
    auto font = ReadyFont(dev, 10);
    BYTE* held = nullptr;
    ASSERT_EQ(font->pVB->Lock(0, 0, &held, 0), S_OK);  // a second lock of the buffer fails
    d->SetRenderState(D3DRS_ALPHAREF, 99);
    dev.Begin();
    layer::DeviceFrameStats before = layer::CurrentFrameStats();
    EXPECT_TRUE(FAILED(font->DrawText(0, 0, 0xFFFFFFFF, "locked", 0)));
    EXPECT_TRUE(FAILED(font->DrawTextScaled(-1, -1, 0.5f, 0.1f, 0.1f, 0xFFFFFFFF, "locked", 0)));
    EXPECT_TRUE(FAILED(font->Render3DText("locked", 0)));
    layer::DeviceFrameStats after = layer::CurrentFrameStats();
    dev.End();
    EXPECT_EQ(after.drawCalls, before.drawCalls);
    DWORD ref = 0;
    d->GetRenderState(D3DRS_ALPHAREF, &ref);
    EXPECT_EQ(ref, 99u);
    font->pVB->Unlock();
    std::vector<uint32_t> pixels = dev.Pixels();
    EXPECT_GT(InkBox(pixels, int(dev.width())).left, InkBox(pixels, int(dev.width())).right);
}
