// layer/input.h -- drives the DirectInput keyboard and mouse, and the windows' mouse, from tests.
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

// The screen position GetCursorPos reports in place of the real cursor's; null returns to it.
void InjectCursorPosition(const POINT* position);
// Mouse events of the window system at (x, y) in the window (its client coordinates, unless a
// full-screen window letterboxes them), sent through SDL's event queue: they become the window's
// mouse messages, and reach the DirectInput mouse as a real button does. Buttons: 0 left,
// 1 right, 2 middle; a down event of an even click count is a double click.
void InjectWindowMouseMove(HWND hWnd, int x, int y);
void InjectWindowMouseButton(HWND hWnd, int button, bool down, int x, int y, int clicks = 1);

}  // namespace layer
