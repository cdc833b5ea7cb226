// game_combat_test.cpp -- damage, kills and their pay, the blood drops, and the player's body:
// kept inside the map on the ground, walking, coasting and standing outside play.
#include <array>
#include <tuple>

#include "game/combat.h"
#include "game_fixture.h"

using game_test::GameTest;

TEST_F(GameTest, DamageSpraysBloodByItsSizeAndPaysTheHitOnlyToThePlayer) {
    // Damage, health, and the drops: a kill adds 8 of its own, and an even count is the player's.
    const std::tuple<float, float, int> cases[] = {{6, 1000, 3}, {10, 1000, 4}, {14, 1000, 6}, {20, 1000, 8},
                                                   {110, 1000, 8}, {0, 1000, 0}, {-5, 1000, 0},
                                                   {10, 10, 12}, {10, 10.5f, 4}};  // to exactly 0: dead
    for (const auto& [damage, health, drops] : cases) {
        NewGame();
        const int slot = PlaceEnemy(D3DXVECTOR3(60, 60, 1), 0);
        g_pEnemies->sprites[slot].fHealth = health;
        DamageEnemy(slot, damage, drops % 2 == 0);
        EXPECT_EQ(Active(g_pBlood), drops) << damage;
        EXPECT_EQ(g_pEnemies->sprites[slot].fHealth, health - damage);
        EXPECT_EQ(g_pEnemies->sprites[slot].bActive, drops > 8 ? 0 : 1) << health;
        EXPECT_EQ(g_iScore, (drops % 2 == 0 ? 3 : 0) + (drops > 8 ? g_GameDB.types[0].iReward : 0));
    }
    // A drop: from the enemy, for a second, on a unit arc, its alpha 224.
    const SSprite& drop = g_pBlood->sprites[0];
    NewGame();
    DamageEnemy(PlaceEnemy(D3DXVECTOR3(60, 60, 1), 0), 10, false);
    EXPECT_EQ(drop.vPos, D3DXVECTOR3(60, 60, 1));
    EXPECT_EQ(drop.fLifetime, 1.0f);
    EXPECT_EQ(drop.iTexture, g_iTexBlood);
    EXPECT_NEAR(D3DXVec3Length(&drop.vVelocity), 1.0f, 1e-5f);
    EXPECT_EQ(drop.vertices[3].dwColor, 0xE0FFFFFFu);
    // The player bleeds at the eye, even from no damage.
    NewGame();
    DamagePlayer(0);
    DamagePlayer(30);
    EXPECT_EQ(Active(g_pBlood), 8);
    EXPECT_EQ(g_iHealth, 70);
    EXPECT_EQ(drop.vPos, g_Camera.vPos);
}

TEST_F(GameTest, KillsPayOnlyThePlayerAndSoundOnlyWithinEighteenUnits) {
    struct Case {
        float distance;
        bool byPlayer;
        int type;
        int killSounds, hosdown, money;
    };
    const int reward = g_GameDB.types[0].iReward;
    ASSERT_EQ(g_GameDB.types[5].iReward, 0);
    g_GameDB.types[15].iReward = 1;  // no hosdown
    const Case cases[] = {{17.9f, true, 0, 1, 0, reward}, {18.1f, true, 0, 0, 0, reward},
                          {5.0f, false, 0, 1, 0, 0},      {30.0f, true, 5, 0, 1, 0},
                          {18, true, 0, 0, 0, reward},    {30, true, 15, 0, 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.distance);
        NewGame();
        layer::ClearPlayedWaves();
        const int slot = PlaceEnemy(g_Camera.vPos + D3DXVECTOR3(c.distance, 0, 0), c.type);
        KillEnemy(slot, c.byPlayer);
        KillEnemy(slot, c.byPlayer);  // no longer active: nothing more
        EXPECT_FALSE(g_pEnemies->sprites[slot].bActive);
        EXPECT_EQ(Active(g_pBlood), 8);
        EXPECT_EQ(Played(g_szKillSounds[0], 0) + Played(g_szKillSounds[1], 0) + Played(g_szKillSounds[2], 0),
                  c.killSounds);
        EXPECT_EQ(Played("sound\\hosdown.wav", 0x100), c.hosdown);
        EXPECT_EQ(g_iMoney, c.money);
        EXPECT_EQ(g_iScore, c.money);
        EXPECT_EQ(g_iKills, c.byPlayer ? 1 : 0);
    }
    // A paying kill says "enemy down" in about one of three.
    layer::ClearPlayedWaves();
    for (int k = 0; k < 300; ++k) KillEnemy(PlaceEnemy(D3DXVECTOR3(30, 30, 1), 0), true);
    EXPECT_NEAR(Played("sound\\enemydown.wav", 0x100), 100, 25);
}

