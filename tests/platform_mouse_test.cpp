// platform_mouse_test.cpp -- mouse messages in a window procedure, the cursor's screen and
// client coordinates, bitmaps read as DIBs, and cursors made of bitmaps.
#include <SDL.h>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "../platform/src/win32/window_link.h"
#include "layer/input.h"
#include "windows.h"
#include "windowsx.h"
#include "wingdi.h"

using namespace layer;

namespace {

struct Received {
    UINT message;
    WPARAM flags;
    int x, y;
    auto Fields() const { return std::make_tuple(message, flags, x, y); }
};
std::vector<Received> g_mouse;

LRESULT CALLBACK MouseProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK)
        g_mouse.push_back({msg, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

class WindowMouse : public ::testing::Test {
protected:
    void SetUp() override {
        g_mouse.clear();
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = MouseProc;
        wc.lpszClassName = "MouseTest";
        ASSERT_NE(RegisterClassExA(&wc), 0);
        // A 200 x 200 client area inside the frame.
        window_ = CreateWindowExA(0, "MouseTest", "mouse", WS_OVERLAPPEDWINDOW, 10, 10, 208, 230, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window_);
        UnregisterClassA("MouseTest", nullptr);
    }
    void Dispatch() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    HWND window_ = nullptr;
};

}  // namespace

TEST_F(WindowMouse, ButtonsAndMovesArriveWithFlagsAndSignedClientCoordinates) {
    InjectWindowMouseButton(window_, 0, true, 20, 30);
    InjectWindowMouseMove(window_, 25, 35);
    InjectWindowMouseMove(window_, 40, 45);  // replaces the move still waiting
    InjectWindowMouseButton(window_, 0, false, 40, 45);
    InjectWindowMouseButton(window_, 1, true, -3, 60);
    InjectWindowMouseMove(window_, -3, -7);  // left of and above the client area
    InjectWindowMouseButton(window_, 1, false, -3, -7);
    InjectWindowMouseButton(window_, 2, true, 5, 6);
    InjectWindowMouseButton(window_, 2, false, 5, 6);
    InjectWindowMouseButton(window_, 0, true, 7, 8, 2);  // the class takes double clicks
    InjectWindowMouseButton(window_, 0, false, 7, 8, 2);
    Dispatch();

    const std::vector<Received> expected = {{WM_LBUTTONDOWN, MK_LBUTTON, 20, 30},
                                            {WM_MOUSEMOVE, MK_LBUTTON, 40, 45},
                                            {WM_LBUTTONUP, 0, 40, 45},
                                            {WM_RBUTTONDOWN, MK_RBUTTON, -3, 60},
                                            {WM_MOUSEMOVE, MK_RBUTTON, -3, -7},
                                            {WM_RBUTTONUP, 0, -3, -7},
                                            {WM_MBUTTONDOWN, MK_MBUTTON, 5, 6},
                                            {WM_MBUTTONUP, 0, 5, 6},
                                            {WM_LBUTTONDBLCLK, MK_LBUTTON, 7, 8},
                                            {WM_LBUTTONUP, 0, 7, 8}};
    ASSERT_EQ(g_mouse.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(g_mouse[i].Fields(), expected[i].Fields()) << "message " << i;
}

TEST_F(WindowMouse, ALetterboxedWindowMapsTheScreenOntoItsClientArea) {
    // The SDL window grows to 400 x 300 around the 200 x 200 client area: the picture is scaled
    // by 1.5 and centred, 50 pixels in from the left.
    SDL_SetWindowSize(PlatformWindowSDL(window_), 400, 300);
    POINT p = {100, 50};
    ASSERT_TRUE(ClientToScreen(window_, &p));
    InjectCursorPosition(&p);
    POINT cursor;
    ASSERT_TRUE(GetCursorPos(&cursor));
    ASSERT_TRUE(ScreenToClient(window_, &cursor));
    EXPECT_EQ(cursor.x, 100);
    EXPECT_EQ(cursor.y, 50);

    InjectWindowMouseMove(window_, 50 + 15, 30);
    Dispatch();
    ASSERT_EQ(g_mouse.size(), 1u);
    EXPECT_EQ(g_mouse[0].x, 10);
    EXPECT_EQ(g_mouse[0].y, 20);
    EXPECT_FALSE(ScreenToClient(nullptr, &cursor));
}

TEST(GdiBitmaps, BlackAndWhiteBitmapsReadBackAsDibRowsEitherWayUp) {
    // 16 x 3, one byte pair a row: row 0 has its first pixel white, row 2 its last.
    const BYTE bits[6] = {0x80, 0x00, 0x00, 0x00, 0x00, 0x01};
    HBITMAP bitmap = CreateBitmap(16, 3, 1, 1, bits);
    ASSERT_NE(bitmap, nullptr);
    BITMAP record = {};
    EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), (int)sizeof(BITMAP));
    ASSERT_EQ(GetObjectA(bitmap, sizeof record, &record), (int)sizeof(BITMAP));
    EXPECT_EQ(record.bmWidth, 16);
    EXPECT_EQ(record.bmHeight, 3);
    EXPECT_EQ(record.bmWidthBytes, 2);
    EXPECT_EQ(record.bmBitsPixel, 1);
    EXPECT_EQ(CreateBitmap(16, 3, 1, 8, bits), nullptr);  // only 1 and 32 bits a pixel

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    ASSERT_EQ(GetDIBits(memory, bitmap, 0, 0, nullptr, &info, DIB_RGB_COLORS), 3);  // the header alone
    EXPECT_EQ(info.bmiHeader.biBitCount, 1);
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    uint32_t pixels[16 * 3] = {};
    ASSERT_EQ(GetDIBits(memory, bitmap, 0, 3, pixels, &info, DIB_RGB_COLORS), 3);  // bottom-up
    EXPECT_EQ(pixels[2 * 16 + 0], 0x00FFFFFFu);
    EXPECT_EQ(pixels[0 * 16 + 15], 0x00FFFFFFu);
    EXPECT_EQ(pixels[0 * 16 + 0], 0u);
    info.bmiHeader.biHeight = -3;
    ASSERT_EQ(GetDIBits(memory, bitmap, 1, 5, pixels, &info, DIB_RGB_COLORS), 2);  // lines 1 and 2 only
    EXPECT_EQ(pixels[1 * 16 + 15], 0x00FFFFFFu);

    EXPECT_FALSE(DeleteDC(screen));  // a display context is released, not deleted
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_TRUE(DeleteDC(memory));
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(GdiCursors, IconsCopyTheirBitmapsAndTheStandardArrowIsShared) {
    HBITMAP mask = CreateBitmap(8, 8, 1, 1, nullptr);
    HBITMAP colour = CreateBitmap(8, 8, 1, 32, nullptr);
    HBITMAP tall = CreateBitmap(8, 16, 1, 1, nullptr);
    ICONINFO made = {FALSE, 3, 4, mask, colour};
    HCURSOR cursor = CreateIconIndirect(&made);
    ASSERT_NE(cursor, nullptr);
    made.hbmColor = tall;
    EXPECT_EQ(CreateIconIndirect(&made), nullptr);  // colour and mask differ in size
    made = {TRUE, 0, 0, tall, nullptr};
    HICON icon = CreateIconIndirect(&made);
    ASSERT_NE(icon, nullptr);
    for (HBITMAP b : {mask, colour, tall}) DeleteObject(b);  // the icons keep their own

    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_EQ(info.xHotspot, 3u);
    EXPECT_EQ(info.yHotspot, 4u);
    BITMAP record = {};
    ASSERT_NE(info.hbmColor, nullptr);
    EXPECT_TRUE(GetObjectA(info.hbmColor, sizeof record, &record));
    EXPECT_EQ(record.bmBitsPixel, 32);
    EXPECT_TRUE(DeleteObject(info.hbmMask));
    EXPECT_TRUE(DeleteObject(info.hbmColor));
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_EQ(info.yHotspot, 4u);  // an icon's hot spot is its centre
    DeleteObject(info.hbmMask);
    EXPECT_TRUE(DestroyCursor(cursor));
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(GetIconInfo(icon, &info));

    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(32513)), nullptr);  // of the standard cursors, the arrow only
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    EXPECT_TRUE(DestroyCursor(arrow));  // shared: it stays
    EXPECT_TRUE(GetIconInfo(arrow, &info));
    DeleteObject(info.hbmMask);
}
