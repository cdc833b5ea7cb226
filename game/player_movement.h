// player_movement.h -- the player's body: the camera turned and moved by the input's impulses,
// kept inside the map and on the ground, shaken by landings; and the view it gives.
#pragma once

#include "d3dx8math.h"

// The view of the frame: eye, look-at point and up vector, set by every camera update.
extern D3DXVECTOR3 g_vEye;
extern D3DXVECTOR3 g_vLookAt;
extern D3DXVECTOR3 g_vUp;

// Once per frame, after the input: in play the impulses turn and move the camera and then die
// down; in every other state the camera stands.
void UpdateCamera();
