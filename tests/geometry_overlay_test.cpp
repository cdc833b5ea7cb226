// geometry_overlay_test.cpp -- InitGeometry: the overlay quads' bytes, the world, the fonts, and
// what a failed overlay buffer leaves.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dinput.h"
#include "font_test_device.h"
#include "layer/clock.h"
#include "layer/message_boxes.h"
#include "scratch_dir.h"
#include "shell/devices.h"
#include "shell/geometry.h"
#include "shell/settings.h"
#include "shell/timer.h"
#include "world/world.h"

namespace {

// A started program's state around InitGeometry: settings, device, stale input, a known clock.
class Geometry : public ::testing::Test {
protected:
    void Start(UINT width, UINT height) {
        dev_ = std::make_unique<FontTestDevice>(width, height);
        ASSERT_NE(dev_->device(), nullptr);
        g_pd3dDevice = dev_->device();
        SetConfigDefaults();
        g_Config.dwWidth = width;
        g_Config.dwHeight = height;
        g_Config.dwFilter = 2;
        g_Config.dwMipFilter = 2;
        std::memset(g_PrevKeys, 0x80, sizeof g_PrevKeys);
        std::memset(&g_PrevMouseState, 0x80, sizeof g_PrevMouseState);
        layer::UseManualClock(4321);
        g_Timer.fStopwatchStart = 0.0f;
        layer::ClearShownMessageBoxes();
    }
    void TearDown() override {
        for (CTextureFont** font : {&g_pFont8, &g_pFont10, &g_pFont14}) {
            if (*font) (*font)->DeleteDeviceObjects();
            delete *font;
            *font = nullptr;
        }
        delete g_pWorld;
        g_pWorld = nullptr;
        if (g_pVB2D) g_pVB2D->Release();
        g_pVB2D = nullptr;
        g_pd3dDevice = nullptr;
        dev_.reset();
        layer::UseRealClock();
    }

    // The 64 vertices as the buffer holds them.
    std::vector<SVertex2D> Quads() {
        std::vector<SVertex2D> quads(64);
        BYTE* data = nullptr;
        EXPECT_EQ(g_pVB2D->Lock(0, 64 * sizeof(SVertex2D), &data, D3DLOCK_READONLY), S_OK);
        if (data) std::memcpy(quads.data(), data, 64 * sizeof(SVertex2D));
        g_pVB2D->Unlock();
        return quads;
    }

    ScratchDir dir_;
    std::unique_ptr<FontTestDevice> dev_;
};

// The texts of the boxes that name the overlay buffer (the world may show its own about files).
std::vector<std::string> OverlayBoxes() {
    std::vector<std::string> texts;
    for (const auto& box : layer::ShownMessageBoxes())
        if (box.text.find("CreateVertexBuffer - g_pVB2D") != std::string::npos) texts.push_back(box.text);
    return texts;
}

// A quad's four vertices from its edges, in the order left-bottom, left-top, right-bottom,
// right-top, each with rhw 1.
void ExpectQuad(const std::vector<SVertex2D>& q, size_t first, float left, float right, float top,
                float bottom, float z, DWORD colour = 0xFFFFFFFF, float u0 = 0, float u1 = 1, float v0 = 0,
                float v1 = 1) {
    const SVertex2D want[4] = {{left, bottom, z, 1.0f, colour, u0, v1},
                               {left, top, z, 1.0f, colour, u0, v0},
                               {right, bottom, z, 1.0f, colour, u1, v1},
                               {right, top, z, 1.0f, colour, u1, v0}};
    for (size_t k = 0; k < 4; ++k) {
        const SVertex2D &got = q[first + k], &w = want[k];
        EXPECT_EQ(std::memcmp(&got, &w, sizeof got), 0)
            << "vertex " << first + k << ": " << got.x << "," << got.y << " want " << w.x << "," << w.y;
    }
}

// Every quad of the table for a W x H screen, bit for bit; the halves are whole pixels.
void ExpectTable(const std::vector<SVertex2D>& q, int W, int H) {
    const float x = float(W / 2), y = float(H / 2), w = float(W), h = float(H);
    const DWORD icon = 0xCCFFFFFF, picture = 0xEEFFFFFF;  // the others white
    ExpectQuad(q, 0, x - 15, x + 15, y - 15, y + 15, 0.1f);
    ExpectQuad(q, 4, -1, w, -1, h, 0.1f, 0xFFFFFFFF, -0.15f, 1.15f);
    ExpectQuad(q, 8, w * 0.625f, w, y, h, 0.1f);
    ExpectQuad(q, 12, w * 0.65f, w * 0.85f, h * 0.65f, h * 0.85f, 0.2f);
    ExpectQuad(q, 16, 0, 0, 10, 10, 0.2f);
    ExpectQuad(q, 20, 10, 10, 20, 20, 0.2f);
    ExpectQuad(q, 24, 10, 10, 20, 20, 0.1f);
    ExpectQuad(q, 28, x - 32, x + 32, 8, 32, 0.1f, icon, 0, 0.33f, 0, 0.33f);
    ExpectQuad(q, 32, x - 171, x - 43, 8, 32, 0.1f, icon, 0.33f, 1, 0.66f, 1);
    ExpectQuad(q, 36, x + 43, x + 171, 8, 32, 0.1f, icon, 0.33f, 1, 0, 0.33f);
    ExpectQuad(q, 40, x + 68, x + 196, h - 32, h - 8, 0.1f, icon, 0.33f, 1, 0.33f, 0.66f);
    ExpectQuad(q, 44, x - 132, x - 68, h - 32, h - 8, 0.1f, icon, 0, 0.33f, 0.33f, 0.66f);
    ExpectQuad(q, 48, 0, 0, 0, 0, 0.1f, icon, 0, 0.33f, 0.33f, 0.66f);
    ExpectQuad(q, 52, x - 64, x + 192, y - 82, y - 18, 0.1f, picture);
    ExpectQuad(q, 56, x - 8, x + 136, y - 122, y + 22, 0.1f, picture);
    ExpectQuad(q, 60, x - w * 0.7f / 4.0f, x + w * 0.7f / 4.0f, y, h, 0.1f);
}

}  // namespace

