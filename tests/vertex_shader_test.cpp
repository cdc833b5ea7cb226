// vertex_shader_test.cpp -- vertex shader text assembled into tokens, and shaders run on the
// device: a transformed and coloured quad read back, each kind of instruction, declared
// constants, and what the device refuses.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "d3dx8.h"
#include "device_fixture.h"
#include "scratch_dir.h"
#include "utils/d3dutil.h"

namespace {

std::vector<DWORD> Assemble(const std::string& text, HRESULT* hr, std::string* errors = nullptr,
                            std::vector<DWORD>* constants = nullptr) {
    ID3DXBuffer *code = nullptr, *defs = nullptr, *messages = nullptr;
    *hr = D3DXAssembleShader(text.data(), (UINT)text.size(), 0, &defs, &code, &messages);
    std::vector<DWORD> tokens;
    if (code) {
        const DWORD* p = static_cast<const DWORD*>(code->GetBufferPointer());
        tokens.assign(p, p + code->GetBufferSize() / 4);
        code->Release();
    }
    if (defs) {
        const DWORD* p = static_cast<const DWORD*>(defs->GetBufferPointer());
        if (constants) constants->assign(p, p + defs->GetBufferSize() / 4);
        defs->Release();
    }
    if (messages) {
        if (errors) *errors = static_cast<const char*>(messages->GetBufferPointer());
        messages->Release();
    }
    return tokens;
}

}  // namespace

TEST(ShaderAssembler, TextBecomesVersionInstructionParameterAndEndTokens) {
    HRESULT hr;
    std::vector<DWORD> constants;
    const std::vector<DWORD> tokens = Assemble(
        "vs.1.1 ; the version\n"
        "def c3, 1.0, -2, 0.5, 4\n"
        "mov r1.xw, -v2.zyxw // two components\n"
        "/* relative */ add oD0, c[a0.x + 2], r11.yz\n"
        "m4x4 oPos, v0, c[4]\n"
        "mov a0.x, r1.x\n",
        &hr, nullptr, &constants);
    ASSERT_EQ(hr, S_OK);
    // One instruction a line: its opcode, its destination and its sources.
    const std::vector<DWORD> expected = {
        0xFFFE0101,
        D3DSIO_MOV, 0x80090001, 0x81C60002 | (1u << 28),                           // r1.xw, -v2.zyxw
        D3DSIO_ADD, 0x800F0000 | (5u << 28), 0x80E42002 | (2u << 28), 0x80A9000B,  // c[a0.x+2], r11.yzzz
        D3DSIO_M4x4, 0x800F0000 | (4u << 28), 0x80E40000 | (1u << 28), 0x80E40004 | (2u << 28),
        D3DSIO_MOV, 0x80010000 | (3u << 28), 0x80000001,  // a0.x, r1.x
        0x0000FFFF};
    EXPECT_EQ(tokens, expected);
    EXPECT_EQ(constants, (std::vector<DWORD>{D3DVSD_CONST(3, 1), FloatBits(1.0f), FloatBits(-2.0f),
                                             FloatBits(0.5f), FloatBits(4.0f)}));
}

TEST(ShaderAssembler, MistakesAreReportedWithTheirLine) {
    const char* kBad[] = {
        "mov r0, v0\n",                   // no version
        "ps.1.1\nmov r0, v0\n",           // a pixel shader
        "vs.1.1\nmove r0, v0\n",          // unknown instruction
        "vs.1.1\nmov v0, r0\n",           // inputs are read only
        "vs.1.1\nmov r0.yx, v0\n",        // mask out of order
        "vs.1.1\nmov r12, v0\n",          // no such register
        "vs.1.1\nmov r0, c96\n",          // past the constants
        "vs.1.1\nadd r0, v0\n",           // an operand missing
        "vs.1.1\nm4x4 oPos, v0, c0.x\n",  // rows read whole
        "vs.1.1\nmov a0.y, r0.x\n",       // a0 is written as a0.x
        "vs.1.1\nmov r0, oPos\n",         // outputs are not read
    };
    for (const char* text : kBad) {
        SCOPED_TRACE(text);
        HRESULT hr;
        std::string errors;
        EXPECT_TRUE(Assemble(text, &hr, &errors).empty());
        EXPECT_EQ(hr, D3DXERR_INVALIDDATA);
        EXPECT_NE(errors.find("): error: "), std::string::npos) << errors;
    }
}

