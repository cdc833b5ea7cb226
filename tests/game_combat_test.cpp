// game_combat_test.cpp -- damage, kills and their pay, the blood drops, and the player's body:
// kept inside the map on the ground, walking, coasting and standing outside play.
#include "game/combat.h"
#include "game_fixture.h"

using game_test::GameTest;

TEST_F(GameTest, DamageSpraysBloodByItsSizeAndPaysTheHitOnlyToThePlayer) {
    struct Case {
        float damage;
        int drops;
    };
    for (const Case& c : {Case{6, 3}, Case{10, 4}, Case{14, 6}, Case{20, 8}, Case{110, 8}, Case{0, 0}, Case{-5, 0}}) {
        NewGame();
        const int slot = PlaceEnemy(D3DXVECTOR3(60, 60, 1), 0);
        g_pEnemies->sprites[slot].fHealth = 1000.0f;
        DamageEnemy(slot, c.damage, c.drops % 2 == 0);
        EXPECT_EQ(Active(g_pBlood), c.drops) << c.damage;
        EXPECT_EQ(g_pEnemies->sprites[slot].fHealth, 1000.0f - c.damage);
        EXPECT_EQ(g_iScore, c.drops % 2 == 0 ? 3 : 0);
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
    const Case cases[] = {{17.9f, true, 0, 1, 0, reward}, {18.1f, true, 0, 0, 0, reward},
                          {5.0f, false, 0, 1, 0, 0},      {30.0f, true, 5, 0, 1, 0}};
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
    struct Case {
        float x, y, wantX, wantY;
    };
    for (const Case& c : {Case{5, 50, 20.2f, 50}, Case{50, -9, 50, 20.2f}, Case{500, 60, far, 60},
                          Case{20.1f, 99.9f, 20.2f, far}}) {
        g_Camera.vPos = D3DXVECTOR3(c.x, c.y, 40);
        Frame();
        EXPECT_FLOAT_EQ(g_Camera.vPos.x, c.wantX);
        EXPECT_FLOAT_EQ(g_Camera.vPos.y, c.wantY);
        EXPECT_FLOAT_EQ(g_Camera.vPos.z, Map().GetHeight(c.wantX, c.wantY) + 0.25f);
    }
    // Held W settles the walk at 0.005 x 20 x 1.06 / 0.06, about 1.77 units a second.
    g_Camera.vPos = D3DXVECTOR3(60, 60, 0);
    StartPlaying();
    layer::InjectKey(DIK_W, true);
    Frames(150, 16);
    D3DXVECTOR3 from = g_Camera.vPos;
    Frames(50, 16);
    D3DXVECTOR3 step = g_Camera.vPos - from;
    step.z = 0;
    EXPECT_NEAR(D3DXVec3Length(&step) / 0.8f, 0.005f * 20 * 1.06f / 0.06f, 0.02f);
    // Out of play the camera stands and the impulses and the shake wait for play to resume.
    layer::InjectKey(DIK_W, false);
    g_fShake = 0.3f;
    Tap(DIK_ESCAPE);
    const float forward = g_fForward;
    from = g_Camera.vPos;
    Frames(10);
    EXPECT_EQ(g_Camera.vPos, from);
    EXPECT_EQ(g_fForward, forward);
    EXPECT_EQ(g_fShake, 0.3f);
    Tap(DIK_P);
    EXPECT_NE(g_Camera.vPos, from);  // coasting on
    EXPECT_FLOAT_EQ(g_fShake, 0.3f / 1.01f / 1.01f);
}
