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
