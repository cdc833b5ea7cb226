// game_particles_test.cpp -- dust, flame and blood particles, and the flames and drops play makes.
#include <cmath>
#include <set>

#include "game/combat.h"
#include "game_fixture.h"
#include "shell/helpers.h"
#include "world/object_manager.h"
#include "world/texture_manager.h"
#include "world_device.h"
#include "world_terrain_files.h"

using game_test::GameTest;

namespace {

struct ManualClock {
    ManualClock() { layer::UseManualClock(10000); }
    ~ManualClock() { layer::UseRealClock(); }
};

// The three sets as the game makes them, on a 12 x 12 map whose ground rises along x (5 at x = 50).
class GameParticles : public ::testing::Test {
protected:
    GameParticles() {
        for (CSpriteSet* set : sets) set->bExpire = set->bCustomUpdate = 1;
        world->pTextureManager->textures[0] = d.MakeTexture(8, 8, [](int, int) { return 0xFFFFFFFFu; });
        world->Resume();
    }
    ~GameParticles() override {
        for (CSpriteSet* set : sets) delete set;
        delete world;
    }
    CWorld* MakeWorld() {
        world_test::WriteBytes("teren.ter",
                               world_test::MakeTerrainFile(12, 12, 2, [](float x, float) { return 0.1f * x; }));
        d.cameraPos = D3DXVECTOR3(50, 49, 6);
        CWorld* made = new CWorld(d.device, d.camera(), d.timer());
        made->LoadMap("teren.ter");
        return made;
    }
    template <class Set>
    Set* Make() {
        return new Set(d.device, world, d.camera(), d.timer(), world->pObjectManager);
    }
    // A particle as its creators leave one: the rest as AddRandomSprite made it.
    static int Add(CSpriteSet* set, const D3DXVECTOR3& pos, const D3DXVECTOR3& velocity, float lifetime) {
        const int i = set->AddRandomSprite();
        set->sprites[i].vPos = pos;
        set->sprites[i].vVelocity = velocity;
        set->sprites[i].fLifetime = lifetime;
        set->sprites[i].iTexture = 0;
        return i;
    }
    // One frame of the world's second pass ms after the last, looking along +y.
    void Frame(uint32_t ms) {
        layer::AdvanceClock(ms);
        d.timerObj.Update();
        d.LookAt(d.cameraPos, d.cameraPos + D3DXVECTOR3(0, 1, 0));
        d.BeginFrame(0xFF000000);
        world->SetRenderStates(0);
        world->pObjectManager->RenderPass(1);
        d.EndFrame();
    }

    ManualClock clock;
    ScratchDir dir;
    world_test::Device d{64, 64};
    CWorld* world = MakeWorld();
    CDustSet* dust = Make<CDustSet>();
    CFlameSet* flames = Make<CFlameSet>();
    CBloodSet* blood = Make<CBloodSet>();
    CSpriteSet* sets[3] = {dust, flames, blood};
};

DWORD AlphaOf(const SSprite& s) {
    for (int k = 1; k < 4; ++k) EXPECT_EQ(s.vertices[k].dwColor, s.vertices[0].dwColor);
    EXPECT_EQ(s.vertices[0].dwColor & 0xFFFFFF, 0xFFFFFFu);
    return s.vertices[0].dwColor >> 24;
}

void ExpectTranslation(const D3DXMATRIX& m, const D3DXVECTOR3& at) {
    EXPECT_NEAR(m._41, at.x, 1e-5f);
    EXPECT_NEAR(m._42, at.y, 1e-5f);
    EXPECT_NEAR(m._43, at.z, 1e-5f);
}

}  // namespace

TEST_F(GameParticles, EachSetSetsOnlyItsAlphaReference) {
    const DWORD references[3] = {2, 2, 128};
    for (int k = 0; k < 3; ++k) {
        d.device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
        sets[k]->SetRenderStates(0);
        EXPECT_EQ(d.RenderState(D3DRS_ALPHAREF), references[k]);
        EXPECT_EQ(d.RenderState(D3DRS_ALPHATESTENABLE), DWORD(FALSE));
    }
}

