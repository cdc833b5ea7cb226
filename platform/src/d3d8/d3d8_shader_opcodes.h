// d3d8_shader_opcodes.h -- the instructions of vertex shader 1.1, shared by the assembler of D3DX
// and the device's translation of shader code.
#pragma once

#include "d3d8.h"

namespace d3d8 {

struct ShaderOpcode {
    DWORD opcode;
    const char* name;  // as written in shader text, lower case
    bool writes;       // has a destination (every instruction but nop)
    int sources;
    int rows;  // a matrix macro: the rows it takes from its second source, one per written component
};

// The vertex shader instruction of a code or a name (lower case); null for any other.
const ShaderOpcode* FindVertexShaderOpcode(DWORD opcode);
const ShaderOpcode* FindVertexShaderOpcode(const char* name);

// Vertex shader 1.1 registers.
constexpr DWORD kShaderInputs = 16;     // v0-v15
constexpr DWORD kShaderTemps = 12;      // r0-r11
constexpr DWORD kShaderConstants = 96;  // c0-c95
constexpr DWORD kShaderTexCoords = 8;   // oT0-oT7
constexpr DWORD kShaderColours = 2;     // oD0, oD1

}  // namespace d3d8
