// d3d8_vertex_shader.cpp -- vertex shaders: the declaration of the stream's elements and constants,
// and vertex shader 1.0 / 1.1 code translated to a GLSL vertex stage whose outputs feed the
// fixed-function fragment programs (oPos, oD0 and oT0; the other outputs are written and unused).
#include "d3d8/d3d8_vertex_shader.h"

#include <cstring>

#include "d3d8/d3d8_shader_opcodes.h"

namespace d3d8 {

namespace {

constexpr int kMaxTokens = 1 << 16;  // a runaway stream without its end token stops here

// Bytes of each element type, D3DVSDT_FLOAT1 .. D3DVSDT_SHORT4.
const UINT kElementSizes[8] = {4, 8, 12, 16, 4, 4, 4, 8};

// The preamble of every translated shader: registers, outputs and the helpers of the instructions.
const char* const kPreamble = R"(#version 130
uniform vec4 uShaderConstants[96];
uniform vec4 uViewport;  // left, top, width, height in render-target pixels
out vec4 vDiffuse;
out vec2 vTexCoord;
out float vFogDepth;

const float kMax = 3.402823466e38;
vec4 C(int i) { return i >= 0 && i < 96 ? uShaderConstants[i] : vec4(0.0); }
float Rcp(float x) { return x == 1.0 ? 1.0 : (x == 0.0 ? kMax : 1.0 / x); }
float Rsq(float x) { x = abs(x); return x == 1.0 ? 1.0 : (x == 0.0 ? kMax : inversesqrt(x)); }
vec4 Expp(float w) { float f = floor(w); return vec4(exp2(f), w - f, exp2(w), 1.0); }
vec4 Logp(float w) {
    float x = abs(w);
    if (x == 0.0) return vec4(-kMax, 1.0, -kMax, 1.0);
    float e = floor(log2(x));
    return vec4(e, x / exp2(e), log2(x), 1.0);
}
float Log(float w) { float x = abs(w); return x == 0.0 ? -kMax : log2(x); }
vec4 Lit(vec4 s) {
    vec4 d = vec4(1.0, 0.0, 0.0, 1.0);
    if (s.x > 0.0) {
        d.y = s.x;
        if (s.y > 0.0) d.z = pow(s.y, clamp(s.w, -127.9961, 127.9961));
    }
    return d;
}

void main() {
    vec4 r0 = vec4(0.0), r1 = vec4(0.0), r2 = vec4(0.0), r3 = vec4(0.0), r4 = vec4(0.0), r5 = vec4(0.0);
    vec4 r6 = vec4(0.0), r7 = vec4(0.0), r8 = vec4(0.0), r9 = vec4(0.0), r10 = vec4(0.0), r11 = vec4(0.0);
    vec4 a0 = vec4(0.0), t;
    vec4 oPos = vec4(0.0, 0.0, 0.0, 1.0), oD0 = vec4(1.0), oD1 = vec4(0.0), oFog = vec4(0.0), oPts = vec4(0.0);
    vec4 oT0 = vec4(0.0, 0.0, 0.0, 1.0), oT1 = oT0, oT2 = oT0, oT3 = oT0, oT4 = oT0, oT5 = oT0, oT6 = oT0, oT7 = oT0;
)";

// Pixel centres lie on integer screen coordinates, and clip depth runs from 0 to w.
const char* const kEpilogue = R"(
    vec4 clip = oPos;
    clip.xy += vec2(1.0 / uViewport.z, -1.0 / uViewport.w) * clip.w;
    clip.z = 2.0 * clip.z - clip.w;
    gl_Position = clip;
    vDiffuse = clamp(oD0, 0.0, 1.0);
    vTexCoord = oT0.xy;
    vFogDepth = oPos.w;
}
)";

DWORD RegType(DWORD token) { return (token & D3DSP_REGTYPE_MASK) >> D3DSP_REGTYPE_SHIFT; }
DWORD RegNumber(DWORD token) { return token & D3DSP_REGNUM_MASK; }

// Reads the code token by token and writes its GLSL.
class Translator {
public:
    Translator(const DWORD* code, std::string* why) : code_(code), why_(why) {}

