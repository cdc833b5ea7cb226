// layer/device_control.h -- failures and limits that tests impose on the Direct3D layer.
#pragma once

#include "../d3d8.h"

namespace layer {

// The next Direct3DCreate8 calls answer null while set.
void SetDirect3DUnavailable(bool unavailable);
// The next CreateDevice answers this failure (S_OK clears it).
void FailNextCreateDevice(HRESULT hr);
// The next CreateTexture, CreateVertexBuffer, CreateIndexBuffer or CreateImageSurface answers this
// failure, once.
void FailNextResourceCreation(HRESULT hr);
// The largest texture side the device reports in its caps (0 restores the real limit).
void SetMaxTextureSize(UINT size);
// While set, every draw takes the general program that reads all its states from uniforms, not a
// program built for the draw's states; from the next draw on.
void ForceGeneralProgram(bool force);
// Puts every setting of the layer's Direct3D back to normal.
void ResetDeviceControl();

}  // namespace layer