// Every quad of the table at each size, and corners worked out by hand: the crosshair, the weapon,
// the muzzle flash and quad 60 as built, products rounded to single precision.
TEST_F(Geometry, OverlayQuadsAtEachScreenSize) {
    struct Corner {
        size_t vertex;
        float x, y;
    };
    const struct {
        UINT w, h;
        std::vector<Corner> corners;
    } sizes[] = {
        {640, 480, {{1, 305, 225}, {2, 335, 255}, {9, 400, 240}, {10, 640, 480}, {12, 416, 408},
                    {13, 416, 312}, {61, 208, 240}, {62, 432, 480}}},
        {800, 600, {{13, 520, 390}, {14, 680, 510}, {61, 260, 300}, {62, 540, 600}}},
        {1024, 768, {{61, 332.79999f, 384}, {62, 691.20001f, 768}}},
        {1023, 768, {{1, 511.0f - 15.0f, 369}}},  // W/2 is 511
    };
    for (const auto& size : sizes) {
        Start(size.w, size.h);
        ASSERT_EQ(InitGeometry(), S_OK);
        ASSERT_NE(g_pVB2D, nullptr);
        D3DVERTEXBUFFER_DESC desc = {};
        ASSERT_EQ(g_pVB2D->GetDesc(&desc), S_OK);
        EXPECT_EQ(desc.Size, 2688u);
        EXPECT_EQ(desc.FVF, 0x144u);
        EXPECT_EQ(desc.Usage, DWORD(D3DUSAGE_WRITEONLY));
        EXPECT_EQ(desc.Pool, D3DPOOL_DEFAULT);
        std::vector<SVertex2D> q = Quads();
        ExpectTable(q, (int)size.w, (int)size.h);
        for (const Corner& c : size.corners) {
            EXPECT_EQ(q[c.vertex].x, c.x) << size.w << " vertex " << c.vertex;
            EXPECT_EQ(q[c.vertex].y, c.y) << size.w << " vertex " << c.vertex;
        }
        EXPECT_TRUE(OverlayBoxes().empty());
        TearDown();
    }
}

