// frame.h -- one frame of the game, logic and drawing together, and the frame's fog.
#pragma once

#include "windows.h"

// Clear, fog, input, timer, player, camera, matrices, world, fence, the screen of the game state,
// the frame rate, present: in this order, in every state.
void RenderFrame();
// Fog in the colour: linear (mode 3) from 5 units to 40 beyond the eye's height, or any other
// mode with density 0.04.
void SetFog(DWORD colour, DWORD mode);
