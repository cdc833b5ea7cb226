// d3d8_shader_opcodes.cpp -- the table of vertex shader 1.1 instructions.
#include "d3d8/d3d8_shader_opcodes.h"

#include <cstring>

namespace d3d8 {

namespace {

const ShaderOpcode kOpcodes[] = {
    {D3DSIO_NOP, "nop", false, 0, 0},   {D3DSIO_MOV, "mov", true, 1, 0},    {D3DSIO_ADD, "add", true, 2, 0},
    {D3DSIO_SUB, "sub", true, 2, 0},    {D3DSIO_MAD, "mad", true, 3, 0},    {D3DSIO_MUL, "mul", true, 2, 0},
    {D3DSIO_RCP, "rcp", true, 1, 0},    {D3DSIO_RSQ, "rsq", true, 1, 0},    {D3DSIO_DP3, "dp3", true, 2, 0},
    {D3DSIO_DP4, "dp4", true, 2, 0},    {D3DSIO_MIN, "min", true, 2, 0},    {D3DSIO_MAX, "max", true, 2, 0},
    {D3DSIO_SLT, "slt", true, 2, 0},    {D3DSIO_SGE, "sge", true, 2, 0},    {D3DSIO_EXP, "exp", true, 1, 0},
    {D3DSIO_LOG, "log", true, 1, 0},    {D3DSIO_LIT, "lit", true, 1, 0},    {D3DSIO_DST, "dst", true, 2, 0},
    {D3DSIO_FRC, "frc", true, 1, 0},    {D3DSIO_M4x4, "m4x4", true, 2, 4}, {D3DSIO_M4x3, "m4x3", true, 2, 3},
    {D3DSIO_M3x4, "m3x4", true, 2, 4}, {D3DSIO_M3x3, "m3x3", true, 2, 3}, {D3DSIO_M3x2, "m3x2", true, 2, 2},
    {D3DSIO_EXPP, "expp", true, 1, 0},  {D3DSIO_LOGP, "logp", true, 1, 0},
};

}  // namespace

const ShaderOpcode* FindVertexShaderOpcode(DWORD opcode) {
    for (const ShaderOpcode& op : kOpcodes)
        if (op.opcode == opcode) return &op;
    return nullptr;
}

const ShaderOpcode* FindVertexShaderOpcode(const char* name) {
    for (const ShaderOpcode& op : kOpcodes)
        if (std::strcmp(op.name, name) == 0) return &op;
    return nullptr;
}

}  // namespace d3d8
