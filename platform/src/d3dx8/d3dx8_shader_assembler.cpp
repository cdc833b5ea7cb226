// d3dx8_shader_assembler.cpp -- D3DXAssembleShader and D3DXAssembleShaderFromFile: vertex shader
// 1.0 and 1.1 text turned into shader code tokens, and its def lines into declaration tokens.
//
// The text: a version line (vs.1.0 or vs.1.1), then one instruction a line. Registers v0-v15,
// r0-r11, c0-c95 (also c[n], c[a0.x], c[a0.x + n]), a0.x, oPos, oD0-oD1, oT0-oT7, oFog, oPts;
// destination write masks, source swizzles and negation. Comments start with ';' or '//', or
// lie between '/*' and '*/'. There is no preprocessor and no pixel shader.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "d3d8/d3d8_shader_opcodes.h"
#include "d3dx8core.h"
#include "d3dx8mesh.h"
#include "win32/path_mapping.h"

namespace {

constexpr std::streamoff kMaxShaderFileBytes = 1 << 20;

// The text without its comments, which become spaces (line breaks stay, for the line numbers).
std::string StripComments(const std::string& text) {
    std::string out = text;
    for (size_t i = 0; i < out.size(); ++i) {
        if (out[i] == ';' || (out[i] == '/' && i + 1 < out.size() && out[i + 1] == '/')) {
            while (i < out.size() && out[i] != '\n') out[i++] = ' ';
        } else if (out[i] == '/' && i + 1 < out.size() && out[i + 1] == '*') {
            size_t end = out.find("*/", i + 2);
            end = end == std::string::npos ? out.size() : end + 2;
            for (; i < end; ++i)
                if (out[i] != '\n') out[i] = ' ';
            --i;
        }
    }
    return out;
}

std::string Lower(std::string s) {
    for (char& c : s) c = (char)std::tolower((unsigned char)c);
    return s;
}

// One line of shader text, read from left to right.
class LineReader {
public:
    explicit LineReader(const std::string& line) : s_(line) {}

    void SkipSpace() {
        while (pos_ < s_.size() && std::isspace((unsigned char)s_[pos_])) ++pos_;
    }
    bool AtEnd() {
        SkipSpace();
        return pos_ >= s_.size();
    }
    bool Take(char c) {
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    // Letters, digits, '_' and, when asked, '.' (for "vs.1.1").
    std::string Word(bool dots = false) {
        SkipSpace();
        size_t start = pos_;
        while (pos_ < s_.size() &&
               (std::isalnum((unsigned char)s_[pos_]) || s_[pos_] == '_' || (dots && s_[pos_] == '.')))
            ++pos_;
        return s_.substr(start, pos_ - start);
    }
    bool Number(float* value) {
        SkipSpace();
        const char* begin = s_.c_str() + pos_;
        char* end = nullptr;
        *value = std::strtof(begin, &end);
        if (end == begin) return false;
        pos_ += (size_t)(end - begin);
        return true;
    }
    bool Integer(DWORD* value) {
        SkipSpace();
        size_t start = pos_;
        DWORD v = 0;
        while (pos_ < s_.size() && std::isdigit((unsigned char)s_[pos_]) && v < 100000)
            v = v * 10 + DWORD(s_[pos_++] - '0');
        *value = v;
        return pos_ > start;
    }

private:
    std::string s_;
    size_t pos_ = 0;
};

struct Register {
    DWORD type = 0, number = 0;
    bool relative = false;
};

class Assembler {
public:
    explicit Assembler(std::string name) : name_(std::move(name)) {}

    bool Run(const std::string& text) {
        std::istringstream lines(StripComments(text));
        std::string line;
        while (std::getline(lines, line)) {
            ++lineNumber_;
            LineReader reader(line);
            if (reader.AtEnd()) continue;
            if (!Statement(reader)) return false;
        }
        if (!versionSeen_) return Fail("the shader has no version line (vs.1.0 or vs.1.1)");
        code_.push_back(D3DVS_END());
        return true;
    }

