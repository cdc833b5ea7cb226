// d3d8_objects.h -- the layer's Direct3D 8 objects behind the interfaces of d3d8.h: the shared GL
// context, reference counting, formats, buffers, textures and surfaces.
#pragma once

#include "d3d8.h"

#include "d3d8/gl_functions.h"
#include "com/ref_counted.h"

#include <memory>
#include <vector>

struct SDL_Window;

namespace d3d8 {

class Device;

// ---------------------------------------------------------------------------------------------
// Reference counting and interface queries

template <class Interface>
using RefCounted = com::RefCounted<Interface>;
using com::QueryFor;

// Replaces a held reference: takes one on `value`, drops the one on the old object.
template <class T>
void Hold(T*& slot, T* value) {
    if (slot == value) return;
    if (value) value->AddRef();
    T* old = slot;
    slot = value;
    if (old) old->Release();
}

// ---------------------------------------------------------------------------------------------
// The GL context, its window and the SDL video subsystem. The device and every resource it made
// share it, so that GL objects can still be deleted when resources outlive the device.

struct Context {
    SDL_Window* window = nullptr;
    bool ownWindow = false;
    void* glContext = nullptr;
    Device* device = nullptr;  // the live device, null once it is gone
    UINT maxTextureSize = 0;   // the GL limit
    uint32_t bufferGeneration = 0;   // counts buffers deleted: GL reuses their names
    uint32_t textureGeneration = 0;  // and textures deleted

    Context() = default;
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    ~Context();
};
using ContextRef = std::shared_ptr<Context>;

// The device that made a resource, with a reference, or D3DERR_INVALIDCALL when it is gone.
HRESULT GetOwningDevice(const ContextRef& context, IDirect3DDevice8** ppDevice);

// ---------------------------------------------------------------------------------------------
// Formats

struct FormatInfo {
    D3DFORMAT format;
    UINT bytesPerPixel;
    GLenum internalFormat;
    GLenum uploadFormat;
    GLenum uploadType;
};

// The texture formats the device stores, or null for any other.
const FormatInfo* FindTextureFormat(D3DFORMAT format);

// ---------------------------------------------------------------------------------------------
// Vertex and index buffers: a CPU copy that locks hand out, sent to a GL buffer on unlock.

class BufferStore {
public:
    BufferStore(const ContextRef& context, UINT length);
    ~BufferStore();
    BufferStore(const BufferStore&) = delete;
    BufferStore& operator=(const BufferStore&) = delete;

    HRESULT Lock(UINT offset, UINT size, BYTE** ppbData, DWORD flags);
    HRESULT Unlock();
    UINT Length() const { return (UINT)bytes_.size(); }
    GLuint Name() const { return name_; }
    const BYTE* Bytes() const { return bytes_.data(); }

private:
    ContextRef context_;
    GLuint name_ = 0;
    std::vector<BYTE> bytes_;
    bool locked_ = false;
    bool readOnly_ = false;
    bool discard_ = false;
    UINT lockOffset_ = 0, lockSize_ = 0;
};

// What vertex and index buffers share: the store behind their locks, usage, pool and priority.
template <class Interface>
class BufferResource : public RefCounted<Interface> {
public:
    BufferResource(const ContextRef& context, UINT length, DWORD usage, D3DPOOL pool)
        : context_(context), store_(context, length), usage_(usage), pool_(pool) {}

    HRESULT GetDevice(IDirect3DDevice8** ppDevice) override { return GetOwningDevice(context_, ppDevice); }
    DWORD SetPriority(DWORD PriorityNew) override {
        DWORD old = priority_;
        priority_ = PriorityNew;
        return old;
    }
    DWORD GetPriority() override { return priority_; }
    void PreLoad() override {}
    HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, BYTE** ppbData, DWORD Flags) override {
        return store_.Lock(OffsetToLock, SizeToLock, ppbData, Flags);
    }
    HRESULT Unlock() override { return store_.Unlock(); }

    const BufferStore& Store() const { return store_; }

protected:
    ContextRef context_;
    BufferStore store_;
    DWORD usage_;
    D3DPOOL pool_;
    DWORD priority_ = 0;
};

