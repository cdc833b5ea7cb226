// texture_font.cpp -- the glyph atlas, the text-drawing states, measuring and 2D text.
// GDI draws each glyph of codes 32 to 126 white on black into a memory bitmap; the coverage
// becomes 16 levels of alpha over white in an A4R4G4B4 atlas, and the vertex colour tints it.
#include "utils/texture_font.h"

#include <cstring>
#include <initializer_list>

#include "wingdi.h"

namespace {

const UINT kVertexBufferBytes = 8400;  // 300 screen vertices, 262 vertices of 3D text
const DWORD kFirstGlyph = 32;
const DWORD kLastGlyph = 126;

// Everything GDI made for the atlas, released in one place.
struct GlyphCanvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HFONT font = nullptr;
    DWORD* bits = nullptr;
    ~GlyphCanvas() {
        if (bitmap) DeleteObject(bitmap);
        if (dc) DeleteDC(dc);
        if (font) DeleteObject(font);
    }
};

}  // namespace

CTextureFont::CTextureFont(const char* name, DWORD fontHeight, DWORD fontFlags) {
    // The name is cut to the 79 characters its field holds.
    std::memset(faceName, 0, sizeof faceName);
    if (name) std::strncpy(faceName, name, sizeof faceName - 1);
    height = fontHeight;
    flags = fontFlags;
    pDevice = nullptr;
    pTexture = nullptr;
    pVB = nullptr;
    texWidth = texHeight = 0;
    textScale = 1.0f;
    std::memset(glyphRects, 0, sizeof glyphRects);
    savedStateBlock = drawStateBlock = 0;
}

CTextureFont::~CTextureFont() {
    InvalidateDeviceObjects();
    DeleteDeviceObjects();
}

HRESULT CTextureFont::InitDeviceObjects(IDirect3DDevice8* device) {
    pDevice = device;
    textScale = 1.0f;
    std::memset(glyphRects, 0, sizeof glyphRects);
    if (!pDevice) return E_FAIL;

    texWidth = texHeight = height > 40 ? 1024 : height > 20 ? 512 : 256;
    D3DCAPS8 caps;
    std::memset(&caps, 0, sizeof caps);
    pDevice->GetDeviceCaps(&caps);
    if (caps.MaxTextureWidth < texWidth) {
        textScale = float(caps.MaxTextureWidth) / float(texWidth);
        texWidth = texHeight = caps.MaxTextureWidth;
    }
    if (pTexture) {
        pTexture->Release();
        pTexture = nullptr;
    }
    HRESULT hr = pDevice->CreateTexture(texWidth, texHeight, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &pTexture);
    if (FAILED(hr)) {
        pTexture = nullptr;
        return hr;
    }
    return RasteriseGlyphs();
}

