// d3d8_pipeline_test.cpp -- the fixed-function pipeline's pixels: alpha test, blending, texture
// stages, linear fog and lighting.
#include "device_fixture.h"

#include <cmath>

#include "d3dx8math.h"

namespace {

DWORD Bits(float f) {
    DWORD d;
    std::memcpy(&d, &f, 4);
    return d;
}

}  // namespace

class PipelineTest : public ProgramPathTest {
protected:
    void SetUp() override {
        ProgramPathTest::SetUp();
        Plain2DStates();
        device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    }
};
INSTANTIATE_ON_EACH_PROGRAM(PipelineTest);

TEST_P(PipelineTest, AlphaTestComparesTheEightBitAlphaWithTheReference) {
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);  // the vertex alpha
    device_->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device_->SetRenderState(D3DRS_ALPHAREF, 8);
    device_->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    DrawScreenRect(-0.5f, -0.5f, 9.5f, 9.5f, 0x07FF0000);
    DrawScreenRect(9.5f, -0.5f, 19.5f, 9.5f, 0x08FF0000);
    EXPECT_EQ(Pixel(5, 5), 0u);
    EXPECT_EQ(Pixel(15, 5), 0xFF0000u);
    device_->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_LESS);
    DrawScreenRect(-0.5f, 19.5f, 9.5f, 29.5f, 0x07FF0000);
    DrawScreenRect(9.5f, 19.5f, 19.5f, 29.5f, 0x08FF0000);
    EXPECT_EQ(Pixel(5, 25), 0xFF0000u);
    EXPECT_EQ(Pixel(15, 25), 0u);
    // Alpha from a four-bit texture times the vertex alpha, as the text is drawn.
    device_->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    const uint16_t coverage[1] = {0x0FFF};  // alpha 0: never drawn
    IDirect3DTexture8* tex = MakeTexture(1, 1, D3DFMT_A4R4G4B4, coverage);
    device_->SetTexture(0, tex);
    DrawScreenRect(29.5f, -0.5f, 39.5f, 9.5f, 0xFF00FF00);
    EXPECT_EQ(Pixel(35, 5), 0u);
    device_->SetTexture(0, nullptr);
    tex->Release();
}

TEST_P(PipelineTest, BlendingMixesBySourceAlpha) {
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00FFFFFF, 1.0f, 0);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    DrawScreenRect(-0.5f, -0.5f, 9.5f, 9.5f, 0x80000000);  // half black over white
    EXPECT_NEAR(RedOf(Pixel(5, 5)), 0x7F, 1);
    device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00400000, 1.0f, 0);
    DrawScreenRect(-0.5f, -0.5f, 9.5f, 9.5f, 0xFF200010);
    EXPECT_EQ(Pixel(5, 5), 0x600010u);
    // Blending off: the source replaces.
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    DrawScreenRect(-0.5f, -0.5f, 9.5f, 9.5f, 0x10123456);
    EXPECT_EQ(Pixel(5, 5), 0x123456u);
}

TEST_P(PipelineTest, StagesCombineTextureAndColourAndDisableFromTheFirstOff) {
    const uint32_t texel[1] = {0xFF808080};
    IDirect3DTexture8* tex = MakeTexture(1, 1, D3DFMT_A8R8G8B8, texel);
    device_->SetTexture(0, tex);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    DrawScreenRect(-0.5f, -0.5f, 9.5f, 9.5f, 0xFFFF8000);
    EXPECT_NEAR(RedOf(Pixel(5, 5)), 0x80, 1);
    EXPECT_NEAR(GreenOf(Pixel(5, 5)), 0x40, 1);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD);
    DrawScreenRect(-0.5f, -0.5f, 9.5f, 9.5f, 0xFF400000);
    EXPECT_NEAR(RedOf(Pixel(5, 5)), 0xC0, 1);
    EXPECT_NEAR(BlueOf(Pixel(5, 5)), 0x80, 1);
    // A second stage adds the texture factor; turning stage 0 off turns everything after it off.
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD);
    device_->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_CURRENT);
    device_->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    device_->SetRenderState(D3DRS_TEXTUREFACTOR, 0x00000020);
    DrawScreenRect(-0.5f, -0.5f, 9.5f, 9.5f, 0xFF100000);
    EXPECT_EQ(Pixel(5, 5), 0x100020u);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
    DrawScreenRect(-0.5f, -0.5f, 9.5f, 9.5f, 0xFF300000);
    EXPECT_EQ(Pixel(5, 5), 0x300000u);
    device_->SetTexture(0, nullptr);
    tex->Release();
}

