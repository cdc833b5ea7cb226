// wingdi.h -- GDI of the layer: the device-independent bitmap and palette records.
// The bitmap file records keep their exact on-disk layout (little-endian, packed).
#pragma once

#include "wintypes.h"

// Compression of a device-independent bitmap (BITMAPINFOHEADER::biCompression).
#define BI_RGB 0u
#define BI_RLE8 1u
#define BI_RLE4 2u
#define BI_BITFIELDS 3u

// The "BM" in front of a bitmap file, as a little-endian WORD.
#define BITMAPFILE_TYPE_BM 0x4D42u

#pragma pack(push, 1)
typedef struct tagBITMAPFILEHEADER {
    WORD bfType;       // 'B','M'
    DWORD bfSize;      // size of the whole file in bytes
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;   // offset of the pixel bits from the start of the file
} BITMAPFILEHEADER, *LPBITMAPFILEHEADER, *PBITMAPFILEHEADER;
#pragma pack(pop)

typedef struct tagBITMAPCOREHEADER {
    DWORD bcSize;  // 12
    WORD bcWidth;
    WORD bcHeight;
    WORD bcPlanes;
    WORD bcBitCount;
} BITMAPCOREHEADER, *LPBITMAPCOREHEADER, *PBITMAPCOREHEADER;

typedef struct tagBITMAPINFOHEADER {
    DWORD biSize;           // 40 (or larger for the later header versions)
    LONG biWidth;
    LONG biHeight;          // positive: bottom-up rows; negative: top-down
    WORD biPlanes;          // 1
    WORD biBitCount;        // 1, 4, 8, 16, 24 or 32
    DWORD biCompression;    // BI_RGB, BI_RLE8, BI_RLE4, BI_BITFIELDS
    DWORD biSizeImage;      // may be 0 for BI_RGB
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;        // 0: the full palette of the bit count
    DWORD biClrImportant;
} BITMAPINFOHEADER, *LPBITMAPINFOHEADER, *PBITMAPINFOHEADER;

typedef struct tagRGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
} RGBQUAD, *LPRGBQUAD;

typedef struct tagRGBTRIPLE {
    BYTE rgbtBlue;
    BYTE rgbtGreen;
    BYTE rgbtRed;
} RGBTRIPLE, *LPRGBTRIPLE;

typedef struct tagPALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
} PALETTEENTRY, *LPPALETTEENTRY, *PPALETTEENTRY;

typedef struct tagBITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
} BITMAPINFO, *LPBITMAPINFO, *PBITMAPINFO;

static_assert(sizeof(BITMAPFILEHEADER) == 14, "BITMAPFILEHEADER is 14 bytes on disk");
static_assert(offsetof(BITMAPFILEHEADER, bfType) == 0 && offsetof(BITMAPFILEHEADER, bfSize) == 2 &&
                  offsetof(BITMAPFILEHEADER, bfReserved1) == 6 && offsetof(BITMAPFILEHEADER, bfReserved2) == 8 &&
                  offsetof(BITMAPFILEHEADER, bfOffBits) == 10,
              "BITMAPFILEHEADER field offsets");
static_assert(sizeof(BITMAPCOREHEADER) == 12, "BITMAPCOREHEADER is 12 bytes on disk");
static_assert(offsetof(BITMAPCOREHEADER, bcWidth) == 4 && offsetof(BITMAPCOREHEADER, bcHeight) == 6 &&
                  offsetof(BITMAPCOREHEADER, bcPlanes) == 8 && offsetof(BITMAPCOREHEADER, bcBitCount) == 10,
              "BITMAPCOREHEADER field offsets");
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER is 40 bytes on disk");
static_assert(offsetof(BITMAPINFOHEADER, biWidth) == 4 && offsetof(BITMAPINFOHEADER, biHeight) == 8 &&
                  offsetof(BITMAPINFOHEADER, biPlanes) == 12 && offsetof(BITMAPINFOHEADER, biBitCount) == 14 &&
                  offsetof(BITMAPINFOHEADER, biCompression) == 16 && offsetof(BITMAPINFOHEADER, biSizeImage) == 20 &&
                  offsetof(BITMAPINFOHEADER, biXPelsPerMeter) == 24 &&
                  offsetof(BITMAPINFOHEADER, biYPelsPerMeter) == 28 && offsetof(BITMAPINFOHEADER, biClrUsed) == 32 &&
                  offsetof(BITMAPINFOHEADER, biClrImportant) == 36,
              "BITMAPINFOHEADER field offsets");
