// game_loading.cpp -- LoadGameData, NewGame, the fence around the playing field and FreeGameData.
#include "game/game_loading.h"

#include "game/enemy.h"
#include "game/game_database.h"
#include "game/particles.h"
#include "game/projectile.h"
#include "game/sound_object.h"
#include "game/weapons.h"
#include "shell/camera.h"
#include "shell/devices.h"
#include "shell/error_box.h"
#include "shell/geometry.h"
#include "shell/helpers.h"
#include "shell/settings.h"
#include "shell/timer.h"
#include "world/terrain.h"
#include "world/texture_manager.h"
#include "world/vertex3d.h"
#include "world/world.h"

CEnemySet* g_pEnemies = nullptr;
CBloodSet* g_pBlood = nullptr;
CFlameSet* g_pFlames = nullptr;
CDustSet* g_pDust = nullptr;
CProjectileSet* g_pProjectiles = nullptr;
IDirect3DVertexBuffer8* g_pPlotVB = nullptr;
CTextureFont* g_pFont = nullptr;

namespace {

const DWORD kWhiteKey = 0xFFFFFFFF;
const DWORD kBlackKey = 0xFF000000;
const DWORD kMagentaKey = 0xFFFF00FF;

// One picture of the game and where its slot is kept.
struct TextureLoad {
    const char* file;
    UINT width, height, mipLevels;
    D3DFORMAT format;
    DWORD colourKey;
    int* slot;
};

const TextureLoad kTextures[] = {
    {"graph\\cross.bmp", 32, 32, 1, D3DFMT_A4R4G4B4, kWhiteKey, &g_iTexCross},
    {"graph\\circle.bmp", 32, 32, 1, D3DFMT_A4R4G4B4, kWhiteKey, &g_iTexCircle},
    {"graph\\awmlook.bmp", 256, 256, 1, D3DFMT_A4R4G4B4, kWhiteKey, &g_iTexAwmLook},
    {"graph\\krev.dds", 32, 32, 3, D3DFMT_UNKNOWN, kWhiteKey, &g_iTexBlood},
    {"graph\\flame.tga", 32, 32, 3, D3DFMT_UNKNOWN, kWhiteKey, &g_iTexFlame},
    {"graph\\dust.tga", 32, 32, 3, D3DFMT_UNKNOWN, kWhiteKey, &g_iTexDust},
    {"graph\\exp.tga", 64, 64, 1, D3DFMT_UNKNOWN, kWhiteKey, &g_iTexExp},
    {"graph\\hudicons.bmp", 128, 64, 1, D3DFMT_A4R4G4B4, kBlackKey, &g_iTexHudIcons},
    {"graph\\motor2.bmp", 256, 256, 1, D3DFMT_A4R4G4B4, kWhiteKey, &g_iTexMotor2},
    {"graph\\plot.bmp", 128, 32, 4, D3DFMT_A4R4G4B4, kWhiteKey, &g_iTexPlot},
};

// The game's own sounds after the weapons', in load order.
struct SoundLoad {
    const char* file;
    int* slot;
};

const SoundLoad kSounds[] = {
    {"sound\\zuch.wav", &g_iSndZuch},         {"sound\\zoom.wav", &g_iSndZoom},
    {"sound\\enemydown.wav", &g_iSndEnemyDown}, {"sound\\fallback.wav", &g_iSndFallback},
    {"sound\\hosdown.wav", &g_iSndHosDown},   {"sound\\blow.wav", &g_iSndBlow},
    {"sound\\explode.wav", &g_iSndExplode},   {"sound\\krk.wav", &g_iSndKrk},
    {g_szKillSounds[0], &g_iSndKill[0]},      {g_szKillSounds[1], &g_iSndKill[1]},
    {g_szKillSounds[2], &g_iSndKill[2]},
};

int LoadTexture(const char* file, UINT width, UINT height, UINT mipLevels, D3DFORMAT format, DWORD colourKey) {
    return g_pWorld->pTextureManager->LoadTexture(file, width, height, mipLevels, format, D3DXCOLOR(colourKey));
}

// Every set gets the device, the world, the camera's position, the frame timer and the world's
// object manager, in whose slots it is then drawn in the order of creation.
template <class Set>
Set* MakeSpriteSet(BYTE expire) {
    Set* set = new Set(g_pd3dDevice, g_pWorld, &g_Camera.vPos, &g_Timer, g_pWorld->pObjectManager);
    set->bExpire = expire;
    set->bCustomUpdate = 1;
    return set;
}

// Upright, then pitched 90 degrees down to the horizontal after a roll that sets the heading.
void AimCamera(float roll) {
    g_Camera.vLook = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    g_Camera.vUp = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    g_Camera.vRight = D3DXVECTOR3(1.0f, 0.0f, 0.0f);
    g_Camera.fPitch = 90.0f;
    g_Camera.fYaw = 0.0f;
    g_Camera.fRoll = roll;
    g_Camera.Update();
}

void EmptySet(CSpriteSet* set) {
    if (!set) return;
    for (int i = 0; i < CSpriteSet::MAX_SPRITES; ++i) set->RemoveSprite(i);
}

SVertex3D FenceVertex(float x, float y, float z, float u, float v) {
    SVertex3D vertex = {D3DXVECTOR3(x, y, z), 0xFFFFFFFF, u, v};
    return vertex;
}

}  // namespace

