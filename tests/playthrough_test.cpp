// playthrough_test.cpp -- whole games from the program's entry to "Konec": dialog, intro, menu,
// moving, kills, the shop, deaths and the last life; and a game on a damaged data directory.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <set>

#include "game/intro.h"
#include "game/menu.h"
#include "game_fixture.h"
#include "playthrough.h"
#include "world/terrain_file.h"

namespace {

using playthrough::Picture;
using playthrough::Script;
using playthrough::Shows;
using playthrough::ShowsCentred;

// 512x384: the smallest size of the dialog's list that brings no warning.
const int kResolutionItem = 2;
const int W = 512, H = 384;
const uint32_t kTopicColour = 0xB4FB0CA8, kDetailColour = 0xDCFB0DA8, kCounterColour = 0xC8FFFFFF;
const uint32_t kOwnedColour = 0xB400FF00, kTooDearColour = 0xB4FF0000, kDeathColour = 0xFAFB0DA8;
const uint32_t kHintColour = 0xFA50FF50, kTargetColour = 0xFAFFFF00;
const char* const kAmmoHint = "Stiskni 'N' pro nakup naboju";
const int kChainsaw = 0, kPistol = 1;

// How often a wave of that file name was played with the flags since the last clear.
int Played(const std::string& name, uint32_t flags) {
    int n = 0;
    for (const layer::PlayedWave& wave : layer::PlayedWaves())
        n += wave.flags == flags && wave.file.find(name) != std::string::npos;
    return n;
}
int PlayedKillSounds() { return Played("kill1.wav", 0) + Played("kill2.wav", 0) + Played("kill3.wav", 0); }

std::string Number(int value) { return std::to_string(value); }

// The counters where a player reads them, in play and on the death screen.
bool ShowsMoney(int money) { return Shows(g_pFont, W / 2 + 63, 9, kCounterColour, Number(money)); }
bool ShowsHealth(int health) {
    return Shows(g_pFont, W / 2 - 110, H - 31, health <= 20 ? 0xC8FF0000 : kCounterColour, Number(health));
}
bool ShowsAmmunition(int rounds) { return Shows(g_pFont, W / 2 + 86, H - 31, kCounterColour, Number(rounds)); }
// A death-screen line, centred on its own extent `offset` below the middle.
bool ShowsDeathLine(const std::string& text, int offset) {
    SIZE size = {0, 0};
    g_pFont->GetTextExtent(text.c_str(), &size);
    return Shows(g_pFont, W / 2 - int(size.cx) / 2, H / 2 - int(size.cy) / 2 + offset, kDeathColour, text);
}

// Three lives, full health, nothing earned, the chainsaw alone.
void ExpectNewGame() {
    EXPECT_EQ(g_iLives, 3);
    EXPECT_EQ(g_iHealth, 100);
    EXPECT_EQ(g_iMoney + g_iScore + g_iKills, 0);
    EXPECT_EQ(g_iCurrentWeapon, kChainsaw);
    for (int i = 0; i < WEAPON_COUNT; ++i) EXPECT_EQ(g_Inventory[i].bOwned, i == kChainsaw) << i;
}

// Degrees of a direction on the ground, and the turn between two.
float Heading(const D3DXVECTOR3& v) { return std::atan2(v.y, v.x) * 57.29578f; }
float Turned(float from, float to) {
    float d = to - from;
    while (d > 180.0f) d -= 360.0f;
    while (d < -180.0f) d += 360.0f;
    return d;
}
float Flat(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return std::hypot(a.x - b.x, a.y - b.y); }
float Ground(const D3DXVECTOR3& at) { return g_pWorld->pMap->GetHeight(at.x, at.y); }
int ActiveEnemies() {
    const SSprite* e = g_pEnemies->sprites;
    return int(std::count_if(e, e + CSpriteSet::MAX_SPRITES, [](const SSprite& s) { return s.bActive; }));
}

// Turns the view towards the point with the mouse, a part of what is left in each frame.
void AimAt(const D3DXVECTOR3& at) {
    const D3DXVECTOR3 d = at - g_Camera.vPos, look = g_Camera.vLook;
    const float yaw = Turned(Heading(look), Heading(d));
    const float pitch =
        (std::atan2(d.z, std::hypot(d.x, d.y)) - std::atan2(look.z, std::hypot(look.x, look.y))) * 57.29578f;
    layer::InjectMouseMotion(LONG(yaw * 2.0f), LONG(-pitch * 2.0f));
}
bool AimedAt(const D3DXVECTOR3& at, float degrees) {
    D3DXVECTOR3 d = at - g_Camera.vPos, look = g_Camera.vLook;
    D3DXVec3Normalize(&d, &d);
    D3DXVec3Normalize(&look, &look);
    return D3DXVec3Dot(&d, &look) > std::cos(degrees / 57.29578f);
}

// Moves the menu cursor to (x, y) with the mouse.
void MoveCursorTo(int x, int y) { layer::InjectMouseMotion(x - g_ptCursor.x, y - g_ptCursor.y); }
// The cursor to (x, y), then a click, released for the next frame.
void Click(Script& s, int x, int y) {
    s.Do("point", [x, y] { MoveCursorTo(x, y); });
    s.Frames(1, 20);
    s.Do("press", [] { layer::InjectMouseButton(0, true); });
    s.Frames(1, 20);
    s.Do("release", [] { layer::InjectMouseButton(0, false); });
    s.Frames(1, 20);
}

// The player: walks up to the nearest enemy on the ground and kills it, counting what was killed
// with what and the rounds fired; a meek one waits by those that shoot or blow up.
struct Hunter {
    int target = -1, kills = 0, firedAtType = -1, weaponUsed = 0, rounds = 0, roundsFired = 0;
    int chainsawKills = 0, killsSeen = 0, killsHeard = 0, killSounds = 0;
    std::set<int> typesKilled, weaponsThatKilled;
    bool targetTextSeen = false;
    D3DXVECTOR3 last = D3DXVECTOR3(0.0f, 0.0f, 0.0f);

