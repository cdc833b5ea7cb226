// gdi_bitmap.cpp -- CreateDIBSection: 32-bit BI_RGB sections in memory of their own.
#include <cstdint>
#include <cstdlib>

#include "gdi/gdi_local.h"

// The largest side we accept; it keeps width * height * 4 far inside what memory can hold.
static const LONG kMaxSide = 16384;

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
    bitmap->bottomUp = h.biHeight > 0;
    bitmap->pixels.assign(size_t(bitmap->width) * size_t(bitmap->height), 0u);
    gdi::GetState().objects.insert(bitmap);
    if (ppvBits) *ppvBits = bitmap->pixels.data();
    return reinterpret_cast<HBITMAP>(static_cast<gdi::Object*>(bitmap));
}