namespace {

struct ShaderVertex {  // v0 position, v5 colour, v7 texture coordinates
    float x, y, z;
    DWORD colour;
    float u, v;
};

class VertexShaderDevice : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        Plain2DStates();
    }
    void TearDown() override {
        for (DWORD h : shaders_) device_->DeleteVertexShader(h);
        DeviceTest::TearDown();
    }
    // Stream 0 of ShaderVertex into v0, v5 and v7, then the shader's constants.
    static std::vector<DWORD> Declaration(const std::vector<DWORD>& constants = {}) {
        std::vector<DWORD> declaration = {D3DVSD_STREAM(0), D3DVSD_REG(D3DVSDE_POSITION, D3DVSDT_FLOAT3),
                                          D3DVSD_REG(D3DVSDE_DIFFUSE, D3DVSDT_D3DCOLOR),
                                          D3DVSD_REG(D3DVSDE_TEXCOORD0, D3DVSDT_FLOAT2)};
        declaration.insert(declaration.end(), constants.begin(), constants.end());
        declaration.push_back(D3DVSD_END());
        return declaration;
    }
    DWORD Create(const std::string& text) {
        HRESULT hr;
        std::vector<DWORD> constants;
        const std::vector<DWORD> code = Assemble(text, &hr, nullptr, &constants);
        EXPECT_EQ(hr, S_OK) << text;
        const std::vector<DWORD> declaration = Declaration(constants);
        DWORD handle = 0;
        EXPECT_EQ(device_->CreateVertexShader(declaration.data(), code.data(), &handle, 0), D3D_OK) << text;
        shaders_.push_back(handle);
        return handle;
    }
    // A quad from (x0, y0) to (x1, y1) in the shader's input space.
    void DrawQuad(DWORD shader, float x0, float y0, float x1, float y1, DWORD colour, float z = 0.5f) {
        const ShaderVertex v[4] = {{x0, y0, z, colour, 0, 1},
                                   {x0, y1, z, colour, 0, 0},
                                   {x1, y0, z, colour, 1, 1},
                                   {x1, y1, z, colour, 1, 0}};
        Upload(v, 4, shader);
        EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    }
    void SetConstant(DWORD reg, float x, float y, float z, float w) {
        const float v[4] = {x, y, z, w};
        ASSERT_EQ(device_->SetVertexShaderConstant(reg, v, 1), D3D_OK);
    }
    // c0-c3 = the transpose of m, so that m4x4 oPos, v0, c0 transforms as m does.
    void SetMatrixConstants(const D3DXMATRIX& m) {
        D3DXMATRIX t;
        D3DXMatrixTranspose(&t, &m);
        ASSERT_EQ(device_->SetVertexShaderConstant(0, &t, 4), D3D_OK);
    }
    std::vector<DWORD> shaders_;
};

void ExpectColour(uint32_t pixel, int r, int g, int b) {
    EXPECT_NEAR(RedOf(pixel), r, 1);
    EXPECT_NEAR(GreenOf(pixel), g, 1);
    EXPECT_NEAR(BlueOf(pixel), b, 1);
}

}  // namespace

TEST_F(VertexShaderDevice, AShaderFromAFileTransformsAndColoursAQuad) {
    ScratchDir scratch;
    std::ofstream("quad.vsh") << "vs.1.1\n"
                                 "m4x4 oPos, v0, c0      ; place the quad\n"
                                 "mul oD0, v5, c4        ; tint its colour\n"
                                 "mov oT0, v7\n";
    DWORD shader = 0;
    ASSERT_EQ(CreateVertexShaderFromFile(device_, "media\\quad.vsh", Declaration().data(), &shader), D3D_OK);
    shaders_.push_back(shader);

    D3DXMATRIX move;
    D3DXMatrixTranslation(&move, 0.5f, 0.0f, 0.0f);
    SetMatrixConstants(move);
    SetConstant(4, 0.0f, 1.0f, 0.5f, 1.0f);
    Clear(D3DCLEAR_TARGET);
    DrawQuad(shader, -0.5f, -0.5f, 0.5f, 0.5f, 0xFFFFFF00);  // yellow, tinted to green
    ExpectColour(Pixel(48, 24), 0, 255, 0);
    EXPECT_EQ(Pixel(16, 24), 0u);  // moved right, off the left half
    EXPECT_EQ(Pixel(48, 4), 0u);

    // The fixed-function formats draw as before once the shader is left.
    DrawClipQuad(-1.0f, -1.0f, -0.5f, 1.0f, 0.5f, 0xFF0000FF);
    ExpectColour(Pixel(4, 24), 0, 0, 255);
    DWORD current = 0;
    device_->GetVertexShader(&current);
    EXPECT_EQ(current, kSceneFvf);
}

