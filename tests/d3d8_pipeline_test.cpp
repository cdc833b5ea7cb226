// d3d8_pipeline_test.cpp -- the fixed-function pipeline's pixels: alpha test, blending, texture
// stages, linear fog and lighting; and each state that matters changed alone between two draws.
#include "device_fixture.h"

#include <cmath>
#include <vector>

#include "d3dx8math.h"

class PipelineTest : public ProgramPathTest {};
INSTANTIATE_ON_EACH_PROGRAM(PipelineTest);

// As the text is drawn: the alpha of a four-bit texture times the vertex alpha; a texel of
// alpha 0 is never drawn.
TEST_P(PipelineTest, AlphaTestTakesAFourBitTexturesAlphaTimesTheVertexAlpha) {
    SetState(D3DRS_ALPHATESTENABLE, TRUE);
    SetState(D3DRS_ALPHAREF, 8);
    SetState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    SetState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    SetState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    SetState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    const uint16_t coverage[2] = {0x0FFF, 0xF0F0};
    device_->SetTexture(0, Keep(MakeTexture(2, 1, D3DFMT_A4R4G4B4, coverage)));
    DrawScreenRect(29.5f, -0.5f, 39.5f, 9.5f, 0xFF00FF00);
    EXPECT_EQ(Pixel(32, 5), 0u);
    EXPECT_EQ(Pixel(37, 5), 0x00FF00u);
}

TEST_P(PipelineTest, LinearFogByDistanceFromTheEyeLeavesScreenQuadsClear) {
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 2, (float)kWidth / kHeight, 0.1f, 200.0f);
    device_->SetTransform(D3DTS_PROJECTION, &projection);
    SetState(D3DRS_FOGENABLE, TRUE);
    SetState(D3DRS_FOGCOLOR, 0xFF808080);
    SetState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
    SetState(D3DRS_FOGSTART, FloatBits(5.0f));
    SetState(D3DRS_FOGEND, FloatBits(45.0f));
    // The middle of a wall from -half to half at the distance z.
    auto wall = [&](float half, float z, DWORD colour) {
        Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        DrawClipQuad(-half, -half, half, half, z, colour);
        return Pixel(32, 24);
    };
    // A wall 25 units away is half way into the fog: half red, half grey.
    EXPECT_TRUE(NearRgb(wall(100, 25.0f, 0xFFFF0000), 0xBF4040, 2));
    // Nearer than the start: no fog; beyond the end: all fog.
    EXPECT_EQ(wall(10, 3.0f, 0xFF0000FF), 0x0000FFu);
    EXPECT_EQ(wall(200, 100.0f, 0xFF0000FF), 0x808080u);
    // Screen quads with rhw 1 lie at distance 1: before the fog starts.
    DrawScreenRect(-0.5f, -0.5f, 9.5f, 9.5f, 0xFF00FF00, 0.1f);
    EXPECT_EQ(Pixel(5, 5), 0x00FF00u);
    // Fog off again: no grey.
    SetState(D3DRS_FOGENABLE, FALSE);
    EXPECT_EQ(wall(200, 100.0f, 0xFF0000FF), 0x0000FFu);
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
    SetState(D3DRS_LIGHTING, TRUE);
    SetState(D3DRS_AMBIENT, 0x00808080);
    device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    EXPECT_TRUE(NearRgb(Pixel(32, 24), 0x804000, 1));
    EXPECT_EQ(BlueOf(Pixel(32, 24)), 0);
    // A white light shining straight at the face adds the diffuse material.
    D3DLIGHT8 light = {};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = D3DCOLORVALUE{1, 1, 1, 1};
    light.Direction = D3DVECTOR{0, 0, 1};
    ASSERT_EQ(device_->SetLight(0, &light), D3D_OK);
    ASSERT_EQ(device_->LightEnable(0, TRUE), D3D_OK);
    device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    EXPECT_TRUE(NearRgb(Pixel(32, 24), 0x8040FF, 1));
    BOOL on = FALSE;
    EXPECT_EQ(device_->GetLightEnable(0, &on), D3D_OK);
    EXPECT_TRUE(on);
    D3DLIGHT8 back = {};
    EXPECT_EQ(device_->GetLight(0, &back), D3D_OK);
    EXPECT_EQ(back.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(device_->GetLight(5, &back), D3DERR_INVALIDCALL);
    // Lighting off: the format has no colour, so white.
    SetState(D3DRS_LIGHTING, FALSE);
    device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    EXPECT_EQ(Pixel(32, 24), 0xFFFFFFu);
}

