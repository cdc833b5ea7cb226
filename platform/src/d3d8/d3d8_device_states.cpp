// d3d8_device_states.cpp -- render and texture-stage states, bound textures, streams, indices,
// vertex formats and state blocks. While a block records, settings are stored in it and not applied.
#include "d3d8/d3d8_device.h"

#include <cstring>

namespace d3d8 {

namespace {

bool ValidStage(DWORD stage, DWORD type) { return stage < (DWORD)kStageCount && type < (DWORD)kStageStateCount; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Render states

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) {
    if ((DWORD)State >= (DWORD)kRenderStateCount) return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->renderStates.set(State);
        recording_->values.renderStates[State] = Value;
        return D3D_OK;
    }
    ApplyRenderState(State, Value);
    return D3D_OK;
}

void Device::ApplyRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (state_.renderStates[state] == value) return;  // setting the value already set costs nothing
    state_.renderStates[state] = value;
    switch (state) {
        case D3DRS_ZENABLE:
        case D3DRS_FILLMODE:
        case D3DRS_SHADEMODE:
        case D3DRS_ZWRITEENABLE:
        case D3DRS_SRCBLEND:
        case D3DRS_DESTBLEND:
        case D3DRS_CULLMODE:
        case D3DRS_ZFUNC:
        case D3DRS_ALPHABLENDENABLE:
        case D3DRS_COLORWRITEENABLE:
        case D3DRS_BLENDOP:
            dirty_ |= kDirtyRaster;
            break;
        case D3DRS_ALPHATESTENABLE:
        case D3DRS_ALPHAFUNC:
            dirty_ |= kDirtyProgram;
            Changed(kUniformAlphaTest);
            break;
        case D3DRS_ALPHAREF:
            Changed(kUniformAlphaTest);
            break;
        case D3DRS_FOGENABLE:
        case D3DRS_FOGTABLEMODE:
        case D3DRS_FOGVERTEXMODE:
            dirty_ |= kDirtyProgram;
            Changed(kUniformFog);
            break;
        case D3DRS_FOGCOLOR:
        case D3DRS_FOGSTART:
        case D3DRS_FOGEND:
        case D3DRS_FOGDENSITY:
            Changed(kUniformFog);
            break;
        case D3DRS_LIGHTING:
        case D3DRS_AMBIENT:
        case D3DRS_COLORVERTEX:
        case D3DRS_NORMALIZENORMALS:
        case D3DRS_DIFFUSEMATERIALSOURCE:
        case D3DRS_AMBIENTMATERIALSOURCE:
        case D3DRS_EMISSIVEMATERIALSOURCE:
            Changed(kUniformLighting);
            break;
        case D3DRS_TEXTUREFACTOR:
            Changed(kUniformStages);
            break;
        default:
            break;
    }
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) {
    if ((DWORD)State >= (DWORD)kRenderStateCount || !pValue) return D3DERR_INVALIDCALL;
    *pValue = state_.renderStates[State];
    return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// Texture stages

HRESULT Device::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) {
    if (!ValidStage(Stage, Type)) return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->stageStates[Stage].set(Type);
        recording_->values.stageStates[Stage][Type] = Value;
        return D3D_OK;
    }
    ApplyStageState(Stage, Type, Value);
    return D3D_OK;
}

void Device::ApplyStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (state_.stageStates[stage][type] == value) return;
    state_.stageStates[stage][type] = value;
    if (stage >= (DWORD)kBlendStages) return;  // stages the pipeline does not combine
    switch (type) {
        case D3DTSS_ADDRESSU:
        case D3DTSS_ADDRESSV:
        case D3DTSS_ADDRESSW:
        case D3DTSS_BORDERCOLOR:
        case D3DTSS_MAGFILTER:
        case D3DTSS_MINFILTER:
        case D3DTSS_MIPFILTER:
        case D3DTSS_MIPMAPLODBIAS:
        case D3DTSS_MAXMIPLEVEL:
        case D3DTSS_MAXANISOTROPY:
            dirty_ |= kDirtySamplers;
            break;
        case D3DTSS_COLOROP:
        case D3DTSS_COLORARG1:
        case D3DTSS_COLORARG2:
        case D3DTSS_ALPHAOP:
        case D3DTSS_ALPHAARG1:
        case D3DTSS_ALPHAARG2:
            dirty_ |= kDirtyProgram;
            Changed(kUniformStages);
            break;
        default:
            break;  // the coordinate index is read by each draw
    }
}

