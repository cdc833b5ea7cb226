// game_enemy_test.cpp -- enemies' rise, rage, fall, sinking and shots; projectiles; explosions.
#include <algorithm>
#include <cmath>
#include <set>

#include "game/explosion.h"
#include "game_fixture.h"
#include "playthrough.h"

using game_test::GameTest;

namespace {

// Play without spawning; Pass() runs only the managed objects, leaving the eye where a test puts it.
class EnemyTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        g_pWorld->Resume();
        g_iGameState = GS_PLAYING;
        g_fSpawnTimer = -1e9f;
        g_iHealth = 1000;
        g_Camera.vPos = eye_ = D3DXVECTOR3(60, 60, Map().GetHeight(60, 60) + 0.25f);
    }
    void Pass(uint32_t ms = 20, int times = 1) {
        for (int k = 0; k < times; ++k) {
            layer::AdvanceClock(ms);
            g_Timer.Update();
            g_pd3dDevice->BeginScene();
            g_pWorld->SetRenderStates(0);
            g_pWorld->pObjectManager->RenderPass(1);
            g_pd3dDevice->EndScene();
            g_pd3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
        }
    }
    SSprite& Enemy(int type, const D3DXVECTOR3& at, float age = 0) {
        SSprite& enemy = g_pEnemies->sprites[PlaceEnemy(at, type)];
        enemy.dwFlags = g_GameDB.types[type].dwFlags;
        enemy.fAge = age;
        return enemy;
    }
    static SSprite& Shot(int type, const D3DXVECTOR3& at, const D3DXVECTOR3& velocity) {
        SSprite& shot = g_pProjectiles->sprites[g_pProjectiles->AddRandomSprite()];
        shot.iType = type;
        shot.vPos = at;
        shot.vVelocity = velocity;
        shot.fLifetime = 12;
        return shot;
    }
    static std::vector<CExplosion*> Explosions() {
        std::vector<CExplosion*> found;
        for (CManagedObject* member : g_pWorld->pObjectManager->members)
            if (CExplosion* explosion = dynamic_cast<CExplosion*>(member)) found.push_back(explosion);
        return found;
    }
    // How far a colour is from (r, g, b, a) in its farthest channel.
    static float Off(const D3DCOLORVALUE& c, float r, float g, float b, float a) {
        return std::max({std::fabs(c.r - r), std::fabs(c.g - g), std::fabs(c.b - b), std::fabs(c.a - a)});
    }
    // A vector as a failed check shows it.
    static testing::Message Text(const D3DXVECTOR3& v) { return testing::Message() << v.x << " " << v.y << " " << v.z; }

    D3DXVECTOR3 eye_;
};

TEST_F(EnemyTest, AnEnemyRisesOverTwoSecondsAndOneWithoutRewardSinksHalfAUnitAndGoesAtTwentyFive) {
    SSprite& enemy = Enemy(5, eye_ + D3DXVECTOR3(5, 0, 0));
    g_pWorld->Pause();  // placed, neither aged nor moved
    for (float age : {0.0f, 1.0f, 1.9f, 2.0f, 30.0f}) {
        enemy.fAge = age;
        Pass();
        EXPECT_NEAR(g_pEnemies->matWorld._43 - enemy.vPos.z, std::min(age / 2 - 1, 0.0f), 1e-5f) << age;
    }
    EXPECT_TRUE(enemy.bActive);
    EXPECT_EQ(enemy.fAge, 30.0f);
    g_pWorld->Resume();
    enemy.fAge = 19.99f;
    const float z = enemy.vPos.z;
    Pass(20, 250);
    ASSERT_TRUE(enemy.bActive);
    Pass();
    EXPECT_FALSE(enemy.bActive);
    EXPECT_NEAR(z - enemy.vPos.z, 0.5f, 0.003f);
    EXPECT_EQ(Active(g_pBlood) + g_iMoney + g_iScore + g_iKills, 0);
    g_GameDB.types[5].iReward = 1;  // one that pays a dollar stays where it stands
    SSprite& payer = Enemy(5, eye_ + D3DXVECTOR3(5, 0, 0), 19.99f);
    const float stands = payer.vPos.z;
    Pass(20, 251);
    EXPECT_TRUE(payer.bActive);
    EXPECT_EQ(payer.vPos.z, stands);
}