    static bool Standing(const SSprite& e) { return std::fabs(e.vPos.z - (Ground(e.vPos) + 0.25f)) < 0.01f; }

    // The nearest paying enemy on the ground, but for those that would blow up first.
    int Nearest(bool meek) const {
        int best = -1;
        float nearest = 1e9f;
        for (int i = 0; i < CSpriteSet::MAX_SPRITES; ++i) {
            const SSprite& e = g_pEnemies->sprites[i];
            if (!e.bActive || !Standing(e) || g_GameDB.types[e.iType].iReward < 1) continue;
            const float d = Flat(e.vPos, g_Camera.vPos);
            if (meek ? !(e.dwFlags & (ETF_SHOOTER | ETF_RAGE)) : (e.dwFlags & ETF_RAGE) && e.fAge + d / 1.7f > 17.0f)
                continue;
            if (d < nearest) nearest = d, best = i;
        }
        return best;
    }

    // Before one frame: aim, walk at a speed that stops in reach, fire there; long frames while far.
    void Step(Script& s, bool meek = false) {
        const float speed = Flat(g_Camera.vPos, last) / (float(s.frameMs) / 1000.0f);
        last = g_Camera.vPos;
        layer::InjectKey(DIK_W, false);
        layer::InjectKey(DIK_S, false);
        layer::InjectMouseButton(0, false);
        if (g_iKills > kills && firedAtType >= 0) {  // killed by the last shot, this near: heard
            typesKilled.insert(firedAtType);
            weaponsThatKilled.insert(weaponUsed);
            chainsawKills += (g_iKills - kills) * (weaponUsed == kChainsaw);
            ++killsSeen;
            killsHeard += PlayedKillSounds() > killSounds;
        }
        kills = g_iKills;
        killSounds = PlayedKillSounds();
        firedAtType = -1;
        const int ammo = g_Inventory[g_iCurrentWeapon].iAmmo;
        if (ammo < rounds && weaponUsed == g_iCurrentWeapon) roundsFired += rounds - ammo;
        rounds = ammo;
        s.frameMs = 250;
        s.keepPicture = !targetTextSeen;
        if (g_iGameState != GS_PLAYING || (target = Nearest(meek)) < 0) return;

        const SSprite& e = g_pEnemies->sprites[target];
        AimAt(e.vPos);
        const bool chainsaw = g_iCurrentWeapon == kChainsaw;
        const float stop = meek ? 1.5f : chainsaw ? 0.4f : 2.5f;  // where the walk ends
        const float d = Flat(e.vPos, g_Camera.vPos) - stop;
        if (d < 4.0f && !meek) s.frameMs = 100;
        const float wanted = std::min(2.0f, d);  // units a second
        if (speed < wanted) layer::InjectKey(DIK_W, true);
        if (speed > wanted + 0.3f) layer::InjectKey(DIK_S, true);
        if (meek || d > stop || !AimedAt(e.vPos, chainsaw && targetTextSeen ? 30.0f : 1.0f)) return;
        // Once, before the first shot at a fresh enemy: its name and health.
        if (!targetTextSeen && e.fHealth == 100.0f)
            targetTextSeen =
                ShowsCentred(g_pFont8, H / 2 + 30, kTargetColour, std::string("TARGET: ") + e.szName + "(100)\n");
        layer::InjectMouseButton(0, true);
        weaponUsed = g_iCurrentWeapon;
        firedAtType = e.iType;
    }
};

// Each death with a life left: the death screen over the running world, with the lives and
// counters; then Space respawns the player in the same game.
struct DeathWatch {
    int deaths = 0, respawns = 0;
    int framesDead = 0, money = 0, kills = 0;
    bool respawning = false;