// Draws the glyphs with GDI and fills the atlas from the bitmap. On any failure the glyph
// rectangles stay empty, so nothing is measured or drawn from an atlas that was not filled.
HRESULT CTextureFont::RasteriseGlyphs() {
    GlyphCanvas canvas;
    canvas.dc = CreateCompatibleDC(nullptr);
    if (!canvas.dc) return E_FAIL;
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = LONG(texWidth);
    info.bmiHeader.biHeight = -LONG(texHeight);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    canvas.bitmap = CreateDIBSection(canvas.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    canvas.bits = static_cast<DWORD*>(bits);
    if (!canvas.bitmap || !canvas.bits) return E_FAIL;
    SetMapMode(canvas.dc, MM_TEXT);

    int pixelsPerInch = int(float(GetDeviceCaps(canvas.dc, LOGPIXELSY)) * textScale);
    int charHeight = -MulDiv(int(height), pixelsPerInch, 72);
    canvas.font = CreateFontA(charHeight, 0, 0, 0, (flags & FONTF_BOLD) ? FW_BOLD : FW_NORMAL,
                              (flags & FONTF_ITALIC) ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, faceName);
    if (!canvas.font) return E_FAIL;

    SelectObject(canvas.dc, canvas.bitmap);
    SelectObject(canvas.dc, canvas.font);
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    SetBkColor(canvas.dc, 0x00000000);
    SetTextAlign(canvas.dc, TA_LEFT | TA_TOP);

    // Rows of glyphs one texel apart; a glyph that would start below the atlas is left out.
    float rects[96][4];
    std::memset(rects, 0, sizeof rects);
    DWORD x = 0, y = 0;
    for (DWORD c = kFirstGlyph; c <= kLastGlyph; ++c) {
        char text[2] = {char(c), 0};
        SIZE size = {0, 0};
        GetTextExtentPoint32A(canvas.dc, text, 1, &size);
        if (x + DWORD(size.cx) + 1 > texWidth) {
            x = 0;
            y += DWORD(size.cy) + 1;
        }
        if (y + DWORD(size.cy) > texHeight) continue;
        ExtTextOutA(canvas.dc, int(x), int(y), ETO_OPAQUE, nullptr, text, 1, nullptr);
        rects[c - 32][0] = float(x) / float(texWidth);
        rects[c - 32][1] = float(y) / float(texHeight);
        rects[c - 32][2] = float(x + DWORD(size.cx)) / float(texWidth);
        rects[c - 32][3] = float(y + DWORD(size.cy)) / float(texHeight);
        x += DWORD(size.cx) + 1;
    }

    D3DLOCKED_RECT locked;
    std::memset(&locked, 0, sizeof locked);
    HRESULT hr = pTexture->LockRect(0, &locked, nullptr, 0);
    if (FAILED(hr) || !locked.pBits) return FAILED(hr) ? hr : E_FAIL;
    for (DWORD row = 0; row < texHeight; ++row) {
        WORD* texels = reinterpret_cast<WORD*>(static_cast<BYTE*>(locked.pBits) + size_t(row) * size_t(locked.Pitch));
        const DWORD* pixels = canvas.bits + size_t(row) * texWidth;
        for (DWORD col = 0; col < texWidth; ++col) {
            BYTE alpha = BYTE((pixels[col] & 0xFF) >> 4);
            texels[col] = alpha > 0 ? WORD((alpha << 12) | 0x0FFF) : WORD(0x0000);
        }
    }
    pTexture->UnlockRect(0);
    std::memcpy(glyphRects, rects, sizeof glyphRects);
    return S_OK;
}

HRESULT CTextureFont::RestoreDeviceObjects() {
    if (!pDevice) return E_FAIL;
    HRESULT hr = pDevice->CreateVertexBuffer(kVertexBufferBytes, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0,
                                             D3DPOOL_DEFAULT, &pVB);
    if (FAILED(hr)) {
        pVB = nullptr;
        return hr;
    }
    for (DWORD* block : {&savedStateBlock, &drawStateBlock}) {
        pDevice->BeginStateBlock();
        pDevice->SetTexture(0, pTexture);
        pDevice->SetRenderState(D3DRS_ZENABLE, (flags & FONTF_ZENABLE) ? TRUE : FALSE);
        pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        pDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        pDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
        pDevice->SetRenderState(D3DRS_ALPHAREF, 0x08);
        pDevice->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
        pDevice->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
        pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
        pDevice->SetRenderState(D3DRS_STENCILENABLE, FALSE);
        pDevice->SetRenderState(D3DRS_CLIPPING, TRUE);
        pDevice->SetRenderState(D3DRS_EDGEANTIALIAS, FALSE);
        pDevice->SetRenderState(D3DRS_CLIPPLANEENABLE, FALSE);
        pDevice->SetRenderState(D3DRS_VERTEXBLEND, D3DVBF_DISABLE);
        pDevice->SetRenderState(D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE);
        pDevice->SetRenderState(D3DRS_FOGENABLE, FALSE);
        pDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        pDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        pDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        pDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        pDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        pDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        pDevice->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
        pDevice->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
        pDevice->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);
        pDevice->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
        pDevice->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
        pDevice->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        pDevice->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        pDevice->EndStateBlock(block);
    }
    return S_OK;
}

HRESULT CTextureFont::InvalidateDeviceObjects() {
    if (pVB) {
        pVB->Release();
        pVB = nullptr;
    }
    if (pDevice) {
        if (savedStateBlock) pDevice->DeleteStateBlock(savedStateBlock);
        if (drawStateBlock) pDevice->DeleteStateBlock(drawStateBlock);
    }
    savedStateBlock = drawStateBlock = 0;
    return S_OK;
}

HRESULT CTextureFont::DeleteDeviceObjects() {
    if (pTexture) {
        pTexture->Release();
        pTexture = nullptr;
    }
    pDevice = nullptr;
    return S_OK;
}

// A byte has a glyph when it is one of the atlas's codes and its glyph found room in the atlas.
bool CTextureFont::HasGlyph(unsigned char c) const {
    if (c < kFirstGlyph || c > kLastGlyph) return false;
    const float* rect = glyphRects[c - 32];
    return rect[3] > rect[1];
}

// The height of the space's cell in atlas texels; 0 while there is no atlas.
float CTextureFont::LineTexels() const {
    if (!pTexture) return 0.0f;
    return (glyphRects[0][3] - glyphRects[0][1]) * float(texHeight);
}

bool CTextureFont::CanDraw() const { return pDevice && pVB && LineTexels() > 0.0f; }