TEST_F(EnemyTest, RageReddensTakesItsSuffixOnceWarnsOnceAndBlowsUpHurtingByDistance) {
    SSprite& rager = Enemy(1, eye_ + D3DXVECTOR3(30, 0, 0));
    for (auto step : {std::make_pair(11.49f, 0xFFFFA5A5u), {12.99f, 0xFFFF4B4Bu}, {16.0f, 0xFFFF4B4Bu}}) {
        rager.fAge = step.first;
        Pass();
        for (const SVertex3D& corner : rager.vertices) EXPECT_EQ(corner.dwColor, step.second) << step.first;
        EXPECT_STREQ(rager.szName, "Vztekloun ZURI");
    }
    SSprite& longName = Enemy(1, eye_ + D3DXVECTOR3(30, 5, 0), 11);
    std::memset(longName.szName, 'x', 63);
    Pass();
    EXPECT_EQ(std::string(longName.szName), std::string(58, 'x') + " ZURI");  // cut to keep the suffix

    // The neighbour 2 away takes three quarters of the damage; left with none, it dies.
    const struct { float distance, damage, health; int loss, warnings, booms; } blasts[] = {
        {0, 40, 30, 40, 1, 1},    {4, 50, 100, 25, 1, 1},  {7.99f, 50, 100, 0, 1, 1},
        {12, 50, 100, 0, 0, 1},   {40, 50, 100, 0, 0, 0},  {2, -40, 100, 0, 1, 1},
        {11.9f, 50, 100, 0, 1, 1}, {39.9f, 50, 100, 0, 0, 1}};
    for (const auto& c : blasts) {
        SCOPED_TRACE(c.distance);
        g_GameDB.types[1].fDamage = c.damage;
        g_iHealth = 1000;
        layer::ClearPlayedWaves();
        const SSprite& blower = Enemy(1, eye_ + D3DXVECTOR3(c.distance, 0, 0), 19.99f);
        SSprite& neighbour = Enemy(0, blower.vPos + D3DXVECTOR3(0, 2, 0));
        neighbour.fHealth = c.health;
        Pass();
        EXPECT_EQ(g_iHealth, 1000 - c.loss);
        EXPECT_FLOAT_EQ(neighbour.fHealth, c.health - 0.75f * c.damage);
        EXPECT_EQ(neighbour.bActive != 0, c.health > 0.75f * c.damage);
        EXPECT_EQ(Played("sound\\blow.wav", 0x100), c.warnings);
        EXPECT_EQ(Played("sound\\explode.wav", 0x80), c.booms);
        EXPECT_LT(Off(Explosions().back()->color, 1, 1, 1, 1), 1e-5f);
        EXPECT_TRUE(Explosions().back()->vPos == blower.vPos) << Text(Explosions().back()->vPos);
        g_pEnemies->RemoveSprite(int(&neighbour - g_pEnemies->sprites));
    }
    EXPECT_EQ(g_iMoney + g_iScore + g_iKills, 0);
    // One warning, only to a player within 12 in its first frame after 17 s; a blast kills at once.
    g_GameDB.types[1].fDamage = 40;
    SSprite& distant = Enemy(1, eye_ + D3DXVECTOR3(12, 0, 0), 16.99f);
    rager.fAge = 16.99f;
    rager.vPos = eye_ + D3DXVECTOR3(1, 0, 0);
    layer::ClearPlayedWaves();
    Pass();
    distant.vPos = eye_ + D3DXVECTOR3(0, 1, 0);
    Pass(20, 99);
    EXPECT_EQ(Played("sound\\blow.wav", 0x100), 1);
    g_iHealth = 10;
    rager.fAge = 19.99f;
    Frame();
    EXPECT_EQ(g_iGameState, GS_DEATH);
}

