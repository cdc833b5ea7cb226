// game_loading_test.cpp -- LoadGameData on the generated content: slots in load order, the sprite
// sets, the fence; NewGame from every state; a fence or overlay buffer that could not be made.
#include <cmath>
#include <cstdlib>
#include <vector>

#include "content_test_support.h"
#include "game/weapons.h"
#include "game_fixture.h"
#include "layer/image_decode.h"
#include "shell/helpers.h"
#include "world/object_manager.h"
#include "world/texture_manager.h"

using game_test::GameTest;

namespace {

// What the player gets of the picture in the next slot of the load order: the size, format and
// levels asked for, each texel see-through where the file has the key colour and as opaque as the
// file elsewhere (to the rounding of four bits).
void ExpectTexture(int slot, int* next, const char* file, UINT w, UINT h, UINT levels, D3DFORMAT format,
                   DWORD key) {
    SCOPED_TRACE(file);
    ASSERT_EQ(slot, (*next)++);
    IDirect3DTexture8* texture = g_pWorld->pTextureManager->textures[slot];
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT rect;
    ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(std::vector<UINT>({desc.Width, desc.Height, UINT(desc.Format), texture->GetLevelCount()}),
              std::vector<UINT>({w, h, UINT(format), levels}));
    const std::vector<unsigned char> bytes = ReadFileBytes(DataPath(file));
    layer::DecodedImage picture;
    ASSERT_EQ(layer::DecodeImage(bytes.data(), bytes.size(), &picture), S_OK);
    const std::vector<DWORD>& pixels = picture.top.pixels;
    ASSERT_EQ(pixels.size(), size_t(w) * h);
    ASSERT_TRUE(desc.Width == w && desc.Height == h) << desc.Width << " " << desc.Height;
    ASSERT_EQ(texture->LockRect(0, &rect, nullptr, D3DLOCK_READONLY), D3D_OK);
    int wrong = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const BYTE* row = static_cast<const BYTE*>(rect.pBits) + i / w * size_t(rect.Pitch);
        const int alpha = format == D3DFMT_A4R4G4B4 ? (row[i % w * 2 + 1] >> 4) * 17 : row[i % w * 4 + 3];
        wrong += std::abs(alpha - (pixels[i] == key ? 0 : int(pixels[i] >> 24))) > 8;
    }
    texture->UnlockRect(0);
    EXPECT_EQ(wrong, 0);
}

class GameWithoutOverlay : public GameTest {
protected:
    void BeforeGeometry() override { layer::FailNextResourceCreation(D3DERR_INVALIDCALL); }
};

}  // namespace

