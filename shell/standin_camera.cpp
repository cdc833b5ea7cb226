// standin_camera.cpp -- stands in for the camera module until it exists: it holds still.
#include "shell/camera.h"

CCamera g_Camera(&g_Timer);

CCamera::CCamera(CTimer* timer)
    : vPos(50, 50, 5), vLook(0, 0, 1), vUp(0, 1, 0), vRight(1, 0, 0), fPitch(0), fYaw(0), fRoll(0),
      fSpeedRight(0), fSpeedUp(0), fSpeedForward(0), pTimer(timer) {}

void CCamera::Update() {}
