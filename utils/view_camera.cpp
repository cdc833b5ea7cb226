// view_camera.cpp -- CViewCamera: the left-handed look-at view, its billboard matrix and the
// perspective projection.
#include "utils/view_camera.h"

CViewCamera::CViewCamera() {
    SetViewParams(D3DXVECTOR3(0.0f, 0.0f, 0.0f), D3DXVECTOR3(0.0f, 0.0f, 1.0f), D3DXVECTOR3(0.0f, 1.0f, 0.0f));
    SetProjParams(0.7853982f, 1.0f, 1.0f, 1000.0f);
}

void CViewCamera::SetViewParams(const D3DXVECTOR3& vEyePt, const D3DXVECTOR3& vLookatPt, const D3DXVECTOR3& vUpVec) {
    vEye = vEyePt;
    vLookAt = vLookatPt;
    vUp = vUpVec;
    const D3DXVECTOR3 towards = vLookAt - vEye;
    D3DXVec3Normalize(&vViewDir, &towards);
    D3DXVec3Cross(&vCross, &vViewDir, &vUp);
    D3DXMatrixLookAtLH(&matView, &vEye, &vLookAt, &vUp);
    D3DXMatrixInverse(&matBillboard, nullptr, &matView);
    matBillboard._41 = 0.0f;
    matBillboard._42 = 0.0f;
    matBillboard._43 = 0.0f;
}

void CViewCamera::SetProjParams(float fieldOfView, float aspect, float nearPlane, float farPlane) {
    fFOV = fieldOfView;
    fAspect = aspect;
    fNearPlane = nearPlane;
    fFarPlane = farPlane;
    D3DXMatrixPerspectiveFovLH(&matProj, fFOV, fAspect, fNearPlane, fFarPlane);
}
