// game_input_test.cpp -- the player's input: each weapon's delay and ammunition, weapon keys, the
// scope, mouse look, state keys and cursor, target text and hit tests, every input as SDL events.
#include <array>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

#include "game/intro.h"
#include "game_fixture.h"

using game_test::GameTest;

namespace {

class PlayingTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        StartPlaying();
    }
    // The weapon in hand, owned or not, loaded and as ready as at the start of the program.
    void Hold(int weapon, int ammo, bool owned = true) {
        g_iCurrentWeapon = weapon;
        g_Inventory[weapon] = {BYTE(owned ? 1 : 0), ammo};
        g_Weapons[weapon].fSinceShot = game_test::WeaponsAtStart()[size_t(weapon)].fSinceShot;
    }
    // Holds Space or the left button for `frames` frames of `ms` and gives the shots heard.
    int Fire(int frames, uint32_t ms, bool withButton = false) {
        layer::ClearPlayedWaves();
        withButton ? layer::InjectMouseButton(0, true) : layer::InjectKey(DIK_SPACE, true);
        Frames(frames, ms);
        withButton ? layer::InjectMouseButton(0, false) : layer::InjectKey(DIK_SPACE, false);
        return Played(g_Weapons[g_iCurrentWeapon].pszSound, 0x80);
    }
};

// A key by its SDL name, or a mouse input, into SDL's queue.
void Send(const std::string& in, bool down) {
    SDL_Event e = {};
    if (in.find(" button") != std::string::npos) {
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        const bool left = in == "left button";
        e.button.button = left ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
    } else if (in == "motion") {
        e.type = SDL_MOUSEMOTION;
        e.motion.xrel = down ? 48 : 0;  // a release moves nothing
        e.motion.yrel = down ? 24 : 0;
    } else {
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.scancode = SDL_GetScancodeFromName(in.c_str());
    }
    ASSERT_EQ(SDL_PushEvent(&e), 1);
}

}  // namespace

TEST_F(PlayingTest, EachWeaponFiresByItsDelayAndAmmunition) {
    struct Case {
        int weapon, ammo;
        bool owned;
        uint32_t ms;
        int frames, shots, ammoLeft, flames;
    };
    const Case cases[] = {
        {0, 0, true, 30, 20, 5, 0, 0},     // the chainsaw needs no ammunition
        {0, 0, true, 50, 20, 10, 0, 0},    // ready at 0.1 s
        {1, 3, true, 70, 20, 3, 0, 0},     // ready every 0.3 s until empty
        {1, 5, false, 70, 20, 0, 5, 0},    // not owned
        {2, 3, true, 70, 20, 1, 1, 0},     // two shells a shot; one does not fire
        {3, 100, true, 30, 20, 5, 95, 0},
        {4, 5, true, 70, 20, 1, 4, 0},     // ready at once (3.0 against 2.0), then 2 s apart
        {5, 10, true, 30, 19, 10, 0, 10},  // a flame for every shot
        {5, 30, true, 30, 40, 20, 10, 10}, // each for 0.6 s
        {5, 10, true, 100, 5, 5, 5, 5},    // a delay shorter than the frame: one shot a frame
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.weapon);
        NewGame();
        Hold(c.weapon, c.ammo, c.owned);
        EXPECT_EQ(Fire(c.frames, c.ms, c.ms != 70), c.shots);
        EXPECT_EQ(g_Inventory[c.weapon].iAmmo, c.ammoLeft);
        EXPECT_EQ(Active(g_pFlames), c.flames);
    }
}

TEST_F(PlayingTest, WeaponKeysTakeTheHighestOwnedAndEachWeaponKeepsItsOwnTimer) {
    g_Inventory[1].bOwned = g_Inventory[3].bOwned = 1;
    g_fZoom = 12.0f;
    g_Weapons[1].fSinceShot = 0.1f;
    for (BYTE key : {DIK_2, DIK_4, DIK_6}) layer::InjectKey(key, true);
    Frames(10);
    EXPECT_EQ(g_iCurrentWeapon, 3);
    EXPECT_EQ(g_fZoom, 4.0f);
    EXPECT_FLOAT_EQ(g_Weapons[1].fSinceShot, 0.1f);
    EXPECT_FLOAT_EQ(g_Weapons[3].fSinceShot, 0.1f + 10 * 0.02f);
    // The flash quad is centred on the rifle's muzzle, 0.3 W by 0.3 H a wide.
    BYTE* data = nullptr;
    ASSERT_EQ(g_pVB2D->Lock(0, 0, &data, D3DLOCK_READONLY), S_OK);
    const SVertex2D* q = reinterpret_cast<const SVertex2D*>(data) + 12;
    const float W = kWidth, H = kHeight, a = W / H;
    EXPECT_FLOAT_EQ(q[0].x, W * 0.7f - 0.15f * W);
    EXPECT_FLOAT_EQ(q[0].y, H * 0.6f + 0.15f * H * a);
    EXPECT_FLOAT_EQ(q[3].x, W * 0.7f + 0.15f * W);
    EXPECT_FLOAT_EQ(q[3].y, H * 0.6f - 0.15f * H * a);
    g_pVB2D->Unlock();
}