TEST_P(PipelineTest, LinearFogByDistanceFromTheEyeLeavesScreenQuadsClear) {
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 2, (float)kWidth / kHeight, 0.1f, 200.0f);
    device_->SetTransform(D3DTS_PROJECTION, &projection);
    device_->SetRenderState(D3DRS_FOGENABLE, TRUE);
    device_->SetRenderState(D3DRS_FOGCOLOR, 0xFF808080);
    device_->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
    device_->SetRenderState(D3DRS_FOGSTART, Bits(5.0f));
    device_->SetRenderState(D3DRS_FOGEND, Bits(45.0f));
    // A wall 25 units away is half way into the fog: half red, half grey.
    DrawClipQuad(-100, -100, 100, 100, 25.0f, 0xFFFF0000);
    EXPECT_NEAR(RedOf(Pixel(32, 24)), (0xFF + 0x80) / 2, 2);
    EXPECT_NEAR(GreenOf(Pixel(32, 24)), 0x40, 2);
    // Nearer than the start: no fog; beyond the end: all fog.
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    DrawClipQuad(-10, -10, 10, 10, 3.0f, 0xFF0000FF);
    EXPECT_EQ(Pixel(32, 24), 0x0000FFu);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    DrawClipQuad(-200, -200, 200, 200, 100.0f, 0xFF0000FF);
    EXPECT_EQ(Pixel(32, 24), 0x808080u);
    // Screen quads with rhw 1 lie at distance 1: before the fog starts.
    DrawScreenRect(-0.5f, -0.5f, 9.5f, 9.5f, 0xFF00FF00, 0.1f);
    EXPECT_EQ(Pixel(5, 5), 0x00FF00u);
    // Fog off again: no grey.
    device_->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    DrawClipQuad(-200, -200, 200, 200, 100.0f, 0xFF0000FF);
    EXPECT_EQ(Pixel(32, 24), 0x0000FFu);
}

TEST_P(PipelineTest, LightingWithoutLightsIsAmbientTimesMaterial) {
    struct LitVertex {
        float x, y, z, nx, ny, nz;
    };
    const LitVertex v[4] = {{-1, -1, 0.5f, 0, 0, -1}, {-1, 1, 0.5f, 0, 0, -1}, {1, -1, 0.5f, 0, 0, -1},
                            {1, 1, 0.5f, 0, 0, -1}};
    Upload(v, 4, D3DFVF_XYZ | D3DFVF_NORMAL);
    D3DMATERIAL8 material = {};
    material.Ambient = D3DCOLORVALUE{1.0f, 0.5f, 0.0f, 1.0f};
    material.Diffuse = D3DCOLORVALUE{0.0f, 0.0f, 1.0f, 1.0f};
    device_->SetMaterial(&material);
    device_->SetRenderState(D3DRS_LIGHTING, TRUE);
    device_->SetRenderState(D3DRS_AMBIENT, 0x00808080);
    device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    EXPECT_NEAR(RedOf(Pixel(32, 24)), 0x80, 1);
    EXPECT_NEAR(GreenOf(Pixel(32, 24)), 0x40, 1);
    EXPECT_EQ(BlueOf(Pixel(32, 24)), 0);
    // A white light shining straight at the face adds the diffuse material.
    D3DLIGHT8 light = {};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = D3DCOLORVALUE{1, 1, 1, 1};
    light.Direction = D3DVECTOR{0, 0, 1};
    ASSERT_EQ(device_->SetLight(0, &light), D3D_OK);
    ASSERT_EQ(device_->LightEnable(0, TRUE), D3D_OK);
    device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    EXPECT_NEAR(BlueOf(Pixel(32, 24)), 0xFF, 1);
    EXPECT_NEAR(RedOf(Pixel(32, 24)), 0x80, 1);
    BOOL on = FALSE;
    EXPECT_EQ(device_->GetLightEnable(0, &on), D3D_OK);
    EXPECT_TRUE(on);
    D3DLIGHT8 back = {};
    EXPECT_EQ(device_->GetLight(0, &back), D3D_OK);
    EXPECT_EQ(back.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(device_->GetLight(5, &back), D3DERR_INVALIDCALL);
    // Lighting off: the format has no colour, so white.
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    EXPECT_EQ(Pixel(32, 24), 0xFFFFFFu);
}