TEST_F(EnemyTest, AFallerDropsFromSixtyAtThreeWithATrailAndLandsWithAThudShakeDamageAndDust) {
    g_GameDB.iTypeCount = 1;
    g_GameDB.types[0] = g_GameDB.types[2];
    g_fSpawnTimer = 100;
    Frame();  // the spawn clock makes it
    ASSERT_EQ(Active(g_pEnemies), 1);
    const SSprite& faller = g_pEnemies->sprites[0];
    const float ground = Map().GetHeight(faller.vPos.x, faller.vPos.y) + 0.25f;
    EXPECT_FLOAT_EQ(faller.vPos.z, ground + 60);
    Pass(20, 50);
    EXPECT_NEAR(faller.vPos.z, ground + 57, 1e-3f);
    EXPECT_EQ(Active(g_pDust), 5);  // a puff every 0.18 s at 20 ms a frame
    EXPECT_EQ(g_pDust->sprites[0].fLifetime, 1.0f);
    Pass(20, 50);
    EXPECT_EQ(Active(g_pDust), 6);  // of 11, those younger than a second
    for (const SSprite& puff : g_pDust->sprites) {  // each axis drawn from -0.25 to 0.24
        const D3DXVECTOR3& v = puff.vVelocity;
        EXPECT_LE(std::max({std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)}), 0.25f);
    }

    const struct { float dg, damage, shake; int loss, thuds, warnings; } landings[] = {
        {0, 30, 0.3f, 30, 1, 1}, {8, 40, 0.15f, 20, 1, 1}, {16, 40, 0, 0, 1, 1},
        {24.9f, 40, 0, 0, 1, 0}, {25, 40, 0, 0, 0, 0},     {4, -40, 0.225f, 0, 1, 1},
        {20, 40, 0, 0, 1, 0},    {19.9f, 40, 0, 0, 1, 1}};
    for (const auto& c : landings) {
        SCOPED_TRACE(c.dg);
        NewGame();
        g_GameDB.types[2].fDamage = c.damage;
        g_iHealth = 1000;
        layer::ClearPlayedWaves();
        g_Camera.vPos = eye_ + D3DXVECTOR3(c.dg, 0, 0);  // level with the landing point
        SSprite& lander = Enemy(2, eye_ + D3DXVECTOR3(0, 0, 0.07f), 5);
        lander.vVelocity = D3DXVECTOR3(0, 0, -3);
        Pass(20, 2);  // low and near in both, landed in the second
        EXPECT_EQ(lander.vPos.z, eye_.z);
        EXPECT_TRUE(lander.vVelocity == D3DXVECTOR3(0, 0, 0)) << Text(lander.vVelocity);
        EXPECT_NEAR(g_fShake, c.shake, 1e-6f);
        EXPECT_EQ(g_iHealth, 1000 - c.loss);
        EXPECT_EQ(Played("sound\\zuch.wav", 0x80), c.thuds);
        EXPECT_EQ(Played("sound\\fallback.wav", 0x100), c.warnings);
        EXPECT_EQ(Active(g_pDust), 12);
        EXPECT_EQ(Active(g_pBlood), c.dg < 16 ? 4 : 0);
        for (const SSprite& puff : g_pDust->sprites) {  // x and y drawn from -0.5 to 0.49, z from 0 to 0.29
            const D3DXVECTOR3 v = puff.vVelocity + D3DXVECTOR3(0.5f, 0.5f, 0);
            if (!puff.bActive) continue;
            EXPECT_EQ(puff.fLifetime, 2.0f);
            EXPECT_TRUE(std::min({v.x, v.y, v.z}) >= 0 && v.z < 0.3f) << Text(v);
            EXPECT_LT(std::max(v.x, v.y), 1.0f) << "spread round the landing";
        }
    }
}

