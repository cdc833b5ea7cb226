// d3d8_draw.cpp -- the draw path: vertex formats, choosing the program, sending changed state to
// GL, and the draw calls.
#include "d3d8/d3d8_control.h"
#include "d3d8/d3d8_device.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace d3d8 {

namespace {

float BitsFloat(DWORD d) {
    float f;
    std::memcpy(&f, &d, sizeof f);
    return f;
}

void ColourToFloats(D3DCOLOR c, float out[4]) {
    out[0] = ((c >> 16) & 0xFF) / 255.0f;
    out[1] = ((c >> 8) & 0xFF) / 255.0f;
    out[2] = (c & 0xFF) / 255.0f;
    out[3] = ((c >> 24) & 0xFF) / 255.0f;
}

// Where the parts of a vertex of a flexible format lie.
struct VertexLayout {
    bool valid = false;
    bool pretransformed = false;
    UINT size = 0;
    int normal = -1, diffuse = -1, texCoord = -1;
    int texCoordSize = 2;
};

VertexLayout ParseFvf(DWORD fvf, DWORD texCoordIndex) {
    VertexLayout l;
    UINT off = 0;
    switch (fvf & D3DFVF_POSITION_MASK) {
        case D3DFVF_XYZ: off = 12; break;
        case D3DFVF_XYZRHW: off = 16; l.pretransformed = true; break;
        case D3DFVF_XYZB1: off = 16; break;
        case D3DFVF_XYZB2: off = 20; break;
        case D3DFVF_XYZB3: off = 24; break;
        case D3DFVF_XYZB4: off = 28; break;
        case D3DFVF_XYZB5: off = 32; break;
        default: return l;
    }
    if (fvf & D3DFVF_NORMAL) { l.normal = (int)off; off += 12; }
    if (fvf & D3DFVF_PSIZE) off += 4;
    if (fvf & D3DFVF_DIFFUSE) { l.diffuse = (int)off; off += 4; }
    if (fvf & D3DFVF_SPECULAR) off += 4;
    const DWORD sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (sets > 8) return l;
    for (DWORD i = 0; i < sets; ++i) {
        static const int kSizes[4] = {2, 3, 4, 1};  // the coordinate-size codes 0..3 of each set
        const int n = kSizes[(fvf >> (16 + 2 * i)) & 3];
        if (i == texCoordIndex) {
            l.texCoord = (int)off;
            l.texCoordSize = n;
        }
        off += (UINT)n * 4;
    }
    l.size = off;
    l.valid = true;
    return l;
}

GLenum CompareFunc(DWORD f) {
    switch (f) {
        case D3DCMP_NEVER: return GL_NEVER;
        case D3DCMP_LESS: return GL_LESS;
        case D3DCMP_EQUAL: return GL_EQUAL;
        case D3DCMP_LESSEQUAL: return GL_LEQUAL;
        case D3DCMP_GREATER: return GL_GREATER;
        case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
        case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
        default: return GL_ALWAYS;
    }
}

GLenum BlendFactor(DWORD b) {
    switch (b) {
        case D3DBLEND_ZERO: return GL_ZERO;
        case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
        case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
        case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
        case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
        case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
        case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
        case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
        case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
        case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
        default: return GL_ONE;
    }
}

GLenum BlendEquation(DWORD op) {
    switch (op) {
        case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
        case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
        case D3DBLENDOP_MIN: return GL_MIN;
        case D3DBLENDOP_MAX: return GL_MAX;
        default: return GL_FUNC_ADD;
    }
}

GLint AddressMode(DWORD a) {
    switch (a) {
        case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
        case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
        case D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
        case D3DTADDRESS_MIRRORONCE: return GL_MIRROR_CLAMP_TO_EDGE;
        default: return GL_REPEAT;
    }
}

// Direct3D's separate minification and mip filters make one GL minification filter.
GLint MinFilter(DWORD min, DWORD mip) {
    const bool linear = min == D3DTEXF_LINEAR || min == D3DTEXF_ANISOTROPIC;
    if (mip == D3DTEXF_POINT) return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    if (mip == D3DTEXF_LINEAR) return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    return linear ? GL_LINEAR : GL_NEAREST;
}

// The inverse of the upper 3x3 of m, row-major; the identity when m is singular there.
void Inverse3x3(const D3DMATRIX& m, float out[9]) {
    const float a = m._11, b = m._12, c = m._13, d = m._21, e = m._22, f = m._23, g = m._31, h = m._32, i = m._33;
    const float A = e * i - f * h, B = -(d * i - f * g), C = d * h - e * g;
    const float det = a * A + b * B + c * C;
    if (det == 0.0f || !std::isfinite(det)) {
        const float id[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        std::memcpy(out, id, sizeof id);
        return;
    }
    const float inv[9] = {A, -(b * i - c * h), b * f - c * e, B, a * i - c * g, -(a * f - c * d),
                          C, -(a * h - b * g), a * e - b * d};
    for (int k = 0; k < 9; ++k) out[k] = inv[k] / det;
}

void TransformPoint(const D3DVECTOR& p, const D3DMATRIX& m, float out[3]) {
    for (int c = 0; c < 3; ++c) out[c] = p.x * m.m[0][c] + p.y * m.m[1][c] + p.z * m.m[2][c] + m.m[3][c];
}

void TransformDirection(const D3DVECTOR& p, const D3DMATRIX& m, float out[3]) {
    for (int c = 0; c < 3; ++c) out[c] = p.x * m.m[0][c] + p.y * m.m[1][c] + p.z * m.m[2][c];
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Sending state to GL

void Device::FlushRaster() {
    const DWORD* rs = state_.renderStates;
    if (rs[D3DRS_ZENABLE] != D3DZB_FALSE) glEnable(GL_DEPTH_TEST); else glDisable(GL_DEPTH_TEST);
    glDepthFunc(CompareFunc(rs[D3DRS_ZFUNC]));
    glDepthMask(rs[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
    if (rs[D3DRS_ALPHABLENDENABLE]) {
        glEnable(GL_BLEND);
        DWORD src = rs[D3DRS_SRCBLEND], dst = rs[D3DRS_DESTBLEND];
        if (src == D3DBLEND_BOTHSRCALPHA) {
            src = D3DBLEND_SRCALPHA;
            dst = D3DBLEND_INVSRCALPHA;
        } else if (src == D3DBLEND_BOTHINVSRCALPHA) {
            src = D3DBLEND_INVSRCALPHA;
            dst = D3DBLEND_SRCALPHA;
        }
        glBlendFunc(BlendFactor(src), BlendFactor(dst));
        gl::BlendEquation(BlendEquation(rs[D3DRS_BLENDOP]));
    } else {
        glDisable(GL_BLEND);
    }
    // Both judge the winding as seen on screen; GL's front faces (GL_CCW) are Direct3D's
    // counter-clockwise triangles.
    switch (rs[D3DRS_CULLMODE]) {
        case D3DCULL_CW: glEnable(GL_CULL_FACE); glCullFace(GL_BACK); break;
        case D3DCULL_CCW: glEnable(GL_CULL_FACE); glCullFace(GL_FRONT); break;
        default: glDisable(GL_CULL_FACE); break;
    }
    const DWORD fill = rs[D3DRS_FILLMODE];
    glPolygonMode(GL_FRONT_AND_BACK, fill == D3DFILL_POINT ? GL_POINT : fill == D3DFILL_WIREFRAME ? GL_LINE : GL_FILL);
    const DWORD mask = rs[D3DRS_COLORWRITEENABLE];
    glColorMask((mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0);
}

void Device::SendTransforms(const Program& program) {
    const D3DMATRIX& world = state_.transforms[TransformSlot(D3DTS_WORLD)];
    const D3DMATRIX& view = state_.transforms[TransformSlot(D3DTS_VIEW)];
    const D3DMATRIX worldView = MultiplyMatrices(world, view);
    // A Direct3D matrix read column-major is its transpose, which acts on GL's column vectors as
    // the original acts on Direct3D's row vectors.
    gl::UniformMatrix4fv(program.worldView, 1, GL_FALSE, &worldView._11);
    gl::UniformMatrix4fv(program.projection, 1, GL_FALSE, &state_.transforms[TransformSlot(D3DTS_PROJECTION)]._11);
    float normal[9];
    Inverse3x3(worldView, normal);
    gl::UniformMatrix3fv(program.normalMatrix, 1, GL_TRUE, normal);
}

void Device::SendLighting(const Program& program) {
    const DWORD* rs = state_.renderStates;
    gl::Uniform1i(program.lighting, rs[D3DRS_LIGHTING] ? 1 : 0);
    gl::Uniform1i(program.normalize, rs[D3DRS_NORMALIZENORMALS] ? 1 : 0);
    float ambient[4];
    ColourToFloats(rs[D3DRS_AMBIENT], ambient);
    gl::Uniform4fv(program.globalAmbient, 1, ambient);
    const D3DMATERIAL8& m = state_.material;
    gl::Uniform4fv(program.materialDiffuse, 1, &m.Diffuse.r);
    gl::Uniform4fv(program.materialAmbient, 1, &m.Ambient.r);
    gl::Uniform4fv(program.materialEmissive, 1, &m.Emissive.r);
    // A colour source takes the vertex colour only when the format has one.
    const bool vertexColour = rs[D3DRS_COLORVERTEX] && litVertexColour_;
    auto source = [&](D3DRENDERSTATETYPE s) { return vertexColour && rs[s] == D3DMCS_COLOR1 ? 1 : 0; };
    gl::Uniform1i(program.diffuseSource, source(D3DRS_DIFFUSEMATERIALSOURCE));
    gl::Uniform1i(program.ambientSource, source(D3DRS_AMBIENTMATERIALSOURCE));
    gl::Uniform1i(program.emissiveSource, source(D3DRS_EMISSIVEMATERIALSOURCE));

    GLint type[kMaxActiveLights] = {};
    float diffuse[kMaxActiveLights][4] = {}, amb[kMaxActiveLights][4] = {};
    float position[kMaxActiveLights][3] = {}, direction[kMaxActiveLights][3] = {};
    float range[kMaxActiveLights] = {}, attenuation[kMaxActiveLights][3] = {}, spot[kMaxActiveLights][3] = {};
    const D3DMATRIX& view = state_.transforms[TransformSlot(D3DTS_VIEW)];
    int n = 0;
    for (const auto& entry : state_.lights) {
        if (!entry.second.enabled || n == kMaxActiveLights) continue;
        const D3DLIGHT8& l = entry.second.light;
        type[n] = (GLint)l.Type;
        std::memcpy(diffuse[n], &l.Diffuse, sizeof diffuse[n]);
        std::memcpy(amb[n], &l.Ambient, sizeof amb[n]);
        TransformPoint(l.Position, view, position[n]);
        TransformDirection(l.Direction, view, direction[n]);
        range[n] = l.Range > 0.0f ? l.Range : 1e30f;
        attenuation[n][0] = l.Attenuation0;
        attenuation[n][1] = l.Attenuation1;
        attenuation[n][2] = l.Attenuation2;
        spot[n][0] = std::cos(l.Theta / 2.0f);
        spot[n][1] = std::cos(l.Phi / 2.0f);
        spot[n][2] = l.Falloff;
        ++n;
    }
    gl::Uniform1i(program.lightCount, n);
    gl::Uniform1iv(program.lightType, kMaxActiveLights, type);
    gl::Uniform4fv(program.lightDiffuse, kMaxActiveLights, &diffuse[0][0]);
    gl::Uniform4fv(program.lightAmbient, kMaxActiveLights, &amb[0][0]);
    gl::Uniform3fv(program.lightPosition, kMaxActiveLights, &position[0][0]);
    gl::Uniform3fv(program.lightDirection, kMaxActiveLights, &direction[0][0]);
    gl::Uniform1fv(program.lightRange, kMaxActiveLights, range);
    gl::Uniform3fv(program.lightAttenuation, kMaxActiveLights, &attenuation[0][0]);
    gl::Uniform3fv(program.lightSpot, kMaxActiveLights, &spot[0][0]);
}

void Device::SendStages(const Program& program) {
    GLint colour[kBlendStages][3], alpha[kBlendStages][3];
    for (int s = 0; s < kBlendStages; ++s) {
        const DWORD* ts = state_.stageStates[s];
        colour[s][0] = (GLint)ts[D3DTSS_COLOROP];
        colour[s][1] = (GLint)ts[D3DTSS_COLORARG1];
        colour[s][2] = (GLint)ts[D3DTSS_COLORARG2];
        alpha[s][0] = (GLint)ts[D3DTSS_ALPHAOP];
        alpha[s][1] = (GLint)ts[D3DTSS_ALPHAARG1];
        alpha[s][2] = (GLint)ts[D3DTSS_ALPHAARG2];
    }
    gl::Uniform3iv(program.colourOps, kBlendStages, &colour[0][0]);
    gl::Uniform3iv(program.alphaOps, kBlendStages, &alpha[0][0]);
    float factor[4];
    ColourToFloats(state_.renderStates[D3DRS_TEXTUREFACTOR], factor);
    gl::Uniform4fv(program.textureFactor, 1, factor);
}

void Device::FlushSamplers() {
    for (int s = 0; s < kBlendStages; ++s) {
        const DWORD* ts = state_.stageStates[s];
        const GLuint sampler = samplers_[s];
        gl::SamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, ts[D3DTSS_MAGFILTER] >= D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
        gl::SamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, MinFilter(ts[D3DTSS_MINFILTER], ts[D3DTSS_MIPFILTER]));
        gl::SamplerParameteri(sampler, GL_TEXTURE_WRAP_S, AddressMode(ts[D3DTSS_ADDRESSU]));
        gl::SamplerParameteri(sampler, GL_TEXTURE_WRAP_T, AddressMode(ts[D3DTSS_ADDRESSV]));
        float border[4];
        ColourToFloats(ts[D3DTSS_BORDERCOLOR], border);
        gl::SamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, border);
        gl::SamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, BitsFloat(ts[D3DTSS_MIPMAPLODBIAS]));
        gl::SamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, (float)ts[D3DTSS_MAXMIPLEVEL]);
    }
}

void Device::FlushTextures() {
    // Rebinding an unchanged texture is not free on every driver, so bindings are remembered
    // until a texture is deleted (its name may come back for another).
    if (boundTextureGeneration_ != context_->textureGeneration) {
        boundTextureGeneration_ = context_->textureGeneration;
        for (GLuint& name : boundTextures_) name = 0xFFFFFFFFu;
    }
    for (int s = 0; s < kBlendStages; ++s) {
        const Texture* texture = static_cast<const Texture*>(state_.textures[s]);
        const GLuint name = texture ? texture->Name() : whiteTexture_;
        if (name == boundTextures_[s]) continue;
        gl::ActiveTexture(GL_TEXTURE0 + (GLenum)s);
        glBindTexture(GL_TEXTURE_2D, name);
        boundTextures_[s] = name;
    }
    gl::ActiveTexture(GL_TEXTURE0);
}

void Device::SendFog(const Program& program) {
    const DWORD* rs = state_.renderStates;
    gl::Uniform1i(program.fogMode, FogModeOf(rs));
    const float params[3] = {BitsFloat(rs[D3DRS_FOGSTART]), BitsFloat(rs[D3DRS_FOGEND]), BitsFloat(rs[D3DRS_FOGDENSITY])};
    gl::Uniform3fv(program.fogParams, 1, params);
    float colour[4];
    ColourToFloats(rs[D3DRS_FOGCOLOR], colour);
    gl::Uniform3fv(program.fogColour, 1, colour);
}

void Device::SendAlphaTest(const Program& program) {
    const DWORD* rs = state_.renderStates;
    gl::Uniform1i(program.alphaTest, rs[D3DRS_ALPHATESTENABLE] ? 1 : 0);
    gl::Uniform1i(program.alphaFunc, (GLint)rs[D3DRS_ALPHAFUNC]);
    gl::Uniform1f(program.alphaRef, (float)(rs[D3DRS_ALPHAREF] & 0xFF));
}

void Device::FlushViewport() {
    const D3DVIEWPORT8& vp = state_.viewport;
    glViewport((GLint)vp.X, (GLint)(backBuffer_.height - (vp.Y + vp.Height)), (GLsizei)vp.Width, (GLsizei)vp.Height);
    glDepthRange(vp.MinZ, vp.MaxZ);
}

void Device::SendViewport(const Program& program) {
    const D3DVIEWPORT8& vp = state_.viewport;
    gl::Uniform4f(program.viewport, (float)vp.X, (float)vp.Y, (float)vp.Width, (float)vp.Height);
}

Program* Device::ProgramForDraw() {
    const bool forced = GeneralProgramForced();
    if (chosen_ && !(dirty_ & kDirtyProgram) && forced == generalForced_) return chosen_;
    dirty_ &= ~kDirtyProgram;
    generalForced_ = forced;
    // A vertex shader has programs of its own, linked with the same fragment stages.
    VertexShader* shader = FindShader(state_.vertexShader);
    ProgramCache& cache = shader ? shader->Programs() : programs_;
    Program* special = forced ? nullptr : cache.Find(MakeFragmentKey(state_.renderStates, state_.stageStates));
    chosen_ = special ? special : shader ? &shader->General() : &general_;
    return chosen_;
}

void Device::SendUniforms(Program* program) {
    for (int g = 0; g < kUniformGroupCount; ++g) {
        if (program->sent[g] == uniformChanges_[g]) continue;
        switch (g) {
            case kUniformTransforms: SendTransforms(*program); break;
            case kUniformLighting: SendLighting(*program); break;
            case kUniformStages: SendStages(*program); break;
            case kUniformAlphaTest: SendAlphaTest(*program); break;
            case kUniformFog: SendFog(*program); break;
            case kUniformShaderConstants: SendShaderConstants(*program); break;
            default: SendViewport(*program); break;
        }
        program->sent[g] = uniformChanges_[g];
    }
    if (program->sentPretransformed != pretransformed_) {
        gl::Uniform1i(program->pretransformed, pretransformed_);
        program->sentPretransformed = pretransformed_;
    }
}

void Device::FlushState() {
    // Lighting takes the vertex colour only from a format that has one.
    const bool vertexColour = (state_.vertexShader & D3DFVF_DIFFUSE) != 0;
    if (vertexColour != litVertexColour_) {
        litVertexColour_ = vertexColour;
        Changed(kUniformLighting);
    }
    Program* program = ProgramForDraw();
    if (program != program_) {
        gl::UseProgram(program->name);
        program_ = program;
    }
    SendUniforms(program);
    if (dirty_ == 0) return;
    if (dirty_ & kDirtyRaster) FlushRaster();
    if (dirty_ & kDirtySamplers) FlushSamplers();
    if (dirty_ & kDirtyTextures) FlushTextures();
    if (dirty_ & kDirtyViewport) FlushViewport();
    dirty_ = 0;
}

// ---------------------------------------------------------------------------------------------
// Drawing

bool Device::PrepareDraw(D3DPRIMITIVETYPE type, UINT primitiveCount, UINT* vertexCount, GLenum* mode) {
    if (primitiveCount == 0) return false;
    switch (type) {
        case D3DPT_POINTLIST: *mode = GL_POINTS; *vertexCount = primitiveCount; break;
        case D3DPT_LINELIST: *mode = GL_LINES; *vertexCount = primitiveCount * 2; break;
        case D3DPT_LINESTRIP: *mode = GL_LINE_STRIP; *vertexCount = primitiveCount + 1; break;
        case D3DPT_TRIANGLELIST: *mode = GL_TRIANGLES; *vertexCount = primitiveCount * 3; break;
        case D3DPT_TRIANGLESTRIP: *mode = GL_TRIANGLE_STRIP; *vertexCount = primitiveCount + 2; break;
        case D3DPT_TRIANGLEFAN: *mode = GL_TRIANGLE_FAN; *vertexCount = primitiveCount + 2; break;
        default: return false;
    }
    return primitiveCount <= 0xFFFFF;
}

bool Device::BindVertexFormat(UINT vertexCount) {
    if (IsShaderHandle(state_.vertexShader)) return BindShaderStream(FindShader(state_.vertexShader), vertexCount);
    const VertexBuffer* vb = static_cast<const VertexBuffer*>(state_.stream);
    const DWORD texIndex = state_.stageStates[0][D3DTSS_TEXCOORDINDEX] & 0xFFFF;
    const VertexLayout layout = ParseFvf(state_.vertexShader, texIndex);
    if (!vb || !layout.valid || state_.stride < layout.size) return false;
    // Every vertex the draw may read must lie inside the buffer.
    if ((uint64_t)(vertexCount - 1) * state_.stride + layout.size > vb->Store().Length()) return false;

    pretransformed_ = layout.pretransformed ? 1 : 0;
    const GLuint buffer = vb->Store().Name();
    BoundFormat wanted;
    wanted.buffer = buffer;
    wanted.generation = context_->bufferGeneration;
    wanted.stride = state_.stride;
    wanted.fvf = state_.vertexShader;
    wanted.texCoordIndex = texIndex;
    if (bound_ == wanted) return true;
    bound_ = wanted;
    if (shaderAttributes_) ReleaseShaderAttributes();

    const GLsizei stride = (GLsizei)state_.stride;
    gl::BindBuffer(GL_ARRAY_BUFFER, buffer);
    gl::VertexAttribPointer(kAttrPosition, layout.pretransformed ? 4 : 3, GL_FLOAT, GL_FALSE, stride, nullptr);
    gl::EnableVertexAttribArray(kAttrPosition);
    auto at = [](int offset) { return reinterpret_cast<const void*>((uintptr_t)offset); };
    if (layout.normal >= 0) {
        gl::VertexAttribPointer(kAttrNormal, 3, GL_FLOAT, GL_FALSE, stride, at(layout.normal));
        gl::EnableVertexAttribArray(kAttrNormal);
    } else {
        gl::DisableVertexAttribArray(kAttrNormal);
        gl::VertexAttrib4f(kAttrNormal, 0, 0, 0, 1);
    }
    if (layout.diffuse >= 0) {
        // Colours are stored B, G, R, A.
        gl::VertexAttribPointer(kAttrDiffuse, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride, at(layout.diffuse));
        gl::EnableVertexAttribArray(kAttrDiffuse);
    } else {
        gl::DisableVertexAttribArray(kAttrDiffuse);
        gl::VertexAttrib4f(kAttrDiffuse, 1, 1, 1, 1);  // white where the format has no colour
    }
    if (layout.texCoord >= 0) {
        gl::VertexAttribPointer(kAttrTexCoord, std::min(layout.texCoordSize, 2), GL_FLOAT, GL_FALSE, stride,
                                at(layout.texCoord));
        gl::EnableVertexAttribArray(kAttrTexCoord);
    } else {
        gl::DisableVertexAttribArray(kAttrTexCoord);
        gl::VertexAttrib4f(kAttrTexCoord, 0, 0, 0, 1);
    }
    gl::BindBuffer(GL_ARRAY_BUFFER, 0);
    return true;
}

void Device::CountDraw(UINT primitives) {
    ++current_.drawCalls;
    current_.primitives += primitives;
    if (program_ != &general_) ++current_.specialisedDraws;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) {
    UINT count = 0;
    GLenum mode = 0;
    if (!PrepareDraw(PrimitiveType, PrimitiveCount, &count, &mode)) return D3DERR_INVALIDCALL;
    if (StartVertex > 0xFFFFFF || !BindVertexFormat(StartVertex + count)) return D3DERR_INVALIDCALL;
    FlushState();
    glDrawArrays(mode, (GLint)StartVertex, (GLsizei)count);
    CountDraw(PrimitiveCount);
    return D3D_OK;
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT, UINT, UINT startIndex, UINT primCount) {
    UINT count = 0;
    GLenum mode = 0;
    if (!PrepareDraw(PrimitiveType, primCount, &count, &mode)) return D3DERR_INVALIDCALL;
    const IndexBuffer* ib = static_cast<const IndexBuffer*>(state_.indices);
    if (!ib) return D3DERR_INVALIDCALL;
    const bool wide = ib->Format() == D3DFMT_INDEX32;
    const UINT indexSize = wide ? 4 : 2;
    if ((uint64_t)startIndex + count > ib->Store().Length() / indexSize) return D3DERR_INVALIDCALL;
    // The highest vertex the indices reach decides whether the draw stays inside the vertex buffer.
    UINT highest = 0;
    const BYTE* first = ib->Store().Bytes() + (size_t)startIndex * indexSize;
    for (UINT i = 0; i < count; ++i) {
        UINT index;
        if (wide) {
            uint32_t v;
            std::memcpy(&v, first + (size_t)i * 4, 4);
            index = v;
        } else {
            uint16_t v;
            std::memcpy(&v, first + (size_t)i * 2, 2);
            index = v;
        }
        highest = std::max(highest, index);
    }
    if ((uint64_t)highest + state_.baseVertex >= 0xFFFFFFu || !BindVertexFormat(highest + state_.baseVertex + 1))
        return D3DERR_INVALIDCALL;
    FlushState();
    gl::BindBuffer(GL_ELEMENT_ARRAY_BUFFER, ib->Store().Name());
    gl::DrawElementsBaseVertex(mode, (GLsizei)count, wide ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                               reinterpret_cast<const void*>((uintptr_t)startIndex * indexSize),
                               (GLint)state_.baseVertex);
    CountDraw(primCount);
    return D3D_OK;
}

}  // namespace d3d8
