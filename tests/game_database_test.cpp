// game_database_test.cpp -- db.cfg as the generator writes it and as LoadGameDatabase reads it,
// bad database files, the weapon table and the game's globals at program start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "game/game_database.h"
#include "content_test_support.h"
#include "fresh_process.h"
#include "layer/message_boxes.h"
#include "scratch_dir.h"

namespace {

void WriteBytes(const char* name, const void* data, size_t size) {
    std::FILE* f = std::fopen(name, "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(data, 1, size, f), size);
    std::fclose(f);
}

bool PrintableAscii(const char* text, bool newlines) {
    for (const char* p = text; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\n' && newlines) continue;
        if (c < 32 || c > 126) return false;
    }
    return true;
}

// Loads the generated db.cfg from a scratch working directory, as the game does.
void LoadGenerated() {
    ScratchDir dir;
    std::filesystem::copy_file(DataPath("db.cfg"), "db.cfg");
    LoadGameDatabase();
}

}  // namespace

TEST(GameDatabaseContent, GeneratedFileHasTheRecordSizeAndReadsBack) {
    EXPECT_EQ(std::filesystem::file_size(DataPath("db.cfg")), 9668u);
    LoadGenerated();
    EXPECT_GE(g_GameDB.iTypeCount, 8);
    EXPECT_LE(g_GameDB.iTypeCount, 12);
    EXPECT_GT(std::strlen(g_GameDB.szTopic), 0u);
    EXPECT_TRUE(PrintableAscii(g_GameDB.szTopic, false));
    for (int i = 0; i < g_GameDB.iTypeCount; ++i) {
        const SEnemyType& t = g_GameDB.types[i];
        SCOPED_TRACE(t.szName);
        EXPECT_GT(std::strlen(t.szName), 0u);
        EXPECT_LE(std::strlen(t.szName), 40u);
        EXPECT_TRUE(PrintableAscii(t.szName, false));
        EXPECT_TRUE(PrintableAscii(t.szDescription, true));
        EXPECT_GT(std::strlen(t.szDescription), 0u);
        EXPECT_TRUE(std::filesystem::exists(DataPath(t.szTexture))) << t.szTexture;
        if (t.dwFlags & ETF_SHOOTER) {
            EXPECT_TRUE(std::filesystem::exists(DataPath(t.szTexture2))) << t.szTexture2;
        } else {
            EXPECT_EQ(t.szTexture2[0], '\0');
        }
        // The projectile flags mean something only for shooters.
        if (t.dwFlags & (ETF_HOMING | ETF_FAST | ETF_EXPLOSIVE)) {
            EXPECT_TRUE(t.dwFlags & ETF_SHOOTER);
        }
    }
    // Records past the count are empty.
    for (int i = g_GameDB.iTypeCount; i < MAX_ENEMY_TYPES; ++i) EXPECT_EQ(g_GameDB.types[i].szName[0], '\0');
}

TEST(GameDatabaseContent, TypesShowEveryBehaviourAndAreBalancedAgainstTheShop) {
    LoadGenerated();
    const DWORD wanted[] = {0,
                            ETF_RAGE,
                            ETF_FALLING,
                            ETF_SHOOTER,
                            ETF_SHOOTER | ETF_HOMING,
                            ETF_SHOOTER | ETF_FAST,
                            ETF_SHOOTER | ETF_EXPLOSIVE,
                            ETF_FALLING | ETF_SHOOTER,
                            ETF_RAGE | ETF_SHOOTER};
    for (DWORD flags : wanted) {
        bool found = false;
        for (int i = 0; i < g_GameDB.iTypeCount; ++i)
            if (g_GameDB.types[i].dwFlags == flags && g_GameDB.types[i].iReward >= 1) found = true;
        EXPECT_TRUE(found) << "no type with flags " << flags;
    }
    int harmless = 0;
    std::vector<std::string> pictures;
    for (int i = 0; i < g_GameDB.iTypeCount; ++i) {
        const SEnemyType& t = g_GameDB.types[i];
        pictures.push_back(t.szTexture);
        EXPECT_NE(t.dwFlags & (ETF_RAGE | ETF_FALLING), ETF_RAGE | ETF_FALLING)
            << "rage and fall share one timer: " << t.szName;
        if (t.iReward < 1) {
            ++harmless;
            EXPECT_EQ(t.dwFlags, 0u) << "the type not to be shot must not attack";
            continue;
        }
        // A kill pays between a tenth of the pistol and a tenth of the dearest weapon.
        EXPECT_GE(t.iReward, g_Weapons[1].iPrice / 10);
        EXPECT_LE(t.iReward, g_Weapons[4].iPrice / 10);
        if (t.dwFlags & (ETF_RAGE | ETF_FALLING | ETF_SHOOTER)) {
            EXPECT_GT(t.fDamage, 0.0f);
            EXPECT_LT(t.fDamage, 50.0f);  // no single blow takes half the health
        }
    }
    EXPECT_EQ(harmless, 1);
    ASSERT_GE(g_GameDB.iTypeCount, 8);
    EXPECT_TRUE(g_GameDB.types[7].dwFlags & ETF_SHOOTER) << "type 7 croaks when it shoots";
    std::sort(pictures.begin(), pictures.end());
    EXPECT_EQ(std::unique(pictures.begin(), pictures.end()), pictures.end()) << "every type has its own picture";
}

TEST(GameDatabase, SaveThenLoadGivesBackTheSameBytes) {
    ScratchDir dir;
    unsigned char pattern[sizeof(SGameDatabase)];
    for (size_t i = 0; i < sizeof(pattern); ++i) pattern[i] = static_cast<unsigned char>(i * 7 + 3);
    std::memcpy(&g_GameDB, pattern, sizeof(pattern));
    g_GameDB.iTypeCount = 5;
    g_GameDB.szTopic[127] = '\0';
    for (SEnemyType& t : g_GameDB.types) {
        t.szTexture[127] = t.szName[63] = t.szTexture2[127] = t.szDescription[255] = '\0';
    }
    SaveGameDatabase();
    std::vector<unsigned char> saved = ReadFileBytes("db.cfg");
    ASSERT_EQ(saved.size(), sizeof(SGameDatabase));
    EXPECT_EQ(std::memcmp(saved.data(), &g_GameDB, sizeof(SGameDatabase)), 0);
    SGameDatabase before = g_GameDB;
    std::memset(&g_GameDB, 0, sizeof(g_GameDB));
    LoadGameDatabase();
    EXPECT_EQ(std::memcmp(&g_GameDB, &before, sizeof(SGameDatabase)), 0);
}

TEST(GameDatabase, MissingFileShowsTheBoxAndLeavesTheDatabaseEmpty) {
    ScratchDir dir;
    std::memset(&g_GameDB, 0, sizeof(g_GameDB));  // as the program starts
    layer::ClearShownMessageBoxes();
    LoadGameDatabase();
    ASSERT_EQ(layer::ShownMessageBoxes().size(), 1u);
    EXPECT_EQ(layer::ShownMessageBoxes()[0].text, "Nelze otevrit soubor");
    EXPECT_EQ(layer::ShownMessageBoxes()[0].caption, "Error");
    EXPECT_EQ(g_GameDB.iTypeCount, 0);
    EXPECT_EQ(g_GameDB.szTopic[0], '\0');
    EXPECT_EQ(g_GameDB.types[0].szName[0], '\0');
}

TEST(GameDatabase, ShortAndLongFilesFillOnlyWhatTheyHold) {
    ScratchDir dir;
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
    ASSERT_EQ(layer::ShownMessageBoxes().size(), 1u);  // said once, with what was there
    EXPECT_EQ(layer::ShownMessageBoxes()[0].text, "Soubor db.cfg je neuplny: nacteno 100 z 9668 bajtu.");
    // A long file gives only the record's bytes.
    std::vector<char> big(12000, 0);
    std::memcpy(big.data(), "Dlouhe", 7);
    int count = 2;
    std::memcpy(big.data() + 128, &count, 4);
    std::memset(big.data() + 9668, 'Z', big.size() - 9668);
    WriteBytes("db.cfg", big.data(), big.size());
    layer::ClearShownMessageBoxes();
    LoadGameDatabase();
    EXPECT_TRUE(layer::ShownMessageBoxes().empty());
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

TEST(GameDatabase, WeaponTableHoldsEveryWeaponsFilesNamesAndNumbers) {
    struct Row {
        const char *shortName, *longName, *icon, *texture, *sound, *description;
        float flashX, flashY;
        int price, packPrice, packRounds;
        float accuracy, damage, delay, sinceShot;
    };
    const Row rows[WEAPON_COUNT] = {
        {"Motorovka", "Motorovka", "graph\\no.bmp", "graph\\motor.bmp", "sound\\motor.wav", "-zbran nablízko",
         0.8f, 0.75f, 0, 1, 1, 1000.0f, 8.0f, 0.1f, 0.1f},
        {"Desert Eagle", "IMI Desert Eagle", "graph\\icodeagle.tga", "graph\\deagle.bmp", "sound\\deagle.wav",
         "-nepresna, ale dobra pistole", 0.8f, 0.75f, 200, 10, 7, 25.0f, 10.0f, 0.3f, 0.3f},
        {"Brokovnice", "Brokovnice", "graph\\icobrok.tga", "graph\\brok.bmp", "sound\\shotgun.wav",
         "-spousta broku s velkym rozptylem\n-velmi efektivni na kratkou vzdalenost", 0.5f, 0.75f, 2400, 50, 8,
         20.0f, 6.0f, 1.0f, 1.0f},
        {"Kalashnikov", "Automat Kalashnikov", "graph\\icokalach.tga", "graph\\kalach.bmp", "sound\\kalach.wav",
         "-vysoka kadence\n-slusna presnost", 0.7f, 0.6f, 4000, 30, 30, 30.0f, 14.0f, 0.1f, 0.1f},
        {"AWM - AVE", "Arctic Warfare/Magnum - Anti VUGA Edition", "graph\\icoawm.tga", "graph\\awm.bmp",
         "sound\\awm.wav", "\n-velice presna odstrelovacka", 0.63f, 0.53f, 6000, 150, 10, 200.0f, 110.0f, 2.0f, 3.0f},
        {"Plamenomet", "Plamenomet", "graph\\icoflame.bmp", "graph\\flame.bmp", "sound\\plamen.wav", "", 0.0f, 0.0f,
         4800, 40, 150, 30.0f, 8.0f, 0.05f, 0.05f},
    };
    for (int i = 0; i < WEAPON_COUNT; ++i) {
        SCOPED_TRACE(i);
        const SWeapon& w = g_Weapons[i];
        const Row& r = rows[i];
        EXPECT_STREQ(w.pszShortName, r.shortName);
        EXPECT_STREQ(w.pszLongName, r.longName);
        EXPECT_STREQ(w.pszIcon, r.icon);
        EXPECT_STREQ(w.pszTexture, r.texture);
        EXPECT_STREQ(w.pszSound, r.sound);
        EXPECT_STREQ(w.pszDescription, r.description);
        EXPECT_EQ(w.fFlashX, r.flashX);
        EXPECT_EQ(w.fFlashY, r.flashY);
        EXPECT_EQ(w.iPrice, r.price);
        EXPECT_EQ(w.iPackPrice, r.packPrice);
        EXPECT_EQ(w.iPackRounds, r.packRounds);
        EXPECT_EQ(w.fAccuracy, r.accuracy);
        EXPECT_EQ(w.fDamage, r.damage);
        EXPECT_EQ(w.fDelay, r.delay);
        // Each of its files is generated.
        EXPECT_TRUE(std::filesystem::exists(DataPath(w.pszIcon))) << w.pszIcon;
        EXPECT_TRUE(std::filesystem::exists(DataPath(w.pszTexture))) << w.pszTexture;
        EXPECT_TRUE(std::filesystem::exists(DataPath(w.pszSound))) << w.pszSound;
    }
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(std::filesystem::exists(DataPath(g_szKillSounds[k])));
    // At program start, before loading fills the slots: the time since the last shot as the table
    // gives it, so that every weapon is ready in the first frame.
    ExpectInFreshProcess([&rows] {
        for (int i = 0; i < WEAPON_COUNT; ++i) {
            const SWeapon& w = g_Weapons[i];
            EXPECT_EQ(w.iTexture, 0) << i;
            EXPECT_EQ(w.iIconTexture, 0) << i;
            EXPECT_EQ(w.iSound, 0) << i;
            EXPECT_EQ(w.fSinceShot, rows[i].sinceShot) << i;
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
        for (const SInventoryEntry& e : g_Inventory) {
            EXPECT_EQ(e.bOwned, 0);
            EXPECT_EQ(e.iAmmo, 0);
        }
        EXPECT_EQ(g_GameDB.iTypeCount, 0);
        EXPECT_EQ(GS_PLAYING, 0);
        EXPECT_EQ(GS_SHOP, 3);
        EXPECT_EQ(GS_REWARDS, 4);
        EXPECT_EQ(GS_DEATH, 5);
    });
}
