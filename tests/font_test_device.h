// font_test_device.h -- a real device on SDL's offscreen driver for the font and geometry tests, and
// reading its back buffer.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "d3d8.h"
#include "layer/device_control.h"
#include "layer/device_stats.h"
#include "utils/texture_font.h"
#include "windows.h"
#include "world_headless_device.h"

class FontTestDevice {
public:
    explicit FontTestDevice(UINT width = 640, UINT height = 480) : width_(width), height_(height) {
        layer::ResetDeviceControl();
        d3d_ = Direct3DCreate8(D3D_SDK_VERSION);
        if (d3d_) device_ = world_test::CreateHeadlessDevice(d3d_, width, height, false);
    }
    ~FontTestDevice() {
        if (device_) device_->Release();
        if (d3d_) d3d_->Release();
        layer::ResetDeviceControl();
    }
    FontTestDevice(const FontTestDevice&) = delete;
    FontTestDevice& operator=(const FontTestDevice&) = delete;

    IDirect3DDevice8* device() const { return device_; }
    UINT width() const { return width_; }
    UINT height() const { return height_; }

    // Clears to opaque black and opens the scene.
    void Begin(D3DCOLOR clear = 0xFF000000) {
        device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear, 1.0f, 0);
        device_->BeginScene();
    }
    void End() { device_->EndScene(); }

    // The back buffer, top row first, 0xAARRGGBB.
    std::vector<uint32_t> Pixels() const {
        std::vector<uint32_t> pixels;
        UINT w = 0, h = 0;
        EXPECT_TRUE(layer::ReadBackBuffer(&pixels, &w, &h));
        EXPECT_EQ(w, width_);
        EXPECT_EQ(h, height_);
        return pixels;
    }

private:
    UINT width_, height_;
    IDirect3D8* d3d_ = nullptr;
    IDirect3DDevice8* device_ = nullptr;
};

// A test on a fresh 640 x 480 device.
class FontDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(dev.device(), nullptr); }
    FontTestDevice dev;
};

// A font with its atlas, vertex buffer and state blocks on the test device.
inline std::unique_ptr<CTextureFont> ReadyFont(FontTestDevice& dev, DWORD height, DWORD flags = 0) {
    auto font = std::make_unique<CTextureFont>("Arial", height, flags);
    EXPECT_EQ(font->InitDeviceObjects(dev.device()), S_OK);
    EXPECT_EQ(font->RestoreDeviceObjects(), S_OK);
    return font;
}

// Red, green and blue of a back-buffer pixel.
inline uint32_t Rgb(uint32_t pixel) { return pixel & 0x00FFFFFF; }

// The box of every pixel that is not black (none: left > right), and the rows that hold any.
struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    std::vector<bool> rows;
};
inline Ink FindInk(const std::vector<uint32_t>& pixels, int width) {
    Ink ink;
    ink.rows.assign(pixels.size() / size_t(width), false);
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (Rgb(pixels[i]) == 0) continue;
        const int x = int(i % size_t(width)), y = int(i / size_t(width));
        ink.rows[size_t(y)] = true;
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
    }
    return ink;
}
