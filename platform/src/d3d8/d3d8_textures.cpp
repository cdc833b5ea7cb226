// d3d8_textures.cpp -- textures with mip levels, their surfaces, and image surfaces. Each level
// keeps its pixels in the Direct3D format; UnlockRect sends the locked area to the GL texture.
// Formats: A8R8G8B8, X8R8G8B8, R5G6B5, X1R5G5B5, A1R5G5B5, A4R4G4B4 (4 bits a channel), X4R4G4B4.
#include "d3d8/d3d8_objects.h"

#include <algorithm>

namespace d3d8 {

namespace {

const FormatInfo kTextureFormats[] = {
    {D3DFMT_A8R8G8B8, 4, GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV},
    {D3DFMT_X8R8G8B8, 4, GL_RGB8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV},
    {D3DFMT_R5G6B5, 2, GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5},
    {D3DFMT_X1R5G5B5, 2, GL_RGB5, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV},
    {D3DFMT_A1R5G5B5, 2, GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV},
    {D3DFMT_A4R4G4B4, 2, GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV},
    {D3DFMT_X4R4G4B4, 2, GL_RGB4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV},
};

// Resource uploads use a texture unit that drawing never binds.
const GLenum kUploadUnit = GL_TEXTURE7;

UINT FullChainLength(UINT width, UINT height) {
    UINT n = 1;
    for (UINT side = std::max(width, height); side > 1; side >>= 1) ++n;
    return n;
}

}  // namespace

const FormatInfo* FindTextureFormat(D3DFORMAT format) {
    for (const FormatInfo& info : kTextureFormats)
        if (info.format == format) return &info;
    return nullptr;
}

bool ResolveLockRect(CONST RECT* pRect, UINT width, UINT height, RECT* out) {
    if (!pRect) {
        *out = RECT{0, 0, (LONG)width, (LONG)height};
        return true;
    }
    if (pRect->left < 0 || pRect->top < 0 || pRect->left >= pRect->right || pRect->top >= pRect->bottom ||
        (UINT)pRect->right > width || (UINT)pRect->bottom > height)
        return false;
    *out = *pRect;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Texture

Texture::Texture(const ContextRef& context, UINT width, UINT height, UINT levels, DWORD usage,
                 const FormatInfo& format, D3DPOOL pool)
    : context_(context), format_(format), usage_(usage), pool_(pool) {
    const UINT full = FullChainLength(width, height);
    if (levels == 0 || levels > full) levels = full;
    levels_.resize(levels);
    for (UINT i = 0; i < levels; ++i) {
        Level& l = levels_[i];
        l.width = std::max(1u, width >> i);
        l.height = std::max(1u, height >> i);
        l.pitch = l.width * format.bytesPerPixel;
        l.bits.assign((size_t)l.pitch * l.height, 0);
    }
    glGenTextures(1, &name_);
    gl::ActiveTexture(kUploadUnit);
    glBindTexture(GL_TEXTURE_2D, name_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    for (UINT i = 0; i < levels; ++i)
        glTexImage2D(GL_TEXTURE_2D, (GLint)i, (GLint)format.internalFormat, (GLsizei)levels_[i].width,
                     (GLsizei)levels_[i].height, 0, format.uploadFormat, format.uploadType, levels_[i].bits.data());
    // A partial chain is complete in GL only when the last level is named.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, (GLint)levels - 1);
    glBindTexture(GL_TEXTURE_2D, 0);
    gl::ActiveTexture(GL_TEXTURE0);
}

Texture::~Texture() {
    if (name_) glDeleteTextures(1, &name_);
    ++context_->textureGeneration;
}

HRESULT Texture::QueryInterface(REFIID riid, void** ppvObj) {
    return QueryFor(this, riid, ppvObj, {&IID_IDirect3DResource8, &IID_IDirect3DBaseTexture8, &IID_IDirect3DTexture8});
}

DWORD Texture::SetPriority(DWORD PriorityNew) {
    DWORD old = priority_;
    priority_ = PriorityNew;
    return old;
}

DWORD Texture::SetLOD(DWORD LODNew) {
    DWORD old = lod_;
    if (pool_ == D3DPOOL_MANAGED) lod_ = std::min<DWORD>(LODNew, (DWORD)levels_.size() - 1);
    return old;
}

HRESULT Texture::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) {
    if (!pDesc || Level >= levels_.size()) return D3DERR_INVALIDCALL;
    const auto& l = levels_[Level];
    pDesc->Format = format_.format;
    pDesc->Type = D3DRTYPE_SURFACE;
    pDesc->Usage = usage_;
    pDesc->Pool = pool_;
    pDesc->Size = (UINT)l.bits.size();
    pDesc->MultiSampleType = D3DMULTISAMPLE_NONE;
    pDesc->Width = l.width;
    pDesc->Height = l.height;
    return D3D_OK;
}

HRESULT Texture::GetSurfaceLevel(UINT Level, IDirect3DSurface8** ppSurfaceLevel) {
    if (!ppSurfaceLevel) return D3DERR_INVALIDCALL;
    *ppSurfaceLevel = nullptr;
    if (Level >= levels_.size()) return D3DERR_INVALIDCALL;
    *ppSurfaceLevel = new Surface(context_, this, Level);
    return D3D_OK;
}

HRESULT Texture::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, CONST RECT* pRect, DWORD Flags) {
    if (!pLockedRect) return D3DERR_INVALIDCALL;
    pLockedRect->pBits = nullptr;
    pLockedRect->Pitch = 0;
    if (Level >= levels_.size()) return D3DERR_INVALIDCALL;
    auto& l = levels_[Level];
    RECT r;
    if (l.locked || !ResolveLockRect(pRect, l.width, l.height, &r)) return D3DERR_INVALIDCALL;
    l.locked = true;
    l.readOnly = (Flags & D3DLOCK_READONLY) != 0;
    l.lockedRect = r;
    pLockedRect->Pitch = (INT)l.pitch;
    pLockedRect->pBits = l.bits.data() + (size_t)r.top * l.pitch + (size_t)r.left * format_.bytesPerPixel;
    return D3D_OK;
}

HRESULT Texture::UnlockRect(UINT Level) {
    if (Level >= levels_.size() || !levels_[Level].locked) return D3DERR_INVALIDCALL;
    auto& l = levels_[Level];
    l.locked = false;
    if (!l.readOnly) Upload(Level, l.lockedRect);
    return D3D_OK;
}

void Texture::Upload(UINT level, const RECT& r) {
    const auto& l = levels_[level];
    gl::ActiveTexture(kUploadUnit);
    glBindTexture(GL_TEXTURE_2D, name_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, (GLint)l.width);
    const BYTE* start = l.bits.data() + (size_t)r.top * l.pitch + (size_t)r.left * format_.bytesPerPixel;
    glTexSubImage2D(GL_TEXTURE_2D, (GLint)level, r.left, r.top, r.right - r.left, r.bottom - r.top,
                    format_.uploadFormat, format_.uploadType, start);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    gl::ActiveTexture(GL_TEXTURE0);
}

// ---------------------------------------------------------------------------------------------
// Surface

Surface::Surface(const ContextRef& context, Texture* container, UINT level)
    : context_(context), container_(container), level_(level) {
    container_->AddRef();
}

Surface::Surface(const ContextRef& context, UINT width, UINT height, const FormatInfo& format)
    : context_(context), width_(width), height_(height), format_(format),
      bits_((size_t)width * height * format.bytesPerPixel, 0) {}

Surface::~Surface() {
    if (container_) container_->Release();
}

HRESULT Surface::QueryInterface(REFIID riid, void** ppvObj) {
    return QueryFor(this, riid, ppvObj, {&IID_IDirect3DSurface8});
}

HRESULT Surface::GetContainer(REFIID riid, void** ppContainer) {
    if (!ppContainer) return D3DERR_INVALIDCALL;
    *ppContainer = nullptr;
    if (container_) return container_->QueryInterface(riid, ppContainer);
    IDirect3DDevice8* device = nullptr;
    HRESULT hr = GetOwningDevice(context_, &device);
    if (FAILED(hr)) return hr;
    hr = device->QueryInterface(riid, ppContainer);
    device->Release();
    return hr;
}

HRESULT Surface::GetDesc(D3DSURFACE_DESC* pDesc) {
    if (!pDesc) return D3DERR_INVALIDCALL;
    if (container_) return container_->GetLevelDesc(level_, pDesc);
    pDesc->Format = format_.format;
    pDesc->Type = D3DRTYPE_SURFACE;
    pDesc->Usage = 0;
    pDesc->Pool = D3DPOOL_SYSTEMMEM;
    pDesc->Size = (UINT)bits_.size();
    pDesc->MultiSampleType = D3DMULTISAMPLE_NONE;
    pDesc->Width = width_;
    pDesc->Height = height_;
    return D3D_OK;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* pLockedRect, CONST RECT* pRect, DWORD Flags) {
    if (container_) return container_->LockRect(level_, pLockedRect, pRect, Flags);
    if (!pLockedRect) return D3DERR_INVALIDCALL;
    pLockedRect->pBits = nullptr;
    pLockedRect->Pitch = 0;
    RECT r;
    if (locked_ || !ResolveLockRect(pRect, width_, height_, &r)) return D3DERR_INVALIDCALL;
    locked_ = true;
    const UINT pitch = width_ * format_.bytesPerPixel;
    pLockedRect->Pitch = (INT)pitch;
    pLockedRect->pBits = bits_.data() + (size_t)r.top * pitch + (size_t)r.left * format_.bytesPerPixel;
    return D3D_OK;
}

HRESULT Surface::UnlockRect() {
    if (container_) return container_->UnlockRect(level_);
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    return D3D_OK;
}

}  // namespace d3d8
