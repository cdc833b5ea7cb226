// texture_font.h -- CTextureFont: text drawn from a glyph atlas that GDI rasterises once.
#pragma once

#include "d3d8.h"
#include "d3dx8math.h"

#include "windows.h"

// Creation flags.
#define FONTF_BOLD 0x0001
#define FONTF_ITALIC 0x0002
#define FONTF_ZENABLE 0x0004

// Drawing flags.
#define TEXTF_CENTERED 0x0001
#define TEXTF_TWOSIDED 0x0002
#define TEXTF_FILTERED 0x0004

// Pre-transformed screen vertex: the font's glyph quads, the overlay quads and the intro.
struct SVertex2D {
    float x, y, z, rhw;  // render-target pixels, depth 0..1
    DWORD colour;        // ARGB
    float u, v;
};
#define D3DFVF_SVERTEX2D (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1)
static_assert(sizeof(SVertex2D) == 28, "SVertex2D is 28 bytes");

// A vertex of 3D text: position, normal, texture coordinates.
struct SFontVertex3D {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};
#define D3DFVF_SFONTVERTEX3D (D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1)
static_assert(sizeof(SFontVertex3D) == 32, "SFontVertex3D is 32 bytes");

inline SVertex2D SetFontVertex2D(const D3DXVECTOR4& p, DWORD colour, float u, float v) {
    SVertex2D vertex = {p.x, p.y, p.z, p.w, colour, u, v};
    return vertex;
}

inline SFontVertex3D SetFontVertex3D(const D3DXVECTOR3& p, const D3DXVECTOR3& n, float u, float v) {
    SFontVertex3D vertex = {p.x, p.y, p.z, n.x, n.y, n.z, u, v};
    return vertex;
}

class CTextureFont {
public:
    char faceName[80];                // NUL-terminated, at most 79 characters
    DWORD height;                     // in points
    DWORD flags;                      // FONTF_ flags
    IDirect3DDevice8* pDevice;        // borrowed
    IDirect3DTexture8* pTexture;      // the glyph atlas
    IDirect3DVertexBuffer8* pVB;      // one batch of glyph quads
    DWORD texWidth;                   // atlas size in texels
    DWORD texHeight;
    float textScale;                  // below 1 when the device forced a smaller atlas
    float glyphRects[96][4];          // codes 32..127: left u, top v, right u, bottom v
    DWORD savedStateBlock;            // the caller's states around drawing
    DWORD drawStateBlock;             // the text-drawing states

    CTextureFont(const char* faceName, DWORD height, DWORD flags = 0);
    ~CTextureFont();

    HRESULT InitDeviceObjects(IDirect3DDevice8* device);
    HRESULT RestoreDeviceObjects();
    HRESULT InvalidateDeviceObjects();
    HRESULT DeleteDeviceObjects();

    HRESULT GetTextExtent(const char* text, SIZE* size);
    HRESULT DrawText(float x, float y, DWORD colour, const char* text, DWORD flags = 0);
    HRESULT DrawTextScaled(float x, float y, float z, float xScale, float yScale, DWORD colour, const char* text,
                           DWORD flags = 0);
    HRESULT Render3DText(const char* text, DWORD flags = 0);

private:
    CTextureFont(const CTextureFont&) = delete;
    CTextureFont& operator=(const CTextureFont&) = delete;

    static constexpr UINT kGlyphsPer2DBatch = 50;  // 300 screen vertices fill the vertex buffer

    // One drawing call's run of glyph quads through pVB, drawn whenever `capacity` glyphs
    // are written.
    struct Batch {
        BYTE* vertices;  // the locked buffer, null when a lock failed
        UINT stride;
        UINT capacity;   // glyphs a batch holds
        UINT glyphs;
        HRESULT result;  // the first failed lock, or S_OK
    };
    HRESULT RasteriseGlyphs();
    bool CanDraw() const;
    bool HasGlyph(unsigned char c) const;
    float LineTexels() const;
    void BeginBatch(Batch& batch, DWORD fvf, UINT stride, UINT capacity, DWORD drawFlags);
    BYTE* GlyphVertices(Batch& batch) const;
    void GlyphWritten(Batch& batch);
    void PutScreenGlyph(Batch& batch, float x, float y, float w, float h, float z, DWORD colour, const float* rect);
    HRESULT EndBatch(Batch& batch);
};
