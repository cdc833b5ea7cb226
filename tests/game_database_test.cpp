// game_database_test.cpp -- db.cfg as the generator writes it and as LoadGameDatabase reads it,
// bad database files and what their correction says, the weapon table and the game's globals at
// program start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/game_database.h"
#include "content_test_support.h"
#include "fresh_process.h"
#include "layer/message_boxes.h"
#include "scratch_dir.h"

namespace {

void WriteBytes(const char* name, const void* data, size_t size) {
    std::ofstream(name, std::ios::binary).write(static_cast<const char*>(data), std::streamsize(size));
}

bool PrintableAscii(const std::string& text, bool newlines) {
    return std::all_of(text.begin(), text.end(),
                       [&](char c) { return (c >= 32 && c <= 126) || (newlines && c == '\n'); });
}

// Loads the generated db.cfg from a scratch working directory, as the game does.
void LoadGenerated() {
    ScratchDir dir;
    std::filesystem::copy_file(DataPath("db.cfg"), "db.cfg");
    LoadGameDatabase();
}

// What loading this database writes on standard error.
std::string LoadAndListen(const SGameDatabase& file) {
    WriteBytes("db.cfg", &file, sizeof file);
    ::testing::internal::CaptureStderr();
    LoadGameDatabase();
    return ::testing::internal::GetCapturedStderr();
}

SGameDatabase Sound() {
    SGameDatabase db;
    std::memset(&db, 0, sizeof db);
    std::strcpy(db.szTopic, "Tema");
    db.iTypeCount = 2;
    return db;
}

}  // namespace

TEST(GameDatabaseContent, GeneratedTypesReadBackShowEveryBehaviourAndAreBalancedAgainstTheShop) {
    EXPECT_EQ(std::filesystem::file_size(DataPath("db.cfg")), 9668u);
    LoadGenerated();
    ASSERT_GE(g_GameDB.iTypeCount, 8);
    EXPECT_LE(g_GameDB.iTypeCount, 12);
    EXPECT_GT(std::strlen(g_GameDB.szTopic), 0u);
    EXPECT_TRUE(PrintableAscii(g_GameDB.szTopic, false));
    const DWORD shooter = ETF_SHOOTER;
    std::vector<DWORD> unseen = {0, ETF_RAGE, ETF_FALLING, shooter, shooter | ETF_HOMING, shooter | ETF_FAST,
                                 shooter | ETF_EXPLOSIVE, shooter | ETF_FALLING, shooter | ETF_RAGE};
    int harmless = 0;
    std::vector<std::string> pictures;
    for (int i = 0; i < g_GameDB.iTypeCount; ++i) {
        const SEnemyType& t = g_GameDB.types[i];
        SCOPED_TRACE(t.szName);
        EXPECT_GT(std::strlen(t.szName), 0u);
        EXPECT_LE(std::strlen(t.szName), 40u);
        EXPECT_TRUE(PrintableAscii(t.szName, false));
        EXPECT_TRUE(PrintableAscii(t.szDescription, true));
        EXPECT_GT(std::strlen(t.szDescription), 0u);
        if (!(t.dwFlags & ETF_SHOOTER)) {  // (the pictures are loaded by the game's loading test)
            EXPECT_EQ(t.szTexture2[0], '\0');
            EXPECT_FALSE(t.dwFlags & (ETF_HOMING | ETF_FAST | ETF_EXPLOSIVE)) << "projectiles of no shots";
        }
        pictures.push_back(t.szTexture);
        EXPECT_NE(t.dwFlags & (ETF_RAGE | ETF_FALLING), ETF_RAGE | ETF_FALLING) << "rage and fall: one timer";
        if (t.iReward < 1) {
            ++harmless;
            EXPECT_EQ(t.dwFlags, 0u) << "the type not to be shot must not attack";
            continue;
        }
        unseen.erase(std::remove(unseen.begin(), unseen.end(), t.dwFlags), unseen.end());
        // A kill pays between a tenth of the pistol and a tenth of the dearest weapon.
        EXPECT_GE(t.iReward, g_Weapons[1].iPrice / 10);
        EXPECT_LE(t.iReward, g_Weapons[4].iPrice / 10);
        if (t.dwFlags & (ETF_RAGE | ETF_FALLING | ETF_SHOOTER)) {
            EXPECT_GT(t.fDamage, 0.0f);
            EXPECT_LT(t.fDamage, 50.0f);  // no single blow takes half the health
        }
    }
    EXPECT_EQ(unseen, std::vector<DWORD>()) << "flags of no paying type";
    EXPECT_EQ(harmless, 1);
    EXPECT_TRUE(g_GameDB.types[7].dwFlags & ETF_SHOOTER) << "type 7 croaks when it shoots";
    std::sort(pictures.begin(), pictures.end());
    EXPECT_EQ(std::unique(pictures.begin(), pictures.end()), pictures.end()) << "every type has its own picture";
    // Records past the count are empty.
    for (int i = g_GameDB.iTypeCount; i < MAX_ENEMY_TYPES; ++i) EXPECT_EQ(g_GameDB.types[i].szName[0], '\0');
}

