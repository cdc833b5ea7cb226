// d3d8_device.h -- the layer's Direct3D 8 device: its state, state blocks, back buffer and the GL
// programs that draw its fixed-function pipeline.
#pragma once

#include "d3d8/d3d8_objects.h"
#include "d3d8/d3d8_program.h"
#include "d3d8/d3d8_shader_opcodes.h"
#include "d3d8/d3d8_vertex_shader.h"

#include <bitset>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "layer/device_stats.h"

namespace d3d8 {

constexpr DWORD kMaxLightIndex = 4096;

// Kept transforms: view, projection, texture 0-7, world 0-3.
constexpr int kTransformSlotCount = 14;
int TransformSlot(D3DTRANSFORMSTATETYPE state);  // -1 for a transform the device does not keep
// a * b: a's transform first, as with row vectors.
D3DMATRIX MultiplyMatrices(const D3DMATRIX& a, const D3DMATRIX& b);

struct LightSlot {
    D3DLIGHT8 light;
    bool enabled;
};

// Every value the device keeps. Textures and buffers in it are held with a reference.
struct StateValues {
    DWORD renderStates[kRenderStateCount] = {};
    DWORD stageStates[kStageCount][kStageStateCount] = {};
    D3DMATRIX transforms[kTransformSlotCount] = {};
    D3DVIEWPORT8 viewport = {};
    D3DMATERIAL8 material = {};
    std::map<DWORD, LightSlot> lights;
    IDirect3DBaseTexture8* textures[kStageCount] = {};
    IDirect3DVertexBuffer8* stream = nullptr;
    UINT stride = 0;
    IDirect3DIndexBuffer8* indices = nullptr;
    UINT baseVertex = 0;
    DWORD vertexShader = 0;
    DWORD pixelShader = 0;
    float shaderConstants[kShaderConstants][4] = {};

    void ReleaseReferences();
};

// The settings made while a block recorded, and their stored values.
struct StateBlock {
    std::bitset<kRenderStateCount> renderStates;
    std::bitset<kStageStateCount> stageStates[kStageCount];
    std::bitset<kTransformSlotCount> transforms;
    std::bitset<kStageCount> textures;
    bool viewport = false, material = false, stream = false, indices = false;
    bool vertexShader = false, pixelShader = false;
    std::set<DWORD> lights, lightEnables;
    std::bitset<kShaderConstants> shaderConstants;
    StateValues values;

    StateBlock() = default;
    StateBlock(const StateBlock&) = delete;
    StateBlock& operator=(const StateBlock&) = delete;
    ~StateBlock() { values.ReleaseReferences(); }
};

// The back buffer: colour and depth of exactly the asked size and depth, multisampled when asked.
// Frames are drawn straight into the window's own framebuffer where that is the same picture
// (same size and formats, no multisampling, contents not kept past Present); elsewhere into an
// off-screen framebuffer, with a single-sampled copy for presenting and reading.
struct BackBuffer {
    UINT width = 0, height = 0;
    int samples = 0;
    bool alpha = false;         // whether the colour buffer keeps alpha
    int depthBits = 0;          // 0 without a depth buffer
    bool discardOnPresent = false;
    bool windowMatches = false; // whether the window's framebuffer has the same formats
    bool direct = false;        // the frame being drawn goes straight into the window
    GLuint fbo = 0, colour = 0, depth = 0;
    GLuint resolveFbo = 0, resolveColour = 0;

    // withAlpha: the format has alpha; depthBufferBits: the asked depth (0 for none); discard: the
    // picture need not outlive Present. Leaves the off-screen framebuffer bound.
    bool Create(UINT w, UINT h, int sampleCount, bool withAlpha, int depthBufferBits, bool discard);
    void Destroy();
    // The framebuffer frames are drawn into.
    GLuint Target() const { return direct ? 0 : fbo; }
    // Decides where the next frame is drawn, and binds it.
    void ChooseTarget(SDL_Window* window);
    // The framebuffer that holds the finished picture (after resolving multisampling).
    GLuint Resolve();
    // Shows the picture in the window's drawable (scaled and letterboxed on black when it is
    // drawn off-screen) and swaps.
    void PresentTo(SDL_Window* window);
    // Top row first, 0xAARRGGBB; alpha forced opaque when the format has none.
    void ReadPixels(std::vector<uint32_t>* pixels, bool opaque);
};

class Device final : public RefCounted<IDirect3DDevice8> {
public:
    // Makes the device on a context whose GL functions are loaded and current.
    static HRESULT Create(IDirect3D8* direct3d, const ContextRef& context, const D3DPRESENT_PARAMETERS& params,
                          const D3DDEVICE_CREATION_PARAMETERS& creation, Device** out);
    ~Device() override;

    // IUnknown
    HRESULT QueryInterface(REFIID riid, void** ppvObj) override;

