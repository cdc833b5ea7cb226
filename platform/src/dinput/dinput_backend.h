// dinput_backend.h -- the state that the DirectInput devices read, kept from SDL's events.
#pragma once

#include "dinput.h"

union SDL_Event;

namespace dinput {

struct InputState {
    BYTE keys[256] = {};
    LONG dx = 0, dy = 0, dz = 0;  // motion since the mouse was last read
    BYTE buttons[8] = {};
    int keyboardFailures = 0;  // reads still to fail (tests)
    int mouseFailures = 0;
    bool keyboardLost = false;  // focus went away since the last read
    bool mouseLost = false;
};

InputState& State();
// Updates the state from one SDL event (the event watch, and injected events).
void TakeEvent(const SDL_Event& event);
// Starts and stops watching SDL's events; counted, one per DirectInput object.
bool StartWatching();
void StopWatching();

BYTE KeyFromScancode(int scancode);
int ScancodeFromKey(BYTE dik);

}  // namespace dinput
