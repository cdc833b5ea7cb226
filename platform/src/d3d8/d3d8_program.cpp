// d3d8_program.cpp -- the GLSL programs that stand for Direct3D 8's fixed-function pipeline: the
// vertex stage they share (transform, or pre-transformed screen positions with pixel centres on
// integers; clip depth 0..w; per-vertex lighting), linking it with a fragment stage, and the cache
// of programs built for particular states.
#include "d3d8/d3d8_program.h"

#include <cstdio>

namespace d3d8 {

namespace {

const char* const kVertexShader = R"(#version 130
in vec4 aPosition;
in vec3 aNormal;
in vec4 aDiffuse;
in vec2 aTexCoord;

uniform bool uPretransformed;
uniform mat4 uWorldView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform vec4 uViewport;  // left, top, width, height in render-target pixels

uniform bool uLighting;
uniform int uLightCount;
uniform vec4 uGlobalAmbient;
uniform vec4 uMaterialDiffuse;
uniform vec4 uMaterialAmbient;
uniform vec4 uMaterialEmissive;
uniform int uDiffuseSource;  // 0 the material, 1 the vertex colour
uniform int uAmbientSource;
uniform int uEmissiveSource;
uniform bool uNormalize;
uniform int uLightType[8];
uniform vec4 uLightDiffuse[8];
uniform vec4 uLightAmbient[8];
uniform vec3 uLightPosition[8];   // eye space
uniform vec3 uLightDirection[8];  // eye space, the way the light shines
uniform float uLightRange[8];
uniform vec3 uLightAttenuation[8];
uniform vec3 uLightSpot[8];       // cos(theta / 2), cos(phi / 2), falloff

out vec4 vDiffuse;
out vec2 vTexCoord;
out float vFogDepth;

vec4 Source(int source, vec4 material) { return source == 1 ? aDiffuse : material; }

vec4 Lit(vec3 eyePos, vec3 normal) {
    vec4 diffuseMat = Source(uDiffuseSource, uMaterialDiffuse);
    vec4 ambientMat = Source(uAmbientSource, uMaterialAmbient);
    vec4 emissiveMat = Source(uEmissiveSource, uMaterialEmissive);
    vec3 colour = emissiveMat.rgb + ambientMat.rgb * uGlobalAmbient.rgb;
    for (int i = 0; i < uLightCount; ++i) {
        vec3 toLight;
        float scale = 1.0;
        if (uLightType[i] == 3) {
            toLight = -normalize(uLightDirection[i]);
        } else {
            vec3 d = uLightPosition[i] - eyePos;
            float dist = length(d);
            if (dist > uLightRange[i]) continue;
            toLight = d / max(dist, 1e-6);
            vec3 att = uLightAttenuation[i];
            float denom = att.x + att.y * dist + att.z * dist * dist;
            scale = denom > 0.0 ? 1.0 / denom : 1.0;
            if (uLightType[i] == 2) {
                float rho = dot(normalize(uLightDirection[i]), -toLight);
                vec3 spot = uLightSpot[i];
                if (rho <= spot.y) continue;
                if (rho < spot.x) scale *= pow((rho - spot.y) / max(spot.x - spot.y, 1e-6), spot.z);
            }
        }
        float nDotL = max(dot(normal, toLight), 0.0);
        colour += (ambientMat.rgb * uLightAmbient[i].rgb + diffuseMat.rgb * uLightDiffuse[i].rgb * nDotL) * scale;
    }
    return vec4(clamp(colour, 0.0, 1.0), clamp(diffuseMat.a, 0.0, 1.0));
}

void main() {
    if (uPretransformed) {
        float w = aPosition.w != 0.0 ? 1.0 / aPosition.w : 1.0;
        vec2 ndc = vec2((aPosition.x + 0.5 - uViewport.x) * 2.0 / uViewport.z - 1.0,
                        1.0 - (aPosition.y + 0.5 - uViewport.y) * 2.0 / uViewport.w);
        gl_Position = vec4(ndc * w, (2.0 * aPosition.z - 1.0) * w, w);
        vFogDepth = w;
        vDiffuse = aDiffuse;
    } else {
        vec4 eye = uWorldView * vec4(aPosition.xyz, 1.0);
        vec4 clip = uProjection * eye;
        // Pixel centres lie on integer screen coordinates, and clip depth runs from 0 to w.
        clip.xy += vec2(1.0 / uViewport.z, -1.0 / uViewport.w) * clip.w;
        clip.z = 2.0 * clip.z - clip.w;
        gl_Position = clip;
        vFogDepth = eye.z;
        if (uLighting) {
            vec3 n = uNormalMatrix * aNormal;
            if (uNormalize) n = normalize(n);
            vDiffuse = Lit(eye.xyz, n);
        } else {
            vDiffuse = aDiffuse;
        }
    }
    vTexCoord = aTexCoord;
}
)";

GLuint CompileShader(GLenum type, const char* source) {
    GLuint shader = gl::CreateShader(type);
    gl::ShaderSource(shader, 1, &source, nullptr);
    gl::CompileShader(shader);
    GLint ok = 0;
    gl::GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        gl::GetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "Direct3D layer: shader does not compile:\n%s\n", log);
        gl::DeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

const char* FixedFunctionVertexSource() { return kVertexShader; }

bool Program::Build(const char* vertexSource, const std::string& fragmentSource) {
    GLuint vs = CompileShader(GL_VERTEX_SHADER, vertexSource);
    GLuint fs = CompileShader(GL_FRAGMENT_SHADER, fragmentSource.c_str());
    if (!vs || !fs) {
        if (vs) gl::DeleteShader(vs);
        if (fs) gl::DeleteShader(fs);
        return false;
    }
    name = gl::CreateProgram();
    gl::AttachShader(name, vs);
    gl::AttachShader(name, fs);
    gl::BindAttribLocation(name, kAttrPosition, "aPosition");
    gl::BindAttribLocation(name, kAttrNormal, "aNormal");
    gl::BindAttribLocation(name, kAttrDiffuse, "aDiffuse");
    gl::BindAttribLocation(name, kAttrTexCoord, "aTexCoord");
    // A vertex shader's inputs v0-v15 take the attribute locations 0-15.
    for (GLuint v = 0; v < 16; ++v) gl::BindAttribLocation(name, v, ("v" + std::to_string(v)).c_str());
    gl::BindFragDataLocation(name, 0, "fragColour");
    gl::LinkProgram(name);
    gl::DeleteShader(vs);
    gl::DeleteShader(fs);
    GLint ok = 0;
    gl::GetProgramiv(name, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        gl::GetProgramInfoLog(name, sizeof log, nullptr, log);
        std::fprintf(stderr, "Direct3D layer: shader program does not link:\n%s\n", log);
        Destroy();
        return false;
    }
    auto at = [this](const char* uniform) { return gl::GetUniformLocation(name, uniform); };
    pretransformed = at("uPretransformed");
    worldView = at("uWorldView");
    projection = at("uProjection");
    normalMatrix = at("uNormalMatrix");
    viewport = at("uViewport");
    lighting = at("uLighting");
    lightCount = at("uLightCount");
    globalAmbient = at("uGlobalAmbient");
    materialDiffuse = at("uMaterialDiffuse");
    materialAmbient = at("uMaterialAmbient");
    materialEmissive = at("uMaterialEmissive");
    diffuseSource = at("uDiffuseSource");
    ambientSource = at("uAmbientSource");
    emissiveSource = at("uEmissiveSource");
    normalize = at("uNormalize");
    lightType = at("uLightType");
    lightDiffuse = at("uLightDiffuse");
    lightAmbient = at("uLightAmbient");
    lightPosition = at("uLightPosition");
    lightDirection = at("uLightDirection");
    lightRange = at("uLightRange");
    lightAttenuation = at("uLightAttenuation");
    lightSpot = at("uLightSpot");
    texture0 = at("uTexture0");
    texture1 = at("uTexture1");
    colourOps = at("uColourOps");
    alphaOps = at("uAlphaOps");
    textureFactor = at("uTextureFactor");
    alphaTest = at("uAlphaTest");
    alphaFunc = at("uAlphaFunc");
    alphaRef = at("uAlphaRef");
    fogMode = at("uFogMode");
    fogParams = at("uFogParams");
    fogColour = at("uFogColour");
    shaderConstants = at("uShaderConstants");
    gl::UseProgram(name);
    gl::Uniform1i(texture0, 0);
    gl::Uniform1i(texture1, 1);
    return true;
}

void Program::Destroy() {
    if (name) gl::DeleteProgram(name);
    name = 0;
}

Program* ProgramCache::Find(const FragmentKey& key) {
    for (const Entry& e : entries_)
        if (e.key == key) return e.program.get();
    if (entries_.size() == kCapacity) return nullptr;
    auto program = std::make_unique<Program>();
    const char* vertexSource = vertexShaderSource_.empty() ? FixedFunctionVertexSource() : vertexShaderSource_.c_str();
    if (!program->Build(vertexSource, FragmentSourceFor(key))) program.reset();
    entries_.push_back(Entry{key, std::move(program)});
    return entries_.back().program.get();
}

}  // namespace d3d8
