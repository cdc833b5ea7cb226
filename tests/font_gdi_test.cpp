// font_gdi_test.cpp -- the GDI subset that rasterises glyphs: DCs, DIB sections, fonts, text.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "windows.h"
#include "wingdi.h"

namespace {

struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    uint32_t* bits = nullptr;
    int width = 0, height = 0;

    Canvas(int w, int h, bool topDown = true) : width(w), height(h) {
        dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = topDown ? -h : h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* p = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint32_t*>(p);
        SelectObject(dc, bitmap);
    }
    ~Canvas() {
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    uint32_t At(int x, int y) const { return bits[y * width + x]; }
};

HFONT Arial(int height, int weight = FW_NORMAL, BOOL italic = FALSE) {
    return CreateFontA(height, 0, 0, 0, weight, italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, "Arial");
}

SIZE Extent(HDC dc, const char* text) {
    SIZE size = {-1, -1};
    EXPECT_TRUE(GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &size));
    return size;
}

}  // namespace

TEST(GdiBasics, MulDivRoundsHalfAwayFromZeroAndRejectsZeroAndOverflow) {
    // a, b, c and a x b / c; 2^31 does not fit, and the product is 64-bit.
    const int kCases[][4] = {{8, 96, 72, 11}, {10, 96, 72, 13}, {14, 96, 72, 19}, {30, 48, 72, 20},
                             {-8, 96, 72, -11}, {3, 1, 2, 2},   {-3, 1, 2, -2},   {5, 7, -7, -5},
                             {1, 2, 0, -1},     {0x40000000, 8, 2, -1}, {0x40000000, 4, 2, -1},
                             {0x40000000, 6, 4, 0x60000000}};
    for (const auto& c : kCases)
        EXPECT_EQ(MulDiv(c[0], c[1], c[2]), c[3]) << c[0] << " x " << c[1] << " / " << c[2];
}

TEST(GdiBasics, MemoryDcSettingsAnswerWithPreviousValuesAndRefuseWhatIsNotSupported) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
    EXPECT_EQ(SetMapMode(dc, MM_TEXT), MM_TEXT);
    EXPECT_EQ(SetMapMode(dc, 2), 0);
    EXPECT_EQ(SetTextColor(dc, RGB(255, 255, 255)), RGB(0, 0, 0));
    EXPECT_EQ(SetTextColor(dc, RGB(1, 2, 3)), RGB(255, 255, 255));
    EXPECT_EQ(SetBkColor(dc, 0), RGB(255, 255, 255));
    EXPECT_EQ(SetTextAlign(dc, TA_LEFT | TA_TOP), 0u);
    EXPECT_EQ(SetTextAlign(dc, 8), GDI_ERROR);

    HDC bogus = reinterpret_cast<HDC>(&dc);
    EXPECT_EQ(GetDeviceCaps(bogus, LOGPIXELSY), 0);
    EXPECT_EQ(SetTextColor(bogus, 0), CLR_INVALID);
    EXPECT_EQ(SelectObject(bogus, nullptr), nullptr);
    EXPECT_FALSE(DeleteObject(&dc));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
}

TEST(GdiBitmaps, DibSectionIs32BitZeroedAndOnlyWhatWasAskedForIsAccepted) {
    Canvas top(17, 5);
    ASSERT_NE(top.bitmap, nullptr);
    ASSERT_NE(top.bits, nullptr);
    for (int i = 0; i < 17 * 5; ++i) EXPECT_EQ(top.bits[i], 0u);
    top.bits[17 * 5 - 1] = 0xFFFFFFFF;  // the whole image is ours to write

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 8;
    info.bmiHeader.biHeight = 8;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = &info;
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biWidth = 0;
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

TEST(GdiBitmaps, ObjectDeletedWhileSelectedLivesUntilItsDcLetsGo) {
    Canvas canvas(32, 16);
    HFONT font = Arial(-11);
    ASSERT_NE(font, nullptr);
    HGDIOBJ stockFont = SelectObject(canvas.dc, font);
    EXPECT_NE(stockFont, nullptr);
    EXPECT_TRUE(DeleteObject(font));   // still selected: deletion waits
    EXPECT_EQ(SelectObject(canvas.dc, font), nullptr);  // the handle itself is gone
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    SetBkColor(canvas.dc, 0);
    EXPECT_TRUE(ExtTextOutA(canvas.dc, 0, 0, ETO_OPAQUE, nullptr, "H", 1, nullptr));
    EXPECT_EQ(SelectObject(canvas.dc, stockFont), nullptr);  // the deleted font went back
    EXPECT_TRUE(DeleteObject(stockFont));  // stock objects ignore deletion
    SIZE size;
    EXPECT_TRUE(GetTextExtentPoint32A(canvas.dc, "H", 1, &size));

    // A bitmap selected into one DC cannot go into a second.
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, canvas.bitmap), nullptr);
    DeleteDC(other);
}