TEST_F(GameTest, TheEyeStaysInsideTheMapOnTheGroundWalksAndStandsOutsidePlay) {
    const float far = Map().iCellsX * 10.0f - 20.2f;
    const std::array<float, 4> cases[] = {{5, 50, 20.2f, 50}, {50, -9, 50, 20.2f}, {500, 60, far, 60},
                                          {20.1f, 99.9f, 20.2f, far}};
    for (const auto& [x, y, wantX, wantY] : cases) {
        g_Camera.vPos = D3DXVECTOR3(x, y, 40);
        Frame();
        EXPECT_FLOAT_EQ(g_Camera.vPos.x, wantX);
        EXPECT_FLOAT_EQ(g_Camera.vPos.y, wantY);
        EXPECT_FLOAT_EQ(g_Camera.vPos.z, Map().GetHeight(wantX, wantY) + 0.25f);
    }
    // Each key walks its way as the view shows it, along the look or along the view's x axis, as far
    // as the impulse takes it: 0.005 more in each frame, 20 units a second for 1, and 1/1.06 of it
    // kept for the next frame (which settles at 0.005 x 20 x 1.06 / 0.06, about 1.77 units a second).
    StartPlaying();
    float impulse = 0, reach = 0;
    for (int k = 0; k < 40; ++k) reach += (impulse = impulse / 1.06f + 0.005f) * 20 * 0.016f;
    struct Walk {
        BYTE key;
        float forward, right;
    };
    const Walk walks[] = {{DIK_S, -1, 0}, {DIK_DOWN, -1, 0}, {DIK_A, 0, -1}, {DIK_LEFT, 0, -1},
                          {DIK_D, 0, 1},  {DIK_RIGHT, 0, 1}, {DIK_W, 1, 0},  {DIK_UP, 1, 0}};
    for (const Walk& w : walks) {
        g_Camera.vPos = D3DXVECTOR3(60, 60, 0);
        g_fForward = g_fStrafe = 0.0f;
        layer::InjectKey(w.key, true);
        Frames(40, 16);
        layer::InjectKey(w.key, false);
        D3DXVECTOR3 ahead(g_Camera.vLook.x, g_Camera.vLook.y, 0), up(0, 0, 1), right;
        D3DXVec3Normalize(&ahead, &ahead);
        D3DXVec3Cross(&right, &up, &ahead);  // the view's x axis
        const D3DXVECTOR3 step = g_Camera.vPos - D3DXVECTOR3(60, 60, 0);
        EXPECT_NEAR(D3DXVec3Dot(&step, &ahead), w.forward * reach, 1e-3f) << int(w.key);
        EXPECT_NEAR(D3DXVec3Dot(&step, &right), w.right * reach, 1e-3f) << int(w.key);
    }
    // Out of play the camera stands and the impulses and the shake wait for play to resume.
    g_fShake = 0.3f;
    Tap(DIK_ESCAPE);
    const float forward = g_fForward;
    const D3DXVECTOR3 from = g_Camera.vPos;
    Frames(10);
    EXPECT_EQ(g_Camera.vPos, from);
    EXPECT_EQ(g_fForward, forward);
    EXPECT_EQ(g_fShake, 0.3f);
    Tap(DIK_P);
    EXPECT_NE(g_Camera.vPos, from);  // coasting on
    EXPECT_FLOAT_EQ(g_fShake, 0.3f / 1.01f / 1.01f);
}