TEST_F(Geometry, MakesTheWorldAndTheFontsAndForgetsStaleInput) {
    Start(800, 600);
    ASSERT_EQ(InitGeometry(), S_OK);
    ASSERT_NE(g_pWorld, nullptr);
    EXPECT_EQ(g_pWorld->pDevice, dev_->device());
    EXPECT_EQ(g_pWorld->iWidth, 800);
    EXPECT_EQ(g_pWorld->iHeight, 600);
    EXPECT_EQ(g_pWorld->dwFilter, 2u);
    EXPECT_EQ(g_pWorld->dwMipFilter, 2u);
    EXPECT_EQ(g_pWorld->pTimer, &g_Timer);
    const DWORD heights[3] = {8, 10, 14};
    CTextureFont* fonts[3] = {g_pFont8, g_pFont10, g_pFont14};
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(fonts[i], nullptr);
        EXPECT_STREQ(fonts[i]->faceName, "Arial");
        EXPECT_EQ(fonts[i]->height, heights[i]);
        EXPECT_EQ(fonts[i]->flags, 0u);
        EXPECT_EQ(fonts[i]->pDevice, dev_->device());
        EXPECT_NE(fonts[i]->pVB, nullptr);  // ready to draw
    }
    for (BYTE b : g_PrevKeys) ASSERT_EQ(b, 0);
    DIMOUSESTATE2 zero = {};
    EXPECT_EQ(std::memcmp(&g_PrevMouseState, &zero, sizeof zero), 0);
    EXPECT_EQ(g_Timer.fStopwatchStart, 4321.0f);
}

TEST_F(Geometry, FailedOverlayBufferIsReportedAndNothingIsWrittenThroughIt) {
    Start(640, 480);
    layer::FailNextResourceCreation(E_OUTOFMEMORY);
    EXPECT_EQ(InitGeometry(), E_FAIL);
    EXPECT_EQ(g_pVB2D, nullptr);
    // The box comes first, before the world loads anything.
    const auto& boxes = layer::ShownMessageBoxes();
    ASSERT_GE(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Not enough memory.");
    EXPECT_EQ(boxes[0].caption, "Error");
    // The world and the fonts are there all the same; the input buffers and the stopwatch are not
    // touched.
    EXPECT_NE(g_pWorld, nullptr);
    EXPECT_NE(g_pFont8, nullptr);
    EXPECT_NE(g_pFont14, nullptr);
    EXPECT_EQ(g_PrevKeys[0], 0x80);
    EXPECT_EQ(g_Timer.fStopwatchStart, 0.0f);

    TearDown();
    Start(640, 480);
    layer::FailNextResourceCreation(D3DERR_INVALIDCALL);
    EXPECT_EQ(InitGeometry(), E_FAIL);
    ASSERT_EQ(OverlayBoxes().size(), 1u);
    EXPECT_NE(OverlayBoxes()[0].find("-2005530516"), std::string::npos) << OverlayBoxes()[0];
}

TEST_F(Geometry, FrameDrawsTextOverTheWorld) {
    Start(640, 480);
    ASSERT_EQ(InitGeometry(), S_OK);
    IDirect3DDevice8* d = dev_->device();
    dev_->Begin(0xFF102030);
    g_pWorld->Render();
    SIZE size = {};
    ASSERT_EQ(g_pFont14->GetTextExtent("Vizuvor VUGU !", &size), S_OK);
    float x = float(320 - size.cx / 2);
    EXPECT_EQ(g_pFont14->DrawText(x, 200, 0xFFFFFF00, "Vizuvor VUGU !", 0), S_OK);
    EXPECT_EQ(g_pFont8->DrawText(2, 2, 0xFFFFFFFF, "FPS: 60.0", 0), S_OK);
    d->EndScene();
    std::vector<uint32_t> pixels = dev_->Pixels();
    int yellow = 0, white = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        int px = int(i % 640), py = int(i / 640);
        if (Rgb(pixels[i]) == 0xFFFF00) {
            ++yellow;
            EXPECT_GE(px, int(x) - 1);
            EXPECT_LE(px, int(x) + size.cx + 1);
            EXPECT_GE(py, 199);
            EXPECT_LE(py, 200 + size.cy);
        }
        if (Rgb(pixels[i]) == 0xFFFFFF && py < 20) ++white;
    }
    EXPECT_GT(yellow, 50);
    EXPECT_GT(white, 10);
}

TEST_F(Geometry, WithoutADeviceNothingIsMade) {
    Start(640, 480);
    g_pd3dDevice = nullptr;
    EXPECT_EQ(InitGeometry(), E_FAIL);
    EXPECT_EQ(g_pVB2D, nullptr);
    EXPECT_EQ(g_pWorld, nullptr);
    EXPECT_EQ(g_pFont8, nullptr);
    EXPECT_EQ(g_PrevKeys[0], 0x80);
}