    bool operator()() {
        if (respawning) {
            respawning = false;
            layer::InjectKey(DIK_SPACE, false);
            EXPECT_EQ(g_iGameState, GS_PLAYING);
            EXPECT_TRUE(g_iHealth == 100 && g_iLives == 3 - deaths) << g_iHealth << " " << g_iLives;
            EXPECT_TRUE(g_iMoney == money && g_iKills == kills) << g_iMoney << " " << g_iKills;
            EXPECT_EQ(ActiveEnemies(), 0);
            EXPECT_TRUE(ShowsHealth(100));
            ++respawns;
            return false;
        }
        if (g_iGameState != GS_DEATH || g_iLives < 1) {
            framesDead = 0;
            return false;
        }
        if (framesDead++ == 0) {  // the frame of the death itself still showed play
            ++deaths;
            EXPECT_EQ(g_iLives, 3 - deaths);
            return true;
        }
        EXPECT_TRUE(ShowsDeathLine("JSI MRTEV", -40));
        EXPECT_TRUE(ShowsDeathLine("Mas jeste " + Number(g_iLives) + " zivoty", 40));
        EXPECT_TRUE(ShowsHealth(g_iHealth)) << g_iHealth;  // below 1, in red
        EXPECT_TRUE(ShowsMoney(g_iMoney));
        EXPECT_FALSE(g_pWorld->bPaused);
        money = g_iMoney, kills = g_iKills;
        layer::InjectKey(DIK_SPACE, true);
        respawning = true;
        return true;
    }
};

class PlaythroughTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The generated content as the working directory, as on a first start.
        std::filesystem::copy(TREVOK_DATA_DIR, dir_.path(), std::filesystem::copy_options::recursive);
        std::filesystem::remove("trevok.cfg");
        layer::UseManualClock(10000);
        layer::SetManualAudioMixing(true);
        layer::ClearPlayedWaves();
        layer::ClearShownMessageBoxes();
        layer::ClearInjectedInput();
        game_test::ResetGameGlobals();  // as the program starts
        srand(1);
    }
    void TearDown() override {
        layer::ClearInjectedInput();
        layer::SetManualAudioMixing(false);
        layer::UseRealClock();
        game_test::ResetGameGlobals();
    }
    ScratchDir dir_;
};

}  // namespace

