// d3d8_raster_test.cpp -- the device's pixels: clearing, pixel centres, vertex colours, culling,
// depth, the back buffer's size and the draw counts.
#include "device_fixture.h"

#include <SDL.h>

#include <array>
#include <tuple>

#include "../platform/src/win32/window_link.h"
#include "layer/window_hooks.h"
#include "windows.h"

class RasterTest : public ProgramPathTest {};
INSTANTIATE_ON_EACH_PROGRAM(RasterTest);

// Pixels (x0, y0) to (x1, y1) hold `inside` at every corner, and the pixels next to each corner
// outside the rectangle hold `outside`.
void ExpectRect(UINT x0, UINT y0, UINT x1, UINT y1, uint32_t inside, uint32_t outside) {
    auto at = [](UINT x, UINT y) { return layer::BackBufferPixel(x, y) & 0xFFFFFFu; };
    for (UINT x : {x0, x1})
        for (UINT y : {y0, y1}) {
            const UINT outX = x == x0 ? x - 1 : x + 1, outY = y == y0 ? y - 1 : y + 1;
            EXPECT_EQ(at(x, y), inside) << x << "," << y;
            EXPECT_EQ(at(outX, y), outside) << outX << "," << y;
            EXPECT_EQ(at(x, outY), outside) << x << "," << outY;
        }
}

TEST_F(DeviceTest, ClearFillsTheBackBufferAndRectanglesStayInside) {
    EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00112233, 1.0f, 0), D3D_OK);
    EXPECT_EQ(Pixel(0, 0), 0x112233u);
    EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), 0x112233u);
    D3DRECT r = {10, 5, 20, 15};
    EXPECT_EQ(device_->Clear(1, &r, D3DCLEAR_TARGET, 0x00FF0000, 1.0f, 0), D3D_OK);
    ExpectRect(10, 5, 19, 14, 0xFF0000u, 0x112233u);
    // A stencil clear without a stencil buffer is refused.
    EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0), D3DERR_INVALIDCALL);
}

// Pixel centres lie on whole coordinates: a rectangle from -0.5 to 9.5 covers pixels 0..9. Its
// vertex colour is stored blue, green, red, alpha.
TEST_P(RasterTest, PretransformedRectCoversExactlyItsPixelsInItsVertexColour) {
    device_->BeginScene();
    DrawScreenRect(9.5f, 4.5f, 19.5f, 14.5f, 0xFF102030);
    device_->EndScene();
    ExpectRect(10, 5, 19, 14, 0x102030u, 0u);
}

TEST_P(RasterTest, FormatsWithoutColourDrawWhiteAndUnboundTexturesReadWhite) {
    struct Bare {
        float x, y, z, rhw;
    };
    const Bare v[4] = {{-0.5f, 9.5f, 0.5f, 1}, {-0.5f, -0.5f, 0.5f, 1}, {9.5f, 9.5f, 0.5f, 1}, {9.5f, -0.5f, 0.5f, 1}};
    Upload(v, 4, D3DFVF_XYZRHW);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    EXPECT_EQ(Pixel(5, 5), 0xFFFFFFu);
    // Texture times colour with no texture bound: the colour itself.
    device_->SetTexture(0, nullptr);
    SetState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    DrawScreenRect(19.5f, -0.5f, 29.5f, 9.5f, 0xFF336699);
    EXPECT_EQ(Pixel(25, 5), 0x336699u);
}

TEST_P(RasterTest, CullingIsJudgedByWindingOnScreen) {
    // Clockwise on screen (y down): (0,10) (0,0) (10,10). Counter-clockwise: (20,0) (20,10) (30,0).
    const ScreenVertex v[6] = {{0, 10, 0.5f, 1, 0xFFFF0000, 0, 0}, {0, 0, 0.5f, 1, 0xFFFF0000, 0, 0},
                               {10, 10, 0.5f, 1, 0xFFFF0000, 0, 0}, {20, 0, 0.5f, 1, 0xFF00FF00, 0, 0},
                               {20, 10, 0.5f, 1, 0xFF00FF00, 0, 0}, {30, 0, 0.5f, 1, 0xFF00FF00, 0, 0}};
    Upload(v, 6, kScreenFvf);
    // A cull mode, and what stays of the clockwise and of the counter-clockwise triangle.
    for (auto [cull, clockwise, counter] : {std::tuple(D3DCULL_CCW, 0xFF0000u, 0u), {D3DCULL_CW, 0u, 0x00FF00u}}) {
        Clear(D3DCLEAR_TARGET);
        SetState(D3DRS_CULLMODE, cull);
        device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2);
        EXPECT_EQ(Pixel(2, 7), clockwise) << "cull " << cull;
        EXPECT_EQ(Pixel(22, 3), counter) << "cull " << cull;
    }
    // The same rule through the transform: a clockwise quad stays, drawn the other way round
    // (mirrored: counter-clockwise) it goes.
    SetState(D3DRS_CULLMODE, D3DCULL_CCW);
    for (auto [left, right, stays] : {std::tuple(-1, 1, 0x0000FFu), {1, -1, 0u}}) {
        Clear(D3DCLEAR_TARGET);
        DrawClipQuad(left, -1, right, 1, 0.5f, 0xFF0000FF);
        EXPECT_EQ(Pixel(30, 20), stays) << "from x " << left;
    }
}