    const std::vector<DWORD>& Code() const { return code_; }
    const std::vector<DWORD>& Constants() const { return constants_; }
    const std::string& Errors() const { return errors_; }

private:
    bool Fail(const std::string& message) {
        char where[64];
        std::snprintf(where, sizeof where, "(%d): error: ", lineNumber_);
        errors_ += name_ + where + message + "\n";
        return false;
    }

    bool Statement(LineReader& r) {
        const std::string word = Lower(r.Word(true));
        if (!versionSeen_) {
            if (word == "vs.1.0" || word == "vs.1.1") {
                versionSeen_ = true;
                code_.push_back(D3DVS_VERSION(1, word == "vs.1.1" ? 1 : 0));
                return r.AtEnd() || Fail("unexpected text after the version");
            }
            if (word.compare(0, 3, "ps.") == 0) return Fail("pixel shaders are not supported");
            return Fail("the shader must start with its version (vs.1.0 or vs.1.1), not \"" + word + "\"");
        }
        if (word == "def") return Definition(r);
        const d3d8::ShaderOpcode* op = d3d8::FindVertexShaderOpcode(word.c_str());
        if (!op) return Fail("unknown instruction \"" + word + "\"");
        code_.push_back(op->opcode);
        if (op->writes && !Destination(r, op->opcode)) return false;
        for (int i = 0; i < op->sources; ++i) {
            if ((op->writes || i > 0) && !r.Take(',')) return Fail("a comma and an operand are missing");
            if (!Source(r, op->rows > 0 && i == 1)) return false;
        }
        return r.AtEnd() || Fail("unexpected text after the operands of " + word);
    }

    // def c#, x, y, z, w: a constant the declaration loads, given back apart from the code.
    bool Definition(LineReader& r) {
        Register reg;
        if (!RegisterName(r, &reg)) return false;
        if (reg.type != D3DSPR_CONST || reg.relative) return Fail("def sets a constant register c0-c95");
        float values[4];
        for (float& v : values)
            if (!r.Take(',') || !r.Number(&v)) return Fail("def needs four numbers");
        if (!r.AtEnd()) return Fail("unexpected text after def");
        constants_.push_back(D3DVSD_CONST(reg.number, 1));
        for (float v : values) {
            DWORD bits;
            std::memcpy(&bits, &v, 4);
            constants_.push_back(bits);
        }
        return true;
    }

    bool RegisterName(LineReader& r, Register* reg) {
        const std::string word = Lower(r.Word());
        if (word.empty()) return Fail("a register is missing");
        if (word == "c" && r.Take('[')) return ConstantIndex(r, reg);
        struct Named {
            const char* name;
            DWORD type, number;
        };
        static const Named kNamed[] = {{"opos", D3DSPR_RASTOUT, D3DSRO_POSITION},
                                       {"ofog", D3DSPR_RASTOUT, D3DSRO_FOG},
                                       {"opts", D3DSPR_RASTOUT, D3DSRO_POINT_SIZE},
                                       {"a0", D3DSPR_ADDR, 0}};
        for (const Named& n : kNamed)
            if (word == n.name) {
                reg->type = n.type;
                reg->number = n.number;
                return true;
            }
        struct Numbered {
            const char* prefix;
            DWORD type, count;
        };
        static const Numbered kNumbered[] = {{"od", D3DSPR_ATTROUT, d3d8::kShaderColours},
                                             {"ot", D3DSPR_TEXCRDOUT, d3d8::kShaderTexCoords},
                                             {"v", D3DSPR_INPUT, d3d8::kShaderInputs},
                                             {"r", D3DSPR_TEMP, d3d8::kShaderTemps},
                                             {"c", D3DSPR_CONST, d3d8::kShaderConstants}};
        for (const Numbered& n : kNumbered) {
            const size_t len = std::strlen(n.prefix);
            if (word.compare(0, len, n.prefix) != 0 || word.size() == len || word.size() > len + 3) continue;
            if (word.find_first_not_of("0123456789", len) != std::string::npos) continue;
            reg->type = n.type;
            reg->number = (DWORD)std::atoi(word.c_str() + len);
            if (reg->number >= n.count) return Fail("there is no register " + word);
            return true;
        }
        return Fail("unknown register \"" + word + "\"");
    }

