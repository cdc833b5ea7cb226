// font_draw_test.cpp -- CTextureFont drawing on a real device, read back from the back buffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "font_test_device.h"
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

int LineHeight(CTextureFont& font) {
    SIZE size = {};
    font.GetTextExtent("", &size);
    return int(size.cy);
}

}  // namespace

using FontDraw = FontDeviceTest;

TEST_F(FontDraw, ExtentsMeasureTheWidestRowAndOneCellPerLine) {
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

TEST_F(FontDraw, CallersStatesComeBackAfterDrawing) {
    IDirect3DDevice8* d = dev.device();
    auto font = ReadyFont(dev, 10);
    IDirect3DTexture8* mine = nullptr;
    ASSERT_EQ(d->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &mine), S_OK);

    // States of the caller that the font sets for itself, each unlike the font's own: render
    // states (stage -1), then texture-stage states.
    const struct {
        int stage;
        DWORD type, value;
    } kStates[] = {{-1, D3DRS_ZENABLE, TRUE},          {-1, D3DRS_ALPHABLENDENABLE, FALSE},
                   {-1, D3DRS_ALPHAREF, 64},           {-1, D3DRS_ALPHAFUNC, D3DCMP_LESS},
                   {-1, D3DRS_CULLMODE, D3DCULL_NONE}, {-1, D3DRS_FOGENABLE, TRUE},
                   {-1, D3DRS_SRCBLEND, D3DBLEND_ONE}, {0, D3DTSS_MINFILTER, D3DTEXF_LINEAR},
                   {0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR}, {0, D3DTSS_COLOROP, D3DTOP_SELECTARG1},
                   {1, D3DTSS_COLOROP, D3DTOP_MODULATE}};
    d->SetTexture(0, mine);
    for (const auto& t : kStates)
        if (t.stage < 0) d->SetRenderState(D3DRENDERSTATETYPE(t.type), t.value);
        else d->SetTextureStageState(DWORD(t.stage), D3DTEXTURESTAGESTATETYPE(t.type), t.value);

    for (DWORD flags : {0u, DWORD(TEXTF_FILTERED)}) {
        dev.Begin();
        ASSERT_EQ(font->DrawText(5, 5, 0xFFFFFFFF, "States", flags), S_OK);
        dev.End();
        for (const auto& t : kStates) {
            DWORD v = 0xDEAD;
            if (t.stage < 0) d->GetRenderState(D3DRENDERSTATETYPE(t.type), &v);
            else d->GetTextureStageState(DWORD(t.stage), D3DTEXTURESTAGESTATETYPE(t.type), &v);
            EXPECT_EQ(v, t.value) << "stage " << t.stage << ", state " << t.type << ", flags " << flags;
        }
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

TEST_F(FontDraw, LineBreaksStartAgainAtTheCallsXAndControlBytesAreSkipped) {
    auto font = ReadyFont(dev, 14);
    const int line = LineHeight(*font), w = int(dev.width());
    const std::vector<uint32_t> twoLines = Drawn(dev, *font, 20, 30, 0xFFFFFFFF, "ab\ncd");
    dev.Begin();  // as "ab", and "cd" one line lower at the same x
    font->DrawText(20, 30, 0xFFFFFFFF, "ab", 0);
    font->DrawText(20, float(30 + line), 0xFFFFFFFF, "cd", 0);
    dev.End();
    EXPECT_EQ(dev.Pixels(), twoLines);
    const Ink box = FindInk(twoLines, w);
    EXPECT_GE(box.left, 19);
    EXPECT_LE(box.left, 22);
    EXPECT_GT(box.bottom, 30 + line);

    // Control bytes, 127 and every byte over 127 neither draw nor move the pen.
    std::vector<uint32_t> plain = Drawn(dev, *font, 20, 30, 0xFFFFFFFF, "ab");
    std::vector<uint32_t> noisy = Drawn(dev, *font, 20, 30, 0xFFFFFFFF, "\x7f" "a\x01\x09\x1b\x7f\x80\xe1\xff" "b\x7f");
    EXPECT_EQ(noisy, plain);
    std::vector<uint32_t> nothing = Drawn(dev, *font, 20, 30, 0xFFFFFFFF, "\x7f\x7f\x80\xa0\xff");
    EXPECT_GT(FindInk(nothing, w).left, FindInk(nothing, w).right);
}

TEST_F(FontDraw, GlyphsAtWholePixelsReproduceTheAtlasInTheTextsColourAndAlpha) {
    auto font = ReadyFont(dev, 14);
    // Over the black frame: in white, in red, and in white at half alpha.
    const std::vector<uint32_t> white = Drawn(dev, *font, 40, 50, 0xFFFFFFFF, "W&g");
    const std::vector<uint32_t> red = Drawn(dev, *font, 40, 50, 0xFFFF0000, "W&g");
    const std::vector<uint32_t> half = Drawn(dev, *font, 40, 50, 0x80FFFFFF, "W&g");
    D3DLOCKED_RECT locked = {};
    ASSERT_EQ(font->pTexture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), S_OK);
    int x = 40, compared = 0, full = 0;
    for (char c : std::string("W&g")) {
        const float* r = font->glyphRects[c - 32];
        int left = int(r[0] * font->texWidth + 0.5f), top = int(r[1] * font->texHeight + 0.5f);
        int cw = int((r[2] - r[0]) * font->texWidth + 0.5f), ch = int((r[3] - r[1]) * font->texHeight + 0.5f);
        for (int j = 0; j < ch; ++j)
            for (int i = 0; i < cw; ++i) {
                WORD texel = reinterpret_cast<const WORD*>(static_cast<const BYTE*>(locked.pBits) +
                                                           (top + j) * locked.Pitch)[left + i];
                const double alpha = (texel >> 12) * 17;  // the glyph's coverage
                const size_t at = size_t(50 + j) * dev.width() + size_t(x + i);
                EXPECT_NEAR(white[at] & 0xFF, alpha, 1.0) << c << " at " << i << "," << j;
                EXPECT_NEAR((red[at] >> 16) & 0xFF, alpha, 1.0) << c << " at " << i << "," << j;
                EXPECT_EQ(red[at] & 0xFFFF, 0u) << "no green, no blue";
                EXPECT_NEAR(half[at] & 0xFF, alpha * 0x80 / 0xFF, 1.0) << c << " at " << i << "," << j;
                full += alpha == 0xFF;
                ++compared;
            }
        x += cw;
    }
    font->pTexture->UnlockRect(0);
    EXPECT_GT(compared, 300);
    EXPECT_GT(full, 10);
}

TEST_F(FontDraw, EachGameFontDrawsEveryCharacterOnItsOwnBand) {
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
    const std::vector<uint32_t> pixels = dev.Pixels();
    for (size_t band = 0; band < 3; ++band) {  // each font left ink on its own band
        int lit = 0;
        for (size_t i = (10 + 130 * band) * dev.width(); i < (110 + 130 * band) * dev.width(); ++i)
            lit += Rgb(pixels[i]) != 0x203040;
        EXPECT_GT(lit, 1000) << band;
    }
}

TEST_F(FontDraw, AVertexBufferThatCannotBeLockedDrawsNothingAndRestoresTheStates) {
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
    EXPECT_GT(FindInk(pixels, int(dev.width())).left, FindInk(pixels, int(dev.width())).right);
}