TEST_F(PlayingTest, TheScopeCyclesOnEachRightPressAndTheZoomSlowsTheMouse) {
    g_Inventory[4].bOwned = 1;
    Tap(DIK_5);
    layer::ClearPlayedWaves();
    const std::pair<int, float> presses[] = {{4, 12.0f}, {4, 32.0f}, {4, 4.0f}, {4, 12.0f}, {1, 12.0f}};
    for (const auto& [weapon, zoom] : presses) {
        g_iCurrentWeapon = weapon;  // the last: no scope on another weapon
        layer::InjectMouseButton(1, true);
        Frames(3);  // held: one step only
        layer::InjectMouseButton(1, false);
        Frame();
        EXPECT_EQ(g_fZoom, zoom);
    }
    EXPECT_EQ(Played("sound\\zoom.wav", 0x4080), 4);
    // The turn impulse of one frame, damped once by the camera update: f x l / (zoom x 6) / 4.
    const std::tuple<DWORD, BYTE, float> mice[] = {{500, 0, 4.0f}, {0, 1, 12.0f}, {1000, 0, 32.0f}};
    for (const auto& [sensitivity, invert, zoom] : mice) {
        g_Config.dwSensitivity = sensitivity;
        g_Config.bInvertMouse = invert;
        g_fZoom = zoom;
        g_fYaw = g_fPitch = 0.0f;
        layer::InjectMouseMotion(60, -24);
        Frame();
        const float f = (sensitivity * 8 + 500) / 1000.0f;
        EXPECT_FLOAT_EQ(g_fYaw, f * 60 / (zoom * 6) / 4);
        EXPECT_FLOAT_EQ(g_fPitch, (invert ? 1 : -1) * f * 24 / (zoom * 6) / 4);
    }
}

TEST_F(GameTest, PBNAndEscActInEveryStateAndTheCursorReachesTheEdges) {
    struct Case {
        int state;
        bool paused;
        std::vector<BYTE> keys;
        int stateAfter;
        bool pausedAfter;
    };
    const Case cases[] = {
        {GS_PLAYING, false, {DIK_P}, GS_MAINMENU, true},   {GS_MAINMENU, true, {DIK_P}, GS_PLAYING, false},
        {GS_SHOP, true, {DIK_P}, GS_PLAYING, false},       {GS_DEATH, false, {DIK_P}, GS_MAINMENU, true},
        {GS_DEATH, false, {DIK_ESCAPE}, GS_MAINMENU, true}, {GS_PLAYING, false, {DIK_B}, GS_SHOP, true},
        {GS_PLAYING, false, {DIK_B, DIK_ESCAPE}, GS_MAINMENU, true},
    };
    for (const Case& c : cases) {
        g_iGameState = c.state;
        c.paused ? g_pWorld->Pause() : g_pWorld->Resume();
        for (BYTE key : c.keys) layer::InjectKey(key, true);
        Frames(2);  // held: acts on the press only
        EXPECT_EQ(g_iGameState, c.stateAfter) << c.state << " " << int(c.keys[0]);
        EXPECT_EQ(g_pWorld->bPaused, c.pausedAfter ? 1 : 0);
        for (BYTE key : c.keys) layer::InjectKey(key, false);
        Frame();
    }
    // A pack for the weapon in hand when it is affordable, in any state; never for the chainsaw.
    const std::array<int, 5> packs[] = {{GS_PLAYING, 0, 100, 0, 100}, {GS_DEATH, 1, 9, 0, 9},
                                        {GS_DEATH, 1, 10, 7, 0},      {GS_SHOP, 5, 85, 150, 45}};
    for (const auto& [state, weapon, money, ammoAfter, moneyAfter] : packs) {
        g_iGameState = state;
        g_iCurrentWeapon = weapon;
        g_Inventory[weapon].iAmmo = 0;
        g_iMoney = money;
        layer::InjectKey(DIK_N, true);
        Frames(2);  // one pack for one press
        layer::InjectKey(DIK_N, false);
        Frame();
        EXPECT_EQ(g_Inventory[weapon].iAmmo, ammoAfter) << weapon;
        EXPECT_EQ(g_iMoney, moneyAfter) << weapon;
    }
    g_iGameState = GS_MAINMENU;
    layer::InjectMouseMotion(5000, 7000);
    Frame();
    EXPECT_EQ(g_ptCursor.x, int(kWidth));
    EXPECT_EQ(g_ptCursor.y, int(kHeight));
    layer::InjectMouseMotion(-9000, -9000);
    Frame();
    EXPECT_EQ(g_ptCursor.x + g_ptCursor.y, 0);
}