HRESULT LoadGameData() {
    LoadGameDatabase();
    g_Timer.ResetStopwatch();
    g_iCurrentWeapon = 0;

    g_Camera.vPos = D3DXVECTOR3(50.0f, 50.0f, 5.0f);
    g_Camera.pTimer = &g_Timer;
    AimCamera(0.0f);

    g_pFont = g_pFont14;

    g_pEnemies = MakeSpriteSet<CEnemySet>(0);
    g_pBlood = MakeSpriteSet<CBloodSet>(1);
    g_pFlames = MakeSpriteSet<CFlameSet>(1);
    g_pDust = MakeSpriteSet<CDustSet>(1);
    g_pProjectiles = MakeSpriteSet<CProjectileSet>(1);

    for (const TextureLoad& t : kTextures)
        *t.slot = LoadTexture(t.file, t.width, t.height, t.mipLevels, t.format, t.colourKey);
    for (SWeapon& weapon : g_Weapons) {
        weapon.iTexture = LoadTexture(weapon.pszTexture, 256, 256, 1, D3DFMT_A4R4G4B4, kWhiteKey);
        weapon.iIconTexture = LoadTexture(weapon.pszIcon, 256, 64, 1, D3DFMT_A4R4G4B4, kWhiteKey);
        weapon.iSound = g_pSoundManager->LoadSegment(weapon.pszSound);
    }
    for (int i = 0; i < g_GameDB.iTypeCount; ++i) {
        SEnemyType& type = g_GameDB.types[i];
        type.iTexture = LoadTexture(type.szTexture, 128, 128, 4, D3DFMT_UNKNOWN, kMagentaKey);
        if (HasFlags(&type.dwFlags, ETF_SHOOTER))
            type.iTexture2 = LoadTexture(type.szTexture2, 128, 128, 4, D3DFMT_A4R4G4B4, kMagentaKey);
    }
    for (const SoundLoad& s : kSounds) *s.slot = g_pSoundManager->LoadSegment(s.file);

    UpdateMuzzleFlashQuad();
    g_ptCursor = CCellCoord(INT(g_Config.dwWidth / 2), INT(g_Config.dwHeight / 2));
    g_pWorld->LoadMap("teren.ter");
    NewGame();
    BuildFence();
    return 0;
}

void NewGame() {
    EmptySet(g_pEnemies);
    EmptySet(g_pBlood);
    EmptySet(g_pDust);
    EmptySet(g_pFlames);
    EmptySet(g_pProjectiles);

    g_iCurrentWeapon = 0;
    g_iScore = g_iMoney = g_iKills = 0;
    g_iLives = 3;
    g_iHealth = 100;
    for (SInventoryEntry& entry : g_Inventory) {
        entry.iAmmo = 0;
        entry.bOwned = 0;
    }
    g_Inventory[0].iAmmo = 0;
    g_Inventory[0].bOwned = 1;
    g_Timer.ResetStopwatch();

    // y is drawn before x, then the heading.
    const CMap* map = g_pWorld->pMap;
    const int y = RandomInt(int(map->iCellsY * 10 - 40)) + 20;
    const int x = RandomInt(int(map->iCellsX * 10 - 40)) + 20;
    g_Camera.vPos = D3DXVECTOR3(float(x), float(y), 0.0f);
    const float roll = float(RandomInt(1000)) / 10.0f;
    AimCamera(roll);

    UpdateMuzzleFlashQuad();
    g_fGameTime = g_fSpawnTimer = g_fShake = 0.0f;
    g_fZoom = 4.0f;
}

void BuildFence() {
    SAFE_RELEASE(g_pPlotVB);
    HRESULT hr = g_pd3dDevice->CreateVertexBuffer(16 * sizeof(SVertex3D), D3DUSAGE_WRITEONLY, D3DFVF_VERTEX3D,
                                                  D3DPOOL_DEFAULT, &g_pPlotVB);
    ErrorBox(hr, "CreateVertexBuffer - g_pPlotVB");
    if (FAILED(hr) || !g_pPlotVB) {
        g_pPlotVB = nullptr;
        return;
    }
    BYTE* data = nullptr;
    hr = g_pPlotVB->Lock(0, 0, &data, 0);
    ErrorBox(hr, "g_pPlotVB->Lock");
    // A buffer that could not be filled is not drawn at all.
    if (FAILED(hr) || !data) {
        SAFE_RELEASE(g_pPlotVB);
        return;
    }
    // A band 0.3 high along the four sides of the field, 20 units inside every edge of the map,
    // its picture repeated 24 times along each side.
    const float X = float((g_pWorld->pMap->iCellsX - 2) * 10);
    const float Y = float((g_pWorld->pMap->iCellsY - 2) * 10);
    const float bottom = -0.001f, top = 0.3f;
    const float corners[5][3] = {{20.0f, 20.0f, 0.0f}, {X, 20.0f, 24.0f}, {X, Y, 0.0f}, {20.0f, Y, 24.0f},
                                 {20.0f, 20.0f, 0.0f}};
    SVertex3D* vertices = reinterpret_cast<SVertex3D*>(data);
    for (int c = 0; c < 5; ++c) {
        vertices[2 * c] = FenceVertex(corners[c][0], corners[c][1], bottom, corners[c][2], 1.0f);
        vertices[2 * c + 1] = FenceVertex(corners[c][0], corners[c][1], top, corners[c][2], 0.0f);
    }
    g_pPlotVB->Unlock();
}

void FreeGameData() {
    SAFE_RELEASE(g_pPlotVB);
    delete g_pProjectiles;
    g_pProjectiles = nullptr;
    delete g_pEnemies;
    g_pEnemies = nullptr;
    delete g_pBlood;
    g_pBlood = nullptr;
    delete g_pDust;
    g_pDust = nullptr;
    delete g_pFlames;
    g_pFlames = nullptr;
}