TEST(GameDatabase, SaveThenLoadGivesBackTheSameBytes) {
    ScratchDir dir;
    unsigned char* pattern = reinterpret_cast<unsigned char*>(&g_GameDB);
    for (size_t i = 0; i < sizeof(SGameDatabase); ++i) pattern[i] = static_cast<unsigned char>(i * 7 + 3);
    g_GameDB.iTypeCount = 5;
    g_GameDB.szTopic[127] = '\0';
    for (SEnemyType& t : g_GameDB.types)
        t.szTexture[127] = t.szName[63] = t.szTexture2[127] = t.szDescription[255] = 0;
    SaveGameDatabase();
    std::vector<unsigned char> saved = ReadFileBytes("db.cfg");
    ASSERT_EQ(saved.size(), sizeof(SGameDatabase));
    EXPECT_EQ(std::memcmp(saved.data(), &g_GameDB, sizeof(SGameDatabase)), 0);
    SGameDatabase before = g_GameDB;
    std::memset(&g_GameDB, 0, sizeof(g_GameDB));
    LoadGameDatabase();
    EXPECT_EQ(std::memcmp(&g_GameDB, &before, sizeof(SGameDatabase)), 0);
}

TEST(GameDatabase, MissingShortAndLongFilesFillOnlyWhatTheyHold) {
    ScratchDir dir;
    const auto& boxes = layer::ShownMessageBoxes();
    // A missing file shows the box and leaves the database as the program starts it.
    std::memset(&g_GameDB, 0, sizeof(g_GameDB));
    layer::ClearShownMessageBoxes();
    LoadGameDatabase();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Nelze otevrit soubor");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(g_GameDB.iTypeCount, 0);
    EXPECT_EQ(g_GameDB.szTopic[0], '\0');
    EXPECT_EQ(g_GameDB.types[0].szName[0], '\0');
    // A short file fills the block from its start; the rest keeps its previous contents.
    std::strcpy(g_GameDB.types[2].szName, "Stary");
    g_GameDB.iTypeCount = 3;
    char topic[100];
    std::memset(topic, 'x', sizeof(topic));
    std::memcpy(topic, "Nove tema", 10);
    WriteBytes("db.cfg", topic, sizeof(topic));
    layer::ClearShownMessageBoxes();
    LoadGameDatabase();
    EXPECT_STREQ(g_GameDB.szTopic, "Nove tema");
    EXPECT_EQ(g_GameDB.iTypeCount, 3);
    EXPECT_STREQ(g_GameDB.types[2].szName, "Stary");
    ASSERT_EQ(boxes.size(), 1u);  // said once, with what was there
    EXPECT_EQ(boxes[0].text, "Soubor db.cfg je neuplny: nacteno 100 z 9668 bajtu.");
    // A long file gives only the record's bytes.
    std::vector<char> big(12000, 0);
    std::memcpy(big.data(), "Dlouhe", 7);
    int count = 2;
    std::memcpy(big.data() + 128, &count, 4);
    std::memset(big.data() + 9668, 'Z', big.size() - 9668);
    WriteBytes("db.cfg", big.data(), big.size());
    layer::ClearShownMessageBoxes();
    LoadGameDatabase();
    EXPECT_TRUE(boxes.empty());
    EXPECT_STREQ(g_GameDB.szTopic, "Dlouhe");
    EXPECT_EQ(g_GameDB.iTypeCount, 2);
    EXPECT_EQ(g_GameDB.types[15].szDescription[0], '\0');
}

