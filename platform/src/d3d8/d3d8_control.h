// d3d8_control.h -- the test switches of layer/device_control.h as the Direct3D back end reads them.
#pragma once

#include <vector>

#include "d3d8.h"
#include "layer/device_stats.h"

namespace d3d8 {

bool Direct3DUnavailable();
// A pending injected failure, cleared by taking it (S_OK when none).
HRESULT TakeCreateDeviceFailure();
HRESULT TakeResourceFailure();
// The texture size limit a test imposed, 0 when none.
UINT MaxTextureSizeOverride();
// Whether every draw takes the general program (tests and benchmarks of the specialised ones).
bool GeneralProgramForced();
void RecordDeviceCreation(const layer::DeviceCreation& creation);
// Whether tests want a copy of each presented picture, and where it goes.
bool KeepingPresentedPictures();
void StorePresentedPicture(std::vector<uint32_t> pixels, UINT width, UINT height);
// The picture SetCursorProperties last made the cursor of (rows top down, 0xAARRGGBB).
void StoreCursorPicture(std::vector<uint32_t> pixels, UINT width, UINT height, UINT hotX, UINT hotY);

// The largest texture side the caps report without a test limit.
constexpr UINT kDefaultMaxTextureSize = 4096;

}  // namespace d3d8
