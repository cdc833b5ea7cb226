// make_file_seeds.cpp -- writes the seed corpus of the game files' fuzz targets: DIR/<target>/<n>
// for terrain, database, settings and wave, from the generated content in CONTENT and variants
// of the kinds other tools write.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "game/game_database.h"
#include "layer/image_encode.h"
#include "layer/wave_write.h"
#include "shell/settings.h"
#include "wave_test_files.h"
#include "world/terrain_file.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string g_content, g_root;

Bytes ReadContent(const char* name) {
    std::ifstream in(g_content + "/" + name, std::ios::binary);
    if (!in) std::fprintf(stderr, "cannot read %s/%s\n", g_content.c_str(), name);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Seed(const char* target, int n, const Bytes& bytes) {
    std::string dir = g_root + "/" + target;
    mkdir(dir.c_str(), 0755);
    std::string path = dir + "/seed" + std::to_string(n);
    if (FAILED(layer::WriteBytesToFile(path.c_str(), bytes))) std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

template <typename T>
Bytes Image(const T& value) {
    Bytes b(sizeof value);
    std::memcpy(b.data(), &value, sizeof value);
    return b;
}

void TerrainSeeds() {
    Bytes ter = ReadContent("teren.ter");
    Seed("terrain", 0, ter);
    if (ter.size() != TERRAIN_FILE_SIZE) return;
    // One row of cells, every cell at the finest subdivision.
    Bytes row = ter;
    const int32_t one = 1;
    std::memcpy(&row[offsetof(STerrainFileHeader, iCellsY)], &one, 4);
    for (int i = 0; i < TERRAIN_MAX_CELLS; ++i) row[TerrainCellOffset(i, 0)] = TERRAIN_MAX_SUBDIVISION;
    Seed("terrain", 1, row);
}

void DatabaseSeeds() {
    Bytes db = ReadContent("db.cfg");
    Seed("database", 0, db);
    if (db.size() != sizeof(SGameDatabase)) return;
    SGameDatabase full;
    std::memcpy(&full, db.data(), sizeof full);
    full.iTypeCount = MAX_ENEMY_TYPES;
    std::memset(full.types[MAX_ENEMY_TYPES - 1].szName, 'N', sizeof full.types[0].szName);
    Seed("database", 1, Image(full));
    Seed("database", 2, Bytes(db.begin(), db.begin() + 200));
}

void SettingsSeeds() {
    SetConfigDefaults();
    g_Config.bReserved1 = 0;
    g_Config.bReserved2[0] = g_Config.bReserved2[1] = 0;
    Seed("settings", 0, Image(g_Config));
    SConfig windowed = g_Config;
    windowed.dwWidth = 1024, windowed.dwHeight = 768, windowed.dwDepth = 32, windowed.bFullscreen = 0;
    windowed.dwMultiSample = 2, windowed.dwFilter = windowed.dwMipFilter = 2, windowed.dwSensitivity = 1000;
    Seed("settings", 1, Image(windowed));
    SConfig odd = g_Config;
    odd.dwWidth = 333, odd.dwHeight = 200, odd.dwDepth = 24, odd.bVSync = 7, odd.dwMultiSample = 9;
    odd.dwFilter = 3, odd.dwSensitivity = 0xFFFFFFFF;
    Seed("settings", 2, Image(odd));
    Seed("settings", 3, Bytes(10, 0x20));
}

void WaveSeeds() {
    int n = 0;
    for (const char* name : {"sound/plamen.wav", "sound/motor.wav"}) Seed("wave", n++, ReadContent(name));
    using namespace wave_test;
    Seed("wave", n++, layer::MakeWave16({1, -1, 300, -300, 32767, -32768}, 2, 22050));
    Seed("wave", n++, ExtensibleWave({}, Frames(0x123456, 3, 4)));
    Seed("wave", n++, ExtensibleWave({1, 32, 32, 3}, Frames(0x3E800000, 4, 3)));
    Seed("wave", n++, ExtensibleWave({2, 8, 8, 1, 48, 30}, Frames(0x80, 1, 5)));
    // Plain 24-bit PCM with a list chunk of odd size before the samples.
    Bytes plain = ExtensibleWave({2, 24, 24, 1, 16}, Frames(0x7FFFFF, 3, 2));
    plain[20] = 1, plain[21] = 0;
    const Bytes list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    plain.insert(plain.begin() + 36, list.begin(), list.end());
    plain[4] = uint8_t(plain.size() - 8);
    Seed("wave", n++, plain);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s CONTENT DIR\n", argv[0]);
        return 2;
    }
    g_content = argv[1];
    g_root = argv[2];
    mkdir(g_root.c_str(), 0755);
    TerrainSeeds();
    DatabaseSeeds();
    SettingsSeeds();
    WaveSeeds();
    return 0;
}