TEST_F(PlaythroughTest, AWholeGameFromTheDialogToKonec) {
    Script s;
    auto hunter = std::make_shared<Hunter>();
    auto death = std::make_shared<DeathWatch>();
    s.Watch([death] { return (*death)(); });

    // "Spustit"; the intro skipped, its music started, stopped and freed with its pictures.
    s.Do("the program has started", [] {
        EXPECT_TRUE(std::ifstream("trevok.cfg").good());
        EXPECT_EQ(g_Config.dwWidth, UINT(W));
        EXPECT_EQ(Played("melidrak.wav", 0x4080), 1);  // the first sound of all
        EXPECT_EQ(layer::PlayedWaves().empty() ? "" : layer::PlayedWaves()[0].file, "sound\\melidrak.wav");
        for (const std::string& wave : layer::SoundingWaves()) EXPECT_EQ(wave.find("melidrak"), std::string::npos);
        EXPECT_EQ(g_pVBintro, nullptr);
        ASSERT_EQ(layer::ShownMessageBoxes().size(), 1u);
        EXPECT_EQ(layer::ShownMessageBoxes()[0].text, "Nelze otevrit soubor");  // the first start's trevok.cfg
    });
    s.Frames(2, 20);
    // The main menu over the world, which stands still behind it.
    auto menu = std::make_shared<Picture>();
    s.Do("the main menu", [menu] {
        EXPECT_EQ(g_iGameState, GS_MAINMENU);
        EXPECT_TRUE(ShowsCentred(g_pFont14, H / 2 - 130, kTopicColour, g_GameDB.szTopic));
        EXPECT_TRUE(ShowsCentred(g_pFont, H / 2 - 50, ROW_NORMAL, "Pokracovat"));
        EXPECT_TRUE(ShowsCentred(g_pFont, H / 2 - 30, ROW_NORMAL, "Nova hra"));
        EXPECT_TRUE(ShowsCentred(g_pFont, H / 2 + 30, ROW_NORMAL, "Konec"));
        EXPECT_TRUE(Shows(g_pFont8, W - 80, H - 14, 0xFFFFFFFF, "v1.2.1.563"));
        *menu = Picture::Shown();
    });
    s.Frames(3, 100);
    s.Do("nothing moves behind it", [menu] {
        EXPECT_EQ(Picture::Shown().Changed(*menu, 0, 20, W, H), 0);  // all below the frame rate
        MoveCursorTo(W / 2 + 40, H / 2 - 25);
    });
    s.Frames(1, 20);
    s.Do("\"Nova hra\" under the cursor", [] {
        EXPECT_TRUE(ShowsCentred(g_pFont, H / 2 - 30, ROW_HOVERED, "Nova hra"));
        EXPECT_TRUE(ShowsCentred(g_pFont, H / 2 + 30, ROW_NORMAL, "Konec"));
    });
    Click(s, W / 2 + 40, H / 2 - 25);
    s.Do("a new game", [] {
        EXPECT_EQ(g_iGameState, GS_PLAYING);
        EXPECT_FALSE(g_pWorld->bPaused);
        ExpectNewGame();
        EXPECT_TRUE(ShowsHealth(100));
        EXPECT_TRUE(ShowsMoney(0));
    });
    // The mouse 48 pixels to the right turns the view 12 degrees right over a few frames.
    auto heading = std::make_shared<float>(0.0f);
    auto view = std::make_shared<Picture>();
    s.Do("look", [heading, view] {
        *heading = Heading(g_Camera.vLook);
        *view = Picture::Shown();
        layer::InjectMouseMotion(48, 0);
    });
    s.Frames(12, 20);
    s.Do("looked", [heading, view] {
        EXPECT_NEAR(Turned(*heading, Heading(g_Camera.vLook)), 12.0f, 0.1f);  // clockwise seen from above
        EXPECT_GT(Picture::Shown().Changed(*view, 0, 40, W, H - 60), W * H / 4);
    });
    // W held for 2 s walks towards the middle, the eye at its height; let go, it stops.
    const D3DXVECTOR3 middle(60.0f, 60.0f, 0.0f);
    s.Until("turn to the middle", 60, [middle] {
        const D3DXVECTOR3 level(middle.x, middle.y, g_Camera.vPos.z);
        AimAt(level);
        return AimedAt(level, 1.0f);
    });
    auto from = std::make_shared<D3DXVECTOR3>();
    s.Do("walk", [from] {
        *from = g_Camera.vPos;
        layer::InjectKey(DIK_W, true);
    });
    s.Frames(40, 50);
    s.Do("walked", [from, middle] {
        layer::InjectKey(DIK_W, false);
        EXPECT_GT(Flat(*from, g_Camera.vPos), 1.5f);
        EXPECT_LT(Flat(middle, g_Camera.vPos), Flat(middle, *from) - 1.5f);
        EXPECT_NEAR(g_Camera.vPos.z, Ground(g_Camera.vPos) + 0.25f, 1e-3f);
        *from = g_Camera.vPos;
    });
    s.Frames(80, 50);
    s.Do("came to rest", [from] {
        EXPECT_GT(Flat(*from, g_Camera.vPos), 0.1f);  // it coasted
        *from = g_Camera.vPos;
    });
    s.Frames(1, 50);
    s.Do("stands", [from] {
        EXPECT_LT(Flat(*from, g_Camera.vPos), 0.01f);
        layer::ClearPlayedWaves();
    });
    // The chainsaw earns the pistol and two packs of its rounds; every kill is heard.
    s.Until("hunt with the chainsaw", 1500, [hunter, &s] {
        hunter->Step(s);
        return g_iMoney >= 220 && g_iGameState == GS_PLAYING;
    });
    s.Do("what the chainsaw did", [hunter] {
        EXPECT_GT(hunter->chainsawKills, 0);
        EXPECT_EQ(hunter->killsHeard, hunter->killsSeen);
        EXPECT_GT(Played("motor.wav", 0x80), 0);
        EXPECT_TRUE(hunter->targetTextSeen);
    });
    // The shop: the rest too dear, the pistol hovered, bought (green); "Zpet" back to play.
    s.Tap(DIK_B);
    constexpr int shopTop = H / 2 - 50;
    s.Do("the shop", [] {
        EXPECT_EQ(g_iGameState, GS_SHOP);
        EXPECT_TRUE(g_pWorld->bPaused);
        EXPECT_TRUE(Shows(g_pFont, 30, shopTop + 20, ROW_NORMAL, "Desert Eagle"));
        EXPECT_TRUE(Shows(g_pFont, 30, shopTop + 40, kTooDearColour, "Brokovnice"));
        EXPECT_TRUE(Shows(g_pFont, 30, shopTop + 160, ROW_NORMAL, "Zpet"));
        EXPECT_TRUE(ShowsMoney(g_iMoney));
        MoveCursorTo(170, shopTop + 30);  // in the rows' column, clear of the text
    });
    s.Frames(1, 20);
    auto money = std::make_shared<int>(0);
    s.Do("the pistol under the cursor", [money] {
        EXPECT_TRUE(Shows(g_pFont, 30, shopTop + 20, ROW_HOVERED, "Desert Eagle"));
        EXPECT_TRUE(Shows(g_pFont14, W / 2 - 64, H / 2 - 106, kDetailColour, "IMI Desert Eagle"));
        EXPECT_TRUE(Shows(g_pFont10, W / 2 - 64, H / 2 + 6, kDetailColour, "$200"));
        *money = g_iMoney;
    });
    Click(s, 170, shopTop + 30);
    s.Do("the pistol bought", [money] {
        EXPECT_EQ(g_Inventory[kPistol].bOwned, 1);
        EXPECT_EQ(g_Inventory[kPistol].iAmmo, 0);
        EXPECT_EQ(g_iMoney, *money - 200);
        EXPECT_TRUE(Shows(g_pFont, 30, shopTop + 20, kOwnedColour, "Desert Eagle"));
        EXPECT_TRUE(ShowsMoney(*money - 200));
    });
    Click(s, 170, shopTop + 170);
    s.Do("back in play", [] {
        EXPECT_EQ(g_iGameState, GS_PLAYING);
        EXPECT_FALSE(g_pWorld->bPaused);
    });
    // The pistol in hand, its crosshair and picture, no rounds: the hint; N buys 7 for $10.
    auto chainsawView = std::make_shared<Picture>();
    s.Do("the chainsaw in hand", [chainsawView] { *chainsawView = Picture::Shown(); });
    s.Tap(DIK_2);
    s.Do("the pistol in hand", [money, chainsawView] {
        EXPECT_EQ(g_iCurrentWeapon, kPistol);
        const Picture pistolView = Picture::Shown();
        EXPECT_GT(pistolView.Changed(*chainsawView, W / 2 - 6, H / 2 - 6, W / 2 + 6, H / 2 + 6), 12);  // crosshair
        EXPECT_GT(pistolView.Changed(*chainsawView, W - 60, H - 90, W, H - 40), 1000);  // the pistol
        EXPECT_TRUE(ShowsCentred(g_pFont8, H / 2 - 30, kHintColour, kAmmoHint));
        EXPECT_TRUE(ShowsAmmunition(0));
        *money = g_iMoney;
    });
    s.Tap(DIK_N);
    s.Tap(DIK_N);
    s.Do("two packs", [money, hunter] {
        EXPECT_EQ(g_Inventory[kPistol].iAmmo, 14);
        EXPECT_EQ(g_iMoney, *money - 20);
        EXPECT_TRUE(ShowsAmmunition(14));
        EXPECT_FALSE(ShowsCentred(g_pFont8, H / 2 - 30, kHintColour, kAmmoHint));
        layer::ClearPlayedWaves();
        hunter->roundsFired = 0;
    });
    // A kill with the pistol, buying rounds when out; every round is heard.
    s.Until("hunt with the pistol", 600, [hunter, &s] {
        if (g_iGameState == GS_PLAYING && g_Inventory[kPistol].iAmmo == 0 && g_iMoney >= 10) {
            layer::InjectKey(DIK_N, !(g_Keys[DIK_N] & 0x80));
            return false;
        }
        hunter->Step(s);
        return hunter->weaponsThatKilled.count(kPistol) > 0;
    });
    s.Do("what the pistol did", [hunter, from] {
        EXPECT_GE(hunter->roundsFired, 10);  // a hundred of health at 10 a hit
        EXPECT_EQ(Played("deagle.wav", 0x80), hunter->roundsFired);
        EXPECT_EQ(hunter->killsHeard, hunter->killsSeen);
        EXPECT_GE(hunter->typesKilled.size(), 2u);
        *from = g_Camera.vPos;
        layer::InjectKey(DIK_A, true);
    });
    s.Frames(40, 50);
    s.Do("stepped left", [from] {  // as fast as it walks, square to the view
        layer::InjectKey(DIK_A, false);
        const D3DXVECTOR3 moved = g_Camera.vPos - *from, left(g_Camera.vLook.y, -g_Camera.vLook.x, 0);
        EXPECT_GT(D3DXVec3Dot(&moved, &left) / D3DXVec3Length(&left), 1.5f);
    });
    // Into the enemies' fire until the last life is gone; for good, and a new game in the menu.
    s.Until("the last life lost", 1500, [hunter, &s] {
        if (g_iGameState == GS_DEATH && g_iLives < 1) return true;
        hunter->Step(s, true);
        return false;
    });
    s.Frames(1, 20);
    s.Do("for good", [death] {
        EXPECT_EQ(death->deaths, 2);
        EXPECT_EQ(death->respawns, 2);
        EXPECT_TRUE(ShowsDeathLine("JSI MRKEV", -40));
        EXPECT_TRUE(ShowsDeathLine("Uz navzdy...", 40));
        layer::ClearInjectedInput();
    });
    s.Tap(DIK_RETURN);
    s.Do("a new game behind the menu", [] {
        EXPECT_EQ(g_iGameState, GS_MAINMENU);
        EXPECT_TRUE(g_pWorld->bPaused);
        ExpectNewGame();
        EXPECT_TRUE(ShowsCentred(g_pFont, H / 2 - 50, ROW_NORMAL, "Pokracovat"));
        MoveCursorTo(W / 2 + 45, H / 2 + 40);
    });
    // "Konec" ends the program.
    s.Frames(1, 20);
    s.Do("Konec", [menu] {
        EXPECT_TRUE(ShowsCentred(g_pFont, H / 2 + 30, ROW_HOVERED, "Konec"));
        *menu = Picture::Shown();
        layer::InjectMouseMotion(4, 0);  // its frame, drawn to the end, shows the cursor moved
        layer::InjectMouseButton(0, true);
    });
    EXPECT_EQ(s.Run(kResolutionItem), 0);
    EXPECT_GT(s.lastPicture.Changed(*menu, 0, 0, W, H), 0);
    EXPECT_FALSE(IsWindow(g_hWnd));
    EXPECT_EQ(layer::ShownMessageBoxes().size(), 1u);  // nothing more was wrong
}