TEST_F(PlayingTest, ShotsAndTheTargetTextFindEnemiesOnTheAimButNeverBehind) {
    struct Case {
        int weapon;
        float distance;
        bool hit, besideHit;  // beside: a quarter off the aim, inside the chainsaw's half a unit
    };
    const Case cases[] = {{0, 0.99f, true, false}, {0, 0.9f, true, true}, {0, 1.01f, false, false},
                          {5, 7.9f, true, false},  {5, 8.1f, false, false}, {1, 90.0f, true, false},
                          {3, 90.0f, true, false}, {4, 90.0f, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.weapon << " at " << c.distance);
        NewGame();
        Frame();
        const int front = PlaceEnemy(Ahead(c.distance), 3);
        const int behind = PlaceEnemy(Ahead(-c.distance), 3);
        D3DXVECTOR3 right;
        D3DXVec3Normalize(&right, &g_Camera.vRight);
        const int beside = PlaceEnemy(Ahead(c.distance) + 0.25f * right, 3);  // just off the ray
        Hold(c.weapon, 5);
        g_Weapons[c.weapon].fAccuracy = 1e6f;  // no scatter: only the rules decide
        EXPECT_EQ(Fire(1, 20), 1);
        const float left = c.hit ? 100.0f - g_Weapons[c.weapon].fDamage : 100.0f;
        EXPECT_EQ(g_pEnemies->sprites[front].fHealth, left);
        EXPECT_EQ(g_pEnemies->sprites[front].bActive, left > 0 ? 1 : 0);
        EXPECT_EQ(g_pEnemies->sprites[behind].fHealth, 100.0f);
        EXPECT_EQ(g_pEnemies->sprites[beside].fHealth, c.besideHit ? left : 100.0f);
        EXPECT_EQ(g_iScore, (c.hit + c.besideHit) * 3 + (left > 0 ? 0 : g_GameDB.types[3].iReward));
        EXPECT_EQ(g_szTargetText, std::string("TARGET: ") + g_GameDB.types[3].szName + "(100)\n");
    }
    // The shotgun's 24 pellets all hit a near enemy, the last ones after it has died.
    NewGame();
    Frame();
    const int near = PlaceEnemy(Ahead(3.0f), 0);
    Hold(2, 2);
    Fire(1, 20);
    EXPECT_FALSE(g_pEnemies->sprites[near].bActive);
    EXPECT_EQ(g_iKills, 1);
    EXPECT_EQ(g_iScore, 24 * 3 + g_GameDB.types[0].iReward);
    // A pellet that hits scatters the aim anew; one that misses leaves it, so the pellets after it
    // miss too: at 2.5 units, where about half of the scattered aims meet the enemy, a shot hits
    // about once on the average, and some shots hit several times without hitting 24 times.
    int shotsBetween = 0, pellets = 0;
    for (int shot = 0; shot < 20; ++shot) {
        NewGame();
        Frame();
        g_pEnemies->sprites[PlaceEnemy(Ahead(2.5f), 0)].fHealth = 1e6f;
        Hold(2, 2);
        g_Weapons[2].fAccuracy = 5.0f;  // up to 0.1 a side
        Fire(1, 20);
        const int hits = g_iScore / 3;
        shotsBetween += hits > 1 && hits < 24;
        pellets += hits;
    }
    EXPECT_GT(shotsBetween, 0);
    EXPECT_LT(pellets, 20 * 4);
    // Twenty on one ray, with lines of 32 bytes: seven fit with the terminator, the eighth would not.
    NewGame();
    Frame();
    for (int k = 0; k < 20; ++k)
        std::strcpy(g_pEnemies->sprites[PlaceEnemy(Ahead(2.0f + k), 7)].szName, "Osmnact znaku vuga");
    Frame();
    const size_t length = std::strlen(g_szTargetText);
    const std::string line = "TARGET: Osmnact znaku vuga(100)\n";
    ASSERT_EQ(line.size(), 32u);
    EXPECT_EQ(length, 255 / line.size() * line.size());
    // Along x: the saw 1 away and 0.5 off, the flame 8.
    const std::array<float, 4> edges[] = {
        {0, 1, 0, 0}, {0, 0.8f, 0.45f, 1}, {5, 8, 0, 0},
        {1, 5, 0.15f, 1}, {0, 0.8f, 0.55f, 0}};
    for (const auto& [weapon, x, y, hits] : edges) {
        NewGame();
        g_Camera.vLook = D3DXVECTOR3(1, 0, 0);
        const int slot = PlaceEnemy(g_Camera.vPos + D3DXVECTOR3(x, y, 0));
        Hold(int(weapon), 5);
        g_Weapons[int(weapon)].fAccuracy = 1e6f;
        Fire(1, 20);
        const SSprite& e = g_pEnemies->sprites[slot];
        EXPECT_EQ(e.fHealth < 100, hits == 1) << x << " " << y;
        EXPECT_EQ(*g_szTargetText != 0, y < 0.2f) << y;
    }
}

