// d3d8_layer_hooks.cpp -- layer/device_stats.h and layer/device_control.h: what tests read from the
// Direct3D device and the failures and limits they impose on it.
#include "d3d8/d3d8_control.h"
#include "d3d8/d3d8_device.h"
#include "layer/device_control.h"
#include "layer/device_stats.h"

namespace {

struct ControlState {
    bool direct3dUnavailable = false;
    HRESULT createDeviceFailure = S_OK;
    HRESULT resourceFailure = S_OK;
    UINT maxTextureSize = 0;
    bool generalProgram = false;
    layer::DeviceCreation lastCreation = {};
    bool keepPictures = false;
    std::vector<uint32_t> picture;
    UINT pictureWidth = 0, pictureHeight = 0;
    std::vector<uint32_t> cursor;
    UINT cursorWidth = 0, cursorHeight = 0, cursorHotX = 0, cursorHotY = 0;
};

ControlState& Control() {
    static ControlState state;
    return state;
}

}  // namespace

namespace d3d8 {

bool Direct3DUnavailable() { return Control().direct3dUnavailable; }

HRESULT TakeCreateDeviceFailure() {
    HRESULT hr = Control().createDeviceFailure;
    Control().createDeviceFailure = S_OK;
    return hr;
}

HRESULT TakeResourceFailure() {
    HRESULT hr = Control().resourceFailure;
    Control().resourceFailure = S_OK;
    return hr;
}

UINT MaxTextureSizeOverride() { return Control().maxTextureSize; }

bool GeneralProgramForced() { return Control().generalProgram; }

void RecordDeviceCreation(const layer::DeviceCreation& creation) { Control().lastCreation = creation; }

bool KeepingPresentedPictures() { return Control().keepPictures; }

void StorePresentedPicture(std::vector<uint32_t> pixels, UINT width, UINT height) {
    Control().picture = std::move(pixels);
    Control().pictureWidth = width;
    Control().pictureHeight = height;
}

void StoreCursorPicture(std::vector<uint32_t> pixels, UINT width, UINT height, UINT hotX, UINT hotY) {
    ControlState& c = Control();
    c.cursor = std::move(pixels);
    c.cursorWidth = width;
    c.cursorHeight = height;
    c.cursorHotX = hotX;
    c.cursorHotY = hotY;
}

}  // namespace d3d8

namespace layer {

void SetDirect3DUnavailable(bool unavailable) { Control().direct3dUnavailable = unavailable; }
void FailNextCreateDevice(HRESULT hr) { Control().createDeviceFailure = hr; }
void FailNextResourceCreation(HRESULT hr) { Control().resourceFailure = hr; }
void SetMaxTextureSize(UINT size) { Control().maxTextureSize = size; }
void ForceGeneralProgram(bool force) { Control().generalProgram = force; }

void ResetDeviceControl() {
    layer::DeviceCreation last = Control().lastCreation;
    Control() = ControlState();
    Control().lastCreation = last;
}

DeviceFrameStats CurrentFrameStats() {
    d3d8::Device* device = d3d8::LiveDevice();
    return device ? device->CurrentStats() : DeviceFrameStats{};
}

DeviceFrameStats LastFrameStats() {
    d3d8::Device* device = d3d8::LiveDevice();
    return device ? device->LastStats() : DeviceFrameStats{};
}

uint32_t PresentedFrames() {
    d3d8::Device* device = d3d8::LiveDevice();
    return device ? device->PresentedFrames() : 0;
}

bool DrawsIntoWindow() {
    d3d8::Device* device = d3d8::LiveDevice();
    return device && device->DrawsIntoWindow();
}

uint32_t BuiltPrograms() {
    d3d8::Device* device = d3d8::LiveDevice();
    return device ? device->BuiltPrograms() : 0;
}

DeviceCreation LastDeviceCreation() { return Control().lastCreation; }

bool ReadBackBuffer(std::vector<uint32_t>* pixels, UINT* width, UINT* height) {
    d3d8::Device* device = d3d8::LiveDevice();
    return device && pixels && width && height && device->ReadBackBuffer(pixels, width, height);
}

void KeepPresentedPictures(bool keep) {
    Control().keepPictures = keep;
    if (!keep) d3d8::StorePresentedPicture({}, 0, 0);
}

bool LastPresentedPicture(std::vector<uint32_t>* pixels, UINT* width, UINT* height) {
    if (!pixels || !width || !height || Control().picture.empty()) return false;
    *pixels = Control().picture;
    *width = Control().pictureWidth;
    *height = Control().pictureHeight;
    return true;
}

bool LastCursorPicture(std::vector<uint32_t>* pixels, UINT* width, UINT* height, POINT* hotSpot) {
    const ControlState& c = Control();
    if (!pixels || !width || !height || !hotSpot || c.cursor.empty()) return false;
    *pixels = c.cursor;
    *width = c.cursorWidth;
    *height = c.cursorHeight;
    *hotSpot = POINT{(LONG)c.cursorHotX, (LONG)c.cursorHotY};
    return true;
}

uint32_t BackBufferPixel(UINT x, UINT y) {
    std::vector<uint32_t> pixels;
    UINT w = 0, h = 0;
    if (!ReadBackBuffer(&pixels, &w, &h) || x >= w || y >= h) return 0;
    return pixels[(size_t)y * w + x];
}

}  // namespace layer