TEST_P(RasterTest, ClipDepthRunsFromZeroToWAndDepthTestIsLessOrEqual) {
    SetState(D3DRS_ZENABLE, D3DZB_TRUE);
    // Depth below 0 lies in front of the near plane and is clipped away; 0..1 is drawn.
    DrawClipQuad(-1, -1, 0, 1, -0.05f, 0xFFFF0000);
    EXPECT_EQ(Pixel(10, 20), 0u);
    DrawClipQuad(0, -1, 1, 1, 0.02f, 0xFFFF0000);
    EXPECT_EQ(Pixel(50, 20), 0xFF0000u);
    // The transformed and the pre-transformed paths share one depth scale: 0.3 hides 0.35 but not 0.25.
    Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    DrawClipQuad(-1, -1, 1, 1, 0.3f, 0xFF0000FF);
    DrawScreenRect(-0.5f, -0.5f, 31.5f, 47.5f, 0xFF00FF00, 0.35f);
    DrawScreenRect(31.5f, -0.5f, 63.5f, 47.5f, 0xFFFF0000, 0.25f);
    EXPECT_EQ(Pixel(10, 20), 0x0000FFu);
    EXPECT_EQ(Pixel(50, 20), 0xFF0000u);
    // Equal depth passes by default (less or equal) and fails under "less".
    DrawScreenRect(-0.5f, -0.5f, 63.5f, 47.5f, 0xFFFFFFFF, 0.25f);
    EXPECT_EQ(Pixel(50, 20), 0xFFFFFFu);
    SetState(D3DRS_ZFUNC, D3DCMP_LESS);
    DrawScreenRect(-0.5f, -0.5f, 63.5f, 47.5f, 0xFF000080, 0.25f);
    EXPECT_EQ(Pixel(50, 20), 0xFFFFFFu);
    // Depth writes can be switched off, and stay off after a clear.
    SetState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    SetState(D3DRS_ZWRITEENABLE, FALSE);
    for (DWORD clear : {0u, (DWORD)D3DCLEAR_ZBUFFER}) {
        if (clear) Clear(clear);
        DrawScreenRect(-0.5f, -0.5f, 63.5f, 47.5f, 0xFF808080, 0.1f);
        DrawScreenRect(-0.5f, -0.5f, 63.5f, 47.5f, 0xFF00FFFF, 0.2f);
        EXPECT_EQ(Pixel(50, 20), 0x00FFFFu);
    }
}

TEST_P(RasterTest, TransformedGeometryAlsoHasPixelCentresOnIntegers) {
    // From the left edge to screen x 10.5: the centres 0..10 are inside, 11 is not.
    const float right = -1.0f + 2.0f * 10.5f / kWidth;
    DrawClipQuad(-1, -1, right, 1, 0.5f, 0xFFFFFFFF);
    EXPECT_EQ(Pixel(10, 20), 0xFFFFFFu);
    EXPECT_EQ(Pixel(11, 20), 0u);
}

TEST_F(DeviceTest, DrawCountsPerFrameMoveOnAtPresent) {
    Plain2DStates();
    layer::DeviceFrameStats before = layer::CurrentFrameStats();
    EXPECT_EQ(before.drawCalls, 0u);
    device_->BeginScene();
    DrawScreenRect(0, 0, 5, 5, 0xFFFFFFFF);
    DrawScreenRect(0, 0, 5, 5, 0xFFFFFFFF);
    const ScreenVertex v[6] = {};
    Upload(v, 6, kScreenFvf);
    device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2);
    device_->EndScene();
    EXPECT_EQ(layer::CurrentFrameStats().drawCalls, 3u);
    EXPECT_EQ(layer::CurrentFrameStats().primitives, 6u);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(layer::LastFrameStats().drawCalls, 3u);
    EXPECT_EQ(layer::CurrentFrameStats().drawCalls, 0u);
    EXPECT_EQ(layer::PresentedFrames(), 1u);
    // A refused draw is not counted.
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, vbSize_ / sizeof(ScreenVertex), 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(layer::CurrentFrameStats().drawCalls, 0u);
}

TEST_F(DeviceTest, SceneBracketsPair) {
    EXPECT_EQ(device_->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->BeginScene(), D3D_OK);
    EXPECT_EQ(device_->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->EndScene(), D3D_OK);
}

class DeviceOnWindowTest : public DeviceTest {
protected:
    void SetUp() override {}
};