    // IDirect3DDevice8
    HRESULT TestCooperativeLevel() override { return D3D_OK; }
    UINT GetAvailableTextureMem() override;
    HRESULT GetDirect3D(IDirect3D8** ppD3D8) override;
    HRESULT GetDeviceCaps(D3DCAPS8* pCaps) override;
    HRESULT GetDisplayMode(D3DDISPLAYMODE* pMode) override;
    HRESULT GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* pParameters) override;
    HRESULT SetCursorProperties(UINT XHotSpot, UINT YHotSpot, IDirect3DSurface8* pCursorBitmap) override;
    void SetCursorPosition(UINT XScreenSpace, UINT YScreenSpace, DWORD Flags) override;
    BOOL ShowCursor(BOOL bShow) override;
    HRESULT Present(CONST RECT* pSourceRect, CONST RECT* pDestRect, HWND hDestWindowOverride,
                    CONST struct _RGNDATA* pDirtyRegion) override;
    HRESULT CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                          IDirect3DTexture8** ppTexture) override;
    HRESULT CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                               IDirect3DVertexBuffer8** ppVertexBuffer) override;
    HRESULT CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                              IDirect3DIndexBuffer8** ppIndexBuffer) override;
    HRESULT CreateImageSurface(UINT Width, UINT Height, D3DFORMAT Format, IDirect3DSurface8** ppSurface) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD Count, CONST D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE State, CONST D3DMATRIX* pMatrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) override;
    HRESULT MultiplyTransform(D3DTRANSFORMSTATETYPE State, CONST D3DMATRIX* pMatrix) override;
    HRESULT SetViewport(CONST D3DVIEWPORT8* pViewport) override;
    HRESULT GetViewport(D3DVIEWPORT8* pViewport) override;
    HRESULT SetMaterial(CONST D3DMATERIAL8* pMaterial) override;
    HRESULT GetMaterial(D3DMATERIAL8* pMaterial) override;
    HRESULT SetLight(DWORD Index, CONST D3DLIGHT8* pLight) override;
    HRESULT GetLight(DWORD Index, D3DLIGHT8* pLight) override;
    HRESULT LightEnable(DWORD Index, BOOL Enable) override;
    HRESULT GetLightEnable(DWORD Index, BOOL* pEnable) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) override;
    HRESULT BeginStateBlock() override;
    HRESULT EndStateBlock(DWORD* pToken) override;
    HRESULT ApplyStateBlock(DWORD Token) override;
    HRESULT CaptureStateBlock(DWORD Token) override;
    HRESULT DeleteStateBlock(DWORD Token) override;
    HRESULT GetTexture(DWORD Stage, IDirect3DBaseTexture8** ppTexture) override;
    HRESULT SetTexture(DWORD Stage, IDirect3DBaseTexture8* pTexture) override;
    HRESULT GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue) override;
    HRESULT SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) override;
    HRESULT ValidateDevice(DWORD* pNumPasses) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT minIndex, UINT NumVertices, UINT startIndex,
                                 UINT primCount) override;
    HRESULT CreateVertexShader(CONST DWORD* pDeclaration, CONST DWORD* pFunction, DWORD* pHandle,
                               DWORD Usage) override;
    HRESULT SetVertexShader(DWORD Handle) override;
    HRESULT GetVertexShader(DWORD* pHandle) override;
    HRESULT DeleteVertexShader(DWORD Handle) override;
    HRESULT SetVertexShaderConstant(DWORD Register, CONST void* pConstantData, DWORD ConstantCount) override;
    HRESULT GetVertexShaderConstant(DWORD Register, void* pConstantData, DWORD ConstantCount) override;
    HRESULT SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8* pStreamData, UINT Stride) override;
    HRESULT GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8** ppStreamData, UINT* pStride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer8* pIndexData, UINT BaseVertexIndex) override;
    HRESULT GetIndices(IDirect3DIndexBuffer8** ppIndexData, UINT* pBaseVertexIndex) override;
    HRESULT SetPixelShader(DWORD Handle) override;
    HRESULT GetPixelShader(DWORD* pHandle) override;

    // For the layer's test and benchmark hooks.
    layer::DeviceFrameStats CurrentStats() const { return current_; }
    uint32_t BuiltPrograms() const { return (uint32_t)programs_.Built(); }
    layer::DeviceFrameStats LastStats() const { return last_; }
    uint32_t PresentedFrames() const { return presented_; }
    bool DrawsIntoWindow() const { return backBuffer_.direct; }
    bool ReadBackBuffer(std::vector<uint32_t>* pixels, UINT* width, UINT* height);

    // Fills caps with what the layer's device offers (also used by IDirect3D8::GetDeviceCaps).
    static void DescribeCaps(D3DCAPS8* pCaps, UINT maxTextureSize);

