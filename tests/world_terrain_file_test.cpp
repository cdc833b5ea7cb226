// world_terrain_file_test.cpp -- terrain files that do not fit: reported, and an empty map that draws nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "world_device.h"

using namespace world_test;

namespace {

// The map holds nothing: no cell, no mesh, the outside height everywhere, and draws nothing.
void ExpectEmptyMap(Device& d, CMap& map, const std::string& label) {
    EXPECT_EQ(map.iCellsX, 0) << label;
    EXPECT_EQ(map.iCellsY, 0) << label;
    EXPECT_EQ(map.pMesh, nullptr) << label;
    for (float x : {-5.0f, 0.0f, 5.0f, 55.0f, 119.0f})
        EXPECT_EQ(map.GetHeight(x, 5.0f), 65535.0f) << label << " x " << x;
    // Just before the near corner both indices truncate to 0, yet an empty map has no cell 0.
    for (float v : {-9.9f, -5.0f, -0.01f}) {
        EXPECT_EQ(map.GetHeight(v, v), 65535.0f) << label << " at " << v << "," << v;
        EXPECT_EQ(map.GetHeight(v, 0.0f), 65535.0f) << label << " at " << v << ",0";
        EXPECT_EQ(map.GetHeight(0.0f, v), 65535.0f) << label << " at 0," << v;
    }
    d.LookAtFrom(D3DXVECTOR3(5, 5, 8), D3DXVECTOR3(5, 5, 0), D3DXVECTOR3(0, 1, 0));
    d.device->SetRenderState(D3DRS_LIGHTING, FALSE);
    d.BeginFrame();
    map.Render();
    d.EndFrame();
    EXPECT_EQ(d.Pixel(32, 32) & 0xFFFFFF, 0x0000FFu) << label;
}

void SetCellCounts(std::vector<uint8_t>& file, int32_t x, int32_t y) {
    memcpy(&file[offsetof(STerrainFileHeader, iCellsX)], &x, 4);
    memcpy(&file[offsetof(STerrainFileHeader, iCellsY)], &y, 4);
}

std::vector<uint8_t> Good() { return MakeFlatTerrainFile(3, 3, 2, 1.0f); }

std::vector<uint8_t> Cut(size_t size) {
    auto f = Good();
    f.resize(size);
    return f;
}

std::vector<uint8_t> WithCounts(int32_t x, int32_t y) {
    auto f = Good();
    SetCellCounts(f, x, y);
    return f;
}

// The good file with cell (i, j) alone subdivided n times.
std::vector<uint8_t> WithSubdivision(int i, int j, int n) {
    return MakeTerrainFile(
        3, 3, [=](int a, int b) { return a == i && b == j ? n : 2; }, [](float, float) { return 1.0f; });
}

// The file with one coordinate (0 x, 1 y, 2 height) of vertex V[r][c] of cell (i, j) replaced.
std::vector<uint8_t> WithCoordinate(int i, int j, int r, int c, int axis, float value,
                                    std::vector<uint8_t> f = Good()) {
    memcpy(&f[TerrainCellOffset(i, j) + 4 + sizeof(STerrainVertex) * (9 * r + c) + 4 * axis], &value, 4);
    return f;
}

}  // namespace

