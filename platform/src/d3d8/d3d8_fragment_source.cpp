// d3d8_fragment_source.cpp -- the GLSL of the fragment programs. The general program walks every
// combining operation, alpha comparison and fog formula as branches on uniforms; a program built
// for one key holds only the expressions its states select. Both are written from the same tables,
// so they draw the same pixels.
#include "d3d8/d3d8_program.h"

#include <cstring>

namespace d3d8 {

namespace {

// Each combining operation on the arguments a1 and a2, the state before the stage (current) and
// the stage's texel (tex). An operation not listed multiplies its arguments, as MODULATE does.
struct Formula {
    int code;
    const char* expression;
};

const Formula kOperations[] = {
    {D3DTOP_SELECTARG1, "a1"},
    {D3DTOP_SELECTARG2, "a2"},
    {D3DTOP_MODULATE2X, "a1 * a2 * 2.0"},
    {D3DTOP_MODULATE4X, "a1 * a2 * 4.0"},
    {D3DTOP_ADD, "a1 + a2"},
    {D3DTOP_ADDSIGNED, "a1 + a2 - 0.5"},
    {D3DTOP_ADDSIGNED2X, "(a1 + a2 - 0.5) * 2.0"},
    {D3DTOP_SUBTRACT, "a1 - a2"},
    {D3DTOP_ADDSMOOTH, "a1 + a2 - a1 * a2"},
    {D3DTOP_BLENDDIFFUSEALPHA, "mix(a2, a1, vDiffuse.a)"},
    {D3DTOP_BLENDTEXTUREALPHA, "mix(a2, a1, tex.a)"},
    {D3DTOP_BLENDFACTORALPHA, "mix(a2, a1, uTextureFactor.a)"},
    {D3DTOP_BLENDTEXTUREALPHAPM, "a1 + a2 * (1.0 - tex.a)"},
    {D3DTOP_BLENDCURRENTALPHA, "mix(a2, a1, current.a)"},
    {D3DTOP_MODULATEALPHA_ADDCOLOR, "vec4(a1.rgb + a1.a * a2.rgb, a1.a)"},
    {D3DTOP_MODULATECOLOR_ADDALPHA, "vec4(a1.rgb * a2.rgb + a1.a, a1.a)"},
    {D3DTOP_MODULATEINVALPHA_ADDCOLOR, "vec4((1.0 - a1.a) * a2.rgb + a1.rgb, a1.a)"},
    {D3DTOP_MODULATEINVCOLOR_ADDALPHA, "vec4((vec3(1.0) - a1.rgb) * a2.rgb + a1.a, a1.a)"},
    {D3DTOP_DOTPRODUCT3, "vec4(clamp(dot((a1.rgb - 0.5) * 2.0, (a2.rgb - 0.5) * 2.0), 0.0, 1.0))"},
};
const char* const kDefaultOperation = "a1 * a2";

// Each alpha comparison of the pixel's 8-bit alpha a with the reference; a function not listed passes.
const Formula kAlphaComparisons[] = {
    {D3DCMP_NEVER, "false"},
    {D3DCMP_LESS, "a < uAlphaRef"},
    {D3DCMP_EQUAL, "a == uAlphaRef"},
    {D3DCMP_LESSEQUAL, "a <= uAlphaRef"},
    {D3DCMP_GREATER, "a > uAlphaRef"},
    {D3DCMP_NOTEQUAL, "a != uAlphaRef"},
    {D3DCMP_GREATEREQUAL, "a >= uAlphaRef"},
};

// Each fog formula: the share of the pixel's own colour at depth d.
const Formula kFogFactors[] = {
    {D3DFOG_LINEAR,
     "(uFogParams.y - uFogParams.x) != 0.0 ? (uFogParams.y - d) / (uFogParams.y - uFogParams.x)"
     " : (d < uFogParams.y ? 1.0 : 0.0)"},
    {D3DFOG_EXP, "exp(-uFogParams.z * d)"},
    {D3DFOG_EXP2, "exp(-(uFogParams.z * d) * (uFogParams.z * d))"},
};

template <size_t N>
const char* Lookup(const Formula (&table)[N], int code) {
    for (const Formula& f : table)
        if (f.code == code) return f.expression;
    return nullptr;
}

const char* const kFragmentHeader = R"(#version 130
in vec4 vDiffuse;
in vec2 vTexCoord;
in float vFogDepth;

uniform sampler2D uTexture0;
uniform sampler2D uTexture1;
uniform ivec3 uColourOps[2];  // operation, argument 1, argument 2
uniform ivec3 uAlphaOps[2];
uniform vec4 uTextureFactor;
uniform bool uAlphaTest;
uniform int uAlphaFunc;
uniform float uAlphaRef;
uniform int uFogMode;
uniform vec3 uFogParams;  // start, end, density
uniform vec3 uFogColour;

out vec4 fragColour;
)";

// Argument selectors as the key keeps them (with D3DTA_COMPLEMENT and D3DTA_ALPHAREPLICATE beside).
constexpr uint8_t kArgZero = 4;  // the specular colour and the temporary register, which read as zero

uint8_t KeyArgument(DWORD arg) {
    uint8_t select;
    switch (arg & D3DTA_SELECTMASK) {
        case D3DTA_DIFFUSE: select = D3DTA_DIFFUSE; break;
        case D3DTA_TEXTURE: select = D3DTA_TEXTURE; break;
        case D3DTA_TFACTOR: select = D3DTA_TFACTOR; break;
        case D3DTA_SPECULAR:
        case D3DTA_TEMP: select = kArgZero; break;
        default: select = D3DTA_CURRENT; break;
    }
    return (uint8_t)(select | (arg & (D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE)));
}

uint8_t KeyOperation(DWORD op) {
    if (op == D3DTOP_DISABLE || (op <= 0xFF && Lookup(kOperations, (int)op))) return (uint8_t)op;
    return D3DTOP_MODULATE;
}

// An operation with its arguments; the arguments it does not read are zero.
void KeyCombination(DWORD op, DWORD arg1, DWORD arg2, uint8_t* keyOp, uint8_t* keyArg1, uint8_t* keyArg2) {
    *keyOp = KeyOperation(op);
    *keyArg1 = *keyOp == D3DTOP_DISABLE || *keyOp == D3DTOP_SELECTARG2 ? 0 : KeyArgument(arg1);
    *keyArg2 = *keyOp == D3DTOP_DISABLE || *keyOp == D3DTOP_SELECTARG1 ? 0 : KeyArgument(arg2);
}

// The GLSL value of a key argument.
std::string ArgumentExpression(uint8_t arg) {
    std::string v;
    switch (arg & D3DTA_SELECTMASK) {
        case D3DTA_DIFFUSE: v = "vDiffuse"; break;
        case D3DTA_TEXTURE: v = "tex"; break;
        case D3DTA_TFACTOR: v = "uTextureFactor"; break;
        case kArgZero: v = "vec4(0.0)"; break;
        default: v = "current"; break;
    }
    if (arg & D3DTA_COMPLEMENT) v = "(vec4(1.0) - " + v + ")";
    if (arg & D3DTA_ALPHAREPLICATE) v = "vec4(" + v + ".a)";
    return v;
}

bool ReadsTexture(const StageKey& s) {
    const uint8_t args[4] = {s.colourArg1, s.colourArg2, s.alphaArg1, s.alphaArg2};
    for (uint8_t a : args)
        if ((a & D3DTA_SELECTMASK) == D3DTA_TEXTURE) return true;
    auto texelAlpha = [](uint8_t op) { return op == D3DTOP_BLENDTEXTUREALPHA || op == D3DTOP_BLENDTEXTUREALPHAPM; };
    return texelAlpha(s.colourOp) || texelAlpha(s.alphaOp);
}

std::string OperationExpression(uint8_t op) {
    const char* e = Lookup(kOperations, op);
    return e ? e : kDefaultOperation;
}

}  // namespace