    bool Run(std::string* glsl) {
        const DWORD version = Next();
        if (version != D3DVS_VERSION(1, 0) && version != D3DVS_VERSION(1, 1))
            return Fail("only vertex shader versions 1.0 and 1.1 run");
        std::string body;
        for (;;) {
            if (at_ >= kMaxTokens) return Fail("the shader code has no end");
            const DWORD token = Next();
            if (token == D3DVS_END()) break;
            if ((token & D3DSI_OPCODE_MASK) == D3DSIO_COMMENT) {
                at_ += (token & D3DSI_COMMENTSIZE_MASK) >> D3DSI_COMMENTSIZE_SHIFT;
                continue;
            }
            if (!Instruction(token, &body)) return false;
        }
        std::string inputs;
        for (DWORD v = 0; v < kShaderInputs; ++v)
            if (inputsRead_ & (1u << v)) inputs += "in vec4 v" + std::to_string(v) + ";\n";
        *glsl = std::string(kPreamble).insert(std::strlen("#version 130\n"), inputs) + body + kEpilogue;
        return true;
    }

private:
    DWORD Next() { return code_[at_++]; }
    bool Fail(const std::string& why) {
        *why_ = why;
        return false;
    }

    bool Instruction(DWORD token, std::string* out) {
        const ShaderOpcode* op = FindVertexShaderOpcode(token & D3DSI_OPCODE_MASK);
        if ((token & D3DSI_OPCODE_MASK) == D3DSIO_DEF)
            return Fail("def in shader code is not supported: constants belong in the declaration");
        if (!op) return Fail("instruction " + std::to_string(token & D3DSI_OPCODE_MASK) + " is not supported");
        if (!op->writes) return true;  // nop
        const DWORD dest = Next();
        std::string destName;
        if (!Destination(dest, &destName)) return false;
        std::string s[3];
        DWORD sourceTokens[3] = {};
        for (int i = 0; i < op->sources; ++i) {
            sourceTokens[i] = Next();
            if (!Source(sourceTokens[i], op->rows > 0 && i == 1 ? op->rows : 0, &s[i])) return false;
        }
        std::string value;
        switch (op->opcode) {
            case D3DSIO_MOV: value = s[0]; break;
            case D3DSIO_ADD: value = s[0] + " + " + s[1]; break;
            case D3DSIO_SUB: value = s[0] + " - " + s[1]; break;
            case D3DSIO_MUL: value = s[0] + " * " + s[1]; break;
            case D3DSIO_MAD: value = s[0] + " * " + s[1] + " + " + s[2]; break;
            case D3DSIO_DP3: value = "vec4(dot((" + s[0] + ").xyz, (" + s[1] + ").xyz))"; break;
            case D3DSIO_DP4: value = "vec4(dot(" + s[0] + ", " + s[1] + "))"; break;
            case D3DSIO_RCP: value = "vec4(Rcp((" + s[0] + ").w))"; break;
            case D3DSIO_RSQ: value = "vec4(Rsq((" + s[0] + ").w))"; break;
            case D3DSIO_MIN: value = "min(" + s[0] + ", " + s[1] + ")"; break;
            case D3DSIO_MAX: value = "max(" + s[0] + ", " + s[1] + ")"; break;
            case D3DSIO_SLT: value = "vec4(lessThan(" + s[0] + ", " + s[1] + "))"; break;
            case D3DSIO_SGE: value = "vec4(greaterThanEqual(" + s[0] + ", " + s[1] + "))"; break;
            case D3DSIO_EXP: value = "vec4(exp2((" + s[0] + ").w))"; break;
            case D3DSIO_LOG: value = "vec4(Log((" + s[0] + ").w))"; break;
            case D3DSIO_EXPP: value = "Expp((" + s[0] + ").w)"; break;
            case D3DSIO_LOGP: value = "Logp((" + s[0] + ").w)"; break;
            case D3DSIO_LIT: value = "Lit(" + s[0] + ")"; break;
            case D3DSIO_DST:
                value = "vec4(1.0, (" + s[0] + ").y * (" + s[1] + ").y, (" + s[0] + ").z, (" + s[1] + ").w)";
                break;
            case D3DSIO_FRC: value = "fract(" + s[0] + ")"; break;
            default: value = MatrixProduct(*op, s[0], sourceTokens[1]); break;
        }
        // The matrix macros write only the components they have rows for.
        DWORD mask = (dest & D3DSP_WRITEMASK_ALL) >> 16;
        if (op->rows) mask &= (1u << op->rows) - 1;
        if (RegType(dest) == D3DSPR_ADDR) {
            *out += "    t = " + value + ";\n    a0.x = floor(t.x);\n";
            return true;
        }
        const std::string components = Components(mask);
        if (components.empty()) return true;
        *out += "    t = " + value + ";\n    " + destName + "." + components + " = t." + components + ";\n";
        return true;
    }

