// d3d8_raster_test.cpp -- the device's pixels: clearing, pixel centres, vertex colours, culling,
// depth, the back buffer's size and the draw counts.
#include "device_fixture.h"

TEST_F(DeviceTest, ClearFillsTheBackBufferAndRectanglesStayInside) {
    EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00112233, 1.0f, 0), D3D_OK);
    EXPECT_EQ(Pixel(0, 0), 0x112233u);
    EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), 0x112233u);
    D3DRECT r = {10, 5, 20, 15};
    EXPECT_EQ(device_->Clear(1, &r, D3DCLEAR_TARGET, 0x00FF0000, 1.0f, 0), D3D_OK);
    EXPECT_EQ(Pixel(10, 5), 0xFF0000u);
    EXPECT_EQ(Pixel(19, 14), 0xFF0000u);
    EXPECT_EQ(Pixel(20, 14), 0x112233u);
    EXPECT_EQ(Pixel(19, 15), 0x112233u);
    EXPECT_EQ(Pixel(9, 5), 0x112233u);
    EXPECT_EQ(Pixel(10, 4), 0x112233u);
    // A stencil clear without a stencil buffer is refused.
    EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0), D3DERR_INVALIDCALL);
}

TEST_F(DeviceTest, PretransformedRectCoversExactlyItsPixels) {
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
    Plain2DStates();
    device_->BeginScene();
    // Pixel centres lie on whole coordinates: a rectangle from -0.5 to 9.5 covers pixels 0..9.
    DrawScreenRect(9.5f, 4.5f, 19.5f, 14.5f, 0xFF00FF00);
    device_->EndScene();
    EXPECT_EQ(Pixel(10, 5), 0x00FF00u);
    EXPECT_EQ(Pixel(19, 14), 0x00FF00u);
    EXPECT_EQ(Pixel(9, 5), 0u);
    EXPECT_EQ(Pixel(20, 5), 0u);
    EXPECT_EQ(Pixel(10, 4), 0u);
    EXPECT_EQ(Pixel(10, 15), 0u);
}
