// input_state.h -- questions about this frame's polled keyboard and mouse: held keys and buttons,
// and press edges (down now, up in the previous frame).
#pragma once

#include "shell/devices.h"

inline bool KeyHeld(BYTE key) { return (g_Keys[key] & 0x80) != 0; }
inline bool KeyPressed(BYTE key) { return KeyHeld(key) && !(g_PrevKeys[key] & 0x80); }
// Button 0 is the left, 1 the right.
inline bool ButtonHeld(int button) { return (g_MouseState.rgbButtons[button] & 0x80) != 0; }
inline bool ButtonPressed(int button) { return ButtonHeld(button) && !(g_PrevMouseState.rgbButtons[button] & 0x80); }