TEST(WorldTerrainFile, EveryKindOfBadOrMissingFileIsReportedAndLeavesAnEmptyMap) {
    const struct {
        const char* label;
        const char* reason;
        std::vector<uint8_t> bytes;
        bool written = true;
    } bad[] = {
        {"missing", "Nelze otevrit soubor", {}, false},
        {"empty", "kratky", {}},
        {"header only", "kratky", Cut(37)},
        {"one byte short", "kratky", Cut(TERRAIN_FILE_SIZE - 1)},
        {"no cells along x", "1 az 12", WithCounts(0, 3)},
        {"13 cells along x", "1 az 12", WithCounts(13, 3)},
        {"negative cells along y", "1 az 12", WithCounts(3, -1)},
        {"huge cells along y", "1 az 12", WithCounts(3, 0x7FFFFFFF)},
        {"subdivision 0", "1 az 8", WithSubdivision(2, 1, 0)},
        {"subdivision 9", "1 az 8", WithSubdivision(0, 2, 9)},
        {"subdivision 255", "1 az 8", MakeFlatTerrainFile(2, 2, 255, 1.0f)},
        {"height not a number", "konecne", WithCoordinate(1, 2, 1, 1, 2, std::nanf(""))},
        {"infinite height in the far corner", "konecne", WithCoordinate(2, 2, 2, 2, 2, INFINITY)},
        {"minus infinite x", "konecne", WithCoordinate(0, 0, 0, 0, 0, -INFINITY)},
        {"y not a number", "konecne", WithCoordinate(2, 0, 2, 1, 1, std::nanf(""))},
    };
    for (const auto& b : bad) {
        MapInDir f;
        if (b.written) WriteBytes("teren.ter", b.bytes);
        EXPECT_EQ(f.map.Load("teren.ter"), 0);
        EXPECT_TRUE(BoxShown("teren.ter")) << b.label;
        EXPECT_TRUE(BoxShown(b.reason)) << b.label;
        ExpectEmptyMap(f.d, f.map, b.label);
    }
}

TEST(WorldTerrainFile, AGoodFileIsTakenAsItLiesAndABadOneAfterItEmptiesTheMap) {
    MapInDir f;
    // Unused cells and the unused vertices of a cell may hold anything: a zero subdivision or a
    // height that is not a number there is no fault (V[4][1] of a cell divided 3 times).
    auto file = MakeTerrainFile(2, 3, 3, [](float x, float y) { return x * 0.1f + y * 0.01f; });
    file[TerrainCellOffset(11, 11)] = 0;
    file[TerrainCellOffset(2, 0)] = 200;
    file = WithCoordinate(1, 1, 4, 1, 2, std::nanf(""), WithCoordinate(2, 0, 0, 0, 2, std::nanf(""), file));
    WriteBytes("teren.ter", file);
    f.map.Load("teren.ter");
    EXPECT_TRUE(layer::ShownMessageBoxes().empty());
    EXPECT_EQ(f.map.iCellsX, 2);
    EXPECT_EQ(f.map.iCellsY, 3);
    EXPECT_EQ(memcmp(f.map.byHeader, "ABCDEFGHIJKLMNOP", 16), 0);
    EXPECT_EQ(memcmp(&f.map.cells[0][0], &file[TerrainCellOffset(0, 0)], sizeof(STerrainCell) * 144), 0);
    EXPECT_NE(f.map.pMesh, nullptr);
    EXPECT_NEAR(f.map.GetHeight(15.0f, 25.0f), 1.75f, 1e-5f);

    auto broken = file;
    broken.resize(400000);
    WriteBytes("teren.ter", broken);
    f.map.Load("teren.ter");
    EXPECT_TRUE(BoxShown("teren.ter"));
    ExpectEmptyMap(f.d, f.map, "bad after good");

    WriteBytes("teren.ter", file);
    f.map.Load("teren.ter");
    EXPECT_EQ(f.map.iCellsX, 2);
    EXPECT_NE(f.map.pMesh, nullptr);
}

TEST(WorldTerrainFile, ACameraFarFromTheMapBuildsNothingAndDrawsNothing) {
    MapInDir f;
    WriteBytes("teren.ter", MakeFlatTerrainFile(12, 12, 2, 0.0f));
    f.d.cameraPos = D3DXVECTOR3(500, -300, 5);
    f.map.Load("teren.ter");
    EXPECT_EQ(f.map.iCellsX, 12);
    EXPECT_EQ(f.map.pMesh, nullptr);
    EXPECT_TRUE(layer::ShownMessageBoxes().empty());
    for (const D3DXVECTOR3& at : {f.d.cameraPos, D3DXVECTOR3(55, 55, 5)}) {  // coming back builds again
        f.d.cameraPos = at;
        f.d.BeginFrame();
        f.map.Render();
        f.d.EndFrame();
    }
    EXPECT_NE(f.map.pMesh, nullptr);
}
