// gdi_icons.cpp -- cursors and icons made of a mask and a colour bitmap: CreateIconIndirect,
// GetIconInfo, DestroyIcon and DestroyCursor, and the standard arrow of LoadCursorA.
#include <cstdint>
#include <memory>

#include "gdi/gdi_local.h"
#include "winuser.h"

namespace gdi {

// The icon keeps bitmaps of its own, apart from the handles it was made from.
struct Icon {
    bool isIcon = false;
    DWORD xHotspot = 0, yHotspot = 0;
    std::unique_ptr<Bitmap> mask;
    std::unique_ptr<Bitmap> colour;  // null for a black-and-white cursor
    bool shared = false;             // a standard cursor: never destroyed
};

}  // namespace gdi

namespace {

const uint32_t kWhite = 0x00FFFFFFu;

HBITMAP LiveCopy(const gdi::Bitmap& source) {
    return reinterpret_cast<HBITMAP>(static_cast<gdi::Object*>(gdi::CopyBitmap(source, true)));
}

gdi::Icon* LookupIcon(HICON h) {
    gdi::Icon* icon = reinterpret_cast<gdi::Icon*>(h);
    return icon && gdi::GetState().icons.count(icon) ? icon : nullptr;
}

HICON HandleOf(gdi::Icon* icon) { return reinterpret_cast<HICON>(icon); }

// The arrow as a polygon on a 32 x 32 grid, its tip on the hot spot (0, 0).
bool InsideArrow(double x, double y) {
    static const double kPoints[][2] = {{0, 0}, {0, 17}, {4.5, 13}, {7.5, 20}, {10, 19}, {7, 12}, {12.5, 12}};
    const int n = sizeof kPoints / sizeof kPoints[0];
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const double xi = kPoints[i][0], yi = kPoints[i][1], xj = kPoints[j][0], yj = kPoints[j][1];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
}

// A black-and-white arrow: a white body with a black rim on a transparent ground. Its mask
// bitmap holds the AND rows (0 where the arrow is) above the XOR rows (white for the body).
gdi::Icon* MakeArrow() {
    const int size = 32;
    auto covered = [](int x, int y) { return x >= 0 && y >= 0 && InsideArrow(x + 0.5, y + 0.5); };
    gdi::Icon* icon = new gdi::Icon;
    icon->shared = true;
    icon->mask.reset(new gdi::Bitmap);
    icon->mask->width = size;
    icon->mask->height = 2 * size;
    icon->mask->bitsPixel = 1;
    icon->mask->pixels.assign(size_t(size) * 2 * size, 0u);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool in = covered(x, y);
            const bool rim = in && !(covered(x - 1, y) && covered(x + 1, y) && covered(x, y - 1) && covered(x, y + 1));
            icon->mask->Row(y)[x] = in ? 0u : kWhite;
            icon->mask->Row(size + y)[x] = in && !rim ? kWhite : 0u;
        }
    }
    gdi::GetState().icons.insert(icon);
    return icon;
}

}  // namespace

HICON CreateIconIndirect(PICONINFO piconinfo) {
    if (!piconinfo) return nullptr;
    gdi::Bitmap* mask = gdi::LookupBitmap(piconinfo->hbmMask);
    gdi::Bitmap* colour = piconinfo->hbmColor ? gdi::LookupBitmap(piconinfo->hbmColor) : nullptr;
    if (!mask || (piconinfo->hbmColor && !colour)) return nullptr;
    // Without colour the mask stacks two halves of equal height; with it, both share one size.
    if (colour ? (colour->width != mask->width || colour->height != mask->height) : mask->height % 2 != 0)
        return nullptr;
    gdi::Icon* icon = new gdi::Icon;
    icon->isIcon = piconinfo->fIcon != FALSE;
    const int height = colour ? mask->height : mask->height / 2;
    // An icon's hot spot is its centre, whatever the record says.
    icon->xHotspot = icon->isIcon ? DWORD(mask->width / 2) : piconinfo->xHotspot;
    icon->yHotspot = icon->isIcon ? DWORD(height / 2) : piconinfo->yHotspot;
    icon->mask.reset(gdi::CopyBitmap(*mask, false));
    if (colour) icon->colour.reset(gdi::CopyBitmap(*colour, false));
    gdi::GetState().icons.insert(icon);
    return HandleOf(icon);
}

BOOL GetIconInfo(HICON hIcon, PICONINFO piconinfo) {
    gdi::Icon* icon = LookupIcon(hIcon);
    if (!icon || !piconinfo) return FALSE;
    piconinfo->fIcon = icon->isIcon ? TRUE : FALSE;
    piconinfo->xHotspot = icon->xHotspot;
    piconinfo->yHotspot = icon->yHotspot;
    piconinfo->hbmMask = LiveCopy(*icon->mask);
    piconinfo->hbmColor = icon->colour ? LiveCopy(*icon->colour) : nullptr;
    return TRUE;
}

BOOL DestroyIcon(HICON hIcon) {
    gdi::Icon* icon = LookupIcon(hIcon);
    if (!icon) return FALSE;
    if (icon->shared) return TRUE;
    gdi::GetState().icons.erase(icon);
    delete icon;
    return TRUE;
}

BOOL DestroyCursor(HCURSOR hCursor) { return DestroyIcon(hCursor); }

HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
    if (hInstance || lpCursorName != IDC_ARROW) return nullptr;
    static gdi::Icon* arrow = MakeArrow();
    return HandleOf(arrow);
}
