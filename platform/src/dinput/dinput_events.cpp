// dinput_events.cpp -- keyboard and mouse state from SDL's events, the event pump shared with the
// window layer, and the test injection of layer/input.h.
#include "dinput/dinput_backend.h"
#include "layer/input.h"
#include "sdl/platform_events.h"

#include <SDL2/SDL.h>

#include <cstring>

namespace dinput {

namespace {

int g_watchers = 0;
PlatformEventHandler g_handler = nullptr;

int WatchEvent(void*, SDL_Event* event) {
    TakeEvent(*event);
    return 0;
}

// DirectInput's buttons: 0 left, 1 right, 2 middle, then the side buttons.
int ButtonIndex(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: return 0;
        case SDL_BUTTON_RIGHT: return 1;
        case SDL_BUTTON_MIDDLE: return 2;
        case SDL_BUTTON_X1: return 3;
        case SDL_BUTTON_X2: return 4;
        default: return -1;
    }
}

bool IsInputEvent(Uint32 type) { return type >= SDL_KEYDOWN && type < SDL_JOYAXISMOTION; }

}  // namespace

InputState& State() {
    static InputState state;
    return state;
}

void TakeEvent(const SDL_Event& event) {
    InputState& s = State();
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            BYTE dik = KeyFromScancode(event.key.keysym.scancode);
            if (dik) s.keys[dik] = event.type == SDL_KEYDOWN ? 0x80 : 0;
            break;
        }
        case SDL_MOUSEMOTION:
            s.dx += event.motion.xrel;
            s.dy += event.motion.yrel;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            int i = ButtonIndex(event.button.button);
            if (i >= 0) s.buttons[i] = event.type == SDL_MOUSEBUTTONDOWN ? 0x80 : 0;
            break;
        }
        case SDL_MOUSEWHEEL:
            s.dz += event.wheel.y * 120;  // one notch of the wheel is 120 units
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                // Foreground devices lose their data with the focus; nothing stays held.
                std::memset(s.keys, 0, sizeof s.keys);
                std::memset(s.buttons, 0, sizeof s.buttons);
                s.keyboardLost = s.mouseLost = true;
            }
            break;
        default:
            break;
    }
}

bool StartWatching() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0 && SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) return false;
    if (g_watchers++ == 0) SDL_AddEventWatch(WatchEvent, nullptr);
    return true;
}

void StopWatching() {
    if (g_watchers == 0) return;
    if (--g_watchers == 0) SDL_DelEventWatch(WatchEvent, nullptr);
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    else
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

}  // namespace dinput

void SetPlatformEventHandler(PlatformEventHandler handler) { dinput::g_handler = handler; }

void PumpPlatformEvents() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
    SDL_PumpEvents();
    // The watch has seen them already.
    SDL_FlushEvents(SDL_KEYDOWN, SDL_JOYAXISMOTION - 1);
    if (!dinput::g_handler) return;
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        if (!dinput::IsInputEvent(event.type)) dinput::g_handler(event);
}

namespace layer {

void InjectKey(BYTE dik, bool down) { dinput::State().keys[dik] = down ? 0x80 : 0; }

void InjectScancode(int scancode, bool down) {
    SDL_Event event = {};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = (SDL_Scancode)scancode;
    if (!SDL_WasInit(SDL_INIT_EVENTS) || SDL_PushEvent(&event) < 0) dinput::TakeEvent(event);
}

void InjectMouseMotion(LONG dx, LONG dy) {
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
    dinput::TakeEvent(event);
}

void InjectMouseWheel(LONG dz) { dinput::State().dz += dz; }

void InjectMouseButton(int button, bool down) {
    if (button >= 0 && button < 8) dinput::State().buttons[button] = down ? 0x80 : 0;
}

void ClearInjectedInput() {
    dinput::InputState& s = dinput::State();
    std::memset(s.keys, 0, sizeof s.keys);
    std::memset(s.buttons, 0, sizeof s.buttons);
    s.dx = s.dy = s.dz = 0;
    s.keyboardFailures = s.mouseFailures = 0;
    s.keyboardLost = s.mouseLost = false;
}

void FailKeyboardReads(int count) { dinput::State().keyboardFailures = count; }
void FailMouseReads(int count) { dinput::State().mouseFailures = count; }

BYTE DIKeyFromScancode(int scancode) { return dinput::KeyFromScancode(scancode); }

}  // namespace layer