private:
    // GL state the draw path re-sends before the next draw. Uniforms go by UniformGroup instead,
    // as each program keeps its own.
    enum Dirty : uint32_t {
        kDirtyRaster = 1u << 0,    // depth, blending, culling, fill, colour mask
        kDirtySamplers = 1u << 1,  // filters, address modes, LOD bias of the stages
        kDirtyTextures = 1u << 2,
        kDirtyViewport = 1u << 3,  // the GL viewport and depth range
        kDirtyProgram = 1u << 4,   // a state that fragment programs are built for
        kDirtyAll = 0xFFFFFFFFu,
    };

    Device(IDirect3D8* direct3d, const ContextRef& context, const D3DPRESENT_PARAMETERS& params,
           const D3DDEVICE_CREATION_PARAMETERS& creation);
    bool Initialise();
    void SetDefaultStates();

    // Setters that change the live state (no recording).
    void ApplyRenderState(D3DRENDERSTATETYPE state, DWORD value);
    void ApplyStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
    void ApplyTransform(int slot, const D3DMATRIX& matrix);
    void ApplyTexture(DWORD stage, IDirect3DBaseTexture8* texture);
    void ApplyViewport(const D3DVIEWPORT8& viewport);
    void ApplyMaterial(const D3DMATERIAL8& material);
    void ApplyLight(DWORD index, const D3DLIGHT8& light);
    void ApplyLightEnable(DWORD index, BOOL enable);
    void ApplyBlock(const StateBlock& block);
    void CaptureBlock(StateBlock* block);

    // The draw path.
    bool PrepareDraw(D3DPRIMITIVETYPE type, UINT primitiveCount, UINT* vertexCount, GLenum* mode);
    bool BindVertexFormat(UINT firstVertex);
    // The program that draws with the current states: the one built for them, or the general one
    // where none is (or where tests and benchmarks ask for it). Every draw's program is chosen here.
    Program* ProgramForDraw();
    void FlushState();
    void FlushRaster();
    void FlushSamplers();
    void FlushTextures();
    void FlushViewport();
    void Changed(UniformGroup group) { ++uniformChanges_[group]; }
    void SendUniforms(Program* program);
    void SendTransforms(const Program& program);
    void SendLighting(const Program& program);
    void SendStages(const Program& program);
    void SendAlphaTest(const Program& program);
    void SendFog(const Program& program);
    void SendViewport(const Program& program);

    // Vertex shaders (d3d8_device_shaders.cpp).
    VertexShader* FindShader(DWORD handle);
    // Sets the shader or vertex format, loading the constants a shader's declaration gives.
    void ApplyVertexShader(DWORD handle);
    void ApplyShaderConstants(DWORD first, const float* values, DWORD count);
    bool BindShaderStream(VertexShader* shader, UINT vertexCount);
    void ReleaseShaderAttributes();
    void SendShaderConstants(const Program& program);
    void CountDraw(UINT primitives);

    IDirect3D8* direct3d_;
    ContextRef context_;
    D3DPRESENT_PARAMETERS params_;
    D3DDEVICE_CREATION_PARAMETERS creation_;
    BackBuffer backBuffer_;
    Program general_;
    ProgramCache programs_;
    Program* program_ = nullptr;  // the one in use in GL
    Program* chosen_ = nullptr;   // the one ProgramForDraw chose for the current states
    bool generalForced_ = false;  // whether it was chosen while tests forced the general one
    GLuint vertexArray_ = 0;
    GLuint whiteTexture_ = 0;
    GLuint samplers_[kBlendStages] = {};

    std::map<DWORD, std::unique_ptr<VertexShader>> shaders_;
    DWORD nextShaderHandle_ = 1;  // handles are odd and never reused
    uint32_t shaderAttributes_ = 0;  // the attribute arrays a shader's stream enabled

    StateValues state_;
    uint32_t dirty_ = kDirtyAll;
    uint32_t uniformChanges_[kUniformGroupCount] = {1, 1, 1, 1, 1, 1, 1};  // programs start at 0: all unsent
    std::unique_ptr<StateBlock> recording_;
    std::map<DWORD, std::unique_ptr<StateBlock>> blocks_;
    DWORD nextBlockToken_ = 1;
    bool inScene_ = false;
    void* cursor_ = nullptr;  // SDL_Cursor

    // What the draw path last sent, so that a run of draws from one buffer binds once.
    struct BoundFormat {
        GLuint buffer = 0;
        uint32_t generation = 0;
        UINT stride = 0;
        DWORD fvf = 0xFFFFFFFFu;
        DWORD texCoordIndex = 0xFFFFFFFFu;
        bool operator==(const BoundFormat& o) const {
            return buffer == o.buffer && generation == o.generation && stride == o.stride && fvf == o.fvf &&
                   texCoordIndex == o.texCoordIndex;
        }
    };
    BoundFormat bound_;
    int pretransformed_ = 0;           // of the format being drawn
    bool litVertexColour_ = false;     // whether the lighting sent took the format's vertex colour
    GLuint boundTextures_[kBlendStages] = {0xFFFFFFFFu, 0xFFFFFFFFu};  // GL names on the stages' units
    uint32_t boundTextureGeneration_ = 0;

    layer::DeviceFrameStats current_ = {};
    layer::DeviceFrameStats last_ = {};
    uint32_t presented_ = 0;
};

// The live device, for the layer's hooks; null when there is none.
Device* LiveDevice();

}  // namespace d3d8
