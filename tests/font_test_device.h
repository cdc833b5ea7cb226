// font_test_device.h -- a real device on SDL's offscreen driver for the font and geometry tests, and
// reading its back buffer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <cstring>
#include <vector>

#include "d3d8.h"
#include "layer/device_control.h"
#include "layer/device_stats.h"
#include "utils/texture_font.h"
#include "windows.h"

class FontTestDevice {
public:
    explicit FontTestDevice(UINT width = 640, UINT height = 480) : width_(width), height_(height) {
        layer::ResetDeviceControl();
        d3d_ = Direct3DCreate8(D3D_SDK_VERSION);
        if (!d3d_) return;
        D3DPRESENT_PARAMETERS pp = {};
        pp.BackBufferWidth = width;
        pp.BackBufferHeight = height;
        pp.BackBufferFormat = D3DFMT_X8R8G8B8;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.Windowed = TRUE;
        pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = D3DFMT_D16;
        d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp,
                           &device_);
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

    // Whether the device keeps a triangle that is clockwise on screen under D3DCULL_CCW, as
    // Direct3D does. Glyph quads are clockwise and rely on it.
    bool KeepsClockwiseUnderCcw() {
        if (clockwiseKept_ >= 0) return clockwiseKept_ == 1;
        struct V {
            float x, y, z, rhw;
            DWORD colour;
        };
        const V tri[3] = {{0, 40, 0.5f, 1, 0xFFFFFFFF}, {0, 0, 0.5f, 1, 0xFFFFFFFF}, {40, 40, 0.5f, 1, 0xFFFFFFFF}};
        IDirect3DVertexBuffer8* vb = nullptr;
        if (FAILED(device_->CreateVertexBuffer(sizeof tri, D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &vb))) return false;
        BYTE* p = nullptr;
        vb->Lock(0, 0, &p, 0);
        std::memcpy(p, tri, sizeof tri);
        vb->Unlock();
        Begin();
        device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
        device_->SetRenderState(D3DRS_ZENABLE, FALSE);
        device_->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
        device_->SetStreamSource(0, vb, sizeof(V));
        device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
        End();
        device_->SetStreamSource(0, nullptr, 0);
        vb->Release();
        clockwiseKept_ = (layer::BackBufferPixel(5, 30) & 0x00FFFFFF) != 0 ? 1 : 0;
        return clockwiseKept_ == 1;
    }

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
    int clockwiseKept_ = -1;
};

// A font with its atlas, vertex buffer and state blocks on the test device. On a device that
// culls clockwise triangles under D3DCULL_CCW (a device fault) the text-drawing block is taken
// again with culling off, so that the rest of what the font draws can still be checked.
inline void DrawUnculledOnAReversedDevice(FontTestDevice& dev, CTextureFont& font) {
    if (dev.KeepsClockwiseUnderCcw() || !font.drawStateBlock) return;
    std::fprintf(stderr, "note: the device culls clockwise triangles under D3DCULL_CCW; text drawn unculled\n");
    dev.device()->ApplyStateBlock(font.drawStateBlock);
    dev.device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    dev.device()->CaptureStateBlock(font.drawStateBlock);
    dev.device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
}

inline std::unique_ptr<CTextureFont> ReadyFont(FontTestDevice& dev, DWORD height, DWORD flags = 0) {
    auto font = std::make_unique<CTextureFont>("Arial", height, flags);
    EXPECT_EQ(font->InitDeviceObjects(dev.device()), S_OK);
    EXPECT_EQ(font->RestoreDeviceObjects(), S_OK);
    DrawUnculledOnAReversedDevice(dev, *font);
    return font;
}

// Red, green and blue of a back-buffer pixel.
inline uint32_t Rgb(uint32_t pixel) { return pixel & 0x00FFFFFF; }