TEST_F(GameTest, LoadingFillsTheSlotsInLoadOrderAndFencesTheField) {
    EXPECT_EQ(layer::ShownMessageBoxes().size(), 0u);
    const DWORD white = 0xFFFFFFFF, black = 0xFF000000, magenta = 0xFFFF00FF;
    const D3DFORMAT a4 = D3DFMT_A4R4G4B4, a8 = D3DFMT_A8R8G8B8;
    int next = 0;
    ExpectTexture(g_iTexCross, &next, "graph\\cross.bmp", 32, 32, 1, a4, white);
    ExpectTexture(g_iTexCircle, &next, "graph\\circle.bmp", 32, 32, 1, a4, white);
    ExpectTexture(g_iTexAwmLook, &next, "graph\\awmlook.bmp", 256, 256, 1, a4, white);
    ExpectTexture(g_iTexBlood, &next, "graph\\krev.dds", 32, 32, 3, a8, white);
    ExpectTexture(g_iTexFlame, &next, "graph\\flame.tga", 32, 32, 3, a8, white);
    ExpectTexture(g_iTexDust, &next, "graph\\dust.tga", 32, 32, 3, a8, white);
    ExpectTexture(g_iTexExp, &next, "graph\\exp.tga", 64, 64, 1, a8, white);
    ExpectTexture(g_iTexHudIcons, &next, "graph\\hudicons.bmp", 128, 64, 1, a4, black);
    ExpectTexture(g_iTexMotor2, &next, "graph\\motor2.bmp", 256, 256, 1, a4, white);
    ExpectTexture(g_iTexPlot, &next, "graph\\plot.bmp", 128, 32, 4, a4, white);
    for (const SWeapon& weapon : g_Weapons) {
        ExpectTexture(weapon.iTexture, &next, weapon.pszTexture, 256, 256, 1, a4, white);
        ExpectTexture(weapon.iIconTexture, &next, weapon.pszIcon, 256, 64, 1, a4, white);
    }
    ASSERT_GT(g_GameDB.iTypeCount, 7);
    for (int i = 0; i < g_GameDB.iTypeCount; ++i) {
        const SEnemyType& type = g_GameDB.types[i];
        ExpectTexture(type.iTexture, &next, type.szTexture, 128, 128, 4, a8, magenta);  // a BMP gains alpha
        if (type.dwFlags & ETF_SHOOTER)
            ExpectTexture(type.iTexture2, &next, type.szTexture2, 128, 128, 4, a4, magenta);
    }
    const int sounds[] = {g_Weapons[0].iSound, g_Weapons[1].iSound, g_Weapons[2].iSound, g_Weapons[3].iSound,
                          g_Weapons[4].iSound, g_Weapons[5].iSound, g_iSndZuch,     g_iSndZoom,
                          g_iSndEnemyDown,     g_iSndFallback,      g_iSndHosDown,  g_iSndBlow,
                          g_iSndExplode,       g_iSndKrk,           g_iSndKill[0],  g_iSndKill[1],
                          g_iSndKill[2]};
    for (int k = 0; k < 17; ++k) EXPECT_EQ(sounds[k], k);
    // The five sets hold the manager's first places in this order; only enemies never expire.
    CSpriteSet* sets[] = {g_pEnemies, g_pBlood, g_pFlames, g_pDust, g_pProjectiles};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(g_pWorld->pObjectManager->members[k], sets[k]) << k;
        EXPECT_EQ(sets[k]->bExpire, k == 0 ? 0 : 1) << k;
        EXPECT_EQ(sets[k]->bCustomUpdate, 1) << k;
    }
    EXPECT_EQ(g_pFont, g_pFont14);
    EXPECT_EQ(g_ptCursor.x, 160);
    EXPECT_EQ(g_ptCursor.y, 120);
    EXPECT_EQ(g_iGameState, GS_MAINMENU);
    EXPECT_TRUE(g_pWorld->bPaused);
    // Ten vertices: a band from -0.001 to 0.3 around (20, 20)-(X, Y), the picture 24 times a side.
    ASSERT_NE(g_pPlotVB, nullptr);
    const float X = float((Map().iCellsX - 2) * 10), Y = float((Map().iCellsY - 2) * 10);
    const float want[10][5] = {{20, 20, -0.001f, 0, 1}, {20, 20, 0.3f, 0, 0}, {X, 20, -0.001f, 24, 1},
                               {X, 20, 0.3f, 24, 0},    {X, Y, -0.001f, 0, 1}, {X, Y, 0.3f, 0, 0},
                               {20, Y, -0.001f, 24, 1}, {20, Y, 0.3f, 24, 0},  {20, 20, -0.001f, 0, 1},
                               {20, 20, 0.3f, 0, 0}};
    BYTE* data = nullptr;
    ASSERT_EQ(g_pPlotVB->Lock(0, 0, &data, D3DLOCK_READONLY), S_OK);
    const SVertex3D* v = reinterpret_cast<const SVertex3D*>(data);
    for (int k = 0; k < 10; ++k) {
        const float got[5] = {v[k].vPos.x, v[k].vPos.y, v[k].vPos.z, v[k].fU, v[k].fV};
        for (int c = 0; c < 5; ++c) EXPECT_EQ(got[c], want[k][c]) << "vertex " << k << " field " << c;
        EXPECT_EQ(v[k].dwColor, 0xFFFFFFFFu);
    }
    g_pPlotVB->Unlock();
    // The first frame puts the eye on the ground.
    Frame();
    EXPECT_FLOAT_EQ(g_Camera.vPos.z, Map().GetHeight(g_Camera.vPos.x, g_Camera.vPos.y) + 0.25f);
}