TEST_F(GameParticles, DustAndFlamesFadeByTheirAgeOnlyDustMarksItsBuffer) {
    const struct {
        bool dust;
        float lifetime, age;
        DWORD alpha;
    } cases[] = {
        {true, 2, 0, 255}, {true, 2, 0.99f, 255}, {true, 2, 1, 128}, {true, 2, 1.5f, 64}, {true, 2, 2, 1},
        {true, 1, 0.49f, 255}, {true, 1, 0.75f, 64},
        {true, 1, 1.25f, 194},  // past its end in a long last frame: -62, of which the low 8 bits
        {true, 0, 0, 0},        // no life at all: no number, no alpha
        {false, 0.6f, 0, 255}, {false, 0.6f, 0.2f, 255}, {false, 0.6f, 0.21875f, 247}, {false, 0.6f, 0.5f, 142},
        {false, 0.6f, 0.625f, 95}, {false, 0.6f, 0.875f, 1}, {false, 0.6f, 0.9375f, 235},
    };
    for (const auto& c : cases) {
        CSpriteSet* set = c.dust ? static_cast<CSpriteSet*>(dust) : flames;
        const int i = Add(set, D3DXVECTOR3(50, 50, 9), D3DXVECTOR3(0, 0, 0), c.lifetime);
        set->sprites[i].fAge = c.age;
        set->bDirty = 0;
        set->UpdateSprite(i);
        EXPECT_EQ(AlphaOf(set->sprites[i]), c.alpha) << (c.dust ? "dust" : "flame") << " at " << c.age;
        EXPECT_EQ(set->bDirty, c.dust ? 1 : 0);
        set->RemoveSprite(i);
    }
}

TEST_F(GameParticles, FlameGrowsWithTheSquareOfItsAgeBeforeItsTurnAndTranslation) {
    d.timerObj.fFrameTime = 0;
    const D3DXVECTOR3 at(40, 60, 9);
    const int i = Add(flames, at, D3DXVECTOR3(0, 0, 0), 0.6f);
    const float cases[][2] = {{0, 0.01f}, {0.3f, 0.28f}, {0.6f, 1.09f}};  // age, size
    for (const auto& c : cases) {
        flames->sprites[i].fAge = c[0];
        D3DXMATRIX turn;
        D3DXMatrixRotationZ(&turn, 0.7f);
        flames->matWorld = turn;
        flames->UpdateSprite(i);
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(flames->matWorld(r, k), c[1] * turn(r, k), 1e-5f) << "age " << c[0];
        ExpectTranslation(flames->matWorld, at);
    }
}

TEST_F(GameParticles, FlameFliesAtEightTimesItsVelocityAndDriftsWhereItMeetsTheGround) {
    d.timerObj.fFrameTime = 100;  // a flame moves on by 0.8 of its velocity
    const struct {
        D3DXVECTOR3 start, velocity;
        bool drifts;
    } cases[] = {
        {D3DXVECTOR3(40, 50, 9), D3DXVECTOR3(0.6f, 0, 0.8f), false},    // in the air
        {D3DXVECTOR3(50, 50, 5.15f), D3DXVECTOR3(1, 0, 0), true},       // onto higher ground, 5.08 at x = 50.8
        {D3DXVECTOR3(50, 50, 5.15f), D3DXVECTOR3(-1, 0, 0), false},     // over lower ground
        {D3DXVECTOR3(50, 50, 5.5f), D3DXVECTOR3(0, 0.6f, -0.8f), true},  // diving below 5.1
    };
    for (const auto& c : cases) {
        const int i = Add(flames, c.start, c.velocity, 0.6f);
        srand(77);
        const int first = rand();
        srand(77);
        const float z = RandomInt(100) / 10000.0f, y = RandomInt(100) / 10000.0f - 0.005f,
                    x = RandomInt(100) / 10000.0f - 0.005f;
        const int fourth = rand();
        srand(77);
        flames->UpdateSprite(i);
        const SSprite& s = flames->sprites[i];
        const D3DXVECTOR3 off = s.vPos - (c.start + 0.8f * c.velocity);  // never corrected
        EXPECT_LT(D3DXVec3Length(&off), 1e-5f);
        EXPECT_EQ(s.vVelocity, c.drifts ? D3DXVECTOR3(x, y, z) : c.velocity) << c.start.z;
        EXPECT_EQ(rand(), c.drifts ? fourth : first) << "drawn z, y, x on the ground, none in the air";
        flames->RemoveSprite(i);
    }
}