class VertexBuffer final : public BufferResource<IDirect3DVertexBuffer8> {
public:
    VertexBuffer(const ContextRef& context, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
        : BufferResource(context, length, usage, pool), fvf_(fvf) {}

    HRESULT QueryInterface(REFIID riid, void** ppvObj) override;
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* pDesc) override;

private:
    DWORD fvf_;
};

class IndexBuffer final : public BufferResource<IDirect3DIndexBuffer8> {
public:
    IndexBuffer(const ContextRef& context, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
        : BufferResource(context, length, usage, pool), format_(format) {}

    HRESULT QueryInterface(REFIID riid, void** ppvObj) override;
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT GetDesc(D3DINDEXBUFFER_DESC* pDesc) override;

    D3DFORMAT Format() const { return format_; }

private:
    D3DFORMAT format_;
};

// ---------------------------------------------------------------------------------------------
// Textures: every level kept in its Direct3D format on the CPU and sent to GL on unlock.

class Texture final : public RefCounted<IDirect3DTexture8> {
public:
    Texture(const ContextRef& context, UINT width, UINT height, UINT levels, DWORD usage, const FormatInfo& format,
            D3DPOOL pool);
    ~Texture() override;

    HRESULT QueryInterface(REFIID riid, void** ppvObj) override;
    HRESULT GetDevice(IDirect3DDevice8** ppDevice) override { return GetOwningDevice(context_, ppDevice); }
    DWORD SetPriority(DWORD PriorityNew) override;
    DWORD GetPriority() override { return priority_; }
    void PreLoad() override {}
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD SetLOD(DWORD LODNew) override;
    DWORD GetLOD() override { return lod_; }
    DWORD GetLevelCount() override { return (DWORD)levels_.size(); }
    HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override;
    HRESULT GetSurfaceLevel(UINT Level, IDirect3DSurface8** ppSurfaceLevel) override;
    HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, CONST RECT* pRect, DWORD Flags) override;
    HRESULT UnlockRect(UINT Level) override;
    HRESULT AddDirtyRect(CONST RECT*) override { return D3D_OK; }

    GLuint Name() const { return name_; }
    D3DFORMAT Format() const { return format_.format; }

private:
    struct Level {
        UINT width, height, pitch;
        std::vector<BYTE> bits;
        bool locked = false;
        bool readOnly = false;
        RECT lockedRect{};
    };
    void Upload(UINT level, const RECT& rect);

    ContextRef context_;
    FormatInfo format_;
    DWORD usage_;
    D3DPOOL pool_;
    std::vector<Level> levels_;
    GLuint name_ = 0;
    DWORD priority_ = 0, lod_ = 0;
};

// A surface is a texture's level (holding a reference to the texture) or an image surface of its own.
class Surface final : public RefCounted<IDirect3DSurface8> {
public:
    Surface(const ContextRef& context, Texture* container, UINT level);
    Surface(const ContextRef& context, UINT width, UINT height, const FormatInfo& format);
    ~Surface() override;

    HRESULT QueryInterface(REFIID riid, void** ppvObj) override;
    HRESULT GetDevice(IDirect3DDevice8** ppDevice) override { return GetOwningDevice(context_, ppDevice); }
    HRESULT GetContainer(REFIID riid, void** ppContainer) override;
    HRESULT GetDesc(D3DSURFACE_DESC* pDesc) override;
    HRESULT LockRect(D3DLOCKED_RECT* pLockedRect, CONST RECT* pRect, DWORD Flags) override;
    HRESULT UnlockRect() override;

    // For an image surface: its pixels, pitch and size (null for a texture level).
    const BYTE* Bits() const { return container_ ? nullptr : bits_.data(); }

private:
    ContextRef context_;
    Texture* container_ = nullptr;
    UINT level_ = 0;
    UINT width_ = 0, height_ = 0;
    FormatInfo format_{};
    std::vector<BYTE> bits_;
    bool locked_ = false;
};

// Checks a lock rectangle against a size; the whole area when pRect is null.
bool ResolveLockRect(CONST RECT* pRect, UINT width, UINT height, RECT* out);

}  // namespace d3d8