TEST(GameDatabase, CountsOutOfRangeAreClampedAndTextsEndInsideTheirFields) {
    ScratchDir dir;
    SGameDatabase bad;
    std::memset(&bad, 'A', sizeof(bad));  // no text ends anywhere
    for (int count : {-5, 17, 1000000, 16, 0}) {
        bad.iTypeCount = count;
        WriteBytes("db.cfg", &bad, sizeof(bad));
        LoadGameDatabase();
        int expected = count < 0 ? 0 : (count > 16 ? 16 : count);
        EXPECT_EQ(g_GameDB.iTypeCount, expected) << count;
        EXPECT_EQ(std::strlen(g_GameDB.szTopic), 127u);
        for (const SEnemyType& t : g_GameDB.types) {
            EXPECT_EQ(std::strlen(t.szTexture), 127u);
            EXPECT_EQ(std::strlen(t.szName), 63u);
            EXPECT_EQ(std::strlen(t.szTexture2), 127u);
            EXPECT_EQ(std::strlen(t.szDescription), 255u);
        }
    }
}

// A db.cfg that had to be corrected says so once on standard error, naming what was changed.
TEST(GameDatabaseReport, CorrectionsAreSaidOnceAndASoundFileSaysNothing) {
    ScratchDir dir;
    EXPECT_EQ(LoadAndListen(Sound()), "");
    const struct {
        const char* name;
        void (*spoil)(SGameDatabase&);
        const char* said;
    } cases[] = {
        {"count 17", [](SGameDatabase& db) { db.iTypeCount = 17; }, "type count 17 taken as 16\n"},
        {"count -1", [](SGameDatabase& db) { db.iTypeCount = -1; }, "type count -1 taken as 0\n"},
        {"open topic", [](SGameDatabase& db) { std::memset(db.szTopic, 'T', sizeof db.szTopic); },
         "texts cut to end within their fields in: topic\n"},
        // A text of an unused record is cut too; two open texts of one record name it once.
        {"open texts of types 3 and 15, and a bad count",
         [](SGameDatabase& db) {
             db.iTypeCount = 100;
             std::memset(db.types[3].szName, 'N', sizeof db.types[3].szName);
             std::memset(db.types[3].szDescription, 'D', sizeof db.types[3].szDescription);
             std::memset(db.types[15].szTexture2, 'P', sizeof db.types[15].szTexture2);
         },
         "type count 100 taken as 16; texts cut to end within their fields in: type3 type15\n"},
        {"picture of type 0", [](SGameDatabase& db) { std::memset(db.types[0].szTexture, 'x', 128); },
         "texts cut to end within their fields in: type0\n"},
    };
    for (const auto& c : cases) {
        SGameDatabase db = Sound();
        c.spoil(db);
        EXPECT_EQ(LoadAndListen(db), std::string("trevok: db.cfg corrected: ") + c.said) << c.name;
    }
    // A text that fills its field exactly up to its last byte, which ends it, needs no correction.
    SGameDatabase full = Sound();
    std::memset(full.types[1].szName, 'n', 63);
    full.types[1].szName[63] = '\0';
    EXPECT_EQ(LoadAndListen(full), "");
    EXPECT_EQ(std::strlen(g_GameDB.types[1].szName), 63u);
}