// The record's one timer and one latch serve every behaviour of its type, and a blast ends no frame.
TEST_F(EnemyTest, RageSharesTheTimerWithShootingAndTheLatchWithFallingAndABlowUpStillShoots) {
    g_pProjectiles->Pause();
    // A raging shooter warns only in the frame after a shot, which puts its next shot 7 s off.
    SSprite& spitter = Enemy(3, eye_ + D3DXVECTOR3(5, 0, 0), 17.5f);
    spitter.dwFlags = ETF_RAGE | ETF_SHOOTER;
    spitter.fTimer = 7.99f;
    Pass();
    EXPECT_EQ(Active(g_pProjectiles), 1);
    EXPECT_EQ(Played("sound\\blow.wav", 0x100), 0);
    Pass();
    EXPECT_EQ(Played("sound\\blow.wav", 0x100), 1);
    EXPECT_NEAR(spitter.fTimer, 1.02f, 1e-4f);
    spitter.fAge = 19.99f;  // it still fires in the frame it blows up
    spitter.fTimer = 7.99f;
    Pass();
    EXPECT_FALSE(spitter.bActive);
    EXPECT_EQ(Active(g_pProjectiles), 2);

    // A raging faller still falling at 10 s takes the suffix and never warns; one that warned first
    // never takes it. The warning comes below 20 over the ground.
    const struct { float age, height; const char* suffix; int warnings; } fallers[] = {
        {10.5f, 10, " ZURI", 0}, {9.9f, 10, "", 1}, {5, 19.99f, "", 1}, {5, 20.59f, "", 1},
        {5, 20.63f, "", 0}};  // 0.6 lower
    for (const auto& c : fallers) {
        layer::ClearPlayedWaves();
        SSprite& faller = Enemy(2, eye_ + D3DXVECTOR3(3, 0, 0), c.age);
        faller.vPos.z = Map().GetHeight(faller.vPos.x, faller.vPos.y) + 0.25f + c.height;
        faller.dwFlags = ETF_RAGE | ETF_FALLING;
        faller.vVelocity = D3DXVECTOR3(0, 0, -3);
        Pass(20, 10);
        EXPECT_EQ(Played("sound\\fallback.wav", 0x100), c.warnings) << c.age << " at " << c.height;
        EXPECT_EQ(std::string(faller.szName), std::string(g_GameDB.types[2].szName) + c.suffix);
    }
    // A frame of no time with each right at a bound: nothing.
    const struct { int type; float age, h, x, timer; } edges[] = {
        {1, 10, 0, 5, 0}, {1, 17, 0, 5, 0}, {1, 20, 0, 5, 1},
        {5, 25, 0, 5, 0}, {3, 0, 0, 5, 8},  {2, 0, 0, 30, 0},
        {2, 0, 20, 5, 0}, {2, 0, 30, 5, 0.14f}};
    for (const auto& c : edges) {
        NewGame();
        g_Camera.vPos = eye_;
        layer::ClearPlayedWaves();
        SSprite& e = Enemy(c.type, eye_ + D3DXVECTOR3(c.x, 0, 0), c.age);
        D3DXVECTOR3& p = e.vPos;
        p.z = Map().GetHeight(p.x, p.y) + 0.25f + c.h;
        e.vVelocity = D3DXVECTOR3(0, 0, -3);
        e.fTimer = c.timer;
        Pass(0);
        EXPECT_TRUE(layer::PlayedWaves().empty()) << c.type;
        EXPECT_EQ(Active(g_pDust) + Active(g_pProjectiles), 0);
        EXPECT_TRUE(e.bActive) << c.type << " at " << c.age;
        const bool zuri = std::strstr(e.szName, "ZURI");
        EXPECT_EQ(zuri, c.type == 1 && c.age > 10) << c.age;
    }
}

TEST_F(EnemyTest, AShooterFiresWhenItsTimerPassesEightAndTypeSevenOrTumosarCroaks) {
    g_pProjectiles->Pause();  // the shots stay as they were fired
    SSprite& shooter = Enemy(3, eye_ + D3DXVECTOR3(20, 0, 0));
    shooter.fTimer = 7.97f;
    Pass();
    EXPECT_EQ(Active(g_pProjectiles), 0);
    Pass();
    ASSERT_EQ(Active(g_pProjectiles), 1);
    const SSprite& shot = g_pProjectiles->sprites[0];
    EXPECT_TRUE(shot.vPos == shooter.vPos) << Text(shot.vPos) << ", " << Text(shooter.vPos);
    EXPECT_TRUE(shot.vVelocity == D3DXVECTOR3(-20, 0, 0)) << Text(shot.vVelocity);
    EXPECT_EQ(shot.fLifetime, 12.0f);
    EXPECT_EQ(shot.iTexture, g_GameDB.types[3].iTexture2);
    EXPECT_TRUE(shot.vertices[3].vPos == D3DXVECTOR3(0, 0.1f, 0.1f)) << Text(shot.vertices[3].vPos);

    const struct { int type; const char* name; float distance; int croaks; } cases[] = {
        {7, "Kvakoun", 7.9f, 1}, {7, "Kvakoun", 8.1f, 0}, {3, "TUMOSAR je tu", 5, 1}, {3, "TUMOSA", 5, 0},
        {7, "Kvakoun", 8, 0}};
    for (const auto& c : cases) {
        layer::ClearPlayedWaves();
        SSprite& croaker = Enemy(c.type, eye_ + D3DXVECTOR3(0, c.distance, 0));
        std::strcpy(croaker.szName, c.name);
        croaker.fTimer = 7.99f;
        Pass();
        EXPECT_EQ(Played("sound\\krk.wav", 0x80), c.croaks) << c.name << " at " << c.distance;
    }
}

