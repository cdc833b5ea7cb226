// d3d8_device.cpp -- the device's life, caps, resources, scene, clearing, presenting, transforms,
// viewport, material and lights. States and state blocks are in d3d8_device_states.cpp, the draw
// path in d3d8_draw.cpp.
#include "d3d8/d3d8_device.h"

#include "d3d8/d3d8_control.h"

#include <SDL2/SDL.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace d3d8 {

namespace {

Device* g_liveDevice = nullptr;

DWORD FloatBits(float f) {
    DWORD d;
    std::memcpy(&d, &f, sizeof d);
    return d;
}

// The software renderer takes and frees some tens of kilobytes for each change of state or texture
// between draws. Were the C library to give that memory back to the system whenever the top of the
// heap came free, it would fault it in again page by page, frame after frame; so while a device
// lives the heap keeps what it has. Thresholds the user chose in the environment stand.
bool HeapThresholdsChosenByUser() {
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    return std::getenv("MALLOC_TRIM_THRESHOLD_") || (tunables && std::strstr(tunables, "malloc.trim_threshold"));
}

constexpr int kKeptHeapTrimThreshold = 1 << 30;
constexpr int kLibraryTrimThreshold = 128 * 1024;  // the C library's own starting value

void KeepHeap(bool keep) {
    if (HeapThresholdsChosenByUser()) return;
    mallopt(M_TRIM_THRESHOLD, keep ? kKeptHeapTrimThreshold : kLibraryTrimThreshold);
}

D3DMATRIX IdentityMatrix() {
    D3DMATRIX m = {};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

}  // namespace

Device* LiveDevice() { return g_liveDevice; }

D3DMATRIX MultiplyMatrices(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX out;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            out.m[r][c] = a.m[r][0] * b.m[0][c] + a.m[r][1] * b.m[1][c] + a.m[r][2] * b.m[2][c] + a.m[r][3] * b.m[3][c];
    return out;
}

HRESULT GetOwningDevice(const ContextRef& context, IDirect3DDevice8** ppDevice) {
    if (!ppDevice) return D3DERR_INVALIDCALL;
    *ppDevice = nullptr;
    if (!context || !context->device) return D3DERR_INVALIDCALL;
    context->device->AddRef();
    *ppDevice = context->device;
    return D3D_OK;
}

int TransformSlot(D3DTRANSFORMSTATETYPE state) {
    const DWORD s = (DWORD)state;
    if (s == D3DTS_VIEW) return 0;
    if (s == D3DTS_PROJECTION) return 1;
    if (s >= D3DTS_TEXTURE0 && s <= D3DTS_TEXTURE7) return 2 + (int)(s - D3DTS_TEXTURE0);
    if (s >= 256 && s <= 259) return 10 + (int)(s - 256);
    return -1;
}

void StateValues::ReleaseReferences() {
    for (auto& t : textures) Hold<IDirect3DBaseTexture8>(t, nullptr);
    Hold<IDirect3DVertexBuffer8>(stream, nullptr);
    Hold<IDirect3DIndexBuffer8>(indices, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Life

Device::Device(IDirect3D8* direct3d, const ContextRef& context, const D3DPRESENT_PARAMETERS& params,
               const D3DDEVICE_CREATION_PARAMETERS& creation)
    : direct3d_(direct3d), context_(context), params_(params), creation_(creation) {
    direct3d_->AddRef();
}

HRESULT Device::Create(IDirect3D8* direct3d, const ContextRef& context, const D3DPRESENT_PARAMETERS& params,
                       const D3DDEVICE_CREATION_PARAMETERS& creation, Device** out) {
    *out = nullptr;
    Device* device = new Device(direct3d, context, params, creation);
    if (!device->Initialise()) {
        device->Release();
        return D3DERR_NOTAVAILABLE;
    }
    *out = device;
    return D3D_OK;
}

bool Device::Initialise() {
    if (!general_.Build(FixedFunctionVertexSource(), GeneralFragmentSource())) return false;
    const D3DFORMAT format = params_.BackBufferFormat;
    const bool alpha = format == D3DFMT_A8R8G8B8 || format == D3DFMT_A1R5G5B5;
    const D3DFORMAT depthFormat = params_.AutoDepthStencilFormat;
    const bool shallowDepth =
        depthFormat == D3DFMT_D16 || depthFormat == D3DFMT_D16_LOCKABLE || depthFormat == D3DFMT_D15S1;
    const int depthBits = !params_.EnableAutoDepthStencil ? 0 : shallowDepth ? 16 : 24;
    if (!backBuffer_.Create(params_.BackBufferWidth, params_.BackBufferHeight, (int)params_.MultiSampleType, alpha,
                            depthBits, params_.SwapEffect == D3DSWAPEFFECT_DISCARD)) {
        std::fprintf(stderr, "Direct3D layer: the %ux%u back buffer cannot be made\n", params_.BackBufferWidth,
                     params_.BackBufferHeight);
        return false;
    }
    backBuffer_.ChooseTarget(context_->window);
    gl::GenVertexArrays(1, &vertexArray_);
    gl::BindVertexArray(vertexArray_);
    gl::GenSamplers(kBlendStages, samplers_);
    for (int i = 0; i < kBlendStages; ++i) gl::BindSampler((GLuint)i, samplers_[i]);

    // An unbound stage reads this opaque white texel.
    const uint32_t white = 0xFFFFFFFFu;
    glGenTextures(1, &whiteTexture_);
    gl::ActiveTexture(GL_TEXTURE7);
    glBindTexture(GL_TEXTURE_2D, whiteTexture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, &white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    gl::ActiveTexture(GL_TEXTURE0);

    glDisable(GL_DITHER);
    glFrontFace(GL_CCW);
    const bool vsync = !params_.Windowed && params_.FullScreen_PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE;
    SDL_GL_SetSwapInterval(vsync ? 1 : 0);

    SetDefaultStates();
    context_->device = this;
    g_liveDevice = this;
    KeepHeap(true);
    return true;
}

Device::~Device() {
    if (g_liveDevice == this) {
        g_liveDevice = nullptr;
        KeepHeap(false);
    }
    if (context_->device == this) context_->device = nullptr;
    recording_.reset();
    blocks_.clear();
    state_.ReleaseReferences();
    if (cursor_) SDL_FreeCursor(static_cast<SDL_Cursor*>(cursor_));
    if (samplers_[0]) gl::DeleteSamplers(kBlendStages, samplers_);
    if (whiteTexture_) glDeleteTextures(1, &whiteTexture_);
    if (vertexArray_) gl::DeleteVertexArrays(1, &vertexArray_);
    general_.Destroy();
    backBuffer_.Destroy();
    direct3d_->Release();
}

void Device::SetDefaultStates() {
    DWORD* rs = state_.renderStates;
    rs[D3DRS_ZENABLE] = params_.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
    rs[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    rs[D3DRS_ZWRITEENABLE] = TRUE;
    rs[D3DRS_LASTPIXEL] = TRUE;
    rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    rs[D3DRS_CULLMODE] = D3DCULL_CCW;
    rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_FOGEND] = FloatBits(1.0f);
    rs[D3DRS_FOGDENSITY] = FloatBits(1.0f);
    rs[D3DRS_STENCILFAIL] = rs[D3DRS_STENCILZFAIL] = rs[D3DRS_STENCILPASS] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_STENCILMASK] = rs[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFFu;
    rs[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
    rs[D3DRS_CLIPPING] = TRUE;
    rs[D3DRS_LIGHTING] = TRUE;
    rs[D3DRS_COLORVERTEX] = TRUE;
    rs[D3DRS_LOCALVIEWER] = TRUE;
    rs[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    rs[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
    rs[D3DRS_SOFTWAREVERTEXPROCESSING] = (creation_.BehaviorFlags & D3DCREATE_SOFTWARE_VERTEXPROCESSING) ? 1 : 0;
    rs[D3DRS_POINTSIZE] = FloatBits(1.0f);
    rs[D3DRS_POINTSIZE_MIN] = FloatBits(1.0f);
    rs[D3DRS_POINTSCALE_A] = FloatBits(1.0f);
    rs[D3DRS_MULTISAMPLEANTIALIAS] = TRUE;
    rs[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFFu;
    rs[D3DRS_PATCHSEGMENTS] = FloatBits(1.0f);
    rs[D3DRS_POINTSIZE_MAX] = FloatBits(64.0f);
    rs[D3DRS_COLORWRITEENABLE] = 0x0F;
    rs[D3DRS_BLENDOP] = D3DBLENDOP_ADD;

    for (int s = 0; s < kStageCount; ++s) {
        DWORD* ts = state_.stageStates[s];
        ts[D3DTSS_COLOROP] = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        ts[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        ts[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        ts[D3DTSS_ALPHAOP] = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        ts[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        ts[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        ts[D3DTSS_TEXCOORDINDEX] = (DWORD)s;
        ts[D3DTSS_ADDRESSU] = ts[D3DTSS_ADDRESSV] = ts[D3DTSS_ADDRESSW] = D3DTADDRESS_WRAP;
        ts[D3DTSS_MAGFILTER] = D3DTEXF_POINT;
        ts[D3DTSS_MINFILTER] = D3DTEXF_POINT;
        ts[D3DTSS_MIPFILTER] = D3DTEXF_NONE;
        ts[D3DTSS_MAXANISOTROPY] = 1;
        ts[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
        ts[D3DTSS_COLORARG0] = ts[D3DTSS_ALPHAARG0] = ts[D3DTSS_RESULTARG] = D3DTA_CURRENT;
    }
    for (auto& m : state_.transforms) m = IdentityMatrix();
    state_.viewport = D3DVIEWPORT8{0, 0, params_.BackBufferWidth, params_.BackBufferHeight, 0.0f, 1.0f};
    dirty_ = kDirtyAll;
}

HRESULT Device::QueryInterface(REFIID riid, void** ppvObj) {
    return QueryFor(this, riid, ppvObj, {&IID_IDirect3DDevice8});
}

// ---------------------------------------------------------------------------------------------
// Device facts

UINT Device::GetAvailableTextureMem() { return 256u * 1024u * 1024u; }

HRESULT Device::GetDirect3D(IDirect3D8** ppD3D8) {
    if (!ppD3D8) return D3DERR_INVALIDCALL;
    direct3d_->AddRef();
    *ppD3D8 = direct3d_;
    return D3D_OK;
}

void Device::DescribeCaps(D3DCAPS8* c, UINT maxTextureSize) {
    std::memset(c, 0, sizeof *c);
    c->DeviceType = D3DDEVTYPE_HAL;
    c->AdapterOrdinal = D3DADAPTER_DEFAULT;
    c->PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
    c->DevCaps = D3DDEVCAPS_EXECUTESYSTEMMEMORY | D3DDEVCAPS_TLVERTEXSYSTEMMEMORY | D3DDEVCAPS_TEXTUREVIDEOMEMORY |
                 D3DDEVCAPS_DRAWPRIMTLVERTEX | D3DDEVCAPS_CANRENDERAFTERFLIP | D3DDEVCAPS_HWTRANSFORMANDLIGHT |
                 D3DDEVCAPS_HWRASTERIZATION;
    c->PrimitiveMiscCaps = D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW |
                           D3DPMISCCAPS_COLORWRITEENABLE | D3DPMISCCAPS_BLENDOP;
    c->RasterCaps = D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_FOGTABLE | D3DPRASTERCAPS_MIPMAPLODBIAS |
                    D3DPRASTERCAPS_WFOG | D3DPRASTERCAPS_ZFOG;
    c->ZCmpCaps = c->AlphaCmpCaps = 0xFF;
    c->SrcBlendCaps = c->DestBlendCaps = 0x7FF;
    c->ShadeCaps = D3DPSHADECAPS_COLORGOURAUDRGB | D3DPSHADECAPS_ALPHAGOURAUDBLEND | D3DPSHADECAPS_FOGGOURAUD;
    c->TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
    c->TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MIPFPOINT |
                           D3DPTFILTERCAPS_MIPFLINEAR | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
    c->TextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR | D3DPTADDRESSCAPS_CLAMP |
                            D3DPTADDRESSCAPS_BORDER | D3DPTADDRESSCAPS_INDEPENDENTUV | D3DPTADDRESSCAPS_MIRRORONCE;
    c->MaxTextureWidth = c->MaxTextureHeight = maxTextureSize;
    c->MaxTextureRepeat = 8192;
    c->MaxTextureAspectRatio = maxTextureSize;
    c->MaxAnisotropy = 1;
    c->MaxVertexW = 1e10f;
    c->GuardBandLeft = c->GuardBandTop = -8192.0f;
    c->GuardBandRight = c->GuardBandBottom = 8192.0f;
    c->FVFCaps = 8;
    c->TextureOpCaps = D3DTEXOPCAPS_DISABLE | D3DTEXOPCAPS_SELECTARG1 | D3DTEXOPCAPS_SELECTARG2 |
                       D3DTEXOPCAPS_MODULATE | D3DTEXOPCAPS_MODULATE2X | D3DTEXOPCAPS_MODULATE4X | D3DTEXOPCAPS_ADD |
                       D3DTEXOPCAPS_ADDSIGNED | D3DTEXOPCAPS_ADDSIGNED2X | D3DTEXOPCAPS_SUBTRACT |
                       D3DTEXOPCAPS_BLENDDIFFUSEALPHA | D3DTEXOPCAPS_BLENDTEXTUREALPHA |
                       D3DTEXOPCAPS_BLENDFACTORALPHA | D3DTEXOPCAPS_BLENDCURRENTALPHA;
    c->MaxTextureBlendStages = kBlendStages;
    c->MaxSimultaneousTextures = kBlendStages;
    c->VertexProcessingCaps = D3DVTXPCAPS_DIRECTIONALLIGHTS | D3DVTXPCAPS_POSITIONALLIGHTS;
    c->MaxActiveLights = kMaxActiveLights;
    c->MaxPointSize = 1.0f;
    c->MaxPrimitiveCount = 0xFFFFF;
    c->MaxVertexIndex = 0xFFFFFF;
    c->MaxStreams = 1;
    c->VertexShaderVersion = D3DVS_VERSION(1, 1);
    c->MaxVertexShaderConst = kShaderConstants;
    c->MaxStreamStride = 256;
}

HRESULT Device::GetDeviceCaps(D3DCAPS8* pCaps) {
    if (!pCaps) return D3DERR_INVALIDCALL;
    UINT size = std::min(kDefaultMaxTextureSize, context_->maxTextureSize);
    if (MaxTextureSizeOverride()) size = MaxTextureSizeOverride();
    DescribeCaps(pCaps, size);
    return D3D_OK;
}

HRESULT Device::GetDisplayMode(D3DDISPLAYMODE* pMode) {
    if (!pMode) return D3DERR_INVALIDCALL;
    return direct3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, pMode);
}

HRESULT Device::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* pParameters) {
    if (!pParameters) return D3DERR_INVALIDCALL;
    *pParameters = creation_;
    return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// Cursor

HRESULT Device::SetCursorProperties(UINT XHotSpot, UINT YHotSpot, IDirect3DSurface8* pCursorBitmap) {
    if (!pCursorBitmap) return D3DERR_INVALIDCALL;
    D3DSURFACE_DESC desc;
    if (FAILED(pCursorBitmap->GetDesc(&desc)) || desc.Format != D3DFMT_A8R8G8B8 || XHotSpot >= desc.Width ||
        YHotSpot >= desc.Height)
        return D3DERR_INVALIDCALL;
    D3DLOCKED_RECT locked;
    if (FAILED(pCursorBitmap->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return D3DERR_INVALIDCALL;
    std::vector<uint32_t> picture((size_t)desc.Width * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y)
        std::memcpy(&picture[(size_t)y * desc.Width], static_cast<BYTE*>(locked.pBits) + (size_t)y * locked.Pitch,
                    (size_t)desc.Width * 4);
    pCursorBitmap->UnlockRect();
    SDL_Surface* image = SDL_CreateRGBSurfaceWithFormat(0, (int)desc.Width, (int)desc.Height, 32,
                                                        SDL_PIXELFORMAT_ARGB8888);
    if (image) {
        for (UINT y = 0; y < desc.Height; ++y)
            std::memcpy(static_cast<BYTE*>(image->pixels) + (size_t)y * image->pitch, &picture[(size_t)y * desc.Width],
                        (size_t)desc.Width * 4);
    }
    StoreCursorPicture(std::move(picture), desc.Width, desc.Height, XHotSpot, YHotSpot);
    if (!image) return E_OUTOFMEMORY;
    // A display without cursors keeps the system one; the call still succeeds, as the picture is taken.
    SDL_Cursor* cursor = SDL_CreateColorCursor(image, (int)XHotSpot, (int)YHotSpot);
    SDL_FreeSurface(image);
    if (cursor) {
        SDL_SetCursor(cursor);
        if (cursor_) SDL_FreeCursor(static_cast<SDL_Cursor*>(cursor_));
        cursor_ = cursor;
    }
    return D3D_OK;
}

void Device::SetCursorPosition(UINT XScreenSpace, UINT YScreenSpace, DWORD) {
    SDL_WarpMouseInWindow(context_->window, (int)XScreenSpace, (int)YScreenSpace);
}

BOOL Device::ShowCursor(BOOL bShow) {
    int was = SDL_ShowCursor(SDL_QUERY);
    SDL_ShowCursor(bShow ? SDL_ENABLE : SDL_DISABLE);
    return was == SDL_ENABLE ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------------
// Resources

namespace {

// Starts a creation: clears the caller's pointer and answers a failure that a test imposed.
template <class Object>
HRESULT BeginCreation(Object** out) {
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    return TakeResourceFailure();
}

}  // namespace

HRESULT Device::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                              IDirect3DTexture8** ppTexture) {
    HRESULT hr = BeginCreation(ppTexture);
    if (FAILED(hr)) return hr;
    const FormatInfo* format = FindTextureFormat(Format);
    if (!format || Width == 0 || Height == 0 || Width > context_->maxTextureSize ||
        Height > context_->maxTextureSize)
        return D3DERR_INVALIDCALL;
    *ppTexture = new Texture(context_, Width, Height, Levels, Usage, *format, Pool);
    return D3D_OK;
}

HRESULT Device::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                   IDirect3DVertexBuffer8** ppVertexBuffer) {
    HRESULT hr = BeginCreation(ppVertexBuffer);
    if (FAILED(hr)) return hr;
    if (Length == 0 || Length > (1u << 28)) return D3DERR_INVALIDCALL;
    *ppVertexBuffer = new VertexBuffer(context_, Length, Usage, FVF, Pool);
    return D3D_OK;
}

HRESULT Device::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                  IDirect3DIndexBuffer8** ppIndexBuffer) {
    HRESULT hr = BeginCreation(ppIndexBuffer);
    if (FAILED(hr)) return hr;
    if (Length == 0 || Length > (1u << 28) || (Format != D3DFMT_INDEX16 && Format != D3DFMT_INDEX32))
        return D3DERR_INVALIDCALL;
    *ppIndexBuffer = new IndexBuffer(context_, Length, Usage, Format, Pool);
    return D3D_OK;
}

HRESULT Device::CreateImageSurface(UINT Width, UINT Height, D3DFORMAT Format, IDirect3DSurface8** ppSurface) {
    HRESULT hr = BeginCreation(ppSurface);
    if (FAILED(hr)) return hr;
    const FormatInfo* format = FindTextureFormat(Format);
    if (!format || Width == 0 || Height == 0 || Width > 16384 || Height > 16384) return D3DERR_INVALIDCALL;
    *ppSurface = new Surface(context_, Width, Height, *format);
    return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// Scene, clearing, presenting

HRESULT Device::BeginScene() {
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HRESULT Device::EndScene() {
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    glFlush();
    return D3D_OK;
}

HRESULT Device::Clear(DWORD Count, CONST D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD) {
    if ((Flags & ~(DWORD)(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) || (Count && !pRects))
        return D3DERR_INVALIDCALL;
    if ((Flags & D3DCLEAR_ZBUFFER) && !params_.EnableAutoDepthStencil) return D3DERR_INVALIDCALL;
    if (Flags & D3DCLEAR_STENCIL) return D3DERR_INVALIDCALL;  // the depth buffer has no stencil
    GLbitfield bits = 0;
    if (Flags & D3DCLEAR_TARGET) {
        bits |= GL_COLOR_BUFFER_BIT;
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(((Color >> 16) & 0xFF) / 255.0f, ((Color >> 8) & 0xFF) / 255.0f, (Color & 0xFF) / 255.0f,
                     ((Color >> 24) & 0xFF) / 255.0f);
    }
    if (Flags & D3DCLEAR_ZBUFFER) {
        bits |= GL_DEPTH_BUFFER_BIT;
        glDepthMask(GL_TRUE);
        glClearDepth(std::min(1.0f, std::max(0.0f, Z)));
    }
    if (!bits) return D3D_OK;
    // Clearing covers the viewport, cut to each rectangle given.
    const D3DVIEWPORT8& vp = state_.viewport;
    const D3DRECT whole = {(LONG)vp.X, (LONG)vp.Y, (LONG)(vp.X + vp.Width), (LONG)(vp.Y + vp.Height)};
    if (!Count && vp.X == 0 && vp.Y == 0 && vp.Width == backBuffer_.width && vp.Height == backBuffer_.height) {
        glClear(bits);  // the whole buffer: no scissor, which lets the driver clear fastest
        dirty_ |= kDirtyRaster;
        return D3D_OK;
    }
    glEnable(GL_SCISSOR_TEST);
    const DWORD n = Count ? Count : 1;
    for (DWORD i = 0; i < n; ++i) {
        const D3DRECT r = Count ? pRects[i] : whole;
        const LONG x1 = std::max(r.x1, whole.x1), y1 = std::max(r.y1, whole.y1);
        const LONG x2 = std::min(r.x2, whole.x2), y2 = std::min(r.y2, whole.y2);
        if (x1 >= x2 || y1 >= y2) continue;
        glScissor(x1, (GLint)backBuffer_.height - y2, x2 - x1, y2 - y1);
        glClear(bits);
    }
    glDisable(GL_SCISSOR_TEST);
    dirty_ |= kDirtyRaster;  // the write masks
    return D3D_OK;
}

HRESULT Device::Present(CONST RECT*, CONST RECT*, HWND, CONST struct _RGNDATA*) {
    backBuffer_.PresentTo(context_->window);
    dirty_ |= kDirtyRaster;  // the colour mask of the letterbox's clearing
    last_ = current_;
    current_ = {};
    ++presented_;
    return D3D_OK;
}

bool Device::ReadBackBuffer(std::vector<uint32_t>* pixels, UINT* width, UINT* height) {
    const bool opaque = params_.BackBufferFormat != D3DFMT_A8R8G8B8 && params_.BackBufferFormat != D3DFMT_A1R5G5B5;
    backBuffer_.ReadPixels(pixels, opaque);
    *width = backBuffer_.width;
    *height = backBuffer_.height;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Transforms, viewport, material, lights

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE State, CONST D3DMATRIX* pMatrix) {
    const int slot = TransformSlot(State);
    if (slot < 0 || !pMatrix) return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->transforms.set((size_t)slot);
        recording_->values.transforms[slot] = *pMatrix;
        return D3D_OK;
    }
    ApplyTransform(slot, *pMatrix);
    return D3D_OK;
}

void Device::ApplyTransform(int slot, const D3DMATRIX& matrix) {
    if (std::memcmp(&state_.transforms[slot], &matrix, sizeof matrix) == 0) return;
    state_.transforms[slot] = matrix;
    Changed(kUniformTransforms);
    if (slot == TransformSlot(D3DTS_VIEW)) Changed(kUniformLighting);  // lights are sent in eye space
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) {
    const int slot = TransformSlot(State);
    if (slot < 0 || !pMatrix) return D3DERR_INVALIDCALL;
    *pMatrix = state_.transforms[slot];
    return D3D_OK;
}

HRESULT Device::MultiplyTransform(D3DTRANSFORMSTATETYPE State, CONST D3DMATRIX* pMatrix) {
    const int slot = TransformSlot(State);
    if (slot < 0 || !pMatrix) return D3DERR_INVALIDCALL;
    const D3DMATRIX product = MultiplyMatrices(*pMatrix, state_.transforms[slot]);
    return SetTransform(State, &product);
}

HRESULT Device::SetViewport(CONST D3DVIEWPORT8* pViewport) {
    if (!pViewport || pViewport->Width == 0 || pViewport->Height == 0 ||
        pViewport->X + pViewport->Width > backBuffer_.width || pViewport->Y + pViewport->Height > backBuffer_.height ||
        pViewport->MinZ < 0.0f || pViewport->MaxZ > 1.0f || pViewport->MinZ > pViewport->MaxZ)
        return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->viewport = true;
        recording_->values.viewport = *pViewport;
        return D3D_OK;
    }
    ApplyViewport(*pViewport);
    return D3D_OK;
}

void Device::ApplyViewport(const D3DVIEWPORT8& viewport) {
    if (std::memcmp(&state_.viewport, &viewport, sizeof viewport) == 0) return;
    state_.viewport = viewport;
    dirty_ |= kDirtyViewport;
    Changed(kUniformViewport);
}

HRESULT Device::GetViewport(D3DVIEWPORT8* pViewport) {
    if (!pViewport) return D3DERR_INVALIDCALL;
    *pViewport = state_.viewport;
    return D3D_OK;
}

HRESULT Device::SetMaterial(CONST D3DMATERIAL8* pMaterial) {
    if (!pMaterial) return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->material = true;
        recording_->values.material = *pMaterial;
        return D3D_OK;
    }
    ApplyMaterial(*pMaterial);
    return D3D_OK;
}

HRESULT Device::GetMaterial(D3DMATERIAL8* pMaterial) {
    if (!pMaterial) return D3DERR_INVALIDCALL;
    *pMaterial = state_.material;
    return D3D_OK;
}

HRESULT Device::SetLight(DWORD Index, CONST D3DLIGHT8* pLight) {
    if (!pLight || Index >= kMaxLightIndex || pLight->Type < D3DLIGHT_POINT || pLight->Type > D3DLIGHT_DIRECTIONAL)
        return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->lights.insert(Index);
        auto it = recording_->values.lights.find(Index);
        if (it == recording_->values.lights.end())
            recording_->values.lights[Index] = LightSlot{*pLight, false};
        else
            it->second.light = *pLight;
        return D3D_OK;
    }
    ApplyLight(Index, *pLight);
    return D3D_OK;
}

void Device::ApplyMaterial(const D3DMATERIAL8& material) {
    if (std::memcmp(&state_.material, &material, sizeof material) == 0) return;
    state_.material = material;
    Changed(kUniformLighting);
}

void Device::ApplyLight(DWORD index, const D3DLIGHT8& light) {
    auto it = state_.lights.find(index);
    if (it == state_.lights.end()) {
        state_.lights[index] = LightSlot{light, false};  // off: nothing to send yet
        return;
    }
    if (std::memcmp(&it->second.light, &light, sizeof light) == 0) return;
    it->second.light = light;
    if (it->second.enabled) Changed(kUniformLighting);
}

HRESULT Device::GetLight(DWORD Index, D3DLIGHT8* pLight) {
    auto it = state_.lights.find(Index);
    if (!pLight || it == state_.lights.end()) return D3DERR_INVALIDCALL;
    *pLight = it->second.light;
    return D3D_OK;
}

namespace {

// The light that LightEnable makes of an index never set: white, directional, shining along +z.
D3DLIGHT8 DefaultLight() {
    D3DLIGHT8 light = {};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = D3DVECTOR{0.0f, 0.0f, 1.0f};
    return light;
}

}  // namespace

HRESULT Device::LightEnable(DWORD Index, BOOL Enable) {
    if (Index >= kMaxLightIndex) return D3DERR_INVALIDCALL;
    if (recording_) {
        recording_->lightEnables.insert(Index);
        auto it = recording_->values.lights.find(Index);
        if (it == recording_->values.lights.end())
            recording_->values.lights[Index] = LightSlot{DefaultLight(), Enable != FALSE};
        else
            it->second.enabled = Enable != FALSE;
        return D3D_OK;
    }
    ApplyLightEnable(Index, Enable);
    return D3D_OK;
}

void Device::ApplyLightEnable(DWORD index, BOOL enable) {
    auto it = state_.lights.find(index);
    if (it == state_.lights.end()) {
        state_.lights[index] = LightSlot{DefaultLight(), enable != FALSE};
    } else {
        if (it->second.enabled == (enable != FALSE)) return;
        it->second.enabled = enable != FALSE;
    }
    Changed(kUniformLighting);
}

HRESULT Device::GetLightEnable(DWORD Index, BOOL* pEnable) {
    auto it = state_.lights.find(Index);
    if (!pEnable || it == state_.lights.end()) return D3DERR_INVALIDCALL;
    *pEnable = it->second.enabled ? TRUE : FALSE;
    return D3D_OK;
}

}  // namespace d3d8