TEST_F(GameTest, EveryKeyButtonAndMotionActsThroughSDLEvents) {
    using Seen = std::variant<const int*, const float*>;
    using Row = std::tuple<int, int, const char*, Seen, float>;
    const float step = 0.005f / 1.06f;  // once, damped once
    const int kPlay = GS_PLAYING, kMenu = GS_MAINMENU;
    const Row rows[] = {  // state, weapon in hand, input -> value
        {kPlay, 0, "W", &g_fForward, step},
        {kPlay, 0, "Up", &g_fForward, step},
        {kPlay, 0, "S", &g_fForward, -step},
        {kPlay, 0, "Down", &g_fForward, -step},
        {kPlay, 0, "A", &g_fStrafe, step},
        {kPlay, 0, "Left", &g_fStrafe, step},
        {kPlay, 0, "D", &g_fStrafe, -step},
        {kPlay, 0, "Right", &g_fStrafe, -step},
        {kPlay, 1, "Space", &g_Inventory[1].iAmmo, 9},
        {kPlay, 1, "left button", &g_Inventory[1].iAmmo, 9},
        {kPlay, 4, "right button", &g_fZoom, 12},
        {kPlay, 5, "1", &g_iCurrentWeapon, 0},
        {kPlay, 0, "2", &g_iCurrentWeapon, 1},
        {kPlay, 0, "3", &g_iCurrentWeapon, 2},
        {kPlay, 0, "4", &g_iCurrentWeapon, 3},
        {kPlay, 0, "5", &g_iCurrentWeapon, 4},
        {kPlay, 0, "6", &g_iCurrentWeapon, 5},
        {GS_SHOP, 1, "N", &g_Inventory[1].iAmmo, 17},
        {kPlay, 1, "P", &g_iGameState, kMenu},
        {kMenu, 1, "P", &g_iGameState, kPlay},
        {kPlay, 1, "B", &g_iGameState, GS_SHOP},
        {GS_SHOP, 1, "Escape", &g_iGameState, kMenu},
        {kPlay, 1, "motion", &g_fYaw, 2.25f},  // 4.5 x 2 / 4
        {kPlay, 1, "motion", &g_fPitch, 1.125f},
        {kMenu, 1, "motion", &g_ptCursor.x, 208},
        {kMenu, 1, "motion", &g_ptCursor.y, 99},
        {kMenu, 1, "left button", &g_iGameState, kPlay},
        {GS_SHOP, 1, "left button", &g_iGameState, kPlay},
    };
    for (const auto& [state, hand, in, seen, want] : rows) {
        g_iGameState = state;
        state == kPlay ? g_pWorld->Resume() : g_pWorld->Pause();
        g_iCurrentWeapon = hand;
        for (SInventoryEntry& entry : g_Inventory) entry = {1, 10};
        for (SWeapon& w : g_Weapons) w.fSinceShot = 9.0f;  // ready
        g_iMoney = 100;
        g_fZoom = 4.0f;
        g_fForward = g_fStrafe = g_fYaw = g_fPitch = 0;
        g_ptCursor = {160, state == GS_SHOP ? 230 : 75};  // Zpet, Pokracovat
        Send(in, true);
        Frame();
        const auto now = [](auto* value) { return float(*value); };
        EXPECT_FLOAT_EQ(std::visit(now, seen), want) << in << " " << state;
        Send(in, false);
        Frame();
    }
}

TEST_F(GameTest, EscEnterOrSpaceSkipsTheIntroAndHeldRespawns) {
    ASSERT_EQ(InitIntro(), 0);
    for (const char* key : {"Escape", "Return", "Space"}) {
        Send(key, true);
        EXPECT_FALSE(RenderIntroFrame()) << key;
        g_iGameState = GS_DEATH;  // held on: no press for the menu
        Frame();
        EXPECT_EQ(g_iGameState, GS_PLAYING) << key;
        Send(key, false);
        EXPECT_TRUE(RenderIntroFrame()) << key;
    }
    FreeIntro();
}
