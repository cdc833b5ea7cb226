// layer/input.h -- drives the DirectInput keyboard and mouse from tests.
//
// Injected events take the same road as SDL's own: they update the devices' state exactly as a
// real key press or mouse motion does. The failure switch makes reads fail as a lost device does.
#pragma once

#include "../wintypes.h"

namespace layer {

// A key by its DirectInput code (DIK_*), pressed or released.
void InjectKey(BYTE dik, bool down);
// A key by its SDL scancode (a USB usage number), sent through SDL's own event queue.
void InjectScancode(int scancode, bool down);
// Relative mouse motion in pixels and wheel steps (one pixel is one unit).
void InjectMouseMotion(LONG dx, LONG dy);
void InjectMouseWheel(LONG dz);
// Mouse button 0 left, 1 right, 2 middle, 3 and 4 the side buttons.
void InjectMouseButton(int button, bool down);
// Releases every key and button and forgets pending motion.
void ClearInjectedInput();
// The next `count` keyboard (or mouse) reads fail with DIERR_INPUTLOST and unacquire the device.
void FailKeyboardReads(int count);
void FailMouseReads(int count);
// The DirectInput code of an SDL scancode (a USB usage number); 0 for keys without one.
BYTE DIKeyFromScancode(int scancode);

}  // namespace layer