// Extents and lines are measured in drawn pixels: when the device forced a smaller atlas the
// glyphs are drawn larger than their texels, and the line height and the extent follow them.
HRESULT CTextureFont::GetTextExtent(const char* text, SIZE* size) {
    if (!text || !size || LineTexels() <= 0.0f) return E_FAIL;
    float line = LineTexels() / textScale;
    float rowWidth = 0.0f, width = 0.0f, textHeight = line;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p == '\n') {
            rowWidth = 0.0f;
            textHeight += line;
        }
        if (!HasGlyph(*p)) continue;
        const float* rect = glyphRects[*p - 32];
        rowWidth += (rect[2] - rect[0]) * float(texWidth) / textScale;
        if (rowWidth > width) width = rowWidth;
    }
    size->cx = LONG(width);
    size->cy = LONG(textHeight);
    return S_OK;
}

void CTextureFont::BeginBatch(Batch& batch, DWORD fvf, UINT stride, UINT capacity, DWORD drawFlags) {
    pDevice->CaptureStateBlock(savedStateBlock);
    pDevice->ApplyStateBlock(drawStateBlock);
    pDevice->SetVertexShader(fvf);
    pDevice->SetPixelShader(0);
    pDevice->SetStreamSource(0, pVB, stride);
    if (drawFlags & TEXTF_FILTERED) {
        pDevice->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
        pDevice->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    }
    batch.vertices = nullptr;
    batch.stride = stride;
    batch.capacity = capacity;
    batch.glyphs = 0;
    batch.result = pVB->Lock(0, 0, &batch.vertices, D3DLOCK_DISCARD);
    if (FAILED(batch.result)) batch.vertices = nullptr;
}

// Where the six vertices of the next glyph go; null once a lock has failed.
BYTE* CTextureFont::GlyphVertices(Batch& batch) const {
    return batch.vertices ? batch.vertices + size_t(batch.glyphs) * 6 * batch.stride : nullptr;
}

void CTextureFont::GlyphWritten(Batch& batch) {
    if (++batch.glyphs < batch.capacity) return;
    pVB->Unlock();
    pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, batch.glyphs * 2);
    batch.glyphs = 0;
    batch.result = pVB->Lock(0, 0, &batch.vertices, D3DLOCK_DISCARD);
    if (FAILED(batch.result)) batch.vertices = nullptr;
}

// Draws what is left and puts the caller's states back; the first failed lock, or S_OK.
HRESULT CTextureFont::EndBatch(Batch& batch) {
    if (batch.vertices) {
        pVB->Unlock();
        if (batch.glyphs > 0) pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, batch.glyphs * 2);
    }
    pDevice->ApplyStateBlock(savedStateBlock);
    return batch.result;
}

// Six screen vertices of one glyph at (x, y), two clockwise triangles; texel centres fall on
// pixel centres, so the quad is shifted half a pixel up and left.
void CTextureFont::PutScreenGlyph(Batch& batch, float x, float y, float w, float h, float z, DWORD colour,
                                  const float* rect) {
    float left = x - 0.5f, top = y - 0.5f, right = x + w - 0.5f, bottom = y + h - 0.5f;
    SVertex2D* v = reinterpret_cast<SVertex2D*>(GlyphVertices(batch));
    v[0] = SetFontVertex2D(D3DXVECTOR4(left, bottom, z, 1.0f), colour, rect[0], rect[3]);
    v[1] = SetFontVertex2D(D3DXVECTOR4(left, top, z, 1.0f), colour, rect[0], rect[1]);
    v[2] = SetFontVertex2D(D3DXVECTOR4(right, bottom, z, 1.0f), colour, rect[2], rect[3]);
    v[3] = SetFontVertex2D(D3DXVECTOR4(right, top, z, 1.0f), colour, rect[2], rect[1]);
    v[4] = SetFontVertex2D(D3DXVECTOR4(right, bottom, z, 1.0f), colour, rect[2], rect[3]);
    v[5] = SetFontVertex2D(D3DXVECTOR4(left, top, z, 1.0f), colour, rect[0], rect[1]);
    GlyphWritten(batch);
}

HRESULT CTextureFont::DrawText(float x, float y, DWORD colour, const char* text, DWORD drawFlags) {
    if (!CanDraw() || !text) return E_FAIL;
    Batch batch;
    BeginBatch(batch, D3DFVF_SVERTEX2D, sizeof(SVertex2D), kGlyphsPer2DBatch, drawFlags);
    float startX = x;
    float line = LineTexels() / textScale;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p && batch.vertices; ++p) {
        if (*p == '\n') {
            x = startX;
            y += line;
        }
        if (!HasGlyph(*p)) continue;
        const float* rect = glyphRects[*p - 32];
        float w = (rect[2] - rect[0]) * float(texWidth) / textScale;
        float h = (rect[3] - rect[1]) * float(texHeight) / textScale;
        if (*p != ' ') PutScreenGlyph(batch, x, y, w, h, 0.9f, colour, rect);
        x += w;
    }
    return EndBatch(batch);
}
