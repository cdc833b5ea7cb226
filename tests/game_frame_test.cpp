// game_frame_test.cpp -- RenderFrame's order: the fog, the states it leaves, the screen chosen once
// per frame, the HUD's crosshair, flash, weapon and health colour, the spawn clock and its new
// enemies, the death check, and one picture on the device's built and general programs.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "game_fixture.h"

using game_test::GameTest;

namespace {

float FloatOf(DWORD bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// An enemy in the frame it was spawned: of a type in use, with full health; a falling type 60 above
// its spot and on its way down.
void ExpectNewEnemy(const SSprite& enemy) {
    ASSERT_GE(enemy.iType, 0);
    ASSERT_LT(enemy.iType, g_GameDB.iTypeCount);
    const SEnemyType& type = g_GameDB.types[enemy.iType];
    EXPECT_EQ(enemy.fHealth, 100.0f);
    EXPECT_STREQ(enemy.szName, type.szName);
    EXPECT_EQ(enemy.dwFlags, type.dwFlags);
    EXPECT_EQ(enemy.iTexture, type.iTexture);
    const bool falling = type.dwFlags & ETF_FALLING;
    const float ground = g_pWorld->pMap->GetHeight(enemy.vPos.x, enemy.vPos.y);
    EXPECT_FLOAT_EQ(enemy.vPos.z, ground + (falling ? 60.25f : 0.25f));
    if (falling) {
        EXPECT_EQ(enemy.vVelocity, D3DXVECTOR3(0, 0, -3.0f));
    }
}

// The back buffer's pixels in the box, row by row.
std::vector<uint32_t> PixelsIn(int left, int top, int right, int bottom) {
    std::vector<uint32_t> all, box;
    UINT width = 0, height = 0;
    EXPECT_TRUE(layer::ReadBackBuffer(&all, &width, &height));
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            box.push_back(UINT(x) < width && UINT(y) < height ? all[size_t(y) * width + size_t(x)] : 0);
    return box;
}

bool Whitish(uint32_t p) { return (p & 0xFF) > 170 && (p >> 8 & 0xFF) > 170 && (p >> 16 & 0xFF) > 170; }

// The largest difference of any channel between the two pictures.
int LargestDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    int largest = a.size() == b.size() ? 0 : 255;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        for (int shift = 0; shift < 32; shift += 8)
            largest = std::max(largest, std::abs((int)((a[i] >> shift) & 0xFF) - (int)((b[i] >> shift) & 0xFF)));
    return largest;
}

}  // namespace