    // c[n], c[a0.x], c[a0.x + n] or c[n + a0.x].
    bool ConstantIndex(LineReader& r, Register* reg) {
        reg->type = D3DSPR_CONST;
        bool haveNumber = false;
        do {
            DWORD n;
            if (r.Integer(&n)) {
                if (haveNumber) return Fail("one offset at most in a constant index");
                reg->number = n;
                haveNumber = true;
            } else if (Lower(r.Word()) == "a0" && r.Take('.') && Lower(r.Word()) == "x" && !reg->relative) {
                reg->relative = true;
            } else {
                return Fail("a constant index is a number, a0.x, or a0.x plus a number");
            }
        } while (r.Take('+'));
        if (!r.Take(']')) return Fail("']' is missing");
        if (reg->number >= d3d8::kShaderConstants)
            return Fail("there is no constant register " + std::to_string(reg->number));
        return true;
    }

    // Letters of x, y, z, w: one to four for a swizzle, which repeats its last; a write mask
    // names each component at most once, in order.
    bool Components(LineReader& r, bool mask, DWORD* bits) {
        const std::string letters = Lower(r.Word());
        static const char kNames[] = "xyzw";
        int picked[4];
        const size_t n = letters.size();
        if (n == 0 || n > 4) return Fail("bad component list \"." + letters + "\"");
        for (size_t i = 0; i < n; ++i) {
            const char* at = std::strchr(kNames, letters[i]);
            if (!at || !*at) return Fail("bad component list \"." + letters + "\"");
            picked[i] = (int)(at - kNames);
            if (mask && i > 0 && picked[i] <= picked[i - 1]) return Fail("a write mask names x, y, z, w in order");
        }
        *bits = 0;
        if (mask) {
            for (size_t i = 0; i < n; ++i) *bits |= 1u << picked[i];
        } else {
            for (size_t i = 0; i < 4; ++i) *bits |= (DWORD)picked[i < n ? i : n - 1] << (2 * i);
        }
        return true;
    }

    bool Destination(LineReader& r, DWORD opcode) {
        Register reg;
        if (!RegisterName(r, &reg)) return false;
        if (reg.type == D3DSPR_INPUT || reg.type == D3DSPR_CONST)
            return Fail("input and constant registers cannot be written");
        if (reg.type == D3DSPR_ADDR && opcode != D3DSIO_MOV) return Fail("a0 is written with mov only");
        DWORD mask = 0xF;
        if (r.Take('.') && !Components(r, true, &mask)) return false;
        if (reg.type == D3DSPR_ADDR && mask != 1) return Fail("a0 is written as a0.x");
        code_.push_back(0x80000000u | (reg.type << D3DSP_REGTYPE_SHIFT) | reg.number | (mask << 16));
        return true;
    }

    bool Source(LineReader& r, bool matrixRows) {
        const bool negate = r.Take('-');
        Register reg;
        if (!RegisterName(r, &reg)) return false;
        if (reg.type != D3DSPR_TEMP && reg.type != D3DSPR_INPUT && reg.type != D3DSPR_CONST)
            return Fail("outputs and a0 cannot be read");
        DWORD swizzle = 0xE4;
        if (r.Take('.') && !Components(r, false, &swizzle)) return false;
        if (matrixRows && (negate || swizzle != 0xE4)) return Fail("the rows of a matrix are read whole");
        code_.push_back(0x80000000u | (reg.type << D3DSP_REGTYPE_SHIFT) | reg.number |
                        (swizzle << D3DVS_SWIZZLE_SHIFT) | (negate ? D3DSPSM_NEG : D3DSPSM_NONE) |
                        (reg.relative ? D3DVS_ADDRMODE_RELATIVE : D3DVS_ADDRMODE_ABSOLUTE));
        return true;
    }