TEST(GdiFonts, ArialResolvesAndExtentsAreAdvancesOverOneCellHeight) {
    Canvas canvas(64, 64);
    HFONT font = Arial(-11);
    ASSERT_NE(font, nullptr) << "no face for Arial: is fonts-liberation installed?";
    SelectObject(canvas.dc, font);

    // An 11-pixel em of Arial: a cell of 13 pixels (ascent 10 and descent 3 rounded up), and
    // Arial's advances at 11 pixels: space 3, W 10, i 2 (metric-compatible faces agree).
    const struct {
        const char* text;
        LONG cx;
    } kExtents[] = {{" ", 3}, {"W", 10}, {"i", 2}, {"", 0}};
    for (const auto& e : kExtents) {
        const SIZE size = Extent(canvas.dc, e.text);
        EXPECT_TRUE(size.cx == e.cx && size.cy == 13) << "\"" << e.text << "\" " << size.cx << " " << size.cy;
    }
    const LONG a = Extent(canvas.dc, "A").cx, v = Extent(canvas.dc, "V").cx;
    EXPECT_EQ(Extent(canvas.dc, "AV").cx, a + v);  // no kerning

    HFONT big = Arial(-19);
    SelectObject(canvas.dc, big);
    EXPECT_GT(Extent(canvas.dc, "W").cx, 10);
    EXPECT_GE(Extent(canvas.dc, " ").cy, 21);
    const LONG regular = Extent(canvas.dc, "Hello").cx;
    HFONT bold = Arial(-19, FW_BOLD);
    SelectObject(canvas.dc, bold);
    EXPECT_GT(Extent(canvas.dc, "Hello").cx, regular);

    SelectObject(canvas.dc, font);
    DeleteObject(big);
    DeleteObject(bold);
    EXPECT_EQ(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, 0, 0, 0, 0, 0, "Arial"), nullptr);
    EXPECT_EQ(CreateFontA(-11, 0, 900, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Arial"), nullptr);
    EXPECT_TRUE(DeleteObject(font));
}

TEST(GdiText, WhiteOnBlackGivesGreyCoverageInsideTheCellOnly) {
    Canvas canvas(48, 32);
    for (int k = 0; k < 48 * 32; ++k) canvas.bits[k] = 0x00123456;
    HFONT font = Arial(-19);
    ASSERT_NE(font, nullptr);
    SelectObject(canvas.dc, font);
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    SetBkColor(canvas.dc, RGB(0, 0, 0));
    SIZE cell = Extent(canvas.dc, "Og");
    ASSERT_TRUE(ExtTextOutA(canvas.dc, 5, 3, ETO_OPAQUE, nullptr, "Og", 2, nullptr));

    int ink = 0, grey = 0, lowestInkRow = -1;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x) {
            uint32_t p = canvas.At(x, y);
            bool inside = x >= 5 && x < 5 + cell.cx && y >= 3 && y < 3 + cell.cy;
            if (!inside) {
                ASSERT_EQ(p, 0x00123456u) << "outside the cell at " << x << "," << y;
                continue;
            }
            const unsigned b = p & 0xFF;
            ASSERT_TRUE(b == ((p >> 8) & 0xFF) && b == ((p >> 16) & 0xFF)) << std::hex << p;  // grey
            ink += b > 0;
            grey += b > 0 && b < 255;
            if (b) lowestInkRow = y;
        }
    EXPECT_GT(ink, 20);
    EXPECT_GT(grey, 5);  // anti-aliased edges
    // 'g' reaches below the baseline, into the descent of the cell.
    EXPECT_GT(lowestInkRow, 3 + 15);
    EXPECT_TRUE(DeleteObject(font));
}

TEST(GdiText, TextColourBlendsOverTheBackgroundAndBottomUpRowsAreMirrored) {
    Canvas topDown(24, 24);
    Canvas bottomUp(24, 24, false);
    HFONT font = Arial(-16);
    ASSERT_NE(font, nullptr);
    for (Canvas* c : {&topDown, &bottomUp}) {
        SelectObject(c->dc, font);
        SetTextColor(c->dc, RGB(200, 0, 0));
        SetBkColor(c->dc, RGB(0, 0, 100));
        ASSERT_TRUE(ExtTextOutA(c->dc, 2, 2, 0, nullptr, "T", 1, nullptr));
    }
    int full = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            uint32_t p = topDown.At(x, y);
            EXPECT_EQ(p, bottomUp.At(x, 23 - y));
            if (p == 0x00C80000u) ++full;  // red 200, no green, no blue: fully covered
            EXPECT_EQ((p >> 8) & 0xFF, 0u);
        }
    EXPECT_GT(full, 5);
    EXPECT_EQ(topDown.At(2, 2) & 0xFF, 100u);  // the cell's corner is background
    EXPECT_TRUE(DeleteObject(font));  // freed when both canvases let go of it
}
