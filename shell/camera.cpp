// camera.cpp -- the camera, and the global timer and camera, made before WinMain.
#include "shell/camera.h"

// Both globals live in this one file so that the timer is made first, as the camera keeps it.
CTimer g_Timer;
CCamera g_Camera(&g_Timer);

CCamera::CCamera(CTimer* timer)
    : vPos(50.0f, 50.0f, 5.0f),
      vLook(0.0f, 0.0f, 1.0f),
      vUp(0.0f, 1.0f, 0.0f),
      vRight(1.0f, 0.0f, 0.0f),
      fPitch(0.0f),
      fYaw(0.0f),
      fRoll(0.0f),
      fSpeedRight(0.0f),
      fSpeedUp(0.0f),
      fSpeedForward(0.0f),
      pTimer(timer) {}

void CCamera::Update() {
    const float k = 0.017453292f;  // degrees to radians
    D3DXMATRIX turn;

    D3DXMatrixRotationAxis(&turn, &vLook, fRoll * k);
    D3DXVec3TransformNormal(&vUp, &vUp, &turn);
    D3DXVec3TransformNormal(&vRight, &vRight, &turn);

    const D3DXVECTOR3 worldUp(0.0f, 0.0f, 1.0f);
    D3DXMatrixRotationAxis(&turn, &worldUp, fYaw * k);
    D3DXVec3TransformNormal(&vLook, &vLook, &turn);
    D3DXVec3TransformNormal(&vRight, &vRight, &turn);

    D3DXMatrixRotationAxis(&turn, &vRight, fPitch * k);
    D3DXVec3TransformNormal(&vUp, &vUp, &turn);
    D3DXVec3TransformNormal(&vLook, &vLook, &turn);

    const float s = pTimer->fFrameTime / 1000.0f;
    vPos += (vRight * s) * fSpeedRight;
    vPos += (vUp * s) * fSpeedUp;
    vPos += (vLook * s) * fSpeedForward;
}
