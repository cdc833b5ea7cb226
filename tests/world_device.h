// world_device.h -- a real headless Direct3D device for the world's tests, with a camera position,
// a frame timer, view set-up, pixels read back and small textures made in memory; a map and a
// world on it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>

#include "d3dx8.h"
#include "layer/device_stats.h"
#include "layer/image_encode.h"
#include "layer/message_boxes.h"
#include "scratch_dir.h"
#include "shell/timer.h"
#include "world/sprite_set.h"
#include "world/terrain.h"
#include "world/world.h"
#include "world_headless_device.h"
#include "world_terrain_files.h"

namespace world_test {

class Device {
public:
    explicit Device(UINT width = 64, UINT height = 64) : width(width), height(height) {
        d3d = Direct3DCreate8(D3D_SDK_VERSION);
        if (!d3d) {
            ADD_FAILURE() << "Direct3DCreate8 failed";
            return;
        }
        device = CreateHeadlessDevice(d3d, width, height);
        if (!device) ADD_FAILURE() << "CreateDevice failed";
        timerObj.fFrameTime = 16.0f;
    }
    ~Device() {
        if (device) device->Release();
        if (d3d) d3d->Release();
    }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    D3DXVECTOR3* camera() { return &cameraPos; }
    CTimer* timer() { return &timerObj; }

    DWORD RenderState(D3DRENDERSTATETYPE state) const {
        DWORD value = 0xDEADBEEF;
        device->GetRenderState(state, &value);
        return value;
    }
    DWORD StageState(D3DTEXTURESTAGESTATETYPE state) const {
        DWORD value = 0xDEADBEEF;
        device->GetTextureStageState(0, state, &value);
        return value;
    }

    // View from eye to at, with the game's projection (a quarter turn, near 0.1, far 200).
    void LookAtFrom(const D3DXVECTOR3& eye, const D3DXVECTOR3& at, const D3DXVECTOR3& up) {
        D3DXMATRIX view, projection, identity;
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 2, float(width) / float(height), 0.1f, 200.0f);
        D3DXMatrixIdentity(&identity);
        device->SetTransform(D3DTS_WORLD, &identity);
        device->SetTransform(D3DTS_VIEW, &view);
        device->SetTransform(D3DTS_PROJECTION, &projection);
    }
    void LookAt(const D3DXVECTOR3& eye, const D3DXVECTOR3& at) { LookAtFrom(eye, at, D3DXVECTOR3(0, 0, 1)); }

    void BeginFrame(D3DCOLOR clear = 0xFF0000FF) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear, 1.0f, 0);
        device->BeginScene();
    }
    void EndFrame() { device->EndScene(); }

    // The back buffer's pixel, 0xAARRGGBB, x right and y down from the top left.
    DWORD Pixel(UINT x, UINT y) const { return layer::BackBufferPixel(x, y); }

    // A managed A8R8G8B8 texture of one level, texel (x, y) from the function.
    IDirect3DTexture8* MakeTexture(UINT w, UINT h, const std::function<DWORD(int x, int y)>& texel) {
        IDirect3DTexture8* texture = nullptr;
        if (FAILED(device->CreateTexture(w, h, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture)) || !texture) {
            ADD_FAILURE() << "CreateTexture failed";
            return nullptr;
        }
        D3DLOCKED_RECT locked;
        if (FAILED(texture->LockRect(0, &locked, nullptr, 0))) {
            ADD_FAILURE() << "LockRect failed";
            return texture;
        }
        for (UINT y = 0; y < h; ++y) {
            DWORD* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
            for (UINT x = 0; x < w; ++x) row[x] = texel(int(x), int(y));
        }
        texture->UnlockRect(0);
        return texture;
    }

    UINT width, height;
    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
    D3DXVECTOR3 cameraPos = D3DXVECTOR3(50, 50, 5);
    CTimer timerObj;
};

// A map in a directory of its own, the camera over (x, y), loaded from the file given if any; the
// boxes shown until then are forgotten.
struct MapInDir {
    explicit MapInDir(float x = 5, float y = 5, const std::vector<uint8_t>& file = {}) {
        d.cameraPos = D3DXVECTOR3(x, y, 5);
        if (!file.empty()) WriteBytes("teren.ter", file), map.Load("teren.ter");
        layer::ClearShownMessageBoxes();
    }
    ScratchDir dir;
    Device d;
    CMap map{d.device, nullptr, d.camera(), d.timer()};
};

// A world in a directory of its own over the terrain file given, loaded unless told otherwise.
struct WorldInDir {
    WorldInDir(const std::vector<uint8_t>& terrain, const D3DXVECTOR3& camera, bool load = true) {
        WriteBytes("teren.ter", terrain);
        d.cameraPos = camera;
        world = new CWorld(d.device, d.camera(), d.timer());
        if (load) world->LoadMap("teren.ter");
    }
    ~WorldInDir() { delete world; }
    // A new sprite set of the world, registered with its object manager.
    template <typename Set = CSpriteSet>
    Set* NewSet() {
        return new Set(d.device, world, d.camera(), d.timer(), world->pObjectManager);
    }
    ScratchDir dir;
    Device d;
    CWorld* world;
};

// A picture file of w x h texels, (x, y) from the function: a TGA with alpha, or a 24-bit BMP.
inline void WritePicture(const char* name, UINT w, UINT h, bool tga,
                         const std::function<DWORD(int x, int y)>& texel) {
    std::vector<DWORD> pixels(size_t(w) * h);
    for (UINT i = 0; i < w * h; ++i) pixels[i] = texel(int(i % w), int(i / w));
    std::vector<BYTE> bytes;
    ASSERT_EQ((tga ? layer::EncodeTga32 : layer::EncodeBmp24)(w, h, pixels.data(), &bytes), S_OK);
    ASSERT_EQ(layer::WriteBytesToFile(name, bytes), S_OK);
}

// Red, green and blue each within the tolerance; alpha is not compared.
inline void ExpectColorNear(DWORD actual, DWORD expected, int tolerance) {
    for (int shift : {16, 8, 0}) {
        const int a = int((actual >> shift) & 0xFF), e = int((expected >> shift) & 0xFF);
        EXPECT_LE(std::abs(a - e), tolerance) << std::hex << "pixel 0x" << actual << ", expected 0x" << expected;
    }
}

// Whether an error box whose text holds the part was shown.
inline bool BoxShown(const std::string& part) {
    for (const auto& box : layer::ShownMessageBoxes())
        if (box.text.find(part) != std::string::npos && box.caption == "Error") return true;
    return false;
}

}  // namespace world_test
