// view_camera.h -- CViewCamera: a camera's view and projection parameters and the matrices made
// of them, its billboard matrix included.
#pragma once

#include "d3dx8.h"

class CViewCamera {
public:
    CViewCamera();

    void SetViewParams(const D3DXVECTOR3& vEyePt, const D3DXVECTOR3& vLookatPt, const D3DXVECTOR3& vUpVec);
    void SetProjParams(float fieldOfView, float aspect, float nearPlane, float farPlane);

    // The parameters and matrices, read by the caller.
    D3DXVECTOR3 vEye;
    D3DXVECTOR3 vLookAt;
    D3DXVECTOR3 vUp;
    D3DXVECTOR3 vViewDir;  // unit vector from the eye towards the look-at point
    D3DXVECTOR3 vCross;    // vViewDir x vUp
    D3DXMATRIX matView;
    D3DXMATRIX matBillboard;  // the inverse view without its translation
    float fFOV;
    float fAspect;
    float fNearPlane;
    float fFarPlane;
    D3DXMATRIX matProj;
};
