// d3d8_direct3d.cpp -- Direct3DCreate8 and the IDirect3D8 object: the display mode, the caps and
// the creation of the one device, with its GL context on the window's SDL window (or on a hidden
// window of its own when the handle has none, as in tests).
#include "d3d8/d3d8_control.h"
#include "d3d8/d3d8_device.h"
#include "win32/window_link.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>

namespace d3d8 {

Context::~Context() {
    if (glContext) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(glContext));
    }
    if (ownWindow && window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

namespace {

// The one live context: a second device is refused while the first (or its resources) live.
std::weak_ptr<Context> g_context;

D3DFORMAT FormatOfPixels(Uint32 sdlFormat) {
    switch (SDL_BITSPERPIXEL(sdlFormat)) {
        case 15: return D3DFMT_X1R5G5B5;
        case 16: return D3DFMT_R5G6B5;
        default: return D3DFMT_X8R8G8B8;
    }
}

bool BackBufferFormatAllowed(D3DFORMAT f) {
    return f == D3DFMT_UNKNOWN || f == D3DFMT_X8R8G8B8 || f == D3DFMT_A8R8G8B8 || f == D3DFMT_R5G6B5 ||
           f == D3DFMT_X1R5G5B5 || f == D3DFMT_A1R5G5B5;
}

class Direct3D final : public RefCounted<IDirect3D8> {
public:
    ~Direct3D() override { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

    HRESULT QueryInterface(REFIID riid, void** ppvObj) override {
        return QueryFor(this, riid, ppvObj, {&IID_IDirect3D8});
    }

    UINT GetAdapterCount() override { return 1; }

    HRESULT GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) override {
        if (Adapter != D3DADAPTER_DEFAULT || !pMode) return D3DERR_INVALIDCALL;
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return D3DERR_NOTAVAILABLE;
        pMode->Width = (UINT)mode.w;
        pMode->Height = (UINT)mode.h;
        pMode->RefreshRate = (UINT)std::max(0, mode.refresh_rate);
        pMode->Format = FormatOfPixels(mode.format);
        return D3D_OK;
    }

    HRESULT GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS8* pCaps) override {
        if (Adapter != D3DADAPTER_DEFAULT || !pCaps || (DeviceType != D3DDEVTYPE_HAL && DeviceType != D3DDEVTYPE_REF))
            return D3DERR_INVALIDCALL;
        UINT size = kDefaultMaxTextureSize;
        if (auto context = g_context.lock()) size = std::min(size, context->maxTextureSize);
        if (MaxTextureSizeOverride()) size = MaxTextureSizeOverride();
        Device::DescribeCaps(pCaps, size);
        pCaps->DeviceType = DeviceType;
        return D3D_OK;
    }

    HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                         D3DPRESENT_PARAMETERS* pp, IDirect3DDevice8** ppDevice) override;

private:
    HRESULT OpenContext(HWND window, const D3DPRESENT_PARAMETERS& pp, ContextRef* out);
};