TEST_F(EnemyTest, ProjectilesFlyByTheirTypeHomeInAndHitTheEye) {
    g_Camera.vPos = eye_ += D3DXVECTOR3(0, 0, 30);  // in the air, far from the ground
    for (auto flight : {std::make_pair(3, 2.0f), {6, 6.0f}}) {  // straight, fast
        const SSprite& shot = Shot(flight.first, eye_ + D3DXVECTOR3(20, 0, 0), D3DXVECTOR3(0, 3, 0));
        Pass(100, 10);
        EXPECT_NEAR(shot.vPos.y - eye_.y, flight.second, 1e-4f);
        EXPECT_EQ(shot.vPos.x, eye_.x + 20);
    }
    for (float ms : {100.0f, 10.0f}) {  // homing at right angles: ms / 200 of the way to the eye
        const SSprite& shot = Shot(4, eye_ + D3DXVECTOR3(20, 0, 0), D3DXVECTOR3(0, 1, 0));
        Pass(uint32_t(ms));
        EXPECT_NEAR(shot.vVelocity.x, -ms / 200 / std::sqrt(1 + ms * ms / 40000), 1e-5f) << ms;
    }
    // Within 0.25 of the eye: 1 to the type's damage, at least 1; a negative one heals nothing.
    const struct { float damage, off; int least, most; } hits[] = {
        {10, 0, 1, 10}, {0.5f, 0, 1, 1}, {-10, 0, 0, 1}, {10, 0.245f, 1, 10}, {10, 0.255f, 0, 0}};
    for (const auto& c : hits) {
        g_GameDB.types[3].fDamage = c.damage;
        std::set<int> losses;
        for (int k = 0; k < 60; ++k) {
            const int before = g_iHealth;
            const SSprite& shot = Shot(3, eye_ + D3DXVECTOR3(c.off, 0, 0), D3DXVECTOR3(0, 0, 1));
            Pass();  // 0.04 up
            g_pProjectiles->RemoveSprite(int(&shot - g_pProjectiles->sprites));
            losses.insert(before - g_iHealth);
        }
        EXPECT_EQ(*losses.begin(), c.least) << c.off;
        EXPECT_EQ(*losses.rbegin(), c.most) << c.off;
    }
}

TEST_F(EnemyTest, AGroundImpactIsSilentUnlessExplosiveWhichBlastsByDistance) {
    const struct { int type; float distance; int loss, booms, explosions; } impacts[] = {
        {3, 3.9f, 0, 0, 0}, {3, 0.2f, 1, 0, 0}, {7, 3.9f, 15, 1, 1},
        {7, 7.9f, 0, 1, 1}, {7, 29, 0, 1, 1},   {7, 31, 0, 0, 1},
        {7, 30, 0, 0, 1},   {7, 29.95f, 0, 1, 1}, {3, 0.25f, 0, 0, 0}};
    g_GameDB.types[3].fDamage = 1;  // an impact within 0.25 of the eye hits it as well
    g_GameDB.types[7].fDamage = 30;
    for (const auto& c : impacts) {
        SCOPED_TRACE(c.distance);
        NewGame();
        g_iHealth = 1000;
        layer::ClearPlayedWaves();
        const size_t before = Explosions().size();
        // Straight down into the ground, the eye above where it ends its step.
        const D3DXVECTOR3 start(eye_.x, eye_.y, eye_.z - 0.5f);
        const SSprite& shot = Shot(c.type, start, D3DXVECTOR3(0, 0, -1));
        const SSprite& bystander = Enemy(0, start + D3DXVECTOR3(2, 0, -0.04f));
        g_Camera.vPos = start + D3DXVECTOR3(0, 0, c.distance - 0.04f);
        Pass();
        EXPECT_FALSE(shot.bActive);
        EXPECT_EQ(g_iHealth, 1000 - c.loss);
        EXPECT_NEAR(100 - bystander.fHealth, c.type == 7 ? 22.5f : 0, 1e-3f);
        EXPECT_EQ(Played("sound\\explode.wav", 0x80), c.booms);
        ASSERT_EQ(Explosions().size(), before + c.explosions);
        EXPECT_LT(c.explosions ? Off(Explosions().back()->color, 1, 0, 1, 1) : 0.0f, 1e-5f);  // magenta
    }
}