    // m4x4 and its kin: a dot product of the first source with each row, the rows being
    // consecutive registers from the second source on.
    std::string MatrixProduct(const ShaderOpcode& op, const std::string& vector, DWORD rowToken) {
        const bool four = op.opcode == D3DSIO_M4x4 || op.opcode == D3DSIO_M4x3;
        std::string value = "vec4(";
        for (int i = 0; i < 4; ++i) {
            if (i) value += ", ";
            if (i >= op.rows) {
                value += "0.0";
                continue;
            }
            const std::string row = RegisterName(rowToken, (DWORD)i);
            value += four ? "dot(" + vector + ", " + row + ")" : "dot((" + vector + ").xyz, " + row + ".xyz)";
        }
        return value + ")";
    }

    static std::string Components(DWORD mask) {
        std::string s;
        for (int i = 0; i < 4; ++i)
            if (mask & (1u << i)) s += "xyzw"[i];
        return s;
    }

    bool Destination(DWORD token, std::string* name) {
        if (!(token & 0x80000000u)) return Fail("a destination token is damaged");
        const DWORD type = RegType(token), n = RegNumber(token);
        switch (type) {
            case D3DSPR_TEMP:
                if (n >= kShaderTemps) return Fail("there is no register r" + std::to_string(n));
                *name = "r" + std::to_string(n);
                return true;
            case D3DSPR_ADDR:
                if (n != 0) return Fail("there is no address register but a0");
                *name = "a0";
                return true;
            case D3DSPR_RASTOUT:
                if (n > D3DSRO_POINT_SIZE) return Fail("there is no such output");
                *name = n == D3DSRO_POSITION ? "oPos" : n == D3DSRO_FOG ? "oFog" : "oPts";
                return true;
            case D3DSPR_ATTROUT:
                if (n >= kShaderColours) return Fail("there is no output oD" + std::to_string(n));
                *name = "oD" + std::to_string(n);
                return true;
            case D3DSPR_TEXCRDOUT:
                if (n >= kShaderTexCoords) return Fail("there is no output oT" + std::to_string(n));
                *name = "oT" + std::to_string(n);
                return true;
            default: return Fail("inputs and constants cannot be written");
        }
    }

    // The register a source token names, moved on by `row` registers.
    std::string RegisterName(DWORD token, DWORD row) {
        const DWORD n = RegNumber(token) + row;
        switch (RegType(token)) {
            case D3DSPR_TEMP: return "r" + std::to_string(n);
            case D3DSPR_INPUT: return "v" + std::to_string(n);
            default:
                if (token & D3DVS_ADDRMODE_RELATIVE) return "C(int(a0.x) + " + std::to_string(n) + ")";
                return "uShaderConstants[" + std::to_string(n) + "]";
        }
    }

    // A source: its register (with `rows` consecutive ones for a matrix), swizzle and negation.
    bool Source(DWORD token, int rows, std::string* text) {
        if (!(token & 0x80000000u)) return Fail("a source token is damaged");
        const DWORD type = RegType(token), last = RegNumber(token) + (DWORD)(rows > 0 ? rows - 1 : 0);
        const DWORD count = type == D3DSPR_TEMP    ? kShaderTemps
                            : type == D3DSPR_INPUT ? kShaderInputs
                            : type == D3DSPR_CONST ? kShaderConstants
                                                   : 0;
        if (!count) return Fail("outputs and a0 cannot be read");
        if (last >= count) return Fail("a source names a register that does not exist");
        if ((token & D3DVS_ADDRMODE_RELATIVE) && type != D3DSPR_CONST)
            return Fail("only constants are read through a0");
        if (type == D3DSPR_INPUT)
            for (DWORD v = RegNumber(token); v <= last; ++v) inputsRead_ |= 1u << v;
        *text = RegisterName(token, 0);
        const DWORD swizzle = (token & D3DVS_SWIZZLE_MASK) >> D3DVS_SWIZZLE_SHIFT;
        if (swizzle != 0xE4) {
            *text += ".";
            for (int i = 0; i < 4; ++i) *text += "xyzw"[(swizzle >> (2 * i)) & 3];
        }
        const DWORD modifier = token & D3DSP_SRCMOD_MASK;
        if (modifier == D3DSPSM_NEG) {
            *text = "(-" + *text + ")";
        } else if (modifier != D3DSPSM_NONE) {
            return Fail("only negation modifies a source");
        }
        return true;
    }

