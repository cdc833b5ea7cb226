// gdi_local.h -- the objects behind GDI's handles, shared by the gdi_*.cpp back-end files.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "wingdi.h"

typedef struct FT_FaceRec_* FT_Face;

namespace gdi {

enum class Kind { Bitmap, Font };

// What every selectable object has: its kind, whether it is a stock object (never freed), how
// many device contexts hold it selected, and whether DeleteObject asked for it while selected.
struct Object {
    explicit Object(Kind k) : kind(k) {}
    virtual ~Object() = default;
    Kind kind;
    bool stock = false;
    int selections = 0;
    bool deletePending = false;
};

// A bitmap: 32-bit pixels (bytes B, G, R, X), rows of `width` pixels, row 0 at the top.
// A black-and-white bitmap keeps its pixels as black 0 and white 0x00FFFFFF.
struct Bitmap : Object {
    Bitmap() : Object(Kind::Bitmap) {}
    int width = 0;
    int height = 0;
    int bitsPixel = 32;     // 1 for a black-and-white bitmap
    bool dibSection = false;  // the caller was given the pixels' memory
    bool bottomUp = false;  // the caller's memory holds row 0 last
    std::vector<uint32_t> pixels;
    uint32_t* Row(int y) { return pixels.data() + size_t(bottomUp ? height - 1 - y : y) * size_t(width); }
    const uint32_t* Row(int y) const { return const_cast<Bitmap*>(this)->Row(y); }
};

// A TrueType font at one pixel size.
struct Font : Object {
    Font() : Object(Kind::Font) {}
    ~Font() override;
    FT_Face face = nullptr;
    bool emboldenGlyphs = false;  // bold asked of a face that has no bold of its own
    bool slantGlyphs = false;     // italic asked of a face that has no italic of its own
    int ascent = 0;               // pixels above the baseline, rounded up
    int descent = 0;              // pixels below the baseline, rounded up
    int CellHeight() const { return ascent + descent; }
};

struct DC {
    bool display = false;  // from GetDC, for the screen or a window; released with ReleaseDC
    HWND window = nullptr;
    Bitmap* bitmap = nullptr;
    Font* font = nullptr;
    COLORREF textColor = 0x00000000;
    COLORREF bkColor = 0x00FFFFFF;
    UINT textAlign = TA_LEFT | TA_TOP;
    int mapMode = MM_TEXT;
};

struct Icon;

// The one state of the GDI family: every live handle, and the stock objects that a new DC
// starts with.
struct State {
    std::unordered_set<DC*> dcs;
    std::unordered_set<Object*> objects;
    std::unordered_set<Icon*> icons;
    Bitmap* stockBitmap = nullptr;
    Font* stockFont = nullptr;
};
State& GetState();

// Handle checks: the object behind a live handle, or null.
DC* LookupDC(HDC hdc);
Object* LookupObject(HGDIOBJ h);

// A new bitmap with the size, depth and pixels of another (rows top down); a live object, which
// a handle can stand for, when asked.
Bitmap* CopyBitmap(const Bitmap& source, bool live);
// The live bitmap behind a handle, or null.
Bitmap* LookupBitmap(HGDIOBJ h);

// Fonts (gdi_font.cpp). A new font at a pixel size, or null when no face can be found or read.
Font* MakeFont(int height, int weight, bool italic, const char* faceName);

// Text (gdi_text.cpp): the Unicode code points of an 8-bit string, which is UTF-8.
std::vector<char32_t> DecodeText(const char* text, size_t bytes);

}  // namespace gdi