TEST_F(EnemyTest, AnExplosionGrowsAndFadesOnlyInPlayAndOnTheDeathScreenAndGoesAfterItsTime) {
    const struct { int state; DWORD colour; float age; } cases[] = {{GS_PLAYING, 0xFFFFFFFF, 0.75f},
        {GS_DEATH, 0xFFFF00FF, 0.75f}, {GS_MAINMENU, 0xFFFFFFFF, 0}, {GS_SHOP, 0xFFFFFFFF, 0}, {GS_REWARDS, 0xFFFFFFFF, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        g_iGameState = c.state;
        const CExplosion* explosion = SetOffExplosion(*g_pEnemies, Ahead(10), c.colour);
        ASSERT_NE(explosion, nullptr);
        Pass(250, 3);
        ASSERT_EQ(explosion->fAge, c.age);
        D3DMATRIX world;
        D3DMATERIAL8 material;
        g_pd3dDevice->GetTransform(D3DTS_WORLD, &world);
        g_pd3dDevice->GetMaterial(&material);
        EXPECT_NEAR(world._11, std::sqrt(32 * c.age), 1e-5f);  // 4.9 at 0.75 s
        const float green = (c.colour == 0xFFFFFFFF) - c.age / 3;
        EXPECT_LT(Off(material.Ambient, 1, green, 1 - c.age / 0.75f, 1 - c.age / 1.5f), 1e-5f);
        EXPECT_EQ(RenderState(D3DRS_LIGHTING), DWORD(FALSE));  // only the sphere is lit
        g_iGameState = GS_PLAYING;  // the rest of its life
        Pass(250, c.age == 0 ? 6 : 3);
        ASSERT_EQ(Explosions().size(), 1u);  // 1.5 s: not yet past its time
        Pass(250);
        EXPECT_EQ(Explosions().size(), 1u);  // past it: drawn once more, then deleted
        Pass(250);
        EXPECT_TRUE(Explosions().empty());
    }
    // In a frame the sphere shows its colour, lit by the white ambient light alone.
    g_Camera.vLook = D3DXVECTOR3(1, 0, 1);  // up at the sky, the sphere in the middle of the view
    SetOffExplosion(*g_pEnemies, eye_ + D3DXVECTOR3(2, 0, 2), 0xFFFF00FF);
    Frame(100);  // radius 1.8, colour (1, 0, 0.87) at alpha 0.93
    for (int d : {-20, 0, 20})
        EXPECT_TRUE(playthrough::Picture::Covered(layer::BackBufferPixel(160 + d, 120 + d), 0xEEFF00DD)) << d;
}

TEST_F(EnemyTest, ElevenExplosionsFindPlacesTheTwelfthIsDroppedAndASphereFailureOnlyHidesOne) {
    for (int k = 0; k < 11; ++k) EXPECT_NE(SetOffExplosion(*g_pProjectiles, Ahead(10), 0xFFFFFFFF), nullptr);
    EXPECT_EQ(SetOffExplosion(*g_pProjectiles, Ahead(10), 0xFFFFFFFF), nullptr);
    EXPECT_EQ(g_pWorld->pObjectManager->ObjectsAside(), 0u);  // gone, not kept aside
    Pass();
    EXPECT_EQ(DrawCalls(), 11u);
    g_GameDB.types[1].fDamage = 40;
    Enemy(1, eye_ + D3DXVECTOR3(4, 0, 0), 19.99f);
    Pass();
    EXPECT_EQ(g_iHealth, 1000 - 20);  // a blast that finds no place still hurts
    EXPECT_EQ(g_pWorld->pObjectManager->ObjectsAside(), 0u);
    Pass(1000, 3);
    EXPECT_TRUE(Explosions().empty());
    // Without its sphere an explosion is reported once, not drawn, and still goes.
    for (int k = 0; k < 2; ++k) {
        layer::FailNextResourceCreation(E_FAIL);
        EXPECT_EQ(SetOffExplosion(*g_pEnemies, Ahead(10), 0xFFFFFFFF)->pSphere, nullptr);
    }
    EXPECT_EQ(BoxesSaying("D3DXCreateSphere - expl sphere"), 1);
    SetOffExplosion(*g_pEnemies, Ahead(10), 0xFFFFFFFF);
    Pass();
    EXPECT_EQ(DrawCalls(), 1u);
    Pass(1000, 3);
    EXPECT_TRUE(Explosions().empty());
}

}  // namespace