// ---------------------------------------------------------------------------------------------
// One state changed alone between two draws: the second draw follows it. Each case starts from the
// same states, draws, changes exactly one state and draws again over the first; it is also drawn
// without the change, which must give another pixel, so that every case tells the two apart.

namespace {

// One setting: a render state, a texture-stage state, or the texture of a stage (value: an index
// into the test's textures, 0 for none).
struct Setting {
    enum Kind { kRender, kStage, kTexture } kind;
    DWORD stage, type, value;
};
Setting R(D3DRENDERSTATETYPE state, DWORD value) { return {Setting::kRender, 0, (DWORD)state, value}; }
Setting S(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    return {Setting::kStage, stage, (DWORD)type, value};
}
Setting T(DWORD stage, DWORD texture) { return {Setting::kTexture, stage, 0, texture}; }

enum TextureIndex : DWORD {
    kNoTexture, kRedTexture, kGreenTexture, kGreyTexture, kStripes, kMipChain, kTextureCount
};

const DWORD kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kFactorColour = 0xFF2040C0;
const DWORD kTranslucentBlue = 0x400000FF;  // below the alpha reference 0x80

// A screen-filling quad at depth z; u runs from 0 to uMax across.
struct Quad {
    DWORD colour;
    float z = 0.5f, uMax = 1;
};

struct SingleChangeCase {
    const char* name;
    std::vector<Setting> base;
    Setting change;
    DWORD want;  // at the probe pixel
    int tolerance = 0;
    std::vector<Quad> second = {{kBlue}};  // drawn in one call, in order
    Quad first = {kRed};
    UINT probeX = 8;
};

const Setting alphaFromVertex = S(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
const Setting blendOn = R(D3DRS_ALPHABLENDENABLE, TRUE), destOne = R(D3DRS_DESTBLEND, D3DBLEND_ONE);
const Setting srcAlpha = R(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
const Setting invSrcAlpha = R(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
const Setting stage1Factor = S(1, D3DTSS_COLORARG2, D3DTA_TFACTOR);

// Each case draws a red quad, then a blue one unless it says otherwise.
std::vector<SingleChangeCase> SingleChangeCases() {
    const Quad green = {kGreen}, blue = {kBlue}, faint = {kTranslucentBlue}, ofFactor = {0xFF2040C0};
    const Setting alphaTestOn = R(D3DRS_ALPHATESTENABLE, TRUE), reference = R(D3DRS_ALPHAREF, 0x80);
    const Setting atLeastHalf = R(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL), cw = R(D3DRS_CULLMODE, D3DCULL_CW);
    const std::vector<Setting> tested = {alphaFromVertex, alphaTestOn, atLeastHalf, reference};
    const Setting fogOn = R(D3DRS_FOGENABLE, TRUE), linearFog = R(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
    const std::vector<Setting> fogged = {fogOn, linearFog};
    const Setting zOn = R(D3DRS_ZENABLE, D3DZB_TRUE), lit = R(D3DRS_LIGHTING, TRUE);
    const Setting selectTexture = S(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1), red0 = T(0, kRedTexture);
    const Setting stage1Modulate = S(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    const Setting halfFactor = R(D3DRS_TEXTUREFACTOR, 0xFF808080);
    const DWORD halfFog = 0x800080;  // blue half in red fog
    return {
        // Alpha test
        {"alpha test on", {alphaFromVertex, atLeastHalf, reference}, alphaTestOn, 0xFF0000, 0, {faint}},
        {"alpha test off", tested, R(D3DRS_ALPHATESTENABLE, FALSE), 0x0000FF, 0, {faint}},
        {"alpha reference", {alphaFromVertex, alphaTestOn, atLeastHalf, R(D3DRS_ALPHAREF, 0x20)}, reference,
         0xFF0000, 0, {faint}},
        {"alpha function", tested, R(D3DRS_ALPHAFUNC, D3DCMP_LESS), 0x0000FF, 0, {faint}},
        // Blending
        {"blending on", {alphaFromVertex, srcAlpha, invSrcAlpha}, blendOn, 0x7F0080, 2, {{0x800000FF}}},
        {"blending off", {blendOn, destOne}, R(D3DRS_ALPHABLENDENABLE, FALSE), 0x0000FF},
        {"source factor", {blendOn}, R(D3DRS_SRCBLEND, D3DBLEND_ZERO), 0x000000},
        {"destination factor", {blendOn}, destOne, 0xFF00FF},
        {"blend operation", {blendOn, destOne}, R(D3DRS_BLENDOP, D3DBLENDOP_REVSUBTRACT), 0xFF0000},
        {"colour write mask", {}, R(D3DRS_COLORWRITEENABLE, D3DCOLORWRITEENABLE_RED), 0xFFFF00, 0,
         {{0xFFFF00FF}}, green},
        // Fog: linear from 0 to 1 in red, the quad half way
        {"fog on", {linearFog}, fogOn, halfFog, 2, {blue}, green},
        {"fog off", fogged, R(D3DRS_FOGENABLE, FALSE), 0x0000FF, 0, {blue}, green},
        {"fog colour", fogged, R(D3DRS_FOGCOLOR, 0x0000FF00), 0x008080, 2, {blue}, green},
        {"fog start", fogged, R(D3DRS_FOGSTART, FloatBits(0.5f)), 0x0000FF, 1, {blue}, green},
        {"fog end", fogged, R(D3DRS_FOGEND, FloatBits(0.5f)), 0xFF0000, 1, {blue}, green},
        {"fog table mode", fogged, R(D3DRS_FOGTABLEMODE, D3DFOG_EXP), 0x64009B, 2, {blue}, green},
        {"fog vertex mode", {fogOn}, R(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR), halfFog, 2, {blue}, green},
        {"fog density", {fogOn, R(D3DRS_FOGTABLEMODE, D3DFOG_EXP)}, R(D3DRS_FOGDENSITY, FloatBits(2.0f)),
         0xA1005E, 2, {blue}, green},
        // Depth
        {"depth test off", {zOn}, R(D3DRS_ZENABLE, D3DZB_FALSE), 0x0000FF, 0, {{kBlue, 0.6f}}, {kRed, 0.3f}},
        {"depth function", {zOn}, R(D3DRS_ZFUNC, D3DCMP_GREATER), 0x0000FF, 0, {{kBlue, 0.6f}}, {kRed, 0.3f}},
        // Without depth writes the far green quad drawn after the near blue one still passes.
        {"depth writes off", {zOn}, R(D3DRS_ZWRITEENABLE, FALSE), 0x00FF00, 0,
         {{kBlue, 0.3f}, {kGreen, 0.6f}}, {kRed, 0.9f}},
        // Culling of the clockwise quads
        {"cull clockwise", {}, cw, 0xFF0000},
        {"cull counter-clockwise to clockwise", {R(D3DRS_CULLMODE, D3DCULL_CCW)}, cw, 0xFF0000},
        {"cull none", {cw}, R(D3DRS_CULLMODE, D3DCULL_NONE), 0x0000FF},
        // Lighting without lights: black, or the vertex colour as ambient material
        {"lighting on", {}, lit, 0x000000},
        {"lighting off", {lit}, R(D3DRS_LIGHTING, FALSE), 0x0000FF},
        {"ambient light", {lit, R(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1)}, R(D3DRS_AMBIENT, 0x00808080),
         0x000080, 1},
        // Stage 0's operations and arguments; its alpha through the alpha test
        {"colour operation", {red0}, S(0, D3DTSS_COLOROP, D3DTOP_ADD), 0xFF80FF, 0, {{0xFF8080FF}}},
        {"colour argument 1", {red0, selectTexture}, S(0, D3DTSS_COLORARG1, D3DTA_TFACTOR),
         kFactorColour & 0xFFFFFF, 0, {blue}, green},
        {"colour argument 2", {red0, S(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2)},
         S(0, D3DTSS_COLORARG2, D3DTA_TEXTURE), 0xFF0000, 0, {blue}, green},
        {"alpha operation", {alphaTestOn, atLeastHalf, reference}, alphaFromVertex, 0xFF0000, 0, {faint}},
        {"alpha argument 1", {alphaTestOn, atLeastHalf, reference}, S(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE),
         0xFF0000, 0, {faint}},
        {"alpha argument 2", {alphaTestOn, atLeastHalf, reference, alphaFromVertex,
                              S(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE)},
         S(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE), 0xFF0000, 0, {faint}},
        {"texture factor", {S(0, D3DTSS_COLORARG1, D3DTA_TFACTOR), selectTexture},
         R(D3DRS_TEXTUREFACTOR, kRed), 0xFF0000, 0, {blue}, green},
        // Stage 1 on and off: modulating by the factor 0x808080; its operation the same as stage 0's
        {"stage 1 on", {stage1Factor, halfFactor}, stage1Modulate, 0x102060, 1, {ofFactor}, green},
        {"stage 1 off", {stage1Modulate, stage1Factor, halfFactor}, S(1, D3DTSS_COLOROP, D3DTOP_DISABLE),
         0x2040C0, 0, {ofFactor}, green},
        {"stage 1 colour argument", {stage1Modulate, S(1, D3DTSS_COLORARG2, D3DTA_DIFFUSE)}, stage1Factor,
         kFactorColour & 0x0000FF, 0, {blue}, green},
        // The textures bound: stage 0's, and stage 1's set to the one stage 0 holds
        {"texture changed", {red0, selectTexture}, T(0, kGreenTexture), 0x00FF00},
        {"texture removed", {red0, selectTexture}, T(0, kNoTexture), 0xFFFFFF},
        {"texture set", {selectTexture}, red0, 0xFF0000, 0, {blue}, green},
        {"stage 1 texture", {T(0, kGreenTexture), T(1, kRedTexture), S(1, D3DTSS_COLOROP, D3DTOP_SELECTARG2)},
         T(1, kGreenTexture), 0x00FF00},
        // Filters and addressing: a black and a white texel across the screen, a chain of red over green
        {"magnification filter", {T(0, kStripes), selectTexture}, S(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR),
         0x696969, 0x18, {blue}, {kRed}, 29},
        // 96 stripes over 64 pixels: pixel 8 lies half way from a black one to a white one
        {"minification filter", {T(0, kStripes), selectTexture, S(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR)},
         S(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR), 0x808080, 4, {{kBlue, 0.5f, 48}}},
        {"mip filter", {T(0, kMipChain), selectTexture}, S(0, D3DTSS_MIPFILTER, D3DTEXF_POINT), 0x00FF00},
        {"address mode", {T(0, kStripes), selectTexture}, S(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP),
         0xFFFFFF, 0, {{kBlue, 0.5f, 2}}, {kRed}, 40},
    };
}

}  // namespace

class StatesTest : public PipelineTest {
protected:
    void SetUp() override {
        PipelineTest::SetUp();
        const uint32_t red = kRed, green = kGreen, grey = 0xFF808080, stripes[2] = {0xFF000000, 0xFFFFFFFF};
        textures_[kRedTexture] = Keep(MakeTexture(1, 1, D3DFMT_A8R8G8B8, &red));
        textures_[kGreenTexture] = Keep(MakeTexture(1, 1, D3DFMT_A8R8G8B8, &green));
        textures_[kGreyTexture] = Keep(MakeTexture(1, 1, D3DFMT_A8R8G8B8, &grey));
        textures_[kStripes] = Keep(MakeTexture(2, 1, D3DFMT_A8R8G8B8, stripes));
        // Four times the screen's size: the quad reads level 2 where mip filtering is on.
        IDirect3DTexture8* chain = nullptr;
        ASSERT_EQ(device_->CreateTexture(4 * kWidth, 4 * kHeight, 3, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &chain),
                  D3D_OK);
        textures_[kMipChain] = Keep(chain);
        for (UINT level = 0; level < 3; ++level) {
            D3DLOCKED_RECT lr;
            ASSERT_EQ(chain->LockRect(level, &lr, nullptr, 0), D3D_OK);
            const UINT w = (4 * kWidth) >> level, h = (4 * kHeight) >> level;
            for (UINT y = 0; y < h; ++y)
                for (UINT x = 0; x < w; ++x)
                    reinterpret_cast<DWORD*>(static_cast<BYTE*>(lr.pBits) + y * lr.Pitch)[x] = level ? kGreen : kRed;
            chain->UnlockRect(level);
        }
    }

    void Apply(const Setting& s) {
        switch (s.kind) {
            case Setting::kRender: SetState((D3DRENDERSTATETYPE)s.type, s.value); break;
            case Setting::kStage: SetState(s.stage, (D3DTEXTURESTAGESTATETYPE)s.type, s.value); break;
            case Setting::kTexture: device_->SetTexture(s.stage, textures_[s.value]); break;
        }
    }

    // The states every case starts from: no tests, blending or fog, the first stage modulating
    // the texture by the vertex colour, the second off, no textures, point filtering.
    void StartingStates() {
        const Setting start[] = {
            R(D3DRS_LIGHTING, FALSE), R(D3DRS_AMBIENT, 0), R(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL),
            R(D3DRS_CULLMODE, D3DCULL_NONE), R(D3DRS_ZENABLE, D3DZB_FALSE), R(D3DRS_ZWRITEENABLE, TRUE),
            R(D3DRS_ZFUNC, D3DCMP_LESSEQUAL), R(D3DRS_ALPHATESTENABLE, FALSE), R(D3DRS_ALPHAFUNC, D3DCMP_ALWAYS),
            R(D3DRS_ALPHAREF, 0), R(D3DRS_ALPHABLENDENABLE, FALSE), R(D3DRS_SRCBLEND, D3DBLEND_ONE),
            R(D3DRS_DESTBLEND, D3DBLEND_ZERO), R(D3DRS_BLENDOP, D3DBLENDOP_ADD), R(D3DRS_COLORWRITEENABLE, 0xF),
            R(D3DRS_FOGENABLE, FALSE), R(D3DRS_FOGTABLEMODE, D3DFOG_NONE), R(D3DRS_FOGVERTEXMODE, D3DFOG_NONE),
            R(D3DRS_FOGCOLOR, 0x00FF0000), R(D3DRS_FOGSTART, 0), R(D3DRS_FOGEND, FloatBits(1.0f)),
            R(D3DRS_FOGDENSITY, FloatBits(1.0f)), R(D3DRS_TEXTUREFACTOR, kFactorColour),
            S(0, D3DTSS_COLOROP, D3DTOP_MODULATE), S(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
            S(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE), S(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1),
            S(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE), S(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE),
            S(0, D3DTSS_MAGFILTER, D3DTEXF_POINT), S(0, D3DTSS_MINFILTER, D3DTEXF_POINT),
            S(0, D3DTSS_MIPFILTER, D3DTEXF_NONE), S(0, D3DTSS_ADDRESSU, D3DTADDRESS_WRAP),
            S(1, D3DTSS_COLOROP, D3DTOP_DISABLE), S(1, D3DTSS_COLORARG1, D3DTA_CURRENT),
            S(1, D3DTSS_COLORARG2, D3DTA_TEXTURE), S(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE), T(0, kNoTexture),
            T(1, kNoTexture),
        };
        for (const Setting& s : start) Apply(s);
    }

    // The quads as one draw of clockwise triangles in clip space (the transforms are identity).
    void Draw(const std::vector<Quad>& quads) {
        std::vector<SceneVertex> v;
        for (const Quad& q : quads) {
            const SceneVertex corners[4] = {{-1, -1, q.z, q.colour, 0, 1}, {-1, 1, q.z, q.colour, 0, 0},
                                            {1, -1, q.z, q.colour, q.uMax, 1}, {1, 1, q.z, q.colour, q.uMax, 0}};
            for (int i : {0, 1, 2, 2, 1, 3}) v.push_back(corners[i]);
        }
        Upload(v.data(), (UINT)v.size(), kSceneFvf);
        EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, (UINT)quads.size() * 2), D3D_OK);
    }

    // The probe pixel after the case's two draws, with its change between them or without it.
    uint32_t Run(const SingleChangeCase& c, bool change) {
        StartingStates();
        for (const Setting& s : c.base) Apply(s);
        Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        Draw({c.first});
        if (change) Apply(c.change);
        Draw(c.second);
        return Pixel(c.probeX, kHeight / 2);
    }

    IDirect3DTexture8* textures_[kTextureCount] = {};
};
INSTANTIATE_ON_EACH_PROGRAM(StatesTest);

TEST_P(StatesTest, AStateChangedAloneBetweenTwoDrawsTakesEffect) {
    for (const SingleChangeCase& c : SingleChangeCases()) {
        const uint32_t unchanged = Run(c, false);
        EXPECT_FALSE(NearRgb(unchanged, c.want, c.tolerance)) << c.name << ": the change makes no difference";
        const uint32_t got = Run(c, true);
        EXPECT_TRUE(NearRgb(got, c.want, c.tolerance)) << c.name << std::hex << ", unchanged " << unchanged;
    }
}

// Blending half black over white, adding, and off (the source replaces); the stages over a grey
// texel, where turning stage 0 off turns everything after it off. Each case from the starting
// states: one rectangle of the vertex colour over the colour cleared to.
TEST_P(StatesTest, BlendingAndStagesMakeTheirPixels) {
    const Setting grey = T(0, kGreyTexture), srcOne = R(D3DRS_SRCBLEND, D3DBLEND_ONE);
    const Setting add = S(1, D3DTSS_COLOROP, D3DTOP_ADD), factor = R(D3DRS_TEXTUREFACTOR, 0x20);
    auto first = [](DWORD op) { return S(0, D3DTSS_COLOROP, op); };
    const struct {
        std::vector<Setting> settings;
        DWORD clear, colour, want;
        int tolerance;
    } cases[] = {
        {{alphaFromVertex, blendOn, srcAlpha, invSrcAlpha}, 0xFFFFFF, 0x80000000, 0x7F7F7F, 1},
        {{blendOn, srcOne, destOne}, 0x400000, 0xFF200010, 0x600010, 0},
        {{alphaFromVertex, srcOne, destOne}, 0x600010, 0x10123456, 0x123456, 0},
        {{grey}, 0, 0xFFFF8000, 0x804000, 1},
        {{grey, first(D3DTOP_ADD)}, 0, 0xFF400000, 0xC08080, 1},
        {{grey, first(D3DTOP_SELECTARG2), add, stage1Factor, factor}, 0, 0xFF100000, 0x100020, 0},
        {{grey, first(D3DTOP_DISABLE), add, stage1Factor, factor}, 0, 0xFF300000, 0x300000, 0},
    };
    for (const auto& c : cases) {
        StartingStates();
        for (const Setting& s : c.settings) Apply(s);
        Clear(D3DCLEAR_TARGET, c.clear);
        DrawScreenRect(-0.5f, -0.5f, 9.5f, 9.5f, c.colour);
        EXPECT_TRUE(NearRgb(Pixel(5, 5), c.want, c.tolerance)) << std::hex << c.colour;
    }
}
