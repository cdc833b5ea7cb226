// camera.h -- the player's body and view: a position and three axes, turned by pending angles in
// degrees and moved by three speeds times the frame time.
#pragma once

#include "d3dx8math.h"
#include "shell/timer.h"

class CCamera {
public:
    explicit CCamera(CTimer* timer);
    // Applies the pending roll, yaw and pitch, then the speeds; neither is cleared.
    void Update();

    D3DXVECTOR3 vPos;
    D3DXVECTOR3 vLook;   // forward axis
    D3DXVECTOR3 vUp;     // up axis
    D3DXVECTOR3 vRight;  // right axis
    float fPitch;        // pending turn about vRight, degrees
    float fYaw;          // pending turn about the world's z axis, degrees
    float fRoll;         // pending turn about vLook, degrees
    float fSpeedRight;   // units per second along each axis
    float fSpeedUp;
    float fSpeedForward;
    CTimer* pTimer;      // whose frame time scales the motion
};

extern CCamera g_Camera;