TEST_F(DeviceOnWindowTest, PresentLetterboxesIntoALargerWindowAndDrawsStraightIntoOneOfTheBackBuffersSize) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "DeviceTestWindow";
    RegisterClassExA(&wc);
    HWND hwnd = CreateWindowExA(0, "DeviceTestWindow", "test", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(hwnd, nullptr);
    CreateDevice(64, 48, D3DMULTISAMPLE_NONE, D3DFMT_X8R8G8B8, hwnd);
    std::vector<uint32_t> pixels;
    UINT w = 0, h = 0;
    ASSERT_TRUE(layer::ReadBackBuffer(&pixels, &w, &h));
    EXPECT_EQ(w, 64u);
    EXPECT_EQ(h, 48u);
    EXPECT_FALSE(layer::DrawsIntoWindow());
    auto present = [&](D3DCOLOR colour) {
        Clear(D3DCLEAR_TARGET, colour);
        layer::KeepPresentedPictures(true);
        EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        EXPECT_TRUE(layer::LastPresentedPicture(&pixels, &w, &h));
        layer::KeepPresentedPictures(false);
    };
    // The presented picture at each {x, y, lit}: the colour where lit, else black.
    auto expect = [&](std::initializer_list<std::array<UINT, 3>> points, uint32_t colour) {
        for (const auto& p : points) EXPECT_EQ(pixels[p[1] * w + p[0]] & 0xFFFFFFu, p[2] ? colour : 0u) << p[0];
    };
    present(0x00FFFFFF);
    ASSERT_EQ(w, 200u);
    ASSERT_EQ(h, 100u);
    // 64x48 scaled to the full height is 133 wide: black bars of 33 and 34 columns on either side.
    expect({{10, 50, 0}, {190, 50, 0}, {40, 0, 1}, {100, 50, 1}, {160, 99, 1}, {32, 50, 0}, {167, 50, 0}}, 0xFFFFFF);

    // A window of the back buffer's size is drawn into straight from the next frame on.
    SDL_Window* window = PlatformWindowSDL(hwnd);
    SDL_SetWindowSize(window, 64, 48);
    present(0x00FF0000);
    EXPECT_TRUE(layer::DrawsIntoWindow());
    Clear(D3DCLEAR_TARGET, 0x0000FF00);
    EXPECT_EQ(Pixel(63, 47), 0x00FF00u);
    present(0x0000FF00);
    ASSERT_EQ(w, 64u);
    ASSERT_EQ(h, 48u);
    expect({{0, 0, 1}, {63, 47, 1}}, 0x00FF00);
    // Larger again: back to letterboxing, with the bars cleared of what was drawn there.
    SDL_SetWindowSize(window, 200, 100);
    present(0x0000FF00);
    EXPECT_FALSE(layer::DrawsIntoWindow());
    present(0x000000FF);
    ASSERT_EQ(w, 200u);
    expect({{10, 90, 0}, {100, 50, 1}}, 0x0000FF);
    // A window that another program destroyed is shown nothing more; the frames go on.
    layer::ReportWindowLost(hwnd);
    layer::KeepPresentedPictures(true);
    Clear(D3DCLEAR_TARGET, 0x00FF0000);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_FALSE(layer::LastPresentedPicture(&pixels, &w, &h));
    layer::KeepPresentedPictures(false);
    device_->Release();
    device_ = nullptr;
    DestroyWindow(hwnd);
    UnregisterClassA("DeviceTestWindow", nullptr);
}

TEST_F(DeviceOnWindowTest, OnlyTheSamePictureIsDrawnStraightIntoTheWindow) {
    // The device's own window has 8-bit colour without alpha and a 16-bit depth buffer.
    struct Case {
        D3DFORMAT format, depth;
        D3DMULTISAMPLE_TYPE samples;
        bool direct;
    };
    const Case cases[] = {
        {D3DFMT_X8R8G8B8, D3DFMT_D16, D3DMULTISAMPLE_NONE, true},
        {D3DFMT_R5G6B5, D3DFMT_D16, D3DMULTISAMPLE_NONE, true},
        {D3DFMT_A8R8G8B8, D3DFMT_D16, D3DMULTISAMPLE_NONE, false},
        {D3DFMT_X8R8G8B8, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, false},
        {D3DFMT_X8R8G8B8, D3DFMT_D16, D3DMULTISAMPLE_4_SAMPLES, false},
    };
    for (const Case& c : cases) {
        CreateDevice(kWidth, kHeight, c.samples, c.format, nullptr, c.depth);
        EXPECT_EQ(layer::DrawsIntoWindow(), c.direct) << "format " << c.format << ", depth " << c.depth;
        // Either way the depth test keeps the nearer of two overlapping rectangles.
        Plain2DStates();
        SetState(D3DRS_ZENABLE, D3DZB_TRUE);
        Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        DrawScreenRect(-0.5f, -0.5f, 9.5f, 9.5f, 0xFF00FF00, 0.25f);
        DrawScreenRect(-0.5f, -0.5f, 9.5f, 9.5f, 0xFFFF0000, 0.5f);
        EXPECT_EQ(Pixel(5, 5), 0x00FF00u);
        EXPECT_EQ(Pixel(20, 20), 0u);
        ReleaseDevice();
    }
}
