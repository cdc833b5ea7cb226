// fuzz_game_database.cpp -- libFuzzer entry for db.cfg: whatever the file holds, the game's
// database comes out within the limits the game relies on, and holds the file's bytes but for
// what had to be corrected.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "game/game_database.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::RunHeadless();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::WriteWholeFile("db.cfg", data, size);
    std::memset(&g_GameDB, 0, sizeof g_GameDB);
    LoadGameDatabase();

    // The file's bytes over an empty database, the count clamped and every text ended at the
    // last byte of its field.
    SGameDatabase expected;
    std::memset(&expected, 0, sizeof expected);
    std::memcpy(&expected, data, size < sizeof expected ? size : sizeof expected);
    if (expected.iTypeCount < 0) expected.iTypeCount = 0;
    if (expected.iTypeCount > MAX_ENEMY_TYPES) expected.iTypeCount = MAX_ENEMY_TYPES;
    expected.szTopic[sizeof expected.szTopic - 1] = '\0';
    for (SEnemyType& t : expected.types) {
        t.szTexture[sizeof t.szTexture - 1] = t.szName[sizeof t.szName - 1] = '\0';
        t.szTexture2[sizeof t.szTexture2 - 1] = t.szDescription[sizeof t.szDescription - 1] = '\0';
    }
    if (std::memcmp(&expected, &g_GameDB, sizeof expected) != 0) std::abort();
    layer::ClearShownMessageBoxes();
    return 0;
}