HRESULT Device::GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue) {
    if (!ValidStage(Stage, Type) || !pValue) return D3DERR_INVALIDCALL;
    *pValue = state_.stageStates[Stage][Type];
    return D3D_OK;
}

HRESULT Device::SetTexture(DWORD Stage, IDirect3DBaseTexture8* pTexture) {
    if (Stage >= (DWORD)kStageCount) return D3DERR_INVALIDCALL;
    if (pTexture && !dynamic_cast<Texture*>(pTexture)) return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->textures.set(Stage);
        Hold(recording_->values.textures[Stage], pTexture);
        return D3D_OK;
    }
    ApplyTexture(Stage, pTexture);
    return D3D_OK;
}

void Device::ApplyTexture(DWORD stage, IDirect3DBaseTexture8* texture) {
    if (state_.textures[stage] == texture) return;
    Hold(state_.textures[stage], texture);
    if (stage < (DWORD)kBlendStages) dirty_ |= kDirtyTextures;
}

HRESULT Device::GetTexture(DWORD Stage, IDirect3DBaseTexture8** ppTexture) {
    if (Stage >= (DWORD)kStageCount || !ppTexture) return D3DERR_INVALIDCALL;
    *ppTexture = state_.textures[Stage];
    if (*ppTexture) (*ppTexture)->AddRef();
    return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// Streams, indices, shaders

HRESULT Device::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8* pStreamData, UINT Stride) {
    if (StreamNumber != 0 || Stride > 256 || (pStreamData && !dynamic_cast<VertexBuffer*>(pStreamData)))
        return D3DERR_INVALIDCALL;
    StateValues& target = recording_ ? recording_->values : state_;
    if (recording_) recording_->stream = true;
    Hold(target.stream, pStreamData);
    target.stride = Stride;
    return D3D_OK;
}

HRESULT Device::GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8** ppStreamData, UINT* pStride) {
    if (StreamNumber != 0 || !ppStreamData || !pStride) return D3DERR_INVALIDCALL;
    *ppStreamData = state_.stream;
    if (*ppStreamData) (*ppStreamData)->AddRef();
    *pStride = state_.stride;
    return D3D_OK;
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer8* pIndexData, UINT BaseVertexIndex) {
    if (pIndexData && !dynamic_cast<IndexBuffer*>(pIndexData)) return D3DERR_INVALIDCALL;
    StateValues& target = recording_ ? recording_->values : state_;
    if (recording_) recording_->indices = true;
    Hold(target.indices, pIndexData);
    target.baseVertex = BaseVertexIndex;
    return D3D_OK;
}

HRESULT Device::GetIndices(IDirect3DIndexBuffer8** ppIndexData, UINT* pBaseVertexIndex) {
    if (!ppIndexData || !pBaseVertexIndex) return D3DERR_INVALIDCALL;
    *ppIndexData = state_.indices;
    if (*ppIndexData) (*ppIndexData)->AddRef();
    *pBaseVertexIndex = state_.baseVertex;
    return D3D_OK;
}

HRESULT Device::SetVertexShader(DWORD Handle) {
    if (IsShaderHandle(Handle) && !FindShader(Handle)) return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->vertexShader = true;
        recording_->values.vertexShader = Handle;
        return D3D_OK;
    }
    ApplyVertexShader(Handle);
    return D3D_OK;
}

HRESULT Device::GetVertexShader(DWORD* pHandle) {
    if (!pHandle) return D3DERR_INVALIDCALL;
    *pHandle = state_.vertexShader;
    return D3D_OK;
}

HRESULT Device::SetPixelShader(DWORD Handle) {
    if (Handle != 0) return D3DERR_INVALIDCALL;  // only the fixed pipeline exists
    if (recording_) {
        recording_->pixelShader = true;
        recording_->values.pixelShader = 0;
        return D3D_OK;
    }
    state_.pixelShader = 0;
    return D3D_OK;
}

HRESULT Device::GetPixelShader(DWORD* pHandle) {
    if (!pHandle) return D3DERR_INVALIDCALL;
    *pHandle = state_.pixelShader;
    return D3D_OK;
}

