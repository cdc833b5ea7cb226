// game_database_report_test.cpp -- a db.cfg that had to be corrected says so once on standard
// error, naming what was changed; a sound one says nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "game/game_database.h"
#include "scratch_dir.h"

namespace {

// What loading this database writes on standard error.
std::string LoadAndListen(const SGameDatabase& file) {
    std::FILE* f = std::fopen("db.cfg", "wb");
    if (!f) return "cannot write db.cfg";
    std::fwrite(&file, sizeof file, 1, f);
    std::fclose(f);
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

TEST(GameDatabaseReport, CorrectionsAreSaidOnceAndASoundFileSaysNothing) {
    ScratchDir dir;
    EXPECT_EQ(LoadAndListen(Sound()), "");

    const struct {
        const char* name;
        void (*spoil)(SGameDatabase&);
        const char* said;
    } cases[] = {
        {"count 17", [](SGameDatabase& db) { db.iTypeCount = 17; }, "trevok: db.cfg corrected: type count 17 taken as 16\n"},
        {"count -1", [](SGameDatabase& db) { db.iTypeCount = -1; }, "trevok: db.cfg corrected: type count -1 taken as 0\n"},
        {"open topic", [](SGameDatabase& db) { std::memset(db.szTopic, 'T', sizeof db.szTopic); },
         "trevok: db.cfg corrected: texts cut to end within their fields in: topic\n"},
        // A text of an unused record is cut too; two open texts of one record name it once.
        {"open texts of types 3 and 15, and a bad count",
         [](SGameDatabase& db) {
             db.iTypeCount = 100;
             std::memset(db.types[3].szName, 'N', sizeof db.types[3].szName);
             std::memset(db.types[3].szDescription, 'D', sizeof db.types[3].szDescription);
             std::memset(db.types[15].szTexture2, 'P', sizeof db.types[15].szTexture2);
         },
         "trevok: db.cfg corrected: type count 100 taken as 16; texts cut to end within their fields in: type3 type15\n"},
        {"picture of type 0", [](SGameDatabase& db) { std::memset(db.types[0].szTexture, 'x', 128); },
         "trevok: db.cfg corrected: texts cut to end within their fields in: type0\n"},
    };
    for (const auto& c : cases) {
        SGameDatabase db = Sound();
        c.spoil(db);
        EXPECT_EQ(LoadAndListen(db), c.said) << c.name;
    }
    // A text that fills its field exactly up to its last byte, which ends it, needs no correction.
    SGameDatabase full = Sound();
    std::memset(full.types[1].szName, 'n', 63);
    full.types[1].szName[63] = '\0';
    EXPECT_EQ(LoadAndListen(full), "");
    EXPECT_EQ(std::strlen(g_GameDB.types[1].szName), 63u);
}
