// d3d8_program.h -- the GL programs of the fixed-function pipeline: the general one that reads
// every state from uniforms, the ones built for one set of combining, alpha-test and fog states,
// and the small cache that keeps the latter.
#pragma once

#include "d3d8/d3d8_objects.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace d3d8 {

constexpr int kStageCount = 8;
constexpr int kStageStateCount = 32;
constexpr int kRenderStateCount = 256;
constexpr int kBlendStages = 2;  // the stages the pipeline combines; later ones count as disabled
constexpr int kMaxActiveLights = 8;

// Groups of uniforms. The device counts the changes of each; a program remembers which count it
// was last sent, so that a program taken up again receives only what changed meanwhile.
enum UniformGroup {
    kUniformTransforms,
    kUniformLighting,  // lights, material, ambient, colour sources
    kUniformStages,    // the combining operations and the texture factor
    kUniformAlphaTest,
    kUniformFog,
    kUniformViewport,
    kUniformShaderConstants,  // the constant registers of a vertex shader
    kUniformGroupCount
};

// The states a fragment program can be built for: each combining stage's operations and
// arguments, the alpha comparison and the fog formula. Equal keys draw the same pixels, so every
// field is brought to one form first (unused arguments zero, unknown operations as the pipeline
// treats them).
struct StageKey {
    uint8_t colourOp, colourArg1, colourArg2;
    uint8_t alphaOp, alphaArg1, alphaArg2;
};

struct FragmentKey {
    StageKey stages[kBlendStages];  // the stage after the first one disabled is all zero but its colour op
    uint8_t alphaFunc;              // 0 when every pixel passes, else D3DCMP_NEVER .. D3DCMP_GREATEREQUAL
    uint8_t fogMode;                // D3DFOG_NONE .. D3DFOG_LINEAR

    bool operator==(const FragmentKey& o) const;
};

// The key of the device's current states.
FragmentKey MakeFragmentKey(const DWORD renderStates[kRenderStateCount],
                            const DWORD stageStates[kStageCount][kStageStateCount]);
// The fog formula the render states select (D3DFOG_NONE when fog is off).
int FogModeOf(const DWORD renderStates[kRenderStateCount]);

// GLSL of the fixed-function vertex stage, of the general fragment stage and of one for a key.
const char* FixedFunctionVertexSource();
std::string GeneralFragmentSource();
std::string FragmentSourceFor(const FragmentKey& key);

// A linked program and its uniform locations (-1 where the program has no such uniform).
struct Program {
    GLuint name = 0;
    GLint pretransformed, worldView, projection, normalMatrix, viewport;
    GLint lighting, lightCount, globalAmbient, materialDiffuse, materialAmbient, materialEmissive;
    GLint diffuseSource, ambientSource, emissiveSource, normalize;
    GLint lightType, lightDiffuse, lightAmbient, lightPosition, lightDirection, lightRange, lightAttenuation,
        lightSpot;
    GLint texture0, texture1, colourOps, alphaOps, textureFactor;
    GLint alphaTest, alphaFunc, alphaRef;
    GLint fogMode, fogParams, fogColour;
    GLint shaderConstants;

    // What this program last received: the change count of each uniform group, and whether
    // positions were pre-transformed (-1 before the first draw).
    uint32_t sent[kUniformGroupCount] = {};
    int sentPretransformed = -1;

    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() { Destroy(); }

    // Compiles and links the two stages; uniforms a stage lacks keep the location -1. A vertex
    // shader's inputs v0-v15 take the attribute locations 0-15. Leaves the program in use.
    bool Build(const char* vertexSource, const std::string& fragmentSource);
    void Destroy();
};

// The programs built for particular keys, each built once. Full, or for a key whose
// program does not build, it answers null and the general program serves.
class ProgramCache {
public:
    static constexpr size_t kCapacity = 64;

    // Programs of the fixed-function vertex stage, or of a vertex shader's source.
    explicit ProgramCache(std::string vertexShaderSource = std::string())
        : vertexShaderSource_(std::move(vertexShaderSource)) {}

    Program* Find(const FragmentKey& key);
    size_t Built() const { return entries_.size(); }

private:
    struct Entry {
        FragmentKey key;
        std::unique_ptr<Program> program;  // null when it did not build
    };
    std::string vertexShaderSource_;
    std::vector<Entry> entries_;
};

// Vertex attribute locations of every program.
enum VertexAttribute : GLuint { kAttrPosition = 0, kAttrNormal = 1, kAttrDiffuse = 2, kAttrTexCoord = 3 };

}  // namespace d3d8
