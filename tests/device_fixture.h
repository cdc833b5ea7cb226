// device_fixture.h -- a real Direct3D device on SDL's offscreen driver, with helpers that fill
// vertex buffers, draw and read the back buffer's pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "d3d8.h"
#include "layer/device_control.h"
#include "layer/device_stats.h"

struct ScreenVertex {  // XYZRHW | DIFFUSE | TEX1
    float x, y, z, rhw;
    DWORD colour;
    float u, v;
};
const DWORD kScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct SceneVertex {  // XYZ | DIFFUSE | TEX1
    float x, y, z;
    DWORD colour;
    float u, v;
};
const DWORD kSceneFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

class DeviceTest : public ::testing::Test {
protected:
    static constexpr UINT kWidth = 64, kHeight = 48;

    void SetUp() override { CreateDevice(kWidth, kHeight, D3DMULTISAMPLE_NONE, format_); }

    void TearDown() override {
        ReleaseDevice();
        layer::ResetDeviceControl();
    }

    // Releases the textures kept, the vertex buffer, the device and Direct3D, each the last
    // reference to it.
    void ReleaseDevice() {
        if (!kept_.empty())
            for (DWORD s = 0; s < 8; ++s) device_->SetTexture(s, nullptr);
        for (IDirect3DTexture8* t : kept_) EXPECT_EQ(t->Release(), 0u);
        kept_.clear();
        if (vb_) vb_->Release();
        EXPECT_EQ(device_ ? device_->Release() : 0u, 0u);
        EXPECT_EQ(d3d_ ? d3d_->Release() : 0u, 0u);
        vb_ = nullptr;
        device_ = nullptr;
        d3d_ = nullptr;
    }

    void CreateDevice(UINT width, UINT height, D3DMULTISAMPLE_TYPE samples = D3DMULTISAMPLE_NONE,
                      D3DFORMAT format = D3DFMT_X8R8G8B8, HWND window = nullptr, D3DFORMAT depth = D3DFMT_D16) {
        d3d_ = Direct3DCreate8(D3D_SDK_VERSION);
        ASSERT_NE(d3d_, nullptr);
        D3DPRESENT_PARAMETERS pp = {};
        pp.BackBufferWidth = width;
        pp.BackBufferHeight = height;
        pp.BackBufferFormat = format;
        pp.MultiSampleType = samples;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.Windowed = TRUE;
        pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = depth;
        ASSERT_EQ(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                     &pp, &device_),
                  D3D_OK);
        ASSERT_NE(device_, nullptr);
    }

    // Fills the shared vertex buffer with `n` vertices and binds it as stream 0.
    template <class Vertex>
    void Upload(const Vertex* vertices, UINT n, DWORD fvf) {
        const UINT bytes = n * sizeof(Vertex);
        if (!vb_ || bytes > vbSize_) {
            if (vb_) vb_->Release();
            vbSize_ = bytes < 4096 ? 4096 : bytes;
            ASSERT_EQ(device_->CreateVertexBuffer(vbSize_, D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &vb_), D3D_OK);
        }
        BYTE* p = nullptr;
        ASSERT_EQ(vb_->Lock(0, bytes, &p, 0), D3D_OK);
        std::memcpy(p, vertices, bytes);
        ASSERT_EQ(vb_->Unlock(), D3D_OK);
        device_->SetStreamSource(0, vb_, sizeof(Vertex));
        device_->SetVertexShader(fvf);
    }

    // A screen rectangle from (x0, y0) to (x1, y1) as a two-triangle strip, clockwise on screen.
    // Its texture coordinates run from 0 to `uv` across and down.
    void DrawScreenRect(float x0, float y0, float x1, float y1, DWORD colour, float z = 0.5f, float rhw = 1,
                        float uv = 1) {
        const ScreenVertex v[4] = {{x0, y1, z, rhw, colour, 0, uv}, {x0, y0, z, rhw, colour, 0, 0},
                                   {x1, y1, z, rhw, colour, uv, uv}, {x1, y0, z, rhw, colour, uv, 0}};
        Upload(v, 4, kScreenFvf);
        EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    }

    // A quad in clip space (world, view and projection left as identity), clockwise on screen.
    void DrawClipQuad(float x0, float y0, float x1, float y1, float z, DWORD colour) {
        const SceneVertex v[4] = {{x0, y0, z, colour, 0, 1}, {x0, y1, z, colour, 0, 0},
                                  {x1, y0, z, colour, 1, 1}, {x1, y1, z, colour, 1, 0}};
        Upload(v, 4, kSceneFvf);
        EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    }

    // A texture of the given format whose level 0 is filled row by row from `texels` (raw values).
    template <class Texel>
    IDirect3DTexture8* MakeTexture(UINT w, UINT h, D3DFORMAT format, const Texel* texels, UINT levels = 1) {
        IDirect3DTexture8* tex = nullptr;
        EXPECT_EQ(device_->CreateTexture(w, h, levels, 0, format, D3DPOOL_MANAGED, &tex), D3D_OK);
        if (!tex) return nullptr;
        D3DLOCKED_RECT lr;
        EXPECT_EQ(tex->LockRect(0, &lr, nullptr, 0), D3D_OK);
        for (UINT y = 0; y < h; ++y) std::memcpy(static_cast<BYTE*>(lr.pBits) + y * lr.Pitch, texels + y * w, w * sizeof(Texel));
        EXPECT_EQ(tex->UnlockRect(0), D3D_OK);
        return tex;
    }

    // A texture the fixture releases when the device goes.
    IDirect3DTexture8* Keep(IDirect3DTexture8* texture) {
        kept_.push_back(texture);
        return texture;
    }

    // The 2D defaults most pixel tests start from: no lighting, no culling, no depth.
    void Plain2DStates() {
        SetState(D3DRS_LIGHTING, FALSE);
        SetState(D3DRS_CULLMODE, D3DCULL_NONE);
        SetState(D3DRS_ZENABLE, D3DZB_FALSE);
    }

    void Clear(DWORD flags, D3DCOLOR colour = 0) { device_->Clear(0, nullptr, flags, colour, 1.0f, 0); }

    // Sets a render state, or a stage's state, which the device takes.
    void SetState(D3DRENDERSTATETYPE state, DWORD value) {
        EXPECT_EQ(device_->SetRenderState(state, value), D3D_OK);
    }
    void SetState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
        EXPECT_EQ(device_->SetTextureStageState(stage, type, value), D3D_OK);
    }

    // A render state, or a stage's state, as the device answers it.
    DWORD RenderState(D3DRENDERSTATETYPE state) {
        DWORD v = 0xDEADBEEF;
        EXPECT_EQ(device_->GetRenderState(state, &v), D3D_OK);
        return v;
    }
    DWORD StageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) {
        DWORD v = 0xDEADBEEF;
        EXPECT_EQ(device_->GetTextureStageState(stage, type, &v), D3D_OK);
        return v;
    }

    uint32_t Pixel(UINT x, UINT y) { return layer::BackBufferPixel(x, y) & 0x00FFFFFFu; }

    // The whole back buffer, row by row; without alpha unless the mask keeps it.
    std::vector<uint32_t> Pixels(uint32_t mask = 0x00FFFFFFu) {
        std::vector<uint32_t> p;
        UINT w = 0, h = 0;
        EXPECT_TRUE(layer::ReadBackBuffer(&p, &w, &h));
        for (auto& c : p) c &= mask;
        return p;
    }

    IDirect3D8* d3d_ = nullptr;
    IDirect3DDevice8* device_ = nullptr;
    IDirect3DVertexBuffer8* vb_ = nullptr;
    UINT vbSize_ = 0;
    std::vector<IDirect3DTexture8*> kept_;
    D3DFORMAT format_ = D3DFMT_X8R8G8B8;  // the back buffer's
};