static_assert(sizeof(RGBQUAD) == 4 && offsetof(RGBQUAD, rgbRed) == 2, "RGBQUAD layout");
static_assert(sizeof(RGBTRIPLE) == 3, "RGBTRIPLE layout");
static_assert(sizeof(PALETTEENTRY) == 4 && offsetof(PALETTEENTRY, peFlags) == 3, "PALETTEENTRY layout");
static_assert(sizeof(BITMAPINFO) == 44 && offsetof(BITMAPINFO, bmiColors) == 40, "BITMAPINFO layout");

// ---------------------------------------------------------------------------------------------
// GDI: memory device contexts, 32-bit DIB sections and TrueType text, over FreeType and
// fontconfig. This is the part of GDI a program needs to rasterise glyphs into memory:
//   [X] CreateCompatibleDC, DeleteDC, SelectObject, DeleteObject
//   [X] CreateDIBSection: 32 bits a pixel, BI_RGB, top-down or bottom-up, memory of its own
//   [X] CreateFontA: height (character or cell) in pixels, weight, italic, face through fontconfig
//       (a face that is missing maps to a metric-compatible one: "Arial" to Liberation Sans)
//   [X] GetTextExtentPoint32A (advance widths and the cell height), ExtTextOutA (ETO_OPAQUE)
//   [X] SetTextColor, SetBkColor, SetTextAlign (TA_LEFT | TA_TOP), SetMapMode (MM_TEXT)
//   [X] GetDeviceCaps (LOGPIXELSX / LOGPIXELSY: 96 dots per inch), MulDiv
// Text is always drawn anti-aliased in grey levels, whatever the quality asked; the 8-bit
// strings are UTF-8. Unsupported requests (other bit depths, escapement, underline, strike-out,
// other mapping modes or alignments) fail with GDI's failure value.

#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

#define HGDI_ERROR ((HGDIOBJ)(LONG_PTR)-1)
#define GDI_ERROR 0xFFFFFFFFu
#define CLR_INVALID 0xFFFFFFFFu

// Mapping modes.
#define MM_TEXT 1

// GetDeviceCaps indices.
#define LOGPIXELSX 88
#define LOGPIXELSY 90

// Font weights.
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_EXTRALIGHT 200
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_EXTRABOLD 800
#define FW_HEAVY 900

// Character sets.
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define EASTEUROPE_CHARSET 238

// Output and clipping precision.
#define OUT_DEFAULT_PRECIS 0
#define OUT_TT_PRECIS 4
#define OUT_TT_ONLY_PRECIS 7
#define CLIP_DEFAULT_PRECIS 0

// Quality: every quality draws anti-aliased grey levels here.
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4

// Pitch and family.
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30

// Text alignment.
#define TA_NOUPDATECP 0
#define TA_LEFT 0
#define TA_TOP 0

// ExtTextOut options.
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

HDC WINAPI CreateCompatibleDC(HDC hdc);
BOOL WINAPI DeleteDC(HDC hdc);
HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);
BOOL WINAPI DeleteObject(HGDIOBJ ho);
int WINAPI GetDeviceCaps(HDC hdc, int index);
int WINAPI SetMapMode(HDC hdc, int iMode);
COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color);
COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color);
UINT WINAPI SetTextAlign(HDC hdc, UINT align);

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits, HANDLE hSection,
                                DWORD offset);

HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                         DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                         DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName);
BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl);
BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString, UINT c,
                        const INT* lpDx);

int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator);

// ---------------------------------------------------------------------------------------------
// Device-dependent bitmaps, as cursors and icons are made of them:
//   [X] CreateBitmap: 1 bit a pixel (black and white, rows padded to 16 bits) or 32 bits
//   [X] GetObjectA of a bitmap: its BITMAP record (other objects answer 0)
//   [X] GetDIBits into 32-bit BI_RGB rows, bottom-up or top-down, or the header alone
// A black-and-white bitmap reads back as black 0x00000000 and white 0x00FFFFFF.

typedef struct tagBITMAP {
    LONG bmType;        // 0
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;  // bytes of one row, a multiple of 2
    WORD bmPlanes;      // 1
    WORD bmBitsPixel;   // 1 or 32
    LPVOID bmBits;      // the pixels of a DIB section, null for other bitmaps
} BITMAP, *PBITMAP, *LPBITMAP;

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits);
int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv);
int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi,
                     UINT usage);