bool FragmentKey::operator==(const FragmentKey& o) const {
    return std::memcmp(stages, o.stages, sizeof stages) == 0 && alphaFunc == o.alphaFunc && fogMode == o.fogMode;
}

int FogModeOf(const DWORD renderStates[kRenderStateCount]) {
    if (!renderStates[D3DRS_FOGENABLE]) return D3DFOG_NONE;
    const DWORD table = renderStates[D3DRS_FOGTABLEMODE];
    const DWORD mode = table != D3DFOG_NONE ? table : renderStates[D3DRS_FOGVERTEXMODE];
    return mode <= D3DFOG_LINEAR ? (int)mode : D3DFOG_NONE;
}

FragmentKey MakeFragmentKey(const DWORD renderStates[kRenderStateCount],
                            const DWORD stageStates[kStageCount][kStageStateCount]) {
    FragmentKey key = {};
    for (int s = 0; s < kBlendStages; ++s) {
        const DWORD* ts = stageStates[s];
        StageKey& k = key.stages[s];
        KeyCombination(ts[D3DTSS_COLOROP], ts[D3DTSS_COLORARG1], ts[D3DTSS_COLORARG2], &k.colourOp, &k.colourArg1,
                       &k.colourArg2);
        if (k.colourOp == D3DTOP_DISABLE) break;  // this stage and every later one are off
        KeyCombination(ts[D3DTSS_ALPHAOP], ts[D3DTSS_ALPHAARG1], ts[D3DTSS_ALPHAARG2], &k.alphaOp, &k.alphaArg1,
                       &k.alphaArg2);
    }
    const DWORD func = renderStates[D3DRS_ALPHAFUNC];
    if (renderStates[D3DRS_ALPHATESTENABLE] && func >= D3DCMP_NEVER && func <= D3DCMP_GREATEREQUAL)
        key.alphaFunc = (uint8_t)func;
    key.fogMode = (uint8_t)FogModeOf(renderStates);
    return key;
}