TEST_F(VertexShaderDevice, PositionsKeepPixelCentresOnIntegersAndDepthsFromZeroToW) {
    // A quad whose top-left corner lies at (32.25, 24.25) on the 64 x 48 target covers pixels
    // from (33, 25) on: the centres of column 32 and row 24 lie left of and above it.
    const DWORD shader = Create("vs.1.1\nmov oPos, v0\nmov oD0, v5\n");
    Clear(D3DCLEAR_TARGET);
    DrawQuad(shader, 32.25f / 32.0f - 1.0f, -1.0f, 1.0f, 1.0f - 24.25f / 24.0f, 0xFFFFFFFF);
    EXPECT_EQ(Pixel(32, 30), 0u);
    EXPECT_EQ(Pixel(33, 30), 0xFFFFFFu);
    EXPECT_EQ(Pixel(40, 24), 0u);
    EXPECT_EQ(Pixel(40, 25), 0xFFFFFFu);
    DrawQuad(shader, -1, -1, 1, 1, 0xFFFF0000, -0.1f);  // in front of the near plane: clipped
    EXPECT_EQ(Pixel(8, 8), 0u);
}

TEST_F(VertexShaderDevice, EachKindOfInstructionComputesItsValue) {
    struct Case {
        const char* code;  // after placing the quad over the whole target
        int r, g, b;
    };
    const Case kCases[] = {
        {"mov oD0, c5.zyxw", 191, 128, 64},
        {"add r0, c5, -c5.x\nmad oD0.xyz, r0, c6.y, c6.x", 26, 153, 255},
        {"dp3 oD0.x, c5, c6.zwxy\nrcp oD0.y, c7.x\nrsq oD0.z, c7.y", 83, 64, 64},
        {"slt oD0.x, c5.x, c5.y\nsge oD0.y, c5.x, c5.y\nmax oD0.z, c5.x, c5.z", 255, 0, 191},
        {"frc oD0.x, c7.z\nexpp r0, c7.w\nmov oD0.y, r0.y\nlit r1, c8\nmov oD0.z, r1.z", 64, 128, 64},
        {"mov a0.x, c9.x\nmov oD0, c[a0.x + 1]\nmov oD0.z, c[a0.x + 95].x", 64, 128, 0},  // c99 reads 0
        {"dp4 r0.x, c5, c8\nmin oD0.x, r0.x, c6.y\ndst oD0.yz, c5, c8\nexp r2.w, c8.x\nlog r3, c10.w\n"
         "mul r4, r2.w, r3.z\nmul oD0.z, r4, c5.x",
         255, 64, 90},
        {"mov r0, c5\nm3x3 r0, c5, c5\nmov oD0, r0.x\nm3x2 r1, c8, c5\nmul oD0.y, r1.y, c5.x\nmul oD0.z, r0.w, c5.z",
         223, 67, 191},  // m3x3 leaves w alone
        {"sub r0, c5.wzyx, c5\nlogp r1, c7\nmov oD0.x, r0.x\nmul oD0.y, r1.y, c5.y\nmov oD0.z, r1.z",
         191, 191, 149},
        // m4x3 dots all four components with three rows (w stays), m3x4 three with four rows.
        {"mov r0, c5\nm4x3 r0, c10, c5\nm3x4 r1, c8, c5\nmul oD0.x, r0.z, c5.x\nmul oD0.y, r0.w, c5.z\n"
         "mov oD0.z, r1.w", 191, 191, 128},
    };
    // c9.x 4.7 makes a0.x 4; the log2 of c10.w is 1; logp of c7.w 1.5 gives mantissa 1.5, log2 0.585.
    const float kConstants[7][5] = {{5, 0.25f, 0.5f, 0.75f, 1}, {6, 0.1f, 2, 1, 0}, {7, 4, 16, 2.25f, 1.5f},
                                    {8, 0.5f, 0.5f, 0, 2},        {9, 4.7f, 0, 0, 0}, {10, 0, 0, 0, 2},
                                    {95, 1, 1, 1, 1}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.code);
        const DWORD shader = Create(std::string("vs.1.1\nmov oPos, v0\n") + c.code);
        for (const auto& k : kConstants) SetConstant(DWORD(k[0]), k[1], k[2], k[3], k[4]);
        Clear(D3DCLEAR_TARGET);
        DrawQuad(shader, -1, -1, 1, 1, 0xFFFFFFFF);
        ExpectColour(Pixel(32, 24), c.r, c.g, c.b);
    }
}

