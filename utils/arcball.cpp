// arcball.cpp -- CArcBall: left drags turn a ball under the cursor about the window's centre,
// right drags move sideways and up, middle drags move forward and back.
#include "utils/arcball.h"

#include <cmath>

#include "utils/d3dutil.h"
#include "windowsx.h"

namespace {

// Shared by every arcball, as only one mouse drags at a time: where the left drag started on the
// ball, and where the last translation drag step ended.
D3DXVECTOR3 s_vDragStart(0.0f, 0.0f, 0.0f);
int s_iLastX = 0;
int s_iLastY = 0;

}  // namespace

CArcBall::CArcBall() : iWidth(0), iHeight(0), fRadius(0.0f), fTranslationRadius(1.0f), bDragging(FALSE) {
    D3DXQuaternionIdentity(&qAtDragStart);
    D3DXQuaternionIdentity(&qCurrent);
    D3DXMatrixIdentity(&matRotation);
    D3DXMatrixIdentity(&matRotationDelta);
    D3DXMatrixIdentity(&matTranslation);
    D3DXMatrixIdentity(&matTranslationDelta);
}

void CArcBall::SetWindow(int width, int height, float radius) {
    iWidth = width;
    iHeight = height;
    fRadius = radius;
}

void CArcBall::SetRadius(float translationRadius) { fTranslationRadius = translationRadius; }

D3DXVECTOR3 CArcBall::ScreenToVector(int x, int y) {
    if (!WindowSet()) return D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    FLOAT sx = (iWidth / 2 - x) / (iWidth * fRadius / 2.0f);
    FLOAT sy = (y - iHeight / 2) / (iHeight * fRadius / 2.0f);
    FLOAT sz = 0.0f;
    const FLOAT mag = sx * sx + sy * sy;
    if (mag > 1.0f) {
        // Outside the ball: the nearest point of its rim.
        const FLOAT scale = 1.0f / std::sqrt(mag);
        sx *= scale;
        sy *= scale;
    } else {
        sz = std::sqrt(1.0f - mag);
    }
    return D3DXVECTOR3(sx, sy, sz);
}

void CArcBall::StartDrag(int x, int y) {
    bDragging = TRUE;
    s_vDragStart = ScreenToVector(x, y);
    qAtDragStart = qCurrent;
}

LRESULT CArcBall::HandleMouseMessages(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (!WindowSet()) return FALSE;
    // Signed: a captured mouse can be left of or above the window.
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);

    switch (uMsg) {
        case WM_LBUTTONDOWN: StartDrag(x, y); return TRUE;
        case WM_LBUTTONUP: bDragging = FALSE; return TRUE;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            s_iLastX = x;
            s_iLastY = y;
            return TRUE;
        case WM_MOUSEMOVE:
            if (wParam & MK_LBUTTON) {
                if (bDragging) {
                    const D3DXVECTOR3 v = ScreenToVector(x, y);
                    D3DXQUATERNION q;
                    QuaternionBetweenDirections(&q, &s_vDragStart, &v);
                    // Opposite points of the rim have no way between them, and the quaternion
                    // is zero: taken in, it would leave a zero orientation that no later drag
                    // turns. The ball stays as the last move left it.
                    if (q.x != 0.0f || q.y != 0.0f || q.z != 0.0f || q.w != 0.0f) {
                        qCurrent = qAtDragStart;
                        D3DXQuaternionMultiply(&qCurrent, &qCurrent, &q);
                        D3DXMatrixRotationQuaternion(&matRotationDelta, &q);
                    }
                } else {
                    // The button went down outside the window: the drag starts here, from where
                    // the ball stands, as a button-down would start it.
                    StartDrag(x, y);
                    D3DXMatrixIdentity(&matRotationDelta);
                }
                D3DXMatrixRotationQuaternion(&matRotation, &qCurrent);
                bDragging = TRUE;
            } else if (wParam & (MK_RBUTTON | MK_MBUTTON)) {
                const FLOAT dx = (s_iLastX - x) * fTranslationRadius / iWidth;
                const FLOAT dy = (s_iLastY - y) * fTranslationRadius / iHeight;
                if (wParam & MK_RBUTTON)
                    D3DXMatrixTranslation(&matTranslationDelta, -2.0f * dx, 2.0f * dy, 0.0f);
                else
                    D3DXMatrixTranslation(&matTranslationDelta, 0.0f, 0.0f, 5.0f * dy);
                D3DXMatrixMultiply(&matTranslation, &matTranslation, &matTranslationDelta);
                s_iLastX = x;
                s_iLastY = y;
            }
            return TRUE;
        default: return FALSE;
    }
}