HRESULT Device::ValidateDevice(DWORD* pNumPasses) {
    if (!pNumPasses) return D3DERR_INVALIDCALL;
    *pNumPasses = 1;
    return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// State blocks

HRESULT Device::BeginStateBlock() {
    if (recording_) return D3DERR_INVALIDCALL;
    recording_.reset(new StateBlock());
    return D3D_OK;
}

HRESULT Device::EndStateBlock(DWORD* pToken) {
    if (!recording_ || !pToken) return D3DERR_INVALIDCALL;
    const DWORD token = nextBlockToken_++;
    blocks_[token] = std::move(recording_);
    *pToken = token;
    return D3D_OK;
}

HRESULT Device::ApplyStateBlock(DWORD Token) {
    auto it = blocks_.find(Token);
    if (recording_ || it == blocks_.end()) return D3DERR_INVALIDCALL;
    ApplyBlock(*it->second);
    return D3D_OK;
}

HRESULT Device::CaptureStateBlock(DWORD Token) {
    auto it = blocks_.find(Token);
    if (recording_ || it == blocks_.end()) return D3DERR_INVALIDCALL;
    CaptureBlock(it->second.get());
    return D3D_OK;
}

HRESULT Device::DeleteStateBlock(DWORD Token) {
    auto it = blocks_.find(Token);
    if (recording_ || it == blocks_.end()) return D3DERR_INVALIDCALL;
    blocks_.erase(it);
    return D3D_OK;
}

void Device::ApplyBlock(const StateBlock& block) {
    const StateValues& v = block.values;
    for (int i = 0; i < kRenderStateCount; ++i)
        if (block.renderStates.test((size_t)i)) ApplyRenderState((D3DRENDERSTATETYPE)i, v.renderStates[i]);
    for (int s = 0; s < kStageCount; ++s)
        for (int t = 0; t < kStageStateCount; ++t)
            if (block.stageStates[s].test((size_t)t))
                ApplyStageState((DWORD)s, (D3DTEXTURESTAGESTATETYPE)t, v.stageStates[s][t]);
    for (int i = 0; i < kTransformSlotCount; ++i)
        if (block.transforms.test((size_t)i)) ApplyTransform(i, v.transforms[i]);
    for (int s = 0; s < kStageCount; ++s)
        if (block.textures.test((size_t)s)) ApplyTexture((DWORD)s, v.textures[s]);
    if (block.viewport) ApplyViewport(v.viewport);
    if (block.material) ApplyMaterial(v.material);
    for (DWORD index : block.lights) ApplyLight(index, v.lights.at(index).light);
    for (DWORD index : block.lightEnables) ApplyLightEnable(index, v.lights.at(index).enabled);
    if (block.stream) {
        Hold(state_.stream, v.stream);
        state_.stride = v.stride;
    }
    if (block.indices) {
        Hold(state_.indices, v.indices);
        state_.baseVertex = v.baseVertex;
    }
    for (DWORD c = 0; c < kShaderConstants; ++c)
        if (block.shaderConstants.test(c)) ApplyShaderConstants(c, v.shaderConstants[c], 1);
    if (block.vertexShader) ApplyVertexShader(v.vertexShader);
    if (block.pixelShader) state_.pixelShader = v.pixelShader;
}

void Device::CaptureBlock(StateBlock* block) {
    StateValues& v = block->values;
    for (int i = 0; i < kRenderStateCount; ++i)
        if (block->renderStates.test((size_t)i)) v.renderStates[i] = state_.renderStates[i];
    for (int s = 0; s < kStageCount; ++s)
        for (int t = 0; t < kStageStateCount; ++t)
            if (block->stageStates[s].test((size_t)t)) v.stageStates[s][t] = state_.stageStates[s][t];
    for (int i = 0; i < kTransformSlotCount; ++i)
        if (block->transforms.test((size_t)i)) v.transforms[i] = state_.transforms[i];
    for (int s = 0; s < kStageCount; ++s)
        if (block->textures.test((size_t)s)) Hold(v.textures[s], state_.textures[s]);
    if (block->viewport) v.viewport = state_.viewport;
    if (block->material) v.material = state_.material;
    for (DWORD index : block->lights) {
        auto it = state_.lights.find(index);
        if (it != state_.lights.end()) v.lights[index].light = it->second.light;
    }
    for (DWORD index : block->lightEnables) {
        auto it = state_.lights.find(index);
        v.lights[index].enabled = it != state_.lights.end() && it->second.enabled;
    }
    if (block->stream) {
        Hold(v.stream, state_.stream);
        v.stride = state_.stride;
    }
    if (block->indices) {
        Hold(v.indices, state_.indices);
        v.baseVertex = state_.baseVertex;
    }
    for (DWORD c = 0; c < kShaderConstants; ++c)
        if (block->shaderConstants.test(c)) std::memcpy(v.shaderConstants[c], state_.shaderConstants[c], 16);
    if (block->vertexShader) v.vertexShader = state_.vertexShader;
    if (block->pixelShader) v.pixelShader = state_.pixelShader;
}

}  // namespace d3d8
