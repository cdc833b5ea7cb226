// gdi_bitmap.cpp -- bitmaps: 32-bit DIB sections, black-and-white and 32-bit device bitmaps,
// their BITMAP record and their pixels read out as a DIB.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "gdi/gdi_local.h"

namespace {

// The largest side we accept; it keeps width * height * 4 far inside what memory can hold.
const LONG kMaxSide = 16384;

const uint32_t kWhite = 0x00FFFFFFu;

gdi::Bitmap* Register(gdi::Bitmap* bitmap) {
    gdi::GetState().objects.insert(bitmap);
    return bitmap;
}

HBITMAP HandleOf(gdi::Bitmap* bitmap) { return reinterpret_cast<HBITMAP>(static_cast<gdi::Object*>(bitmap)); }

// Bytes of one row of a device bitmap: rows are padded to 16 bits.
LONG RowBytes(const gdi::Bitmap& b) { return b.bitsPixel == 1 ? (b.width + 15) / 16 * 2 : b.width * 4; }

}  // namespace

namespace gdi {

Bitmap* LookupBitmap(HGDIOBJ h) {
    Object* object = LookupObject(h);
    return object && object->kind == Kind::Bitmap ? static_cast<Bitmap*>(object) : nullptr;
}

Bitmap* CopyBitmap(const Bitmap& source, bool live) {
    Bitmap* copy = new Bitmap;
    copy->width = source.width;
    copy->height = source.height;
    copy->bitsPixel = source.bitsPixel;
    copy->pixels.resize(source.pixels.size());
    for (int y = 0; y < source.height; ++y) std::memcpy(copy->Row(y), source.Row(y), size_t(source.width) * 4);
    return live ? Register(copy) : copy;
}

}  // namespace gdi

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits, HANDLE hSection,
                                DWORD offset) {
    if (ppvBits) *ppvBits = nullptr;
    if (hdc && !gdi::LookupDC(hdc)) return nullptr;
    if (!pbmi || usage != DIB_RGB_COLORS || hSection || offset != 0) return nullptr;
    const BITMAPINFOHEADER& h = pbmi->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biPlanes != 1 || h.biBitCount != 32 || h.biCompression != BI_RGB)
        return nullptr;
    LONG height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if (h.biWidth <= 0 || h.biWidth > kMaxSide || height <= 0 || height > kMaxSide) return nullptr;

    gdi::Bitmap* bitmap = new gdi::Bitmap;
    bitmap->width = h.biWidth;
    bitmap->height = height;
    bitmap->dibSection = true;
    bitmap->bottomUp = h.biHeight > 0;
    bitmap->pixels.assign(size_t(bitmap->width) * size_t(bitmap->height), 0u);
    Register(bitmap);
    if (ppvBits) *ppvBits = bitmap->pixels.data();
    return HandleOf(bitmap);
}

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
    if (nWidth <= 0 || nWidth > kMaxSide || nHeight <= 0 || nHeight > kMaxSide || nPlanes != 1 ||
        (nBitCount != 1 && nBitCount != 32))
        return nullptr;
    gdi::Bitmap* bitmap = new gdi::Bitmap;
    bitmap->width = nWidth;
    bitmap->height = nHeight;
    bitmap->bitsPixel = (int)nBitCount;
    bitmap->pixels.assign(size_t(nWidth) * size_t(nHeight), 0u);
    if (lpBits) {
        const BYTE* rows = static_cast<const BYTE*>(lpBits);
        const LONG rowBytes = RowBytes(*bitmap);
        for (int y = 0; y < nHeight; ++y) {
            const BYTE* row = rows + size_t(y) * size_t(rowBytes);
            uint32_t* out = bitmap->Row(y);
            for (int x = 0; x < nWidth; ++x) {
                if (nBitCount == 1) {
                    out[x] = (row[x / 8] >> (7 - x % 8)) & 1 ? kWhite : 0u;
                } else {
                    uint32_t v;
                    std::memcpy(&v, row + size_t(x) * 4, 4);
                    out[x] = v;
                }
            }
        }
    }
    return HandleOf(Register(bitmap));
}

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv) {
    gdi::Bitmap* bitmap = gdi::LookupBitmap(h);
    if (!bitmap) return 0;
    if (!pv) return (int)sizeof(BITMAP);
    if (c < (int)sizeof(BITMAP)) return 0;
    BITMAP record = {};
    record.bmWidth = bitmap->width;
    record.bmHeight = bitmap->height;
    record.bmWidthBytes = RowBytes(*bitmap);
    record.bmPlanes = 1;
    record.bmBitsPixel = (WORD)bitmap->bitsPixel;
    record.bmBits = bitmap->dibSection ? bitmap->pixels.data() : nullptr;
    std::memcpy(pv, &record, sizeof record);
    return (int)sizeof(BITMAP);
}

// Scan lines count from the bottom of the picture for a bottom-up DIB (positive height) and
// from the top for a top-down one; the lines asked for that the bitmap has are copied.
int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT usage) {
    gdi::Bitmap* bitmap = gdi::LookupBitmap(hbm);
    if (!gdi::LookupDC(hdc) || !bitmap || !lpbmi || usage != DIB_RGB_COLORS) return 0;
    BITMAPINFOHEADER& h = lpbmi->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER)) return 0;
    if (!lpvBits) {
        h.biWidth = bitmap->width;
        h.biHeight = bitmap->height;
        h.biPlanes = 1;
        h.biBitCount = (WORD)bitmap->bitsPixel;
        h.biCompression = BI_RGB;
        h.biSizeImage = (DWORD)(((bitmap->width * bitmap->bitsPixel + 31) / 32) * 4 * bitmap->height);
        return bitmap->height;
    }
    if (h.biPlanes != 1 || h.biBitCount != 32 || h.biCompression != BI_RGB || h.biWidth != bitmap->width ||
        h.biHeight == 0)
        return 0;
    const bool bottomUp = h.biHeight > 0;
    const UINT height = (UINT)bitmap->height;
    if (start >= height) return 0;
    const UINT lines = cLines < height - start ? cLines : height - start;
    uint32_t* out = static_cast<uint32_t*>(lpvBits);
    for (UINT i = 0; i < lines; ++i) {
        const UINT line = start + i;
        const int row = bottomUp ? int(height - 1 - line) : int(line);
        std::memcpy(out + size_t(i) * size_t(bitmap->width), bitmap->Row(row), size_t(bitmap->width) * 4);
    }
    return (int)lines;
}
