// shell_devices_test.cpp -- InitD3D's present parameters from the settings, its failures, the
// input buffers that ReadInput fills, the frame's matrices and Cleanup after any start-up.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>

#include "d3dx8math.h"
#include "game/game_database.h"
#include "layer/device_control.h"
#include "layer/device_stats.h"
#include "layer/input.h"
#include "layer/message_boxes.h"
#include "shell/devices.h"
#include "shell/settings.h"

using namespace layer;

extern D3DXVECTOR3 g_vEye;
extern D3DXVECTOR3 g_vLookAt;
extern D3DXVECTOR3 g_vUp;
extern char g_szText[256];

namespace {

void Settings(DWORD width, DWORD height, DWORD depth = 0, BYTE fullscreen = 0, BYTE vsync = 0,
              BYTE hardwareTL = 0, DWORD multisample = 0) {
    SetConfigDefaults();
    g_Config.dwWidth = width, g_Config.dwHeight = height, g_Config.dwDepth = depth;
    g_Config.bFullscreen = fullscreen, g_Config.bVSync = vsync, g_Config.bHardwareTL = hardwareTL;
    g_Config.dwMultiSample = multisample;
}

bool AllNull() {
    return !g_pD3D && !g_pd3dDevice && !g_pSoundManager && !g_pDI && !g_pKeyboard && !g_pMouse;
}

}  // namespace

TEST(InitD3D, PresentParametersFollowEachSettingsCombination) {
    struct Case {
        DWORD depth;
        BYTE fullscreen, vsync, hardwareTL;
        DWORD multisample;
        D3DFORMAT format;  // D3DFMT_FORCE_DWORD: the display mode's
        D3DMULTISAMPLE_TYPE samples;
        UINT interval;
    };
    const Case cases[] = {
        {0, 0, 1, 0, 0, D3DFMT_FORCE_DWORD, D3DMULTISAMPLE_NONE, 0},  // windowed: interval 0 whatever vsync says
        {16, 1, 1, 0, 1, D3DFMT_R5G6B5, D3DMULTISAMPLE_2_SAMPLES, D3DPRESENT_INTERVAL_DEFAULT},
        {32, 1, 0, 1, 2, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_4_SAMPLES, D3DPRESENT_INTERVAL_IMMEDIATE},
        {24, 0, 0, 1, 7, D3DFMT_UNKNOWN, D3DMULTISAMPLE_NONE, 0},  // hand-made values
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "depth " << c.depth << " full screen " << (int)c.fullscreen);
        Settings(320, 200, c.depth, c.fullscreen, c.vsync, c.hardwareTL, c.multisample);
        ClearShownMessageBoxes();
        ASSERT_EQ(InitD3D(nullptr), S_OK);
        EXPECT_TRUE(ShownMessageBoxes().empty());
        const DeviceCreation made = LastDeviceCreation();
        const D3DPRESENT_PARAMETERS& pp = made.presentParameters;
        ASSERT_TRUE(made.called);
        EXPECT_EQ(made.adapter, (UINT)D3DADAPTER_DEFAULT);
        EXPECT_EQ(made.deviceType, D3DDEVTYPE_HAL);
        EXPECT_EQ(made.behaviorFlags, c.hardwareTL ? (DWORD)D3DCREATE_HARDWARE_VERTEXPROCESSING
                                                   : (DWORD)D3DCREATE_SOFTWARE_VERTEXPROCESSING);
        D3DDISPLAYMODE mode = {};
        ASSERT_EQ(g_pD3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
        EXPECT_EQ(pp.BackBufferFormat, c.format == D3DFMT_FORCE_DWORD ? mode.Format : c.format);
        EXPECT_EQ(std::tie(pp.BackBufferWidth, pp.BackBufferHeight, pp.BackBufferCount, pp.Flags),
                  std::make_tuple(320u, 200u, 0u, 0u));
        EXPECT_EQ(std::tie(pp.MultiSampleType, pp.SwapEffect, pp.AutoDepthStencilFormat),
                  std::make_tuple(c.samples, D3DSWAPEFFECT_DISCARD, D3DFMT_D16));
        EXPECT_EQ(std::tie(pp.Windowed, pp.EnableAutoDepthStencil), std::make_tuple(c.fullscreen ? 0 : 1, 1));
        EXPECT_EQ(std::tie(pp.FullScreen_RefreshRateInHz, pp.FullScreen_PresentationInterval),
                  std::make_tuple(0u, c.interval));
        EXPECT_FLOAT_EQ(g_fAspect, 1.6f);
        DWORD cull = 0, z = 0;
        g_pd3dDevice->GetRenderState(D3DRS_CULLMODE, &cull);
        g_pd3dDevice->GetRenderState(D3DRS_ZENABLE, &z);
        EXPECT_EQ(std::tie(cull, z), std::make_tuple(DWORD(D3DCULL_NONE), DWORD(D3DZB_TRUE)));
        EXPECT_NE(g_pSoundManager, nullptr);
        // The back buffer has exactly the chosen size.
        D3DVIEWPORT8 vp;
        g_pd3dDevice->GetViewport(&vp);
        EXPECT_EQ(vp.Width, 320u);
        EXPECT_EQ(vp.Height, 200u);
        Cleanup();
        EXPECT_TRUE(AllNull());
    }
}

