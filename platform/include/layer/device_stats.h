// layer/device_stats.h -- what the Direct3D device did, for tests and benchmarks: draw counts per
// frame, the creation parameters, and the pixels of the back buffer.
#pragma once

#include <cstdint>
#include <vector>

#include "../d3d8.h"

namespace layer {

struct DeviceFrameStats {
    uint32_t drawCalls;         // DrawPrimitive and DrawIndexedPrimitive calls that drew
    uint32_t primitives;        // primitives those calls drew
    uint32_t specialisedDraws;  // those drawn by a program built for their states
};

// Counts since the last Present (the frame being drawn) and of the frame the last Present showed.
DeviceFrameStats CurrentFrameStats();
DeviceFrameStats LastFrameStats();
// Frames presented by the live device since it was created.
uint32_t PresentedFrames();
// Programs the live device has built for particular states (each set of states once).
uint32_t BuiltPrograms();

// What the last successful or failed CreateDevice call was given.
struct DeviceCreation {
    bool called;
    UINT adapter;
    D3DDEVTYPE deviceType;
    HWND focusWindow;
    DWORD behaviorFlags;
    D3DPRESENT_PARAMETERS presentParameters;
};
DeviceCreation LastDeviceCreation();

// The live device's back buffer, top row first, each pixel 0xAARRGGBB. False without a device.
bool ReadBackBuffer(std::vector<uint32_t>* pixels, UINT* width, UINT* height);
// One pixel of the back buffer (x right, y down from the top left), 0 outside or without a device.
uint32_t BackBufferPixel(UINT x, UINT y);

// Whether the live device draws the current frame straight into its window's framebuffer, which
// it does where that has the back buffer's size and formats (Present then copies nothing).
bool DrawsIntoWindow();

// While kept, each Present also copies what it put in the window (top row first, 0xAARRGGBB).
void KeepPresentedPictures(bool keep);
bool LastPresentedPicture(std::vector<uint32_t>* pixels, UINT* width, UINT* height);

// The picture and hot spot of the cursor SetCursorProperties last showed (top row first,
// 0xAARRGGBB); false when none was shown since the device control was reset.
bool LastCursorPicture(std::vector<uint32_t>* pixels, UINT* width, UINT* height, POINT* hotSpot);

}  // namespace layer