TEST_F(GameTest, FogOnlyWithFogOnEndingFortyBeyondTheEyesHeightAndTheFrameEndsIn2DStates) {
    for (BYTE fog : {0, 1}) {
        g_Config.bFog = fog;
        g_Camera.vPos.z = -3.0f;  // the fog takes the eye before this frame's camera update
        Frame();
        EXPECT_EQ(RenderState(D3DRS_FOGENABLE), DWORD(fog));
        if (fog) {
            EXPECT_EQ(RenderState(D3DRS_FOGCOLOR), 0xFF808080u);
            EXPECT_EQ(RenderState(D3DRS_FOGTABLEMODE), DWORD(D3DFOG_LINEAR));
            EXPECT_EQ(FloatOf(RenderState(D3DRS_FOGSTART)), 5.0f);
            EXPECT_EQ(FloatOf(RenderState(D3DRS_FOGEND)), 43.0f);
        }
        const std::pair<D3DRENDERSTATETYPE, DWORD> left[] = {
            {D3DRS_ZENABLE, TRUE},          {D3DRS_ZWRITEENABLE, TRUE},         {D3DRS_LIGHTING, FALSE},
            {D3DRS_ALPHABLENDENABLE, TRUE}, {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
            {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}};
        for (const auto& [state, value] : left) EXPECT_EQ(RenderState(state), value) << state;
        DWORD address = 0;
        g_pd3dDevice->GetTextureStageState(0, D3DTSS_ADDRESSV, &address);
        EXPECT_EQ(address, DWORD(D3DTADDRESS_CLAMP));
    }
}

TEST_F(GameTest, TheScreenIsChosenOncePerFrameAndDeathTakesALifeInTheFrameItIsSeen) {
    g_iGameState = 2;  // no screen: the world, the fence and the frame rate only
    Frame();
    const uint32_t world = DrawCalls();
    for (int state : {7, -1}) {
        g_iGameState = state;
        Frame();
        EXPECT_EQ(DrawCalls(), world) << state;
    }
    g_iGameState = GS_MAINMENU;
    layer::InjectKey(DIK_P, true);
    Frame();  // input's change shows at once: this frame already has the HUD
    const uint32_t hud = DrawCalls();
    EXPECT_GT(hud, world);
    layer::InjectKey(DIK_P, false);
    Frame();
    g_iHealth = 1;  // the last point still plays
    Frame();
    EXPECT_EQ(g_iGameState, GS_PLAYING);
    const D3DXVECTOR3 death = g_Camera.vPos;
    g_iHealth = 0;
    Frame();  // the HUD's own change shows from the next frame
    EXPECT_EQ(DrawCalls(), hud);
    EXPECT_EQ(g_iGameState, GS_DEATH);
    EXPECT_EQ(g_iLives, 2);
    const D3DXVECTOR3 centre(Map().iCellsX * 5.0f, Map().iCellsY * 5.0f, 2.0f);
    EXPECT_EQ(g_Camera.vPos, centre);
    const D3DXVECTOR3 miss = g_Camera.vPos + g_Camera.vLook - death;  // looking at the place of death
    EXPECT_LT(D3DXVec3Length(&miss), 1e-4f);
    Frame();
    EXPECT_FLOAT_EQ(g_Camera.vPos.z, Map().GetHeight(centre.x, centre.y) + 0.25f);
    // Health still below 1 when play resumes costs another life.
    Tap(DIK_ESCAPE);
    Tap(DIK_P);
    EXPECT_EQ(g_iLives, 1);
    EXPECT_EQ(g_iGameState, GS_DEATH);
}

TEST_F(GameTest, TheSpawnClockAddsEnemiesEverFasterAndAFullSetStillRestartsIt) {
    StartPlaying();
    struct Case {
        float gameTime, spawnTimer;
        uint32_t ms;
        int frames;
        std::vector<int> spawnFrames;
    };
    const Case cases[] = {
        {3.95f, 3.95f, 10, 6, {4}},          // the first enemy after just under 4 s (3.99 s)
        {600.0f, 0.0f, 100, 45, {20, 40}},   // about 2 s apart at 600 s
        {600.0f, 2.0f, 0, 1, {}},     // at 2 s: not yet
        {600.0f, 2.001f, 0, 1, {1}},  // just past
        {1200.0f, 0.0f, 10, 70, {}},         // one a frame from 1,200 s until 64 stand
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gameTime);
        NewGame();
        g_fGameTime = c.gameTime;
        g_fSpawnTimer = c.spawnTimer;
        std::vector<int> spawned;
        for (int k = 1; k <= c.frames; ++k) {
            bool before[CSpriteSet::MAX_SPRITES];
            for (int i = 0; i < CSpriteSet::MAX_SPRITES; ++i) before[i] = g_pEnemies->sprites[i].bActive;
            Frame(c.ms);
            for (int i = 0; i < CSpriteSet::MAX_SPRITES; ++i) {
                if (before[i] || !g_pEnemies->sprites[i].bActive) continue;
                spawned.push_back(k);
                ExpectNewEnemy(g_pEnemies->sprites[i]);
            }
        }
        if (c.gameTime < 1200.0f) {
            EXPECT_EQ(spawned, c.spawnFrames);
        }
    }
    ASSERT_EQ(Active(g_pEnemies), 64);
    EXPECT_EQ(g_fSpawnTimer, 0.0f);  // every failed attempt restarted the clock
    g_pEnemies->RemoveSprite(10);
    Frame(10);
    EXPECT_TRUE(g_pEnemies->sprites[10].bActive);
}