TEST(GameDatabase, WeaponTableHoldsEveryWeaponsFilesNamesAndNumbers) {
    // Short and long name, icon, picture, sound and description; flash x and y, price, pack price
    // and rounds, accuracy, damage, delay, and the time since the last shot at program start.
    const struct {
        const char* texts[6];
        float numbers[9];
    } rows[WEAPON_COUNT] = {
        {{"Motorovka", "Motorovka", "graph\\no.bmp", "graph\\motor.bmp", "sound\\motor.wav",
          "-zbran nablízko"},
         {0.8f, 0.75f, 0, 1, 1, 1000.0f, 8.0f, 0.1f, 0.1f}},
        {{"Desert Eagle", "IMI Desert Eagle", "graph\\icodeagle.tga", "graph\\deagle.bmp",
          "sound\\deagle.wav", "-nepresna, ale dobra pistole"},
         {0.8f, 0.75f, 200, 10, 7, 25.0f, 10.0f, 0.3f, 0.3f}},
        {{"Brokovnice", "Brokovnice", "graph\\icobrok.tga", "graph\\brok.bmp", "sound\\shotgun.wav",
          "-spousta broku s velkym rozptylem\n-velmi efektivni na kratkou vzdalenost"},
         {0.5f, 0.75f, 2400, 50, 8, 20.0f, 6.0f, 1.0f, 1.0f}},
        {{"Kalashnikov", "Automat Kalashnikov", "graph\\icokalach.tga", "graph\\kalach.bmp",
          "sound\\kalach.wav", "-vysoka kadence\n-slusna presnost"},
         {0.7f, 0.6f, 4000, 30, 30, 30.0f, 14.0f, 0.1f, 0.1f}},
        {{"AWM - AVE", "Arctic Warfare/Magnum - Anti VUGA Edition", "graph\\icoawm.tga", "graph\\awm.bmp",
          "sound\\awm.wav", "\n-velice presna odstrelovacka"},
         {0.63f, 0.53f, 6000, 150, 10, 200.0f, 110.0f, 2.0f, 3.0f}},
        {{"Plamenomet", "Plamenomet", "graph\\icoflame.bmp", "graph\\flame.bmp", "sound\\plamen.wav", ""},
         {0.0f, 0.0f, 4800, 40, 150, 30.0f, 8.0f, 0.05f, 0.05f}},
    };
    for (int i = 0; i < WEAPON_COUNT; ++i) {
        const SWeapon& w = g_Weapons[i];
        const char* texts[] = {w.pszShortName, w.pszLongName, w.pszIcon,
                               w.pszTexture,   w.pszSound,    w.pszDescription};
        const float numbers[] = {w.fFlashX,          w.fFlashY,   float(w.iPrice), float(w.iPackPrice),
                                 float(w.iPackRounds), w.fAccuracy, w.fDamage,       w.fDelay};
        for (int k = 0; k < 6; ++k) EXPECT_STREQ(texts[k], rows[i].texts[k]) << i << " " << k;
        for (int k = 0; k < 8; ++k) EXPECT_EQ(numbers[k], rows[i].numbers[k]) << i << " " << k;
    }
    // At program start, before loading fills the slots: the time since the last shot as the table
    // gives it, so that every weapon is ready in the first frame.
    ExpectInFreshProcess([&rows] {
        for (int i = 0; i < WEAPON_COUNT; ++i) {
            const SWeapon& w = g_Weapons[i];
            EXPECT_EQ(w.iTexture, 0) << i;
            EXPECT_EQ(w.iIconTexture, 0) << i;
            EXPECT_EQ(w.iSound, 0) << i;
            EXPECT_EQ(w.fSinceShot, rows[i].numbers[8]) << i;
            EXPECT_GE(w.fSinceShot, w.fDelay) << i;
        }
    });
}

TEST(GameDatabase, GlobalsHoldTheirStartingValues) {
    ExpectInFreshProcess([] {
        EXPECT_EQ(g_iGameState, GS_MAINMENU);
        EXPECT_EQ(g_fZoom, 4.0f);
        EXPECT_EQ(g_iScore + g_iMoney + g_iKills + g_iLives + g_iHealth + g_iCurrentWeapon + g_iMuzzleFlash, 0);
        EXPECT_EQ(g_fShake + g_fGameTime + g_fSpawnTimer + g_fForward + g_fStrafe + g_fYaw + g_fPitch, 0.0f);
        EXPECT_EQ(g_ptCursor.x, 0);
        EXPECT_EQ(g_ptCursor.y, 0);
        EXPECT_EQ(g_szTargetText[0], '\0');
        for (const SInventoryEntry& e : g_Inventory)
            EXPECT_TRUE(e.bOwned == 0 && e.iAmmo == 0) << int(e.bOwned) << " " << e.iAmmo;
        EXPECT_EQ(g_GameDB.iTypeCount, 0);
        const int states[] = {GS_PLAYING, GS_SHOP, GS_REWARDS, GS_DEATH};
        EXPECT_EQ(std::vector<int>(states, states + 4), (std::vector<int>{0, 3, 4, 5}));
    });
}