TEST_F(GameParticles, BloodFollowsItsArcFromTheSpawnPointAndLeavesTheRecordAlone) {
    // A third of |z| of the velocity is 0.25; sin 20 degrees is 0.342020, sin 260 is -0.984808.
    const D3DXVECTOR3 velocity(0.6f, -0.3f, -0.75f);
    const int i = Add(blood, D3DXVECTOR3(50, 50, 2), velocity, 1.0f);
    blood->sprites[i].vertices[2].dwColor = 0xE0FFFFFF;
    unsigned char before[sizeof(SSprite)];
    memcpy(before, &blood->sprites[i], sizeof(SSprite));
    const float cases[][2] = {
        // age, the arc's height less the steady fall
        {0, 0.25f * 0.342020f},
        {70.0f / 240, 0.25f - 70.0f / 720},                // 90 degrees: the top
        {140.0f / 240, 0.25f * 0.342020f - 140.0f / 720},  // 160 degrees
        {160.0f / 240, -160.0f / 720},                     // 180 degrees
        {1, -0.25f * 0.984808f - 1.0f / 3},
    };
    for (const auto& c : cases) {
        blood->sprites[i].fAge = c[0];
        blood->bDirty = 0;
        blood->UpdateSprite(i);
        ExpectTranslation(blood->matWorld, D3DXVECTOR3(50 + c[0] * 0.2f, 50 - c[0] * 0.1f, 2 + c[1]));
        EXPECT_EQ(blood->bDirty, 0);
    }
    blood->sprites[i].fAge = 0;
    EXPECT_EQ(memcmp(before, &blood->sprites[i], sizeof(SSprite)), 0);
}

TEST_F(GameParticles, APausedWorldHoldsEveryParticleButStillPlacesIt) {
    const int p = Add(dust, D3DXVECTOR3(50, 50, 6), D3DXVECTOR3(1, 0, 0), 2.0f);
    const int fl = Add(flames, D3DXVECTOR3(50, 52, 8), D3DXVECTOR3(0, 1, 0), 1.0f);
    const int b = Add(blood, D3DXVECTOR3(48, 50, 6), D3DXVECTOR3(0.6f, 0, 0.8f), 1.0f);
    Frame(250);
    Frame(250);
    const SSprite puff = dust->sprites[p], flame = flames->sprites[fl];
    const D3DXMATRIX drop = blood->matWorld;
    ASSERT_EQ(AlphaOf(flame), 142u);

    world->Pause();
    Frame(300);
    Frame(300);
    EXPECT_EQ(dust->sprites[p].vPos, puff.vPos);
    EXPECT_EQ(dust->sprites[p].vertices[0].dwColor, puff.vertices[0].dwColor);
    EXPECT_EQ(flames->sprites[fl].vPos, flame.vPos);
    EXPECT_EQ(flames->sprites[fl].vertices[0].dwColor, flame.vertices[0].dwColor);
    ExpectTranslation(blood->matWorld, D3DXVECTOR3(drop._41, drop._42, drop._43));
    EXPECT_EQ(blood->sprites[b].bActive, 1);
    ExpectTranslation(dust->matWorld, puff.vPos);
    ExpectTranslation(flames->matWorld, flame.vPos);
    EXPECT_EQ(flames->matWorld._33, 3 * 0.25f + 0.01f);  // still grown to its age
    // Nor does a new age fade them while paused, or mark the dust's buffer.
    dust->sprites[p].fAge = 1.5f;
    flames->sprites[fl].fAge = 0.75f;
    dust->bDirty = 0;
    dust->UpdateSprite(p);
    flames->UpdateSprite(fl);
    EXPECT_EQ(AlphaOf(dust->sprites[p]), 255u);
    EXPECT_EQ(AlphaOf(flames->sprites[fl]), 142u);
    EXPECT_EQ(dust->bDirty, 0);
}