// A missing picture and kill sound, a short db.cfg and a bad cell count are each reported once.
TEST_F(PlaythroughTest, ADamagedDataDirectoryIsReportedAndTheGameStillRunsAndEnds) {
    std::filesystem::remove("graph/cross.bmp");
    std::filesystem::remove("sound/kill1.wav");
    constexpr uintmax_t shortDatabase = sizeof(SGameDatabase) - 300;
    std::filesystem::resize_file("db.cfg", shortDatabase);
    {
        std::fstream terrain("teren.ter", std::ios::in | std::ios::out | std::ios::binary);
        terrain.seekp(sizeof(STerrainFileHeader::byHeader));
        const int32_t cells = 13;
        terrain.write(reinterpret_cast<const char*>(&cells), sizeof cells);
    }

    Script s;
    s.Frames(2, 20);
    s.Do("the menu, with what is wrong reported", [] {
        EXPECT_EQ(g_iGameState, GS_MAINMENU);
        EXPECT_TRUE(ShowsCentred(g_pFont, H / 2 - 50, ROW_NORMAL, "Pokracovat"));
        std::vector<std::string> texts;
        for (const layer::ShownMessageBox& box : layer::ShownMessageBoxes()) {
            EXPECT_EQ(box.caption, "Error");
            texts.push_back(box.text);
        }
        const std::vector<std::string> expected = {
            "Nelze otevrit soubor",  // the first start's trevok.cfg
            "Soubor db.cfg je neuplny: nacteno " + Number(int(shortDatabase)) + " z 9668 bajtu.",
            "Nastala chyba!\nPříznak: D3DXCreateTextureFromFileEx - TextureManager : graph\\cross.bmp\nChyba: -2005529767",
            "Nastala chyba!\nPříznak: pMusicManager->CreateSegmentFromFile : sound\\kill1.wav\nChyba: -2005397118",
            "Nelze nacist teren: teren.ter\nPocet bunek mimo 1 az 12.",
        };
        EXPECT_EQ(texts, expected);
        layer::ClearShownMessageBoxes();
    });
    // A new game on the empty map: walking and firing the chainsaw while enemies come.
    s.Tap(DIK_P);
    s.Do("play", [] {
        layer::InjectKey(DIK_W, true);
        layer::InjectMouseButton(0, true);
    });
    s.Frames(60, 200);
    s.Do("played", [] {
        EXPECT_EQ(g_iGameState, GS_PLAYING);
        EXPECT_GT(ActiveEnemies(), 0);
        EXPECT_TRUE(ShowsMoney(g_iMoney));
        layer::ClearInjectedInput();
    });
    s.Tap(DIK_ESCAPE);
    s.Do("back in the menu", [] {
        EXPECT_EQ(g_iGameState, GS_MAINMENU);
        MoveCursorTo(W / 2 + 45, H / 2 + 40);
    });
    s.Frames(1, 20);
    s.Do("Konec", [] { layer::InjectMouseButton(0, true); });

    EXPECT_EQ(s.Run(kResolutionItem), 0);
    EXPECT_TRUE(layer::ShownMessageBoxes().empty()) << "nothing is reported while the game runs";
}
