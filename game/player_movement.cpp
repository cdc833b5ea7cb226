// player_movement.cpp -- UpdateCamera: impulses into turns and speeds, the map's bounds, the eye
// height above the ground and the landing shake.
#include "game/player_movement.h"

#include <cmath>

#include "game/game_database.h"
#include "mmsystem.h"
#include "shell/camera.h"
#include "world/terrain.h"
#include "world/world.h"

D3DXVECTOR3 g_vEye;
D3DXVECTOR3 g_vLookAt;
D3DXVECTOR3 g_vUp;

namespace {

const float kEdgeMargin = 20.2f;  // the closest the eye comes to an edge of the map
const float kEyeHeight = 0.25f;

float Clamp(float v, float low, float high) {
    if (v < low) return low;
    if (v > high) return high;
    return v;
}

}  // namespace

void UpdateCamera() {
    const bool playing = g_iGameState == GS_PLAYING;
    if (playing) {
        g_Camera.fRoll = 0.0f;
        g_Camera.fYaw = g_fYaw;
        g_Camera.fPitch = g_fPitch;
        g_Camera.fSpeedForward = g_fForward * 20.0f;
        g_Camera.fSpeedRight = -g_fStrafe * 20.0f;
        // The impulses die down per frame: a turn by a quarter, a walk by 1/1.06.
        g_fStrafe /= 1.06f;
        g_fYaw /= 4.0f;
        g_fPitch /= 4.0f;
        g_fForward /= 1.06f;
    } else {
        g_Camera.fRoll = g_Camera.fYaw = g_Camera.fPitch = 0.0f;
        g_Camera.fSpeedForward = g_Camera.fSpeedRight = 0.0f;
    }
    g_Camera.Update();

    const CMap* map = g_pWorld->pMap;
    D3DXVECTOR3& eye = g_Camera.vPos;
    eye.x = Clamp(eye.x, kEdgeMargin, float(map->iCellsX) * 10.0f - kEdgeMargin);
    eye.y = Clamp(eye.y, kEdgeMargin, float(map->iCellsY) * 10.0f - kEdgeMargin);
    eye.z = map->GetHeight(eye.x, eye.y) + kEyeHeight;

    if (playing && g_fShake > 0.0f) {
        eye.z += std::sin(float(timeGetTime() / 10)) * g_fShake;
        g_fShake /= 1.01f;
        if (g_fShake < 0.001f) g_fShake = 0.0f;
    }

    g_vLookAt = eye + g_Camera.vLook;
    g_vEye = eye;
    g_vUp = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
}
