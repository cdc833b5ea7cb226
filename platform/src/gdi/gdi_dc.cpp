// gdi_dc.cpp -- memory device contexts, selecting and deleting GDI objects, device caps, MulDiv.
#include <cstdint>
#include <cstdlib>

#include "gdi/gdi_local.h"
#include "winuser.h"

namespace gdi {

State& GetState() {
    static State state;
    return state;
}

DC* LookupDC(HDC hdc) {
    DC* dc = reinterpret_cast<DC*>(hdc);
    return dc && GetState().dcs.count(dc) ? dc : nullptr;
}

Object* LookupObject(HGDIOBJ h) {
    Object* object = static_cast<Object*>(h);
    return object && GetState().objects.count(object) ? object : nullptr;
}

namespace {

// The stock objects a new DC holds: a 1 x 1 bitmap and the system font. They live as long as
// the program.
void MakeStockObjects(State& state) {
    if (!state.stockBitmap) {
        state.stockBitmap = new Bitmap;
        state.stockBitmap->width = state.stockBitmap->height = 1;
        state.stockBitmap->pixels.assign(1, 0);
        state.stockBitmap->stock = true;
        state.objects.insert(state.stockBitmap);
    }
    if (!state.stockFont) {
        state.stockFont = MakeFont(16, FW_BOLD, false, "System");
        if (state.stockFont) {
            state.stockFont->stock = true;
            state.objects.insert(state.stockFont);
        }
    }
}

// One DC lets go of an object; an object whose deletion waited for that is freed now.
void Deselect(Object* object) {
    if (!object) return;
    --object->selections;
    if (object->selections == 0 && object->deletePending) delete object;
}

}  // namespace
}  // namespace gdi

namespace {

gdi::DC* NewDC() {
    gdi::State& state = gdi::GetState();
    gdi::MakeStockObjects(state);
    gdi::DC* dc = new gdi::DC;
    dc->bitmap = state.stockBitmap;
    ++dc->bitmap->selections;
    dc->font = state.stockFont;
    if (dc->font) ++dc->font->selections;
    state.dcs.insert(dc);
    return dc;
}

void FreeDC(gdi::DC* dc) {
    gdi::GetState().dcs.erase(dc);
    gdi::Deselect(dc->bitmap);
    gdi::Deselect(dc->font);
    delete dc;
}

}  // namespace

HDC WINAPI CreateCompatibleDC(HDC hdc) {
    if (hdc && !gdi::LookupDC(hdc)) return nullptr;
    return reinterpret_cast<HDC>(NewDC());
}

BOOL WINAPI DeleteDC(HDC hdc) {
    gdi::DC* dc = gdi::LookupDC(hdc);
    if (!dc || dc->display) return FALSE;
    FreeDC(dc);
    return TRUE;
}

// A display context draws nothing here; it is what memory contexts are made compatible with.
HDC GetDC(HWND hWnd) {
    if (hWnd && !IsWindow(hWnd)) return nullptr;
    gdi::DC* dc = NewDC();
    dc->display = true;
    dc->window = hWnd;
    return reinterpret_cast<HDC>(dc);
}

int ReleaseDC(HWND hWnd, HDC hDC) {
    gdi::DC* dc = gdi::LookupDC(hDC);
    if (!dc || !dc->display || dc->window != hWnd) return 0;
    FreeDC(dc);
    return 1;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    gdi::DC* dc = gdi::LookupDC(hdc);
    gdi::Object* object = gdi::LookupObject(h);
    if (!dc || !object) return nullptr;
    gdi::Object* previous = nullptr;
    if (object->kind == gdi::Kind::Bitmap) {
        // A bitmap can be selected into one memory DC at a time.
        if (object != dc->bitmap && object->selections > 0 && !object->stock) return nullptr;
        previous = dc->bitmap;
        dc->bitmap = static_cast<gdi::Bitmap*>(object);
    } else {
        previous = dc->font;
        dc->font = static_cast<gdi::Font*>(object);
    }
    ++object->selections;
    // The previous object stays valid as a handle (it is in the object set) unless its deletion
    // was pending, in which case the caller gets back a handle that no longer works.
    bool stillLive = previous && !previous->deletePending;
    gdi::Deselect(previous);
    return stillLive ? static_cast<HGDIOBJ>(previous) : nullptr;
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    gdi::Object* object = gdi::LookupObject(ho);
    if (!object) return FALSE;
    if (object->stock) return TRUE;
    gdi::GetState().objects.erase(object);
    // An object still selected goes when its last DC lets go of it.
    if (object->selections > 0)
        object->deletePending = true;
    else
        delete object;
    return TRUE;
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
    if (!gdi::LookupDC(hdc)) return 0;
    switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY: return 96;
        default: return 0;
    }
}

int WINAPI SetMapMode(HDC hdc, int iMode) {
    gdi::DC* dc = gdi::LookupDC(hdc);
    if (!dc || iMode != MM_TEXT) return 0;
    int previous = dc->mapMode;
    dc->mapMode = iMode;
    return previous;
}

namespace {

// Sets one of the DC's colours; the previous one, or CLR_INVALID for a bad handle.
COLORREF SetColour(HDC hdc, COLORREF gdi::DC::*field, COLORREF color) {
    gdi::DC* dc = gdi::LookupDC(hdc);
    if (!dc) return CLR_INVALID;
    COLORREF previous = dc->*field;
    dc->*field = color & 0x00FFFFFF;
    return previous;
}

}  // namespace

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) { return SetColour(hdc, &gdi::DC::textColor, color); }

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) { return SetColour(hdc, &gdi::DC::bkColor, color); }

UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
    gdi::DC* dc = gdi::LookupDC(hdc);
    if (!dc || align != (TA_LEFT | TA_TOP)) return GDI_ERROR;
    UINT previous = dc->textAlign;
    dc->textAlign = align;
    return previous;
}

// number * numerator / denominator with a 64-bit product, rounded half away from zero; -1 when
// the denominator is 0 or the result does not fit 32 bits.
int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0) return -1;
    int64_t product = int64_t(nNumber) * int64_t(nNumerator);
    int64_t denominator = nDenominator;
    bool negative = (product < 0) != (denominator < 0);
    uint64_t p = uint64_t(product < 0 ? -product : product);
    uint64_t d = uint64_t(denominator < 0 ? -denominator : denominator);
    uint64_t q = (p + d / 2) / d;
    if (q > uint64_t(INT32_MAX)) return -1;
    return negative ? -int(q) : int(q);
}
