// d3d8_program_test.cpp -- the fragment programs against a model of the fixed-function pipeline:
// every texture-stage operation, argument and modifier on one and two stages, every alpha
// comparison and fog formula, on the programs built for each state and on the general one; the
// cache that builds each program once; uniforms that follow a program taken up again.
#include "device_fixture.h"

#include <algorithm>
#include <cmath>

namespace {

// ---------------------------------------------------------------------------------------------
// The model: what each stage makes of its inputs, channel by channel, in 0..1.

struct Rgba {
    float c[4];  // r, g, b, a
};

Rgba FromArgb(DWORD v) {
    return {{((v >> 16) & 0xFF) / 255.0f, ((v >> 8) & 0xFF) / 255.0f, (v & 0xFF) / 255.0f, (v >> 24) / 255.0f}};
}

const DWORD kDiffuse = 0x60C04020, kTexel0 = 0xA080E010, kTexel1 = 0x5030A0F0, kFactor = 0xC0206090;

struct Inputs {
    Rgba diffuse = FromArgb(kDiffuse), factor = FromArgb(kFactor);
    Rgba texels[2] = {FromArgb(kTexel0), FromArgb(kTexel1)};
};

Rgba Argument(DWORD arg, const Inputs& in, const Rgba& current, const Rgba& texel) {
    Rgba v;
    switch (arg & D3DTA_SELECTMASK) {
        case D3DTA_DIFFUSE: v = in.diffuse; break;
        case D3DTA_TEXTURE: v = texel; break;
        case D3DTA_TFACTOR: v = in.factor; break;
        case D3DTA_SPECULAR:
        case D3DTA_TEMP: v = {{0, 0, 0, 0}}; break;
        default: v = current; break;
    }
    if (arg & D3DTA_COMPLEMENT)
        for (float& x : v.c) x = 1.0f - x;
    if (arg & D3DTA_ALPHAREPLICATE) v = {{v.c[3], v.c[3], v.c[3], v.c[3]}};
    return v;
}

// One channel i of an operation; operations the device does not offer multiply.
float Operate(DWORD op, const Rgba& a1, const Rgba& a2, int i, const Inputs& in, const Rgba& current,
              const Rgba& texel) {
    const float x = a1.c[i], y = a2.c[i];
    auto blend = [&](float s) { return x * s + y * (1 - s); };
    switch (op) {
        case D3DTOP_SELECTARG1: return x;
        case D3DTOP_SELECTARG2: return y;
        case D3DTOP_MODULATE2X: return 2 * x * y;
        case D3DTOP_MODULATE4X: return 4 * x * y;
        case D3DTOP_ADD: return x + y;
        case D3DTOP_ADDSIGNED: return x + y - 0.5f;
        case D3DTOP_ADDSIGNED2X: return 2 * (x + y - 0.5f);
        case D3DTOP_SUBTRACT: return x - y;
        case D3DTOP_ADDSMOOTH: return x + y * (1 - x);
        case D3DTOP_BLENDDIFFUSEALPHA: return blend(in.diffuse.c[3]);
        case D3DTOP_BLENDTEXTUREALPHA: return blend(texel.c[3]);
        case D3DTOP_BLENDFACTORALPHA: return blend(in.factor.c[3]);
        case D3DTOP_BLENDTEXTUREALPHAPM: return x + y * (1 - texel.c[3]);
        case D3DTOP_BLENDCURRENTALPHA: return blend(current.c[3]);
        case D3DTOP_MODULATEALPHA_ADDCOLOR: return i == 3 ? a1.c[3] : x + a1.c[3] * y;
        case D3DTOP_MODULATECOLOR_ADDALPHA: return i == 3 ? a1.c[3] : x * y + a1.c[3];
        case D3DTOP_MODULATEINVALPHA_ADDCOLOR: return i == 3 ? a1.c[3] : (1 - a1.c[3]) * y + x;
        case D3DTOP_MODULATEINVCOLOR_ADDALPHA: return i == 3 ? a1.c[3] : (1 - x) * y + a1.c[3];
        case D3DTOP_DOTPRODUCT3: {
            float dot = 0;
            for (int k = 0; k < 3; ++k) dot += (a1.c[k] - 0.5f) * 2 * ((a2.c[k] - 0.5f) * 2);
            return std::min(1.0f, std::max(0.0f, dot));
        }
        default: return x * y;
    }
}

struct Stage {
    DWORD colourOp, colourArg1, colourArg2, alphaOp, alphaArg1, alphaArg2;
};

// The pixel the two stages make, as 0xAARRGGBB.
DWORD Model(const Stage stages[2], const Inputs& in) {
    Rgba current = in.diffuse;
    for (int s = 0; s < 2; ++s) {
        const Stage& st = stages[s];
        if (st.colourOp == D3DTOP_DISABLE) break;
        const Rgba& t = in.texels[s];
        Rgba next = current;
        const Rgba c1 = Argument(st.colourArg1, in, current, t), c2 = Argument(st.colourArg2, in, current, t);
        for (int i = 0; i < 3; ++i) next.c[i] = Operate(st.colourOp, c1, c2, i, in, current, t);
        if (st.alphaOp != D3DTOP_DISABLE) {
            const Rgba a1 = Argument(st.alphaArg1, in, current, t), a2 = Argument(st.alphaArg2, in, current, t);
            next.c[3] = Operate(st.alphaOp, a1, a2, 3, in, current, t);
        }
        for (float& x : next.c) x = std::min(1.0f, std::max(0.0f, x));
        current = next;
    }
    auto byte = [](float x) { return (DWORD)std::lround(x * 255.0f); };
    return byte(current.c[3]) << 24 | byte(current.c[0]) << 16 | byte(current.c[1]) << 8 | byte(current.c[2]);
}

const DWORD kTex = D3DTA_TEXTURE, kDif = D3DTA_DIFFUSE, kCur = D3DTA_CURRENT, kFac = D3DTA_TFACTOR;
const DWORD kComp = D3DTA_COMPLEMENT, kRepl = D3DTA_ALPHAREPLICATE;
const Stage kOff = {D3DTOP_DISABLE, kTex, kCur, D3DTOP_DISABLE, kTex, kCur};

struct StageCase {
    Stage stages[2];
};

std::vector<StageCase> StageCases() {
    std::vector<StageCase> cases;
    // Every operation as the first stage's colour and alpha operation on texture and diffuse
    // (the four that only make colour have the alpha of the texture).
    for (DWORD op = D3DTOP_SELECTARG1; op <= D3DTOP_LERP; ++op) {
        const bool colourOnly = op >= D3DTOP_MODULATEALPHA_ADDCOLOR && op <= D3DTOP_MODULATEINVCOLOR_ADDALPHA;
        cases.push_back({{{op, kTex, kDif, colourOnly ? (DWORD)D3DTOP_SELECTARG1 : op, kTex, kDif}, kOff}});
    }
    // The texel's alpha weighs the blend even where no argument reads the texture.
    cases.push_back({{{D3DTOP_BLENDTEXTUREALPHA, kDif, kFac, D3DTOP_BLENDTEXTUREALPHA, kDif, kFac}, kOff}});
    cases.push_back({{{D3DTOP_BLENDTEXTUREALPHAPM, kFac, kDif, D3DTOP_BLENDTEXTUREALPHAPM, kFac, kDif}, kOff}});
    // Every argument and modifier.
    const DWORD args[] = {kCur,        kFac,          D3DTA_SPECULAR, D3DTA_TEMP,         kTex | kComp,
                          kDif | kRepl, kFac | kComp | kRepl, kTex | kRepl, 0x7 /* an unknown one */};
    for (DWORD arg : args) {
        cases.push_back({{{D3DTOP_ADD, arg, kTex, D3DTOP_SUBTRACT, kDif, arg}, kOff}});
        cases.push_back({{{D3DTOP_SELECTARG2, kDif, arg, D3DTOP_SELECTARG1, arg, kDif}, kOff}});
    }
    // The second stage: on the first's result, its own texture, the factor; alpha kept or made.
    const Stage first = {D3DTOP_MODULATE, kTex, kDif, D3DTOP_MODULATE, kTex, kDif};
    cases.push_back({{first, {D3DTOP_ADD, kCur, kFac, D3DTOP_DISABLE, kTex, kCur}}});
    cases.push_back({{first, {D3DTOP_MODULATE2X, kTex, kCur, D3DTOP_ADD, kTex, kCur}}});
    cases.push_back({{first, {D3DTOP_BLENDCURRENTALPHA, kTex, kFac, D3DTOP_SELECTARG1, kCur | kComp, kTex}}});
    cases.push_back({{first, {D3DTOP_BLENDTEXTUREALPHA, kCur, kDif, D3DTOP_BLENDDIFFUSEALPHA, kTex, kCur}}});
    cases.push_back({{first, {D3DTOP_SUBTRACT, kCur | kRepl, kTex, D3DTOP_MODULATE4X, kCur, kFac}}});
    cases.push_back({{first, {D3DTOP_DOTPRODUCT3, kCur, kTex, D3DTOP_ADDSMOOTH, kTex, kCur}}});
    // A first stage turned off turns the second off too: the diffuse colour passes.
    cases.push_back({{kOff, {D3DTOP_ADD, kTex, kFac, D3DTOP_ADD, kTex, kFac}}});
    cases.push_back({{{D3DTOP_SELECTARG1, kTex, kDif, D3DTOP_DISABLE, kTex, kDif}, kOff}});
    return cases;
}

std::ostream& operator<<(std::ostream& os, const Stage& s) {
    return os << std::hex << "colour " << s.colourOp << "(" << s.colourArg1 << ", " << s.colourArg2 << ") alpha "
              << s.alphaOp << "(" << s.alphaArg1 << ", " << s.alphaArg2 << ")";
}

bool Near(DWORD a, DWORD b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs((int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

}  // namespace

class ProgramTest : public ProgramPathTest {
protected:
    static constexpr int kCell = 6;
    static constexpr int kColumns = kWidth / kCell;

    // A back buffer with alpha, so that each stage's alpha can be read back.
    ProgramTest() { format_ = D3DFMT_A8R8G8B8; }

    // Draws cell n of the grid with the vertex colour and rhw given.
    void DrawCell(int n, DWORD colour, float rhw = 1.0f) {
        const float x = (float)(n % kColumns * kCell) - 0.5f, y = (float)(n / kColumns * kCell) - 0.5f;
        DrawScreenRect(x, y, x + kCell, y + kCell, colour, 0.5f, rhw);
    }

    DWORD CellPixel(const std::vector<uint32_t>& pixels, int n) {
        return pixels[(size_t)(n / kColumns * kCell + kCell / 2) * kWidth + n % kColumns * kCell + kCell / 2];
    }
};
INSTANTIATE_ON_EACH_PROGRAM(ProgramTest);

TEST_P(ProgramTest, EveryStageOperationArgumentAndModifierMakesTheModelsPixel) {
    device_->SetTexture(0, Keep(MakeTexture(1, 1, D3DFMT_A8R8G8B8, &kTexel0)));
    device_->SetTexture(1, Keep(MakeTexture(1, 1, D3DFMT_A8R8G8B8, &kTexel1)));
    SetState(D3DRS_TEXTUREFACTOR, kFactor);
    const std::vector<StageCase> cases = StageCases();
    ASSERT_LE(cases.size(), (size_t)(kColumns * (kHeight / kCell)));
    for (size_t n = 0; n < cases.size(); ++n) {
        for (DWORD s = 0; s < 2; ++s) {
            const Stage& st = cases[n].stages[s];
            SetState(s, D3DTSS_COLOROP, st.colourOp);
            SetState(s, D3DTSS_COLORARG1, st.colourArg1);
            SetState(s, D3DTSS_COLORARG2, st.colourArg2);
            SetState(s, D3DTSS_ALPHAOP, st.alphaOp);
            SetState(s, D3DTSS_ALPHAARG1, st.alphaArg1);
            SetState(s, D3DTSS_ALPHAARG2, st.alphaArg2);
        }
        DrawCell((int)n, kDiffuse);
    }
    const auto pixels = Pixels(0xFFFFFFFFu);
    const Inputs inputs;
    for (size_t n = 0; n < cases.size(); ++n) {
        const DWORD want = Model(cases[n].stages, inputs), got = CellPixel(pixels, (int)n);
        EXPECT_TRUE(Near(got, want, 1)) << "case " << n << ": " << cases[n].stages[0] << " then "
                                        << cases[n].stages[1] << ": got " << got << ", want " << want;
    }
}

// The eight-bit alpha one below, at and one above each reference, under every function.
TEST_P(ProgramTest, EveryAlphaComparisonAgainstTheReference) {
    SetState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    SetState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);  // the vertex colour
    SetState(D3DRS_ALPHATESTENABLE, TRUE);
    auto eachCell = [](auto visit) {
        int n = 0;
        for (int ref : {0x40, 0x08})
            for (DWORD func = D3DCMP_NEVER; func <= D3DCMP_ALWAYS; ++func)
                for (int a = ref - 1; a <= ref + 1; ++a) visit(n++, ref, func, a);
        return n;
    };
    const int off = eachCell([&](int n, int ref, DWORD func, int a) {
        SetState(D3DRS_ALPHAREF, (DWORD)ref);
        SetState(D3DRS_ALPHAFUNC, func);
        DrawCell(n, (DWORD)a << 24 | 0xFFFFFF);
    });
    // Off, the function does not matter.
    SetState(D3DRS_ALPHATESTENABLE, FALSE);
    SetState(D3DRS_ALPHAFUNC, D3DCMP_NEVER);
    DrawCell(off, 0x00FFFFFF);
    const auto pixels = Pixels(0xFFFFFFFFu);
    EXPECT_EQ(CellPixel(pixels, off), 0x00FFFFFFu);
    eachCell([&](int n, int ref, DWORD func, int a) {
        const bool passes[9] = {false, false, a < ref, a == ref, a <= ref, a > ref, a != ref, a >= ref, true};
        EXPECT_EQ(CellPixel(pixels, n) != 0, passes[func]) << "func " << func << ", " << a << "/" << ref;
    });
}

TEST_P(ProgramTest, EveryFogFormulaAtTheVertexDepth) {
    SetState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    SetState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    SetState(D3DRS_FOGCOLOR, 0x00FF0000);
    SetState(D3DRS_FOGSTART, FloatBits(2.0f));
    SetState(D3DRS_FOGEND, FloatBits(12.0f));
    SetState(D3DRS_FOGDENSITY, FloatBits(0.1f));
    struct FogCase {
        DWORD table;
        float depth, share;  // the share of the pixel's own colour
        DWORD vertex = D3DFOG_NONE;
        BOOL enable = TRUE;
    };
    const FogCase cases[] = {
        {D3DFOG_LINEAR, 5.0f, 0.7f},
        {D3DFOG_LINEAR, 1.0f, 1.0f},   // before the start
        {D3DFOG_LINEAR, 20.0f, 0.0f},  // beyond the end
        {D3DFOG_EXP, 5.0f, std::exp(-0.5f)},
        {D3DFOG_EXP2, 5.0f, std::exp(-0.25f)},
        {D3DFOG_NONE, 5.0f, std::exp(-0.5f), D3DFOG_EXP},      // the vertex mode when no table mode
        {D3DFOG_EXP2, 5.0f, std::exp(-0.25f), D3DFOG_LINEAR},  // the table mode first
        {D3DFOG_NONE, 5.0f, 1.0f},
        {7, 5.0f, 1.0f},  // no such formula
        {D3DFOG_LINEAR, 5.0f, 1.0f, D3DFOG_NONE, FALSE},
    };
    int n = 0;
    for (const FogCase& c : cases) {
        SetState(D3DRS_FOGENABLE, c.enable);
        SetState(D3DRS_FOGTABLEMODE, c.table);
        SetState(D3DRS_FOGVERTEXMODE, c.vertex);
        DrawCell(n++, 0xFF0000FF, 1.0f / c.depth);  // pre-transformed: the depth is 1 / rhw
    }
    const auto pixels = Pixels(0xFFFFFFFFu);
    n = 0;
    for (const FogCase& c : cases) {
        const DWORD got = CellPixel(pixels, n++);
        EXPECT_NEAR((int)(got & 0xFF), c.share * 255, 1.5) << "fog " << c.table << "/" << c.vertex << " at " << c.depth;
        EXPECT_NEAR((int)((got >> 16) & 0xFF), (1 - c.share) * 255, 1.5);
    }
}

// A program taken up again draws with what changed while another one drew.
TEST_P(ProgramTest, UniformsFollowAProgramTakenUpAgain) {
    D3DVIEWPORT8 viewport = {0, 0, kWidth - 2 * kCell, kHeight, 0.0f, 1.0f};
    const DWORD factors[3] = {0xFF102030, 0xFF405060, 0xFF708090};
    SetState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    SetState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    SetState(D3DRS_ALPHATESTENABLE, TRUE);
    SetState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    for (int round = 0; round < 3; ++round) {
        // Program A draws the texture factor, program B the diffuse colour; each round one column
        // further right, in a viewport that starts there. The factor and the viewport change
        // while B is in use, the alpha reference while A is.
        SetState(D3DRS_TEXTUREFACTOR, factors[round]);
        viewport.X = (DWORD)(round * kCell);
        ASSERT_EQ(device_->SetViewport(&viewport), D3D_OK);
        SetState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
        DrawCell(round, 0xFFFFFFFF);
        SetState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        SetState(D3DRS_ALPHAREF, (DWORD)(0x40 * round));
        DrawCell(kColumns + round, 0x50000000u | (factors[round] & 0xFFFFFF));
    }
    // A change on its own reaches the program in use.
    SetState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    DrawCell(2 * kColumns + 2, 0xFFFFFFFF);
    SetState(D3DRS_TEXTUREFACTOR, 0xFF0A0B0C);
    DrawCell(2 * kColumns + 3, 0xFFFFFFFF);
    const auto pixels = Pixels();  // without alpha
    EXPECT_EQ(CellPixel(pixels, 2 * kColumns + 2), factors[2] & 0xFFFFFF);
    EXPECT_EQ(CellPixel(pixels, 2 * kColumns + 3), 0x0A0B0Cu);
    for (int round = 0; round < 3; ++round) {
        const DWORD factor = factors[round] & 0xFFFFFF;
        EXPECT_EQ(CellPixel(pixels, round), factor) << "round " << round;
        // The reference rose to 0x80 at the last round: that cell was not drawn.
        EXPECT_EQ(CellPixel(pixels, kColumns + round), round < 2 ? factor : 0u);
    }
}

TEST_F(DeviceTest, EachSetOfStatesIsBuiltOnceAndAFullCacheLeavesTheRestToTheGeneralProgram) {
    Plain2DStates();
    Clear(D3DCLEAR_TARGET);
    auto draw = [&] { DrawScreenRect(-0.5f, -0.5f, 3.5f, 3.5f, 0xFF102030); };
    auto specialised = [] { return layer::CurrentFrameStats().specialisedDraws; };
    SetState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    EXPECT_EQ(layer::BuiltPrograms(), 0u);
    for (int k = 0; k < 3; ++k) draw();
    EXPECT_EQ(layer::BuiltPrograms(), 1u);
    // Another operation, then back; a state that no program depends on builds nothing.
    SetState(0, D3DTSS_COLOROP, D3DTOP_ADD);
    draw();
    SetState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    SetState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);  // not read by SELECTARG2
    SetState(D3DRS_TEXTUREFACTOR, 0xFF00FF00);
    draw();
    EXPECT_EQ(layer::BuiltPrograms(), 2u);
    EXPECT_EQ(specialised(), 5u);

    // Distinct states until the cache is full: from then on the general program draws them, right.
    SetState(0, D3DTSS_COLOROP, D3DTOP_ADD);
    SetState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    SetState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    for (DWORD op = D3DTOP_SELECTARG1; op <= D3DTOP_DOTPRODUCT3; ++op)
        for (DWORD stage1 = D3DTOP_SELECTARG1; stage1 <= D3DTOP_ADD && layer::BuiltPrograms() < 64; ++stage1) {
            SetState(0, D3DTSS_ALPHAOP, op);
            SetState(1, D3DTSS_COLOROP, stage1);
            draw();
        }
    ASSERT_EQ(layer::BuiltPrograms(), 64u);
    const uint32_t before = specialised();
    SetState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    SetState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    SetState(0, D3DTSS_COLOROP, D3DTOP_SUBTRACT);  // never drawn before
    draw();
    EXPECT_EQ(layer::BuiltPrograms(), 64u);
    EXPECT_EQ(specialised(), before);
    EXPECT_EQ(Pixel(1, 1), 0x00DF00u);  // the factor 0x00FF00 less 0x102030, clamped
    // An earlier set of states still has its program.
    SetState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    SetState(0, D3DTSS_COLORARG2, D3DTA_CURRENT);
    draw();
    EXPECT_EQ(specialised(), before + 1);
}

TEST_F(DeviceTest, ForcingTheGeneralProgramTakesEffectAtTheNextDraw) {
    Plain2DStates();
    Clear(D3DCLEAR_TARGET);
    auto draw = [&](DWORD colour) { DrawScreenRect(-0.5f, -0.5f, 3.5f, 3.5f, colour); };
    draw(0xFF102030);
    layer::ForceGeneralProgram(true);
    draw(0xFF203040);
    EXPECT_EQ(Pixel(1, 1), 0x203040u);
    layer::ForceGeneralProgram(false);
    draw(0xFF304050);
    EXPECT_EQ(Pixel(1, 1), 0x304050u);
    EXPECT_EQ(layer::CurrentFrameStats().drawCalls, 3u);
    EXPECT_EQ(layer::CurrentFrameStats().specialisedDraws, 2u);
    layer::ForceGeneralProgram(true);
    layer::ResetDeviceControl();
    draw(0xFF304050);
    EXPECT_EQ(layer::CurrentFrameStats().specialisedDraws, 3u);
}