// A device that cannot be made shows the box; without Direct3D nothing is shown. Neither makes a
// sound object, and Cleanup after either start-up releases what exists, twice over.
TEST(InitD3D, AFailedStartShowsTheDevicesBoxAndCreatesNoSoundObject) {
    for (bool direct3D : {true, false}) {
        Settings(640, 480);
        ClearShownMessageBoxes();
        SetDirect3DUnavailable(!direct3D);
        if (direct3D) FailNextCreateDevice(E_FAIL);
        EXPECT_EQ(InitD3D(nullptr), E_FAIL);
        SetDirect3DUnavailable(false);
        const auto& boxes = ShownMessageBoxes();
        ASSERT_EQ(boxes.size(), direct3D ? 1u : 0u);
        for (const auto& box : boxes) {
            EXPECT_EQ(box.caption, "Error");
            EXPECT_EQ(box.text, "Nastala chyba!\nPříznak: CreateDevice\nChyba: -2147467259");
        }
        EXPECT_EQ(g_pd3dDevice, nullptr);
        EXPECT_EQ(g_pSoundManager, nullptr);
        EXPECT_EQ(g_pD3D != nullptr, direct3D);
        EXPECT_EQ(AllNull(), !direct3D);
        Cleanup();
        EXPECT_TRUE(AllNull());
        Cleanup();
        EXPECT_TRUE(AllNull());
    }
}

TEST(SetupMatrices, ViewFromTheEyeAndProjectionByZoom) {
    Settings(800, 600);
    ASSERT_EQ(InitD3D(nullptr), S_OK);
    g_vEye = D3DXVECTOR3(50, 50, 5.25f);
    g_vLookAt = D3DXVECTOR3(50, 51, 5.25f);
    g_vUp = D3DXVECTOR3(0, 0, 1);
    const float zooms[] = {4.0f, 12.0f, 32.0f};
    for (float zoom : zooms) {
        g_fZoom = zoom;
        SetupMatrices();
        D3DMATRIX world, view, projection;
        g_pd3dDevice->GetTransform(D3DTS_WORLD, &world);
        g_pd3dDevice->GetTransform(D3DTS_VIEW, &view);
        g_pd3dDevice->GetTransform(D3DTS_PROJECTION, &projection);
        EXPECT_TRUE(D3DXMatrixIsIdentity(static_cast<D3DXMATRIX*>(&world)));
        // The vertical field of view is pi / zoom: pi/4, pi/12, pi/32.
        EXPECT_NEAR(projection._22, 1.0 / std::tan(3.14159265 / zoom / 2), 1e-3 * projection._22);
        EXPECT_NEAR(projection._11, projection._22 * 600.0f / 800.0f, 1e-5f * projection._22);
        EXPECT_NEAR(projection._33, 200.0f / (200.0f - 0.1f), 1e-6f);
        EXPECT_NEAR(projection._43, -0.1f * 200.0f / (200.0f - 0.1f), 1e-6f);
        // The eye lands on the origin and the look-at point straight ahead.
        D3DXVECTOR3 out;
        D3DXVec3TransformCoord(&out, &g_vLookAt, static_cast<D3DXMATRIX*>(&view));
        EXPECT_NEAR(out.x, 0.0f, 1e-5f);
        EXPECT_NEAR(out.y, 0.0f, 1e-5f);
        EXPECT_NEAR(out.z, 1.0f, 1e-5f);
    }
    g_fZoom = 4.0f;
    Cleanup();
}