std::string GeneralFragmentSource() {
    std::string s = kFragmentHeader;
    s += R"(
vec4 Arg(int arg, vec4 current, vec4 tex) {
    int select = arg & 15;
    vec4 v = current;
    if (select == 0) v = vDiffuse;
    else if (select == 2) v = tex;
    else if (select == 3) v = uTextureFactor;
    else if (select == 4 || select == 5) v = vec4(0.0);
    if ((arg & 16) != 0) v = vec4(1.0) - v;
    if ((arg & 32) != 0) v = vec4(v.a);
    return v;
}

vec4 Combine(int op, vec4 a1, vec4 a2, vec4 current, vec4 tex) {
)";
    for (const Formula& f : kOperations)
        s += "    if (op == " + std::to_string(f.code) + ") return " + f.expression + ";\n";
    s += std::string("    return ") + kDefaultOperation + ";\n}\n\nbool AlphaPasses(float alpha) {\n";
    s += "    float a = floor(alpha * 255.0 + 0.5);\n";
    for (const Formula& f : kAlphaComparisons)
        s += "    if (uAlphaFunc == " + std::to_string(f.code) + ") return " + f.expression + ";\n";
    s += "    return true;\n}\n\nfloat FogFactor(int mode, float d) {\n";
    for (const Formula& f : kFogFactors)
        s += "    if (mode == " + std::to_string(f.code) + ") return " + f.expression + ";\n";
    s += "    return 1.0;\n}\n";
    s += R"(
void main() {
    vec4 texels[2];
    texels[0] = texture(uTexture0, vTexCoord);
    texels[1] = texture(uTexture1, vTexCoord);
    vec4 current = vDiffuse;
    for (int s = 0; s < 2; ++s) {
        ivec3 c = uColourOps[s];
        if (c.x == 1) break;
        vec4 tex = texels[s];
        vec4 colour = Combine(c.x, Arg(c.y, current, tex), Arg(c.z, current, tex), current, tex);
        ivec3 a = uAlphaOps[s];
        float alpha = current.a;
        if (a.x != 1) alpha = Combine(a.x, Arg(a.y, current, tex), Arg(a.z, current, tex), current, tex).a;
        current = clamp(vec4(colour.rgb, alpha), 0.0, 1.0);
    }
    if (uAlphaTest && !AlphaPasses(current.a)) discard;
    if (uFogMode != 0) current.rgb = mix(uFogColour, current.rgb, clamp(FogFactor(uFogMode, vFogDepth), 0.0, 1.0));
    fragColour = current;
}
)";
    return s;
}

std::string FragmentSourceFor(const FragmentKey& key) {
    std::string s = kFragmentHeader;
    s += "\nvoid main() {\n    vec4 current = vDiffuse;\n";
    for (int i = 0; i < kBlendStages; ++i) {
        const StageKey& k = key.stages[i];
        if (k.colourOp == D3DTOP_DISABLE) break;
        s += "    {\n";
        if (ReadsTexture(k)) s += "        vec4 tex = texture(uTexture" + std::to_string(i) + ", vTexCoord);\n";
        s += "        vec4 a1 = " + ArgumentExpression(k.colourArg1) + ";\n";
        s += "        vec4 a2 = " + ArgumentExpression(k.colourArg2) + ";\n";
        s += "        vec4 colour = " + OperationExpression(k.colourOp) + ";\n";
        if (k.alphaOp == D3DTOP_DISABLE) {
            s += "        float alpha = current.a;\n";
        } else {
            s += "        a1 = " + ArgumentExpression(k.alphaArg1) + ";\n";
            s += "        a2 = " + ArgumentExpression(k.alphaArg2) + ";\n";
            s += "        float alpha = (" + OperationExpression(k.alphaOp) + ").a;\n";
        }
        s += "        current = clamp(vec4(colour.rgb, alpha), 0.0, 1.0);\n    }\n";
    }
    if (key.alphaFunc) {
        s += "    float a = floor(current.a * 255.0 + 0.5);\n";
        s += std::string("    if (!(") + Lookup(kAlphaComparisons, key.alphaFunc) + ")) discard;\n";
    }
    if (const char* fog = Lookup(kFogFactors, key.fogMode)) {
        s += "    float d = vFogDepth;\n";
        s += std::string("    current.rgb = mix(uFogColour, current.rgb, clamp(") + fog + ", 0.0, 1.0));\n";
    }
    s += "    fragColour = current;\n}\n";
    return s;
}

}  // namespace d3d8