HRESULT Direct3D::OpenContext(HWND hwnd, const D3DPRESENT_PARAMETERS& pp, ContextRef* out) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "Direct3D layer: no video (%s)\n", SDL_GetError());
        return D3DERR_NOTAVAILABLE;
    }
    auto context = std::make_shared<Context>();  // from here on its destructor undoes the above
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    context->window = PlatformWindowSDL(hwnd);
    if (!context->window) {
        context->window = SDL_CreateWindow("TREVOK", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                           (int)pp.BackBufferWidth, (int)pp.BackBufferHeight,
                                           SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        context->ownWindow = true;
        if (!context->window) {
            std::fprintf(stderr, "Direct3D layer: no window for the device (%s)\n", SDL_GetError());
            return D3DERR_NOTAVAILABLE;
        }
    } else if (!pp.Windowed) {
        SDL_SetWindowFullscreen(context->window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    context->glContext = SDL_GL_CreateContext(context->window);
    if (!context->glContext) {
        std::fprintf(stderr, "Direct3D layer: no OpenGL context (%s)\n", SDL_GetError());
        return D3DERR_NOTAVAILABLE;
    }
    SDL_GL_MakeCurrent(context->window, static_cast<SDL_GLContext>(context->glContext));
    if (!gl::LoadFunctions()) return D3DERR_NOTAVAILABLE;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    context->maxTextureSize = (UINT)std::max(maxSize, 64);
    *out = context;
    return D3D_OK;
}

HRESULT Direct3D::CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                               D3DPRESENT_PARAMETERS* pp, IDirect3DDevice8** ppDevice) {
    layer::DeviceCreation record = {};
    record.called = true;
    record.adapter = Adapter;
    record.deviceType = DeviceType;
    record.focusWindow = hFocusWindow;
    record.behaviorFlags = BehaviorFlags;
    if (pp) record.presentParameters = *pp;
    RecordDeviceCreation(record);

    if (!ppDevice) return D3DERR_INVALIDCALL;
    *ppDevice = nullptr;
    HRESULT injected = TakeCreateDeviceFailure();
    if (FAILED(injected)) return injected;
    if (!pp || Adapter != D3DADAPTER_DEFAULT || (DeviceType != D3DDEVTYPE_HAL && DeviceType != D3DDEVTYPE_REF) ||
        !(BehaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING |
                           D3DCREATE_MIXED_VERTEXPROCESSING)) ||
        !BackBufferFormatAllowed(pp->BackBufferFormat) || pp->BackBufferCount > 3 ||
        pp->BackBufferWidth > 16384 || pp->BackBufferHeight > 16384 ||
        (pp->EnableAutoDepthStencil && pp->AutoDepthStencilFormat == D3DFMT_UNKNOWN))
        return D3DERR_INVALIDCALL;
    if (!g_context.expired()) {
        std::fprintf(stderr, "Direct3D layer: only one device at a time\n");
        return D3DERR_NOTAVAILABLE;
    }

    D3DPRESENT_PARAMETERS params = *pp;
    HWND window = params.hDeviceWindow ? params.hDeviceWindow : hFocusWindow;
    if (params.BackBufferWidth == 0 || params.BackBufferHeight == 0) {
        // A windowed device without a size takes the window's client size.
        SDL_Window* sdlWindow = PlatformWindowSDL(window);
        int w = 0, h = 0;
        if (sdlWindow) SDL_GetWindowSize(sdlWindow, &w, &h);
        if (w <= 0 || h <= 0) return D3DERR_INVALIDCALL;
        params.BackBufferWidth = (UINT)w;
        params.BackBufferHeight = (UINT)h;
    }
    if (params.BackBufferCount == 0) params.BackBufferCount = 1;

    ContextRef context;
    HRESULT hr = OpenContext(window, params, &context);
    if (FAILED(hr)) return hr;
    if (params.BackBufferWidth > context->maxTextureSize || params.BackBufferHeight > context->maxTextureSize)
        return D3DERR_INVALIDCALL;
    D3DDEVICE_CREATION_PARAMETERS creation = {Adapter, DeviceType, hFocusWindow, BehaviorFlags};
    Device* device = nullptr;
    hr = Device::Create(this, context, params, creation, &device);
    if (FAILED(hr)) return hr;
    g_context = context;
    // The caller's record learns the values the device chose, as with Direct3D.
    pp->BackBufferWidth = params.BackBufferWidth;
    pp->BackBufferHeight = params.BackBufferHeight;
    pp->BackBufferCount = params.BackBufferCount;
    *ppDevice = device;
    return D3D_OK;
}

}  // namespace

}  // namespace d3d8

IDirect3D8* WINAPI Direct3DCreate8(UINT SDKVersion) {
    if (SDKVersion != D3D_SDK_VERSION || d3d8::Direct3DUnavailable()) return nullptr;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "Direct3D layer: no video (%s)\n", SDL_GetError());
        return nullptr;
    }
    return new d3d8::Direct3D();
}
