// world_headless_device.h -- the device the tests and the world's benchmark draw with: windowed, with
// a 16-bit depth buffer, in the states the game's device set-up leaves or in Direct3D's own.
#pragma once

#include "d3d8.h"

namespace world_test {

// Null when the device cannot be made; without `gameStates`, in Direct3D's own states.
inline IDirect3DDevice8* CreateHeadlessDevice(IDirect3D8* d3d, UINT width, UINT height, bool gameStates = true) {
    D3DPRESENT_PARAMETERS pp = {};
    pp.BackBufferWidth = width;
    pp.BackBufferHeight = height;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.Windowed = TRUE;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D16;
    IDirect3DDevice8* device = nullptr;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                 &pp, &device)))
        return nullptr;
    if (!gameStates) return device;
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    return device;
}

}  // namespace world_test
