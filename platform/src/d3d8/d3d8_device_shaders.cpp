// d3d8_device_shaders.cpp -- the device's vertex shaders: creating and deleting them, setting one
// in place of a vertex format, its constant registers, and binding stream 0 as its declaration
// lays the vertex out.
#include "d3d8/d3d8_device.h"

#include <cstdio>
#include <cstring>

namespace d3d8 {

namespace {

// How GL reads each element type, D3DVSDT_FLOAT1 .. D3DVSDT_SHORT4. A colour's bytes B, G, R, A
// become (R, G, B, A) from 0 to 1; missing components read as 0, and w as 1.
struct ElementFormat {
    GLint size;
    GLenum type;
    GLboolean normalised;
};
const ElementFormat kElementFormats[8] = {
    {1, GL_FLOAT, GL_FALSE},
    {2, GL_FLOAT, GL_FALSE},
    {3, GL_FLOAT, GL_FALSE},
    {4, GL_FLOAT, GL_FALSE},
    {GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE},
    {4, GL_UNSIGNED_BYTE, GL_FALSE},
    {2, GL_SHORT, GL_FALSE},
    {4, GL_SHORT, GL_FALSE},
};

}  // namespace

VertexShader* Device::FindShader(DWORD handle) {
    if (!IsShaderHandle(handle)) return nullptr;
    auto it = shaders_.find(handle);
    return it == shaders_.end() ? nullptr : it->second.get();
}

HRESULT Device::CreateVertexShader(CONST DWORD* pDeclaration, CONST DWORD* pFunction, DWORD* pHandle, DWORD) {
    if (!pHandle) return D3DERR_INVALIDCALL;
    *pHandle = 0;
    std::string why = "fixed-function processing of a declared stream (no shader code) is not supported";
    std::unique_ptr<VertexShader> shader = pFunction ? VertexShader::Create(pDeclaration, pFunction, &why) : nullptr;
    if (!shader) {
        std::fprintf(stderr, "Direct3D layer: CreateVertexShader: %s\n", why.c_str());
        return D3DERR_INVALIDCALL;
    }
    const DWORD handle = (nextShaderHandle_++ << 1) | 1u;
    shaders_[handle] = std::move(shader);
    *pHandle = handle;
    return D3D_OK;
}

HRESULT Device::DeleteVertexShader(DWORD Handle) {
    auto it = shaders_.find(Handle);
    if (it == shaders_.end()) return D3DERR_INVALIDCALL;
    // Its programs go with it: nothing may still point at them.
    if (state_.vertexShader == Handle) state_.vertexShader = 0;
    chosen_ = nullptr;
    program_ = nullptr;
    dirty_ |= kDirtyProgram;
    bound_ = BoundFormat();
    shaders_.erase(it);
    return D3D_OK;
}

void Device::ApplyVertexShader(DWORD handle) {
    if (handle != state_.vertexShader && (IsShaderHandle(handle) || IsShaderHandle(state_.vertexShader)))
        dirty_ |= kDirtyProgram;
    state_.vertexShader = handle;
    if (VertexShader* shader = FindShader(handle))
        for (const DeclaredConstant& c : shader->Constants()) ApplyShaderConstants(c.reg, c.value, 1);
}

HRESULT Device::SetVertexShaderConstant(DWORD Register, CONST void* pConstantData, DWORD ConstantCount) {
    if (!pConstantData || Register >= kShaderConstants || ConstantCount > kShaderConstants - Register)
        return D3DERR_INVALIDCALL;
    const float* values = static_cast<const float*>(pConstantData);
    if (recording_) {
        for (DWORD c = 0; c < ConstantCount; ++c) {
            recording_->shaderConstants.set(Register + c);
            std::memcpy(recording_->values.shaderConstants[Register + c], values + 4 * c, 16);
        }
        return D3D_OK;
    }
    ApplyShaderConstants(Register, values, ConstantCount);
    return D3D_OK;
}

void Device::ApplyShaderConstants(DWORD first, const float* values, DWORD count) {
    std::memcpy(state_.shaderConstants[first], values, (size_t)count * 16);
    Changed(kUniformShaderConstants);
}

HRESULT Device::GetVertexShaderConstant(DWORD Register, void* pConstantData, DWORD ConstantCount) {
    if (!pConstantData || Register >= kShaderConstants || ConstantCount > kShaderConstants - Register)
        return D3DERR_INVALIDCALL;
    std::memcpy(pConstantData, state_.shaderConstants[Register], (size_t)ConstantCount * 16);
    return D3D_OK;
}

void Device::SendShaderConstants(const Program& program) {
    if (program.shaderConstants >= 0)
        gl::Uniform4fv(program.shaderConstants, (GLsizei)kShaderConstants, &state_.shaderConstants[0][0]);
}

bool Device::BindShaderStream(VertexShader* shader, UINT vertexCount) {
    const VertexBuffer* vb = static_cast<const VertexBuffer*>(state_.stream);
    if (!shader || !vb || state_.stride < shader->VertexSize()) return false;
    // Every vertex the draw may read must lie inside the buffer.
    if ((uint64_t)(vertexCount - 1) * state_.stride + shader->VertexSize() > vb->Store().Length()) return false;

    pretransformed_ = 0;
    BoundFormat wanted;
    wanted.buffer = vb->Store().Name();
    wanted.generation = context_->bufferGeneration;
    wanted.stride = state_.stride;
    wanted.fvf = state_.vertexShader;
    wanted.texCoordIndex = 0;
    if (bound_ == wanted) return true;
    bound_ = wanted;

    gl::BindBuffer(GL_ARRAY_BUFFER, wanted.buffer);
    uint32_t enabled = 0;
    for (const StreamElement& e : shader->Elements()) {
        const ElementFormat& f = kElementFormats[e.type];
        gl::VertexAttribPointer(e.reg, f.size, f.type, f.normalised, (GLsizei)state_.stride,
                                reinterpret_cast<const void*>((uintptr_t)e.offset));
        gl::EnableVertexAttribArray(e.reg);
        enabled |= 1u << e.reg;
    }
    // Registers the stream does not fill read (0, 0, 0, 1).
    for (GLuint reg = 0; reg < kShaderInputs; ++reg) {
        if (enabled & (1u << reg)) continue;
        gl::DisableVertexAttribArray(reg);
        gl::VertexAttrib4f(reg, 0, 0, 0, 1);
    }
    gl::BindBuffer(GL_ARRAY_BUFFER, 0);
    shaderAttributes_ = enabled & ~((1u << (kAttrTexCoord + 1)) - 1);
    return true;
}

void Device::ReleaseShaderAttributes() {
    for (GLuint reg = kAttrTexCoord + 1; reg < kShaderInputs; ++reg)
        if (shaderAttributes_ & (1u << reg)) gl::DisableVertexAttribArray(reg);
    shaderAttributes_ = 0;
}

}  // namespace d3d8
