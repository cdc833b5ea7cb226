// d3d8_vertex_shader.h -- a vertex shader of the device: the stream layout its declaration gives,
// the constants the declaration loads, and its code translated to a GLSL vertex stage, linked
// with the fixed-function fragment programs.
#pragma once

#include "d3d8/d3d8_program.h"

#include <memory>
#include <string>
#include <vector>

namespace d3d8 {

// Handles of vertex shaders have their lowest bit set, which no vertex format has.
inline bool IsShaderHandle(DWORD handle) { return (handle & 1u) != 0; }

// One vertex register the stream fills: its type (D3DVSDT_*) and where it lies in a vertex.
struct StreamElement {
    DWORD reg;
    DWORD type;
    UINT offset;
};

struct DeclaredConstant {
    DWORD reg;
    float value[4];
};

class VertexShader {
public:
    // Reads the declaration and the shader code, and builds the shader's general program. Null
    // with the reason in `why` for what the device does not run.
    static std::unique_ptr<VertexShader> Create(const DWORD* declaration, const DWORD* function, std::string* why);

    const std::vector<StreamElement>& Elements() const { return elements_; }
    UINT VertexSize() const { return vertexSize_; }  // bytes of a vertex the declaration reads
    const std::vector<DeclaredConstant>& Constants() const { return constants_; }
    ProgramCache& Programs() { return *programs_; }
    Program& General() { return general_; }

private:
    VertexShader() = default;
    bool ReadDeclaration(const DWORD* declaration, std::string* why);

    std::vector<StreamElement> elements_;
    UINT vertexSize_ = 0;
    std::vector<DeclaredConstant> constants_;
    std::unique_ptr<ProgramCache> programs_;
    Program general_;
};

// The GLSL vertex stage of vertex shader 1.0 / 1.1 code; empty with the reason in `why` when the
// code is not valid or uses what is not supported.
std::string TranslateVertexShader(const DWORD* function, std::string* why);

}  // namespace d3d8