TEST_F(GameParticles, DustShowsItsFadeAFrameLateAFlameOnlyOnceItsSetRefills) {
    // Frames of 0.25 s: the puff drifts; its alpha goes 255, 128, 64, 1, each drawn a frame later.
    const D3DXVECTOR3 start(50, 50, 6), velocity(0.04f, 0.4f, -0.04f);
    const int puff = Add(dust, start, velocity, 1.0f);
    const DWORD shown[] = {255, 255, 128, 64};
    for (int k = 1; k <= 4; ++k) {
        Frame(250);
        ExpectTranslation(dust->matWorld, start + velocity * (0.25f * k));
        EXPECT_NEAR(double(d.Pixel(32, 32) & 0xFF), double(shown[k - 1]), 2.0) << "frame " << k;
    }
    EXPECT_EQ(dust->sprites[puff].bActive, 0);  // drawn in the frame its life ended, then gone

    // A flame faded to 142 at 0.5 s shows opaque until a new flame refills its set.
    const int fl = Add(flames, start, D3DXVECTOR3(0, 0, 0), 5.0f);
    Frame(250);
    Frame(250);
    ASSERT_EQ(AlphaOf(flames->sprites[fl]), 142u);
    EXPECT_NEAR(double(d.Pixel(32, 32) & 0xFF), 255.0, 2.0);
    Add(flames, D3DXVECTOR3(20, 20, 6), D3DXVECTOR3(0, 0, 0), 5.0f);
    Frame(0);
    EXPECT_NEAR(double(d.Pixel(32, 32) & 0xFF), 142.0, 2.0);
}

// A shot's flame, 0.4 across, burns out at 0.6 s; a drop is 0.4 k / 100 across (kill) or 0.2 (k / 120 + 0.2).
TEST_F(GameTest, AShotsFlameBurnsOutAtPointSixAndBloodDropsTakeTheirSizes) {
    StartPlaying();
    g_iCurrentWeapon = 5;
    g_Inventory[5] = {1, 10};
    Tap(DIK_SPACE);
    ASSERT_EQ(Active(g_pFlames), 1);
    const SSprite& flame = g_pFlames->sprites[0];
    auto corner = [](int c, float h) { return D3DXVECTOR3(0, c < 2 ? -h : h, c % 2 ? h : -h); };
    for (int c = 0; c < 4; ++c) EXPECT_EQ(flame.vertices[c].vPos, corner(c, 0.2f)) << c;
    Frames(5, 100);
    Frame(50);
    EXPECT_TRUE(flame.bActive);  // 0.59 s
    Frame(20);
    EXPECT_FALSE(flame.bActive);  // 0.61 s
    for (const int top : {99, 59}) {  // 8 kills, then 8 hits of 20: 64 drops each
        NewGame();
        for (int n = 0; n < 8; ++n) {
            const int slot = PlaceEnemy(g_Camera.vPos);
            top == 99 ? KillEnemy(slot, false) : DamageEnemy(slot, 20, false);
        }
        std::set<long> ks;
        for (const SSprite& drop : g_pBlood->sprites) {
            const float h = drop.vertices[3].vPos.y, k = top == 99 ? h / 0.002f : (h / 0.1f - 0.2f) * 120;
            EXPECT_NEAR(k, std::round(k), 1e-3f);
            ks.insert(std::lround(k));
            for (int c = 0; c < 4; ++c) EXPECT_EQ(drop.vertices[c].vPos, corner(c, h)) << c;
        }
        const long lo = *ks.begin(), hi = *ks.rbegin();  // spread over the whole range
        EXPECT_TRUE(lo >= 0 && lo <= top / 10 && hi >= top - top / 10 && hi <= top) << lo << " to " << hi;
    }
}