TEST_F(GameTest, NewGameResetsThePlayerWithThreeDrawsAndLeavesTheRestAlone) {
    const int cellsX = Map().iCellsX, cellsY = Map().iCellsY;
    std::vector<float> headings;
    for (int state : {GS_PLAYING, GS_MAINMENU, GS_SHOP, GS_REWARDS, GS_DEATH}) {
        SCOPED_TRACE(state);
        g_iGameState = state;
        const BYTE paused = state == GS_PLAYING || state == GS_DEATH ? 0 : 1;
        paused ? g_pWorld->Pause() : g_pWorld->Resume();
        g_iCurrentWeapon = 3;
        g_iScore = g_iMoney = g_iKills = g_iLives = 77;
        g_iHealth = -5;
        for (SInventoryEntry& entry : g_Inventory) entry = {1, 9};
        CSpriteSet* sets[] = {g_pEnemies, g_pBlood, g_pFlames, g_pDust, g_pProjectiles};
        for (CSpriteSet* set : sets) set->AddRandomSprite();
        g_fZoom = 12.0f;
        g_fGameTime = g_fSpawnTimer = g_fShake = 3.0f;
        g_fForward = g_iMuzzleFlash = 2;
        g_Weapons[4].fSinceShot = 0.5f;
        // The start y, the start x and the heading, drawn in that order, and nothing more.
        srand(unsigned(state));
        const int y = RandomInt(cellsY * 10 - 40) + 20, x = RandomInt(cellsX * 10 - 40) + 20;
        const float roll = float(RandomInt(1000)) / 10.0f;
        const int fourth = rand();
        srand(unsigned(state));
        NewGame();
        EXPECT_EQ(rand(), fourth);
        EXPECT_EQ(g_Camera.vPos, D3DXVECTOR3(float(x), float(y), 0.0f));
        EXPECT_NEAR(g_Camera.vLook.z, 0.0f, 1e-5f);  // level
        // The roll turns the heading by as many degrees, from one fixed direction.
        const float degrees = std::atan2(g_Camera.vLook.y, g_Camera.vLook.x) * 57.29578f - roll;
        headings.push_back(std::fmod(degrees + 720.0f, 360.0f));
        EXPECT_NEAR(headings.back(), headings.front(), 0.01f);
        EXPECT_EQ(g_iCurrentWeapon + g_iScore + g_iMoney + g_iKills, 0);
        EXPECT_EQ(std::make_pair(g_iLives, g_iHealth), std::make_pair(3, 100));
        for (int w = 0; w < WEAPON_COUNT; ++w) {
            EXPECT_EQ(g_Inventory[w].bOwned, w == 0 ? 1 : 0) << w;
            EXPECT_EQ(g_Inventory[w].iAmmo, 0) << w;
        }
        for (CSpriteSet* set : sets) EXPECT_EQ(Active(set), 0);
        EXPECT_EQ(g_fZoom, 4.0f);
        EXPECT_EQ(g_fGameTime + g_fSpawnTimer + g_fShake, 0.0f);
        EXPECT_EQ(g_iGameState, state);
        EXPECT_EQ(g_pWorld->bPaused, paused);
        EXPECT_EQ(g_fForward + g_iMuzzleFlash, 4.0f);
        EXPECT_EQ(g_Weapons[4].fSinceShot, 0.5f);
    }
    // Whole numbers from 20 to 10 x cells - 21, whatever the seed.
    for (unsigned seed = 1; seed < 200; ++seed) {
        srand(seed);
        NewGame();
        const float px = g_Camera.vPos.x, py = g_Camera.vPos.y;
        ASSERT_TRUE(px == std::floor(px) && py == std::floor(py)) << px << "," << py;
        ASSERT_TRUE(px >= 20 && px <= cellsX * 10 - 21 && py >= 20 && py <= cellsY * 10 - 21) << px << "," << py;
    }
}

TEST_F(GameTest, AFenceThatCannotBeMadeIsReportedAndLeftOutOfEveryFrame) {
    g_iGameState = 2;  // draws no screen: the world, the fence and the frame rate only
    Frame();
    const uint32_t withFence = DrawCalls();
    layer::FailNextResourceCreation(D3DERR_INVALIDCALL);
    BuildFence();
    EXPECT_EQ(g_pPlotVB, nullptr);
    EXPECT_EQ(BoxesSaying("CreateVertexBuffer - g_pPlotVB"), 1);
    Frames(2);
    EXPECT_EQ(DrawCalls(), withFence - 1);
}

TEST_F(GameWithoutOverlay, TheFlashQuadIsReportedOnceAndTheGamePlaysOn) {
    ASSERT_EQ(g_pVB2D, nullptr);
    StartPlaying();
    layer::InjectKey(DIK_1, true);  // moves the flash quad every frame it is held
    layer::InjectKey(DIK_SPACE, true);
    Frames(30);
    EXPECT_EQ(BoxesSaying("CreateVertexBuffer - g_pVB2D"), 1);
    EXPECT_EQ(BoxesSaying("g_pVB2D->Lock"), 1);
    EXPECT_GT(Played("sound\\motor.wav", 0x80), 0);
    EXPECT_GT(DrawCalls(), 3u);
}