    const DWORD* code_;
    std::string* why_;
    int at_ = 0;
    uint32_t inputsRead_ = 0;
};

}  // namespace

std::string TranslateVertexShader(const DWORD* function, std::string* why) {
    std::string glsl;
    if (!function) {
        *why = "there is no shader code";
        return glsl;
    }
    Translator translator(function, why);
    if (!translator.Run(&glsl)) glsl.clear();
    return glsl;
}

bool VertexShader::ReadDeclaration(const DWORD* declaration, std::string* why) {
    bool inStream = false;
    for (int i = 0; i < kMaxTokens; ++i) {
        const DWORD token = declaration[i];
        switch ((token & D3DVSD_TOKENTYPEMASK) >> D3DVSD_TOKENTYPESHIFT) {
            case D3DVSD_TOKEN_NOP: break;
            case D3DVSD_TOKEN_STREAM:
                if (token & D3DVSD_STREAMTESSMASK) return (*why = "tessellation streams are not supported", false);
                if ((token & D3DVSD_STREAMNUMBERMASK) != 0)
                    return (*why = "the device has one stream: stream 0", false);
                inStream = true;
                break;
            case D3DVSD_TOKEN_STREAMDATA: {
                if (!inStream) return (*why = "vertex data comes before its stream", false);
                if (token & D3DVSD_DATALOADTYPEMASK) {
                    vertexSize_ += 4 * ((token & D3DVSD_SKIPCOUNTMASK) >> D3DVSD_SKIPCOUNTSHIFT);
                    break;
                }
                const DWORD reg = token & D3DVSD_VERTEXREGMASK,
                            type = (token & D3DVSD_DATATYPEMASK) >> D3DVSD_DATATYPESHIFT;
                if (reg >= kShaderInputs || type > D3DVSDT_SHORT4) return (*why = "a stream element is damaged", false);
                elements_.push_back(StreamElement{reg, type, vertexSize_});
                vertexSize_ += kElementSizes[type];
                break;
            }
            case D3DVSD_TOKEN_CONSTMEM: {
                const DWORD count = (token & D3DVSD_CONSTCOUNTMASK) >> D3DVSD_CONSTCOUNTSHIFT;
                const DWORD first = (token & D3DVSD_CONSTADDRESSMASK) >> D3DVSD_CONSTADDRESSSHIFT;
                if (first + count > kShaderConstants) return (*why = "declared constants lie past c95", false);
                for (DWORD c = 0; c < count; ++c) {
                    DeclaredConstant constant = {first + c, {}};
                    std::memcpy(constant.value, &declaration[i + 1 + 4 * c], sizeof constant.value);
                    constants_.push_back(constant);
                }
                i += (int)(4 * count);
                break;
            }
            case D3DVSD_TOKEN_EXT: i += (int)((token >> 24) & 0x1F); break;
            case D3DVSD_TOKEN_END: return true;
            default: return (*why = "tessellation is not supported", false);
        }
    }
    *why = "the declaration has no end";
    return false;
}

std::unique_ptr<VertexShader> VertexShader::Create(const DWORD* declaration, const DWORD* function, std::string* why) {
    std::unique_ptr<VertexShader> shader(new VertexShader);
    if (!declaration) {
        *why = "a vertex shader needs a declaration";
        return nullptr;
    }
    if (!shader->ReadDeclaration(declaration, why)) return nullptr;
    const std::string source = TranslateVertexShader(function, why);
    if (source.empty()) return nullptr;
    if (!shader->general_.Build(source.c_str(), GeneralFragmentSource())) {
        *why = "the translated shader does not build";
        return nullptr;
    }
    shader->programs_.reset(new ProgramCache(source));
    return shader;
}

}  // namespace d3d8
