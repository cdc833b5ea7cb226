// camera.h -- the player's camera: position and axes, turned by pending angles and moved by speeds.
#pragma once

#include "d3dx8math.h"
#include "shell/timer.h"

class CCamera {
public:
    explicit CCamera(CTimer* timer);
    // Applies the pending roll, yaw and pitch (degrees) and moves by the speeds times the frame time.
    void Update();

    D3DXVECTOR3 vPos;
    D3DXVECTOR3 vLook;
    D3DXVECTOR3 vUp;
    D3DXVECTOR3 vRight;
    float fPitch;
    float fYaw;
    float fRoll;
    float fSpeedRight;
    float fSpeedUp;
    float fSpeedForward;
    CTimer* pTimer;
};

extern CCamera g_Camera;
