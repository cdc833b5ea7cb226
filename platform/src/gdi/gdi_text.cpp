// gdi_text.cpp -- GetTextExtentPoint32A and ExtTextOutA: measuring and drawing a line of text
// with the DC's font into the DC's bitmap. Glyphs are hinted outlines drawn in 256 grey levels
// between the text and the background colour; the background of the text's cell is filled first,
// as GDI's opaque background mode does. No kerning is applied, as GDI applies none.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>

#include "gdi/gdi_local.h"

namespace gdi {

std::vector<char32_t> DecodeText(const char* text, size_t bytes) {
    std::vector<char32_t> out;
    out.reserve(bytes);
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < bytes) {
        unsigned char b = s[i];
        int extra = b < 0x80 ? 0 : (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : -1;
        char32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool ok = extra >= 0 && i + size_t(extra) < bytes;
        for (int k = 1; ok && k <= extra; ++k) {
            unsigned char c = s[i + size_t(k)];
            ok = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (ok) {
            out.push_back(cp);
            i += size_t(extra) + 1;
        } else {
            out.push_back(0xFFFD);  // a byte that does not start a whole UTF-8 sequence
            ++i;
        }
    }
    return out;
}

namespace {

// Loads (and renders) one character's glyph into the face's slot; its advance in whole pixels,
// or -1 when the glyph cannot be had.
int LoadGlyph(const Font& font, char32_t cp, bool render) {
    FT_Face face = font.face;
    if (FT_Load_Char(face, cp, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) return -1;
    if (font.slantGlyphs) FT_GlyphSlot_Oblique(face->glyph);
    if (font.emboldenGlyphs) FT_GlyphSlot_Embolden(face->glyph);
    if (render && FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return -1;
    return int((face->glyph->advance.x + 32) >> 6);
}

int Advance(const Font& font, const std::vector<char32_t>& text) {
    int width = 0;
    for (char32_t cp : text) width += std::max(LoadGlyph(font, cp, false), 0);
    return width;
}

uint32_t Blend(uint32_t under, COLORREF colour, unsigned coverage) {
    // COLORREF is 0x00BBGGRR; a pixel is 0x00RRGGBB (bytes B, G, R, X).
    unsigned over[3] = {(colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF};
    uint32_t out = 0;
    for (int ch = 0; ch < 3; ++ch) {
        unsigned u = (under >> (8 * ch)) & 0xFF;
        unsigned v = (u * (255 - coverage) + over[ch] * coverage + 127) / 255;
        out |= v << (8 * ch);
    }
    return out;
}

uint32_t PixelOf(COLORREF colour) { return Blend(0, colour, 255); }

void FillRect(Bitmap& bitmap, int left, int top, int right, int bottom, COLORREF colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, bitmap.width);
    bottom = std::min(bottom, bitmap.height);
    uint32_t pixel = PixelOf(colour);
    for (int y = top; y < bottom; ++y) std::fill(bitmap.Row(y) + left, bitmap.Row(y) + right, pixel);
}

// Lays the rendered glyph of the slot over the bitmap with its origin at (penX, baseline).
void DrawSlot(Bitmap& bitmap, FT_GlyphSlot slot, int penX, int baseline, COLORREF colour) {
    const FT_Bitmap& glyph = slot->bitmap;
    if (glyph.pixel_mode != FT_PIXEL_MODE_GRAY) return;
    int left = penX + slot->bitmap_left;
    int top = baseline - slot->bitmap_top;
    for (int gy = 0; gy < int(glyph.rows); ++gy) {
        int y = top + gy;
        if (y < 0 || y >= bitmap.height) continue;
        const unsigned char* src = glyph.buffer + gy * glyph.pitch;
        uint32_t* row = bitmap.Row(y);
        for (int gx = 0; gx < int(glyph.width); ++gx) {
            int x = left + gx;
            if (x < 0 || x >= bitmap.width || src[gx] == 0) continue;
            row[x] = Blend(row[x], colour, src[gx]);
        }
    }
}

}  // namespace
}  // namespace gdi

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
    gdi::DC* dc = gdi::LookupDC(hdc);
    if (!dc || !dc->font || !psizl || c < 0 || (c > 0 && !lpString)) return FALSE;
    std::vector<char32_t> text = gdi::DecodeText(lpString, size_t(c));
    psizl->cx = gdi::Advance(*dc->font, text);
    psizl->cy = dc->font->CellHeight();
    return TRUE;
}

BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString, UINT c,
                        const INT* lpDx) {
    gdi::DC* dc = gdi::LookupDC(hdc);
    if (!dc || !dc->font || !dc->bitmap || (c > 0 && !lpString)) return FALSE;
    if ((options & ~UINT(ETO_OPAQUE)) != 0 || lpDx) return FALSE;
    const gdi::Font& font = *dc->font;
    gdi::Bitmap& bitmap = *dc->bitmap;
    std::vector<char32_t> text = gdi::DecodeText(lpString, c);

    if ((options & ETO_OPAQUE) && lprect)
        gdi::FillRect(bitmap, lprect->left, lprect->top, lprect->right, lprect->bottom, dc->bkColor);
    gdi::FillRect(bitmap, x, y, x + gdi::Advance(font, text), y + font.CellHeight(), dc->bkColor);

    int pen = x;
    for (char32_t cp : text) {
        int advance = gdi::LoadGlyph(font, cp, true);
        if (advance < 0) continue;
        gdi::DrawSlot(bitmap, font.face->glyph, pen, y + font.ascent, dc->textColor);
        pen += advance;
    }
    return TRUE;
}