TEST_F(GameTest, TheHudShowsEachWeaponsCrosshairFlashAndPictureAndTheHealthInRedFromTwenty) {
    StartPlaying();
    enum Crosshair { kNone, kCross, kCircle, kScope };
    struct Case {
        int weapon;
        float zoom;
        bool flash;
        Crosshair crosshair;
        bool middle;  // the weapon's picture in the middle, not at the right
    };
    const Case cases[] = {
        {0, 4.0f, false, kNone, true},   {1, 4.0f, true, kCross, false},  {2, 4.0f, true, kCircle, true},
        {3, 4.0f, true, kCross, false},  {4, 4.0f, true, kNone, false},   {5, 4.0f, false, kCircle, false},
        {4, 12.0f, false, kScope, false}, {1, 32.0f, false, kCross, false},
    };
    const int hw = int(kWidth) / 2, hh = int(kHeight) / 2;
    std::vector<uint32_t> seen[4];
    std::vector<std::vector<uint32_t>> middle, right;  // of the middle picture only, of the right one only
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "weapon " << c.weapon << " zoom " << c.zoom);
        g_iCurrentWeapon = c.weapon;
        g_Inventory[c.weapon] = {1, 5};
        g_fZoom = c.zoom;
        g_iMuzzleFlash = 0;
        Frame(0);
        const uint32_t without = DrawCalls();
        // The upper half of the crosshair's square, clear of the weapon pictures.
        const std::vector<uint32_t> centre = PixelsIn(hw - 15, hh - 15, hw + 15, hh);
        const uint32_t edge = layer::BackBufferPixel(kWidth - 3, UINT(hh));
        middle.push_back(PixelsIn(hw - 56, hh + 16, kWidth * 5 / 8, kHeight));
        right.push_back(PixelsIn(hw + 56, hh, kWidth, kHeight - 40));
        g_iMuzzleFlash = 1;
        Frame(0);
        EXPECT_EQ(DrawCalls() - without, c.flash ? 1u : 0u);
        EXPECT_EQ(g_iMuzzleFlash, 0);  // runs down whether drawn or not
        EXPECT_EQ((edge & 0xFFFFFF) == 0, c.crosshair == kScope) << std::hex << edge;
        if (c.zoom != 4.0f) continue;  // the world behind a zoomed view is another picture
        if (seen[c.crosshair].empty()) seen[c.crosshair] = centre;
        EXPECT_EQ(centre, seen[c.crosshair]);
    }
    EXPECT_NE(seen[kNone], seen[kCross]);
    EXPECT_NE(seen[kNone], seen[kCircle]);
    EXPECT_NE(seen[kCross], seen[kCircle]);
    // The pistol leaves the middle alone, the chainsaw the right.
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(middle[i] != middle[1], cases[i].middle) << i;
        EXPECT_EQ(right[i] != right[0], !cases[i].middle) << i;
    }
    g_fZoom = 4.0f;
    // A pistol shot flashes in the frame it is fired and the next, not in a third.
    g_iCurrentWeapon = 1;
    g_Weapons[1].fSinceShot = 1.0f;
    Frame(0);
    const uint32_t plain = DrawCalls();
    layer::InjectKey(DIK_SPACE, true);
    for (uint32_t flashes : {1u, 1u, 0u}) {
        Frame(0);
        layer::InjectKey(DIK_SPACE, false);
        EXPECT_EQ(DrawCalls() - plain, flashes) << DrawCalls() << " " << plain;
    }
    // The health counter: white at 21, red at 20 (no pixel of it white).
    for (int health : {21, 20}) {
        g_iHealth = health;
        Frame(0);
        int white = 0;
        for (uint32_t pixel : PixelsIn(hw - 110, kHeight - 31, hw - 80, kHeight - 12)) white += Whitish(pixel);
        EXPECT_EQ(white > 0, health > 20) << health;
    }
    // The chainsaw shows its running picture while fire is held, by the button or by Space; it has
    // no ammunition panel: that corner is as a frame without any screen shows it.
    g_iCurrentWeapon = 0;
    auto saw = [&] {
        Frame(0);
        return PixelsIn(hw - 56, hh + 16, kWidth * 5 / 8, kHeight);
    };
    std::swap(g_Weapons[0].iTexture, g_iTexMotor2);
    const std::vector<uint32_t> running = saw(),
                                corner = PixelsIn(hw + 68, kHeight - 32, kWidth, kHeight - 8);
    std::swap(g_Weapons[0].iTexture, g_iTexMotor2);
    EXPECT_NE(running, middle[0]);  // the running picture where the idle one was
    for (int button : {0, 1}) {
        button ? layer::InjectMouseButton(0, true) : layer::InjectKey(DIK_SPACE, true);
        EXPECT_EQ(saw(), running) << button;
        layer::ClearInjectedInput();
    }
    g_iGameState = 2;
    Frame(0);
    EXPECT_EQ(PixelsIn(hw + 68, kHeight - 32, kWidth, kHeight - 8), corner);
}

// A frame of play in fog, with enemies, particles and the HUD, is the same picture whether the
// device draws it with the programs built for each state or with the general one.
TEST_F(GameTest, AFrameOfPlayIsTheSamePictureOnTheBuiltProgramsAndOnTheGeneralOne) {
    g_Config.bFog = 1;
    StartPlaying();
    for (int k = 0; k < 6; ++k) PlaceEnemy(Ahead(4.0f + 6.0f * k), k % g_GameDB.iTypeCount);
    const std::pair<CSpriteSet*, int> particles[] = {{g_pBlood, g_iTexBlood}, {g_pFlames, g_iTexFlame}, {g_pDust, g_iTexDust}};
    for (const auto& [set, texture] : particles)
        for (int k = 0; k < 40; ++k) {
            const int slot = set->AddRandomSprite();
            if (slot < 0) break;
            SSprite& particle = set->sprites[slot];
            particle.vPos = Ahead(2.0f + 0.2f * k);
            particle.iTexture = texture;
            particle.fLifetime = 1e9f;
            particle.vVelocity = D3DXVECTOR3(0, 0, 0);
        }
    Frames(3);
    // Frames of no time: the scene stands still between them.
    auto still = [&](bool generalProgram) {
        layer::ForceGeneralProgram(generalProgram);
        Frame(0);
        return PixelsIn(0, 0, kWidth, kHeight);
    };
    const std::vector<uint32_t> built = still(false);
    const uint32_t specialised = layer::LastFrameStats().specialisedDraws;
    const std::vector<uint32_t> general = still(true);
    EXPECT_EQ(layer::LastFrameStats().specialisedDraws, 0u);
    const std::vector<uint32_t> builtAgain = still(false);
    EXPECT_GT(specialised, 10u);
    ASSERT_EQ(LargestDifference(built, builtAgain), 0) << "the scene moved between the frames";
    EXPECT_LE(LargestDifference(built, general), 1);
}