TEST_F(VertexShaderDevice, DefinedConstantsLoadWithTheShaderAndStateBlocksRecordConstants) {
    // The def goes into the declaration, which loads c4 whenever the shader is set.
    const DWORD shader = Create("vs.1.1\ndef c4, 1, 0, 0, 1\nmov oPos, v0\nmov oD0, c4\n");
    SetConstant(4, 0, 0, 1, 1);
    device_->SetVertexShader(kSceneFvf);
    Clear(D3DCLEAR_TARGET);
    DrawQuad(shader, -1, -1, 1, 1, 0xFFFFFFFF);  // Upload sets the shader: c4 is red again
    ExpectColour(Pixel(32, 24), 255, 0, 0);

    float value[4] = {0, 1, 0, 1}, read[4] = {};
    DWORD block = 0;
    ASSERT_EQ(device_->BeginStateBlock(), D3D_OK);
    ASSERT_EQ(device_->SetVertexShaderConstant(4, value, 1), D3D_OK);
    ASSERT_EQ(device_->EndStateBlock(&block), D3D_OK);
    device_->GetVertexShaderConstant(4, read, 1);
    EXPECT_EQ(read[0], 1.0f);  // recorded, not set
    ASSERT_EQ(device_->ApplyStateBlock(block), D3D_OK);
    device_->GetVertexShaderConstant(4, read, 1);
    EXPECT_EQ(read[1], 1.0f);
    device_->DeleteStateBlock(block);
    EXPECT_EQ(device_->SetVertexShaderConstant(95, value, 2), D3DERR_INVALIDCALL);
}

TEST_F(VertexShaderDevice, WhatTheDeviceCannotRunIsRefusedAndADeletedShaderDrawsNothing) {
    HRESULT hr;
    const std::vector<DWORD> code = Assemble("vs.1.1\nmov oPos, v0\n", &hr);
    const DWORD secondStream[] = {D3DVSD_STREAM(1), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_END()};
    const DWORD plain[] = {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_END()};
    const DWORD withDef[] = {0xFFFE0101, D3DSIO_DEF, 0x800F0000 | (2u << 28), 0, 0, 0, 0, 0x0000FFFF};
    const DWORD pixelShader[] = {0xFFFF0101, 0x0000FFFF};
    DWORD handle = 123;
    EXPECT_EQ(device_->CreateVertexShader(secondStream, code.data(), &handle, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(device_->CreateVertexShader(plain, nullptr, &handle, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreateVertexShader(plain, withDef, &handle, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreateVertexShader(plain, pixelShader, &handle, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetVertexShader(0x1235), D3DERR_INVALIDCALL);
    D3DCAPS8 caps;
    device_->GetDeviceCaps(&caps);
    EXPECT_EQ(caps.VertexShaderVersion, D3DVS_VERSION(1, 1));
    EXPECT_EQ(caps.MaxVertexShaderConst, 96u);
    EXPECT_EQ(caps.PixelShaderVersion, 0u);

    const DWORD shader = Create("vs.1.1\nmov oPos, v0\nmov oD0, c0\n");
    DrawQuad(shader, -1, -1, 1, 1, 0xFFFFFFFF);
    ASSERT_EQ(device_->DeleteVertexShader(shader), D3D_OK);
    EXPECT_EQ(device_->DeleteVertexShader(shader), D3DERR_INVALIDCALL);
    shaders_.clear();
    DWORD current = 1;
    device_->GetVertexShader(&current);
    EXPECT_EQ(current, 0u);
    EXPECT_EQ(device_->SetVertexShader(shader), D3DERR_INVALIDCALL);
}
