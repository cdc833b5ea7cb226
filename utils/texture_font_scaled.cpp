// texture_font_scaled.cpp -- text sized by the viewport, and text as quads in world space.
#include "utils/texture_font.h"

namespace {

const UINT kGlyphsPer3DBatch = 43;  // 258 of the 262 vertices of 3D text the buffer holds
const float kTexelsPerUnit = 10.0f;

}  // namespace

// Position from -1 (left, top) to 1 (right, bottom) of the viewport; a line is yScale of the
// viewport's height, whatever the font's size.
HRESULT CTextureFont::DrawTextScaled(float x, float y, float z, float xScale, float yScale, DWORD colour,
                                     const char* text, DWORD drawFlags) {
    if (!CanDraw() || !text) return E_FAIL;
    Batch batch;
    BeginBatch(batch, D3DFVF_SVERTEX2D, sizeof(SVertex2D), kGlyphsPer2DBatch, drawFlags);
    D3DVIEWPORT8 viewport = {};
    pDevice->GetViewport(&viewport);
    float width = float(viewport.Width), height = float(viewport.Height);
    float sx = (x + 1.0f) * width / 2.0f;
    float sy = (y + 1.0f) * height / 2.0f;
    float startX = sx;
    float line = LineTexels();
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p && batch.vertices; ++p) {
        if (*p == '\n') {
            sx = startX;
            sy += yScale * height;
        }
        if (!HasGlyph(*p)) continue;
        const float* rect = glyphRects[*p - 32];
        float w = (width * xScale / line) * ((rect[2] - rect[0]) * float(texWidth));
        float h = (height * yScale / line) * ((rect[3] - rect[1]) * float(texHeight));
        if (*p != ' ') PutScreenGlyph(batch, sx, sy, w, h, z, colour, rect);
        sx += w;
    }
    return EndBatch(batch);
}

// Text in the xy plane of world space, 10 atlas texels to a unit, lines going toward -y; the
// caller's transforms place it.
HRESULT CTextureFont::Render3DText(const char* text, DWORD drawFlags) {
    if (!CanDraw() || !text) return E_FAIL;
    Batch batch;
    BeginBatch(batch, D3DFVF_SFONTVERTEX3D, sizeof(SFontVertex3D), kGlyphsPer3DBatch, drawFlags);
    float x = 0.0f, y = 0.0f;
    if (drawFlags & TEXTF_CENTERED) {
        SIZE size = {0, 0};
        GetTextExtent(text, &size);
        x = -(float(size.cx) / kTexelsPerUnit) / 2.0f;
        y = -(float(size.cy) / kTexelsPerUnit) / 2.0f;
    }
    if (drawFlags & TEXTF_TWOSIDED) pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    float startX = x;
    float line = LineTexels() / textScale / kTexelsPerUnit;
    const D3DXVECTOR3 normal(0.0f, 0.0f, -1.0f);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p && batch.vertices; ++p) {
        if (*p == '\n') {
            x = startX;
            y -= line;
        }
        if (!HasGlyph(*p)) continue;
        const float* rect = glyphRects[*p - 32];
        float w = (rect[2] - rect[0]) * float(texWidth) / (kTexelsPerUnit * textScale);
        float h = (rect[3] - rect[1]) * float(texHeight) / (kTexelsPerUnit * textScale);
        if (*p != ' ') {
            SFontVertex3D* v = reinterpret_cast<SFontVertex3D*>(GlyphVertices(batch));
            v[0] = SetFontVertex3D(D3DXVECTOR3(x, y, 0.0f), normal, rect[0], rect[3]);
            v[1] = SetFontVertex3D(D3DXVECTOR3(x, y + h, 0.0f), normal, rect[0], rect[1]);
            v[2] = SetFontVertex3D(D3DXVECTOR3(x + w, y, 0.0f), normal, rect[2], rect[3]);
            v[3] = SetFontVertex3D(D3DXVECTOR3(x + w, y + h, 0.0f), normal, rect[2], rect[1]);
            v[4] = SetFontVertex3D(D3DXVECTOR3(x + w, y, 0.0f), normal, rect[2], rect[3]);
            v[5] = SetFontVertex3D(D3DXVECTOR3(x, y + h, 0.0f), normal, rect[0], rect[1]);
            GlyphWritten(batch);
        }
        x += w;
    }
    return EndBatch(batch);
}
