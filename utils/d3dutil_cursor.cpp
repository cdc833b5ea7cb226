// d3dutil_cursor.cpp -- SetDeviceCursorFromHandle: a Windows cursor read through GDI into a
// 32-bit surface that becomes the device's cursor, with an optional "D3D" watermark.
#include "utils/d3dutil.h"

#include <vector>

#include "wingdi.h"

namespace {

// The letters D, 3, D in the top-left 12 x 5 pixels, each row read from its top bit down.
const WORD kWatermark[5] = {0xCCC0, 0xA2A0, 0xA4A0, 0xA2A0, 0xCCC0};

// Reads `height` rows of a bitmap, bottom row first, as 32-bit pixels through a memory DC
// compatible with the screen; false when no such DC can be made.
bool ReadBitmapRows(HBITMAP bitmap, LONG width, LONG height, std::vector<DWORD>* pixels) {
    pixels->assign((size_t)width * (size_t)height, 0);
    HDC screen = GetDC(nullptr);
    HDC memory = screen ? CreateCompatibleDC(screen) : nullptr;
    if (memory) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        HGDIOBJ previous = SelectObject(memory, bitmap);
        GetDIBits(memory, bitmap, 0, (UINT)height, pixels->data(), &info, DIB_RGB_COLORS);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    if (screen) ReleaseDC(nullptr, screen);
    return memory != nullptr;
}

}  // namespace

HRESULT SetDeviceCursorFromHandle(LPDIRECT3DDEVICE8 pd3dDevice, HCURSOR hCursor, BOOL bAddWatermark) {
    HRESULT hr = E_FAIL;
    ICONINFO iconInfo = {};
    BITMAP mask = {};
    LPDIRECT3DSURFACE8 surface = nullptr;
    std::vector<DWORD> maskRows, colourRows;

    do {
        if (!GetIconInfo(hCursor, &iconInfo) || !GetObjectA(iconInfo.hbmMask, sizeof mask, &mask)) break;
        const LONG width = mask.bmWidth, sourceHeight = mask.bmHeight;
        // A black-and-white cursor's mask holds the AND mask above the XOR mask.
        const bool blackAndWhite = iconInfo.hbmColor == nullptr;
        const LONG height = blackAndWhite ? sourceHeight / 2 : sourceHeight;

        hr = pd3dDevice->CreateImageSurface((UINT)width, (UINT)height, D3DFMT_A8R8G8B8, &surface);
        if (FAILED(hr)) break;
        hr = E_FAIL;
        if (!ReadBitmapRows(iconInfo.hbmMask, width, sourceHeight, &maskRows)) break;
        if (!blackAndWhite && !ReadBitmapRows(iconInfo.hbmColor, width, height, &colourRows)) break;

        D3DLOCKED_RECT locked;
        if (FAILED(surface->LockRect(&locked, nullptr, 0))) break;
        for (LONG y = 0; y < height; ++y) {
            DWORD* texels = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + (size_t)y * locked.Pitch);
            // The arrays' rows count from the bottom.
            const DWORD* colour = blackAndWhite ? &maskRows[(size_t)(height - 1 - y) * width]
                                                : &colourRows[(size_t)(height - 1 - y) * width];
            const DWORD* andMask = blackAndWhite ? &maskRows[(size_t)(sourceHeight - 1 - y) * width]
                                                 : &maskRows[(size_t)(height - 1 - y) * width];
            for (LONG x = 0; x < width; ++x) {
                texels[x] = andMask[x] == 0 ? 0xFF000000u | colour[x] : 0;
                if (bAddWatermark && x < 12 && y < 5 && (kWatermark[y] & (1u << (15 - x)))) texels[x] |= 0xFF808080u;
            }
        }
        surface->UnlockRect();
        hr = pd3dDevice->SetCursorProperties(iconInfo.xHotspot, iconInfo.yHotspot, surface);
        if (SUCCEEDED(hr)) hr = S_OK;
    } while (false);

    if (iconInfo.hbmMask) DeleteObject(iconInfo.hbmMask);
    if (iconInfo.hbmColor) DeleteObject(iconInfo.hbmColor);
    if (surface) surface->Release();
    return hr;
}
