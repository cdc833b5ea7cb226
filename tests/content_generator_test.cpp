// content_generator_test.cpp -- the generator run twice writes the same bytes, the same as the
// build's own data, and every file the game names.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "content_test_support.h"
#include "scratch_dir.h"

namespace fs = std::filesystem;

namespace {

// Every regular file under a folder, by its path relative to it, but for the build's mark and the
// settings that a game played in the build's data directory writes there.
std::map<std::string, std::vector<unsigned char>> Tree(const fs::path& root) {
    std::map<std::string, std::vector<unsigned char>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() && entry.path().filename() != ".generated" &&
            entry.path() != root / "trevok.cfg")
            files[fs::relative(entry.path(), root).string()] = ReadFileBytes(entry.path().string());
    return files;
}

bool RunGenerator(const fs::path& out) {
    std::string command = std::string(TREVOK_DATA_DIR) + "/../trevok_content '" + out.string() + "'";
    return std::system(command.c_str()) == 0;
}

}  // namespace

// A run writes every file the game names, under its exact name, and the same bytes each time as
// the build did.
TEST(ContentGenerator, TwoRunsWriteEveryFileTheGameNamesAndTheSameBytesAsTheBuild) {
    ScratchDir dir;
    ASSERT_TRUE(RunGenerator(fs::path(dir.path()) / "first"));
    ASSERT_TRUE(RunGenerator(fs::path(dir.path()) / "second"));
    auto first = Tree(fs::path(dir.path()) / "first");
    auto second = Tree(fs::path(dir.path()) / "second");
    auto built = Tree(TREVOK_DATA_DIR);
    EXPECT_GT(first.size(), 60u);
    ASSERT_EQ(first.size(), second.size());
    ASSERT_EQ(first.size(), built.size());
    for (const auto& [name, bytes] : first) {
        EXPECT_EQ(second.count(name), 1u) << name;
        EXPECT_EQ(second[name], bytes) << name << " differs between two runs";
        EXPECT_EQ(built.count(name), 1u) << name;
        EXPECT_EQ(built[name], bytes) << name << " differs from the build's data";
    }
    std::vector<std::string> names = {
        "db.cfg", "teren.ter", "tex6.bmp", "clouds.tga",
        "graph/cross.bmp", "graph/circle.bmp", "graph/awmlook.bmp", "graph/krev.dds", "graph/flame.tga",
        "graph/dust.tga", "graph/exp.tga", "graph/hudicons.bmp", "graph/motor2.bmp", "graph/plot.bmp",
        "graph/motor.bmp", "graph/deagle.bmp", "graph/brok.bmp", "graph/kalach.bmp", "graph/awm.bmp",
        "graph/flame.bmp", "graph/no.bmp", "graph/icodeagle.tga", "graph/icobrok.tga", "graph/icokalach.tga",
        "graph/icoawm.tga", "graph/icoflame.bmp", "graph/intro/no.bmp",
        "sound/motor.wav", "sound/deagle.wav", "sound/shotgun.wav", "sound/kalach.wav", "sound/awm.wav",
        "sound/plamen.wav", "sound/zuch.wav", "sound/zoom.wav", "sound/enemydown.wav", "sound/fallback.wav",
        "sound/hosdown.wav", "sound/blow.wav", "sound/explode.wav", "sound/krk.wav", "sound/kill1.wav",
        "sound/kill2.wav", "sound/kill3.wav", "sound/melidrak.wav"};
    for (int k = 1; k <= 11; ++k) names.push_back("graph/intro/melidrak" + std::to_string(k) + ".jpg");
    for (int k = 1; k <= 6; ++k) names.push_back("graph/vugove/vuga" + std::to_string(k) + ".bmp");
    for (const std::string& name : names)
        EXPECT_TRUE(first.count(name) && built.count(name)) << name << " " << first.count(name) << " " << built.count(name);
}

TEST(ContentGenerator, RefusesToRunWithoutAnOutputFolder) {
    std::string command = std::string(TREVOK_DATA_DIR) + "/../trevok_content 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}