namespace {

class ReadInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(g_Keys, 0, sizeof g_Keys);
        std::memset(g_PrevKeys, 0, sizeof g_PrevKeys);
        std::memset(&g_MouseState, 0, sizeof g_MouseState);
        std::memset(&g_PrevMouseState, 0, sizeof g_PrevMouseState);
        ASSERT_EQ(InitDirectInput(nullptr), S_OK);
    }
    void TearDown() override { Cleanup(); }
};

}  // namespace

TEST_F(ReadInputTest, HeldKeysShowInBothBuffersAndEdgesOnlyOnce) {
    InjectKey(DIK_W, true);
    EXPECT_EQ(ReadInput(), 0);
    EXPECT_EQ(g_Keys[DIK_W], 0x80);
    EXPECT_EQ(g_PrevKeys[DIK_W], 0);  // a press edge
    ReadInput();
    EXPECT_EQ(g_Keys[DIK_W], 0x80);
    EXPECT_EQ(g_PrevKeys[DIK_W], 0x80);  // held, no edge
    InjectKey(DIK_W, false);
    ReadInput();
    EXPECT_EQ(g_Keys[DIK_W], 0);
    EXPECT_EQ(g_PrevKeys[DIK_W], 0x80);
    InjectMouseMotion(3, -4);
    InjectMouseButton(1, true);
    ReadInput();
    EXPECT_EQ(g_MouseState.lX, 3);
    EXPECT_EQ(g_MouseState.lY, -4);
    EXPECT_EQ(g_MouseState.rgbButtons[1], 0x80);
    ReadInput();
    EXPECT_EQ(g_MouseState.lX, 0);
    EXPECT_EQ(g_PrevMouseState.lX, 3);
    EXPECT_EQ(g_PrevMouseState.rgbButtons[1], 0x80);
}

TEST_F(ReadInputTest, AFailedKeyboardReadZeroesTheKeysAndAFailedMouseReadTheMouse) {
    InjectKey(DIK_SPACE, true);
    InjectMouseMotion(7, 0);
    ReadInput();
    ASSERT_EQ(g_MouseState.lX, 7);
    std::strcpy(g_szText, "kept");
    FailKeyboardReads(1);
    InjectMouseMotion(9, 9);
    ReadInput();
    for (int i = 0; i < 256; ++i) ASSERT_EQ(g_Keys[i], 0) << i;
    EXPECT_EQ(g_PrevKeys[DIK_SPACE], 0x80);
    EXPECT_EQ(g_MouseState.lX, 7);  // the mouse is not touched in that frame
    EXPECT_STREQ(g_szText, "kept");
    // The keyboard was acquired again: the next frame reads it.
    ReadInput();
    EXPECT_EQ(g_Keys[DIK_SPACE], 0x80);
    EXPECT_EQ(g_MouseState.lX, 9);
    // A successful keyboard read empties the text even when the mouse read then fails.
    std::strcpy(g_szText, "JSI MRTEV");
    InjectMouseButton(0, true);
    FailMouseReads(1);
    ReadInput();
    EXPECT_EQ(g_szText[0], '\0');
    EXPECT_EQ(g_MouseState.rgbButtons[0], 0);  // zero after the failed read
    ReadInput();
    EXPECT_EQ(g_MouseState.rgbButtons[0], 0x80);
}

TEST(ReadInput, WithoutAKeyboardChangesNothing) {
    Cleanup();
    ASSERT_EQ(g_pKeyboard, nullptr);
    std::memset(g_Keys, 0x11, sizeof g_Keys);
    std::memset(g_PrevKeys, 0x22, sizeof g_PrevKeys);
    std::strcpy(g_szText, "same");
    EXPECT_EQ(ReadInput(), 0);
    EXPECT_EQ(g_Keys[5], 0x11);
    EXPECT_EQ(g_PrevKeys[5], 0x22);
    EXPECT_STREQ(g_szText, "same");
}