// Which fragment programs draw: the ones built for each draw's states, or the general one.
enum class ProgramPath { kBuilt, kGeneral };

// A device test run once on each program path, from the 2D defaults over a cleared back buffer and
// depth buffer; at its end it checks that the draws of the frame being drawn took that path.
class ProgramPathTest : public DeviceTest, public ::testing::WithParamInterface<ProgramPath> {
protected:
    void SetUp() override {
        layer::ForceGeneralProgram(GetParam() == ProgramPath::kGeneral);
        DeviceTest::SetUp();
        Plain2DStates();
        Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    }
    void TearDown() override {
        const layer::DeviceFrameStats stats = layer::CurrentFrameStats();
        EXPECT_EQ(stats.specialisedDraws, GetParam() == ProgramPath::kGeneral ? 0u : stats.drawCalls);
        DeviceTest::TearDown();
    }
};

inline void PrintTo(ProgramPath path, std::ostream* os) {
    *os << (path == ProgramPath::kGeneral ? "the general program" : "built programs");
}

inline std::string ProgramPathName(const ::testing::TestParamInfo<ProgramPath>& info) {
    return info.param == ProgramPath::kGeneral ? "GeneralProgram" : "BuiltPrograms";
}

#define INSTANTIATE_ON_EACH_PROGRAM(Fixture)                                                                  \
    INSTANTIATE_TEST_SUITE_P(Programs, Fixture, ::testing::Values(ProgramPath::kBuilt, ProgramPath::kGeneral), \
                             ProgramPathName)

// Channels of an 0x00RRGGBB pixel.
inline int RedOf(uint32_t c) { return (int)((c >> 16) & 0xFF); }
inline int GreenOf(uint32_t c) { return (int)((c >> 8) & 0xFF); }
inline int BlueOf(uint32_t c) { return (int)(c & 0xFF); }

// Whether each channel of `got` lies within `tolerance` of `want`'s.
inline ::testing::AssertionResult NearRgb(uint32_t got, uint32_t want, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs((int)(got >> shift & 0xFF) - (int)(want >> shift & 0xFF)) > tolerance)
            return ::testing::AssertionFailure() << std::hex << "got " << got << ", want " << want;
    return ::testing::AssertionSuccess();
}

// A float as the DWORD that render states take.
inline DWORD FloatBits(float f) {
    DWORD d;
    std::memcpy(&d, &f, 4);
    return d;
}
