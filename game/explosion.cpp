// explosion.cpp -- the explosion's sphere, its growth and fading, and making one in the world.
#include "game/explosion.h"

#include <cmath>
#include <cstring>
#include <new>

#include "game/game_database.h"
#include "shell/error_box.h"
#include "shell/timer.h"
#include "world/world.h"

namespace {

const float kLifetime = 1.5f;  // seconds
const float kGrowth = 32.0f;   // the radius is the square root of this times the age
const DWORD kAmbientLight = 0x00FFFFFF;

bool HoldsSlot(const CObjectManager* manager, const CManagedObject* object) {
    if (!manager) return false;
    for (const CManagedObject* member : manager->members)
        if (member == object) return true;
    return false;
}

}  // namespace

CExplosion::CExplosion(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer,
                       CObjectManager* objectManager)
    : CManagedObject(device, world, cameraPos, timer, objectManager),
      pSphere(nullptr),
      fAge(0.0f),
      vPos(0.0f, 0.0f, 0.0f),
      color(0.0f, 0.0f, 0.0f, 0.0f) {
    const HRESULT hr = D3DXCreateSphere(pDevice, 1.0f, 6, 6, &pSphere, nullptr);
    // Every explosion makes its own sphere: a device that cannot is reported once, not per blast.
    ErrorBoxOnce(hr, "D3DXCreateSphere - expl sphere");
    if (FAILED(hr)) pSphere = nullptr;
}

CExplosion::~CExplosion() { SAFE_RELEASE(pSphere); }

void CExplosion::SetRenderStates(int) { pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE); }

void CExplosion::Render() {
    SetRenderStates(0);
    // Frozen in the menus; the object manager deletes it at its next pass once it has burnt out.
    if (g_iGameState == GS_PLAYING || g_iGameState == GS_DEATH) fAge += pTimer->fFrameTime / 1000.0f;
    if (fAge > kLifetime) bRemove = 1;
    // Without its sphere an explosion still ages and goes; there is only nothing to draw.
    if (!pSphere) return;

    const float scale = std::sqrt(kGrowth * fAge);
    D3DXMATRIX world;
    D3DXMatrixIdentity(&world);
    world._11 = world._22 = world._33 = scale;
    world._41 = vPos.x;
    world._42 = vPos.y;
    world._43 = vPos.z;

    // Red stays, green falls by half, blue twice as fast as alpha, alpha to 0 at the end; values
    // below 0 go to the device as they are.
    const float t = fAge / kLifetime;
    const D3DXCOLOR shade(color.r, color.g - t / 2.0f, color.b - 2.0f * t, color.a - t);
    D3DMATERIAL8 material;
    std::memset(&material, 0, sizeof material);
    material.Diffuse = shade;
    material.Ambient = shade;

    pDevice->SetMaterial(&material);
    pDevice->SetTexture(0, nullptr);
    pDevice->SetTransform(D3DTS_WORLD, &world);
    pDevice->SetRenderState(D3DRS_AMBIENT, kAmbientLight);
    pDevice->SetRenderState(D3DRS_LIGHTING, TRUE);
    pSphere->DrawSubset(0);
    pDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
}

CExplosion* SetOffExplosion(const CWorldObject& creator, const D3DXVECTOR3& centre, DWORD colour) {
    CObjectManager* manager = creator.pWorld->pObjectManager;
    CExplosion* explosion =
        new (std::nothrow) CExplosion(creator.pDevice, creator.pWorld, creator.pCameraPos, creator.pTimer, manager);
    if (!explosion) return nullptr;
    if (!HoldsSlot(manager, explosion)) {
        delete explosion;
        return nullptr;
    }
    explosion->vPos = centre;
    explosion->color = D3DXCOLOR(colour);
    return explosion;
}
