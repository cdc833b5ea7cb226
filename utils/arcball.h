// arcball.h -- CArcBall: a window's mouse messages turned into an orientation (left drag) and a
// translation (right drag sideways and up, middle drag forward and back).
#pragma once

#include "d3dx8.h"
#include "windows.h"

class CArcBall {
public:
    CArcBall();

    // The window's size in pixels and the ball's radius as a fraction of the half window.
    // Until all three are above zero the arcball takes no messages.
    void SetWindow(int width, int height, float radius);
    void SetRadius(float translationRadius);
    // The unit vector on the ball under a window pixel; (0, 0, 1) while the window is not set.
    D3DXVECTOR3 ScreenToVector(int x, int y);
    // TRUE when the message was a mouse message the arcball used.
    LRESULT HandleMouseMessages(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // What the drags made, read by the caller.
    int iWidth;
    int iHeight;
    float fRadius;
    float fTranslationRadius;
    D3DXQUATERNION qAtDragStart;
    D3DXQUATERNION qCurrent;
    D3DXMATRIX matRotation;
    D3DXMATRIX matRotationDelta;
    D3DXMATRIX matTranslation;
    D3DXMATRIX matTranslationDelta;
    BOOL bDragging;

private:
    bool WindowSet() const { return iWidth > 0 && iHeight > 0 && fRadius > 0.0f; }
    void StartDrag(int x, int y);
};
