// gdi_font.cpp -- CreateFontA: the face found by fontconfig, opened by FreeType at a pixel size.
// A face name that is not installed maps through fontconfig's aliases to a metric-compatible
// face ("Arial" to Liberation Sans), so that text keeps the widths it was laid out for.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstdio>
#include <string>

#include "gdi/gdi_local.h"

namespace gdi {
namespace {

// The one FreeType library of the process, with the TrueType interpreter that hints in both
// directions, as GDI does, so small text sits on whole pixels.
FT_Library Library() {
    static FT_Library library = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        if (FT_Init_FreeType(&library) != 0) {
            std::fprintf(stderr, "GDI: FreeType could not be started\n");
            library = nullptr;
        } else {
            FT_UInt version = TT_INTERPRETER_VERSION_35;
            FT_Property_Set(library, "truetype", "interpreter-version", &version);
        }
    }
    return library;
}

struct FaceFile {
    std::string path;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
};

// The installed face that fontconfig matches best to the name, weight and slant.
bool FindFace(const char* faceName, int weight, bool italic, FaceFile& found) {
    if (!FcInit()) return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    if (faceName && faceName[0]) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(faceName));
    FcPatternAddInteger(pattern, FC_WEIGHT, weight >= FW_SEMIBOLD ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* file = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (ok) {
        found.path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &found.index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &found.weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &found.slant);
    }
    FcPatternDestroy(match);
    return ok;
}

// The face's Windows ascent and descent in font units (the horizontal header's when it has no
// OS/2 table): GDI's cell.
void CellUnits(FT_Face face, double& ascender, double& descender) {
    ascender = face->ascender;
    descender = -double(face->descender);
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && (os2->usWinAscent || os2->usWinDescent)) {
        ascender = os2->usWinAscent;
        descender = os2->usWinDescent;
    }
}

// The cell at the pixel size, ascent and descent each rounded up so that no glyph leaves it.
void SetCellMetrics(Font& font, int ppem) {
    double ascender, descender;
    CellUnits(font.face, ascender, descender);
    double scale = double(ppem) / double(font.face->units_per_EM);
    font.ascent = int(std::ceil(ascender * scale - 1e-6));
    font.descent = int(std::ceil(descender * scale - 1e-6));
}

// The em size in pixels: a negative height is the character (em) height, a positive one the
// cell height, 0 the default of 12 pixels.
int PixelsPerEm(FT_Face face, int height) {
    if (height < 0) return -height;
    if (height == 0) return 12;
    double ascender, descender;
    CellUnits(face, ascender, descender);
    int ppem = int(std::lround(height * double(face->units_per_EM) / (ascender + descender)));
    return ppem < 1 ? 1 : ppem;
}

}  // namespace

Font::~Font() {
    if (face) FT_Done_Face(face);
}

Font* MakeFont(int height, int weight, bool italic, const char* faceName) {
    FT_Library library = Library();
    FaceFile file;
    if (!library || !FindFace(faceName, weight, italic, file)) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.path.c_str(), file.index, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    int ppem = PixelsPerEm(face, height);
    if (ppem > 2048 || FT_Set_Pixel_Sizes(face, 0, FT_UInt(ppem)) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    Font* font = new Font;
    font->face = face;
    font->emboldenGlyphs = weight >= FW_SEMIBOLD && file.weight < FC_WEIGHT_DEMIBOLD;
    font->slantGlyphs = italic && file.slant == FC_SLANT_ROMAN;
    SetCellMetrics(*font, ppem);
    return font;
}

}  // namespace gdi

HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                         DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                         DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName) {
    (void)iCharSet;
    (void)iOutPrecision;
    (void)iClipPrecision;
    (void)iQuality;
    (void)iPitchAndFamily;
    if (cWidth != 0 || cEscapement != 0 || cOrientation != 0 || bUnderline || bStrikeOut) {
        std::fprintf(stderr, "CreateFontA: widths, escapement, underline and strike-out are not supported\n");
        return nullptr;
    }
    if (cWeight < 0 || cWeight > 1000) return nullptr;
    // The face name of a LOGFONT holds at most 31 characters.
    char name[32] = {};
    if (pszFaceName) {
        for (size_t i = 0; i + 1 < sizeof name && pszFaceName[i]; ++i) name[i] = pszFaceName[i];
    }
    gdi::Font* font = gdi::MakeFont(cHeight, cWeight, bItalic != 0, name);
    if (!font) return nullptr;
    gdi::GetState().objects.insert(font);
    return reinterpret_cast<HFONT>(static_cast<gdi::Object*>(font));
}