    std::string name_;
    int lineNumber_ = 0;
    bool versionSeen_ = false;
    std::vector<DWORD> code_, constants_;
    std::string errors_;
};

HRESULT MakeBuffer(const void* data, size_t bytes, LPD3DXBUFFER* out) {
    HRESULT hr = D3DXCreateBuffer((DWORD)bytes, out);
    if (SUCCEEDED(hr) && bytes) std::memcpy((*out)->GetBufferPointer(), data, bytes);
    return hr;
}

HRESULT Assemble(const std::string& name, const std::string& text, LPD3DXBUFFER* ppConstants,
                 LPD3DXBUFFER* ppCompiledShader, LPD3DXBUFFER* ppCompilationErrors) {
    Assembler assembler(name);
    if (!assembler.Run(text)) {
        if (ppCompilationErrors)
            MakeBuffer(assembler.Errors().c_str(), assembler.Errors().size() + 1, ppCompilationErrors);
        return D3DXERR_INVALIDDATA;
    }
    const auto& code = assembler.Code();
    const auto& constants = assembler.Constants();
    HRESULT hr = MakeBuffer(code.data(), code.size() * sizeof(DWORD), ppCompiledShader);
    if (SUCCEEDED(hr) && ppConstants) {
        hr = MakeBuffer(constants.data(), constants.size() * sizeof(DWORD), ppConstants);
        if (FAILED(hr)) {
            (*ppCompiledShader)->Release();
            *ppCompiledShader = nullptr;
        }
    }
    return hr;
}

void ClearOutputs(LPD3DXBUFFER* ppConstants, LPD3DXBUFFER* ppCompiledShader, LPD3DXBUFFER* ppCompilationErrors) {
    for (LPD3DXBUFFER* out : {ppConstants, ppCompiledShader, ppCompilationErrors})
        if (out) *out = nullptr;
}

}  // namespace

HRESULT WINAPI D3DXAssembleShader(LPCVOID pSrcData, UINT SrcDataLen, DWORD, LPD3DXBUFFER* ppConstants,
                                  LPD3DXBUFFER* ppCompiledShader, LPD3DXBUFFER* ppCompilationErrors) {
    ClearOutputs(ppConstants, ppCompiledShader, ppCompilationErrors);
    if (!pSrcData || !ppCompiledShader) return D3DERR_INVALIDCALL;
    const std::string text(static_cast<const char*>(pSrcData), SrcDataLen);
    return Assemble("", text, ppConstants, ppCompiledShader, ppCompilationErrors);
}

HRESULT WINAPI D3DXAssembleShaderFromFileA(LPCSTR pSrcFile, DWORD, LPD3DXBUFFER* ppConstants,
                                           LPD3DXBUFFER* ppCompiledShader, LPD3DXBUFFER* ppCompilationErrors) {
    ClearOutputs(ppConstants, ppCompiledShader, ppCompilationErrors);
    if (!pSrcFile || !ppCompiledShader) return D3DERR_INVALIDCALL;
    std::ifstream file(pathmap::MapWindowsPath(pSrcFile), std::ios::binary | std::ios::ate);
    const std::streamoff size = file ? (std::streamoff)file.tellg() : -1;
    std::string text(size > 0 && size <= kMaxShaderFileBytes ? (size_t)size : 0, '\0');
    if (size > 0 && size <= kMaxShaderFileBytes) file.seekg(0).read(&text[0], size);
    if (!file || size > kMaxShaderFileBytes) {
        const std::string error = std::string(pSrcFile) + ": error: the file cannot be read\n";
        if (ppCompilationErrors) MakeBuffer(error.c_str(), error.size() + 1, ppCompilationErrors);
        return E_FAIL;
    }
    return Assemble(pSrcFile, text, ppConstants, ppCompiledShader, ppCompilationErrors);
}
