// dinput_direct_input.cpp -- DirectInput8Create, the IDirectInput8A object and the system keyboard
// and mouse devices, polled for their immediate state.
#include "dinput/dinput_backend.h"
#include "sdl/platform_events.h"
#include "com/ref_counted.h"

#include <SDL2/SDL.h>

#include <cstring>

const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, 256, 0, nullptr};
const DIDATAFORMAT c_dfDIMouse = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS,
                                  sizeof(DIMOUSESTATE), 0, nullptr};
const DIDATAFORMAT c_dfDIMouse2 = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS,
                                   sizeof(DIMOUSESTATE2), 0, nullptr};

namespace dinput {

namespace {

using com::RefCounted;

class Device final : public RefCounted<IDirectInputDevice8A> {
public:
    Device(IDirectInput8A* owner, bool keyboard) : owner_(owner), keyboard_(keyboard) { owner_->AddRef(); }
    ~Device() override {
        Unacquire();
        owner_->Release();
    }

    HRESULT QueryInterface(REFIID riid, void** ppvObj) override {
        return com::QueryFor(this, riid, ppvObj, {&IID_IDirectInputDevice8A});
    }

    HRESULT Acquire() override {
        if (dataSize_ == 0) return DIERR_INVALIDPARAM;
        if (acquired_) return DI_NOEFFECT;
        acquired_ = true;
        InputState& s = State();
        if (keyboard_) {
            s.keyboardLost = false;
        } else {
            s.mouseLost = false;
            s.dx = s.dy = s.dz = 0;
            // The exclusive mouse moves nothing on screen: it reports relative motion only.
            if (exclusive_) SDL_SetRelativeMouseMode(SDL_TRUE);
        }
        return DI_OK;
    }

    HRESULT Unacquire() override {
        if (!acquired_) return DI_NOEFFECT;
        acquired_ = false;
        if (!keyboard_ && exclusive_) SDL_SetRelativeMouseMode(SDL_FALSE);
        return DI_OK;
    }

    HRESULT GetDeviceState(DWORD cbData, LPVOID lpvData) override {
        if (!lpvData || cbData != dataSize_) return DIERR_INVALIDPARAM;
        if (!acquired_) return DIERR_NOTACQUIRED;
        PumpPlatformEvents();
        InputState& s = State();
        int& failures = keyboard_ ? s.keyboardFailures : s.mouseFailures;
        bool& lost = keyboard_ ? s.keyboardLost : s.mouseLost;
        if (failures > 0 || lost) {
            if (failures > 0) --failures;
            lost = false;
            Unacquire();
            return DIERR_INPUTLOST;
        }
        if (keyboard_) {
            std::memcpy(lpvData, s.keys, sizeof s.keys);
            return DI_OK;
        }
        DIMOUSESTATE2 m = {};
        m.lX = s.dx;
        m.lY = s.dy;
        m.lZ = s.dz;
        std::memcpy(m.rgbButtons, s.buttons, sizeof m.rgbButtons);
        s.dx = s.dy = s.dz = 0;
        std::memcpy(lpvData, &m, cbData);  // the first 16 bytes are DIMOUSESTATE
        return DI_OK;
    }

    HRESULT SetDataFormat(LPCDIDATAFORMAT lpdf) override {
        if (!lpdf) return DIERR_INVALIDPARAM;
        if (acquired_) return DIERR_ACQUIRED;
        const bool fits = keyboard_ ? lpdf->dwDataSize == 256
                                    : lpdf->dwDataSize == sizeof(DIMOUSESTATE) || lpdf->dwDataSize == sizeof(DIMOUSESTATE2);
        if (!fits) return DIERR_INVALIDPARAM;
        dataSize_ = lpdf->dwDataSize;
        return DI_OK;
    }

    HRESULT SetCooperativeLevel(HWND, DWORD dwFlags) override {
        const DWORD access = dwFlags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
        const DWORD focus = dwFlags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
        if ((access != DISCL_EXCLUSIVE && access != DISCL_NONEXCLUSIVE) ||
            (focus != DISCL_FOREGROUND && focus != DISCL_BACKGROUND))
            return DIERR_INVALIDPARAM;
        if (keyboard_ && access == DISCL_EXCLUSIVE && focus == DISCL_BACKGROUND) return E_NOTIMPL;
        if (acquired_) return DIERR_ACQUIRED;
        exclusive_ = access == DISCL_EXCLUSIVE;
        return DI_OK;
    }

    HRESULT Poll() override { return acquired_ ? DI_NOEFFECT : DIERR_NOTACQUIRED; }

private:
    IDirectInput8A* owner_;
    bool keyboard_;
    bool acquired_ = false;
    bool exclusive_ = false;
    DWORD dataSize_ = 0;
};

class DirectInput final : public RefCounted<IDirectInput8A> {
public:
    ~DirectInput() override { StopWatching(); }

    HRESULT QueryInterface(REFIID riid, void** ppvObj) override {
        return com::QueryFor(this, riid, ppvObj, {&IID_IDirectInput8A});
    }

    HRESULT CreateDevice(REFGUID rguid, LPDIRECTINPUTDEVICE8A* lplpDirectInputDevice, LPUNKNOWN pUnkOuter) override {
        if (!lplpDirectInputDevice) return DIERR_INVALIDPARAM;
        *lplpDirectInputDevice = nullptr;
        if (pUnkOuter) return DIERR_NOAGGREGATION;
        if (rguid == GUID_SysKeyboard)
            *lplpDirectInputDevice = new Device(this, true);
        else if (rguid == GUID_SysMouse)
            *lplpDirectInputDevice = new Device(this, false);
        else
            return DIERR_DEVICENOTREG;
        return DI_OK;
    }
};

}  // namespace

}  // namespace dinput

HRESULT WINAPI DirectInput8Create(HINSTANCE, DWORD dwVersion, REFIID riidltf, LPVOID* ppvOut, LPUNKNOWN punkOuter) {
    if (!ppvOut) return DIERR_INVALIDPARAM;
    *ppvOut = nullptr;
    if (punkOuter) return DIERR_NOAGGREGATION;
    if (riidltf != IID_IDirectInput8A) return DIERR_NOINTERFACE;
    if (dwVersion < 0x0800) return DIERR_OLDDIRECTINPUTVERSION;
    if (dwVersion > 0x0800) return DIERR_BETADIRECTINPUTVERSION;
    if (!dinput::StartWatching()) return DIERR_NOTINITIALIZED;
    *ppvOut = static_cast<IDirectInput8A*>(new dinput::DirectInput());
    return DI_OK;
}
