// terrain_content_test.cpp -- teren.ter as the generator writes it: layout, grid, heights along
// the fence, and borders between cells that meet without cracks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <set>
#include <vector>

#include "world/terrain_file.h"

namespace {

struct Terrain {
    STerrainFileHeader header;
    STerrainCell cells[TERRAIN_MAX_CELLS][TERRAIN_MAX_CELLS];
};

// Reads the file field by field, as the map does, and says how many bytes it held.
std::unique_ptr<Terrain> ReadTerrain(size_t* total) {
    auto t = std::make_unique<Terrain>();
    std::FILE* f = std::fopen(TREVOK_DATA_DIR "/teren.ter", "rb");
    if (!f) return nullptr;
    size_t got = std::fread(&t->header, 1, sizeof(t->header), f);
    got += std::fread(t->cells, 1, sizeof(t->cells), f);
    char extra;
    got += std::fread(&extra, 1, 1, f);
    std::fclose(f);
    *total = got;
    return t;
}

// The height of the ground at (x, y) inside cell (i, j), on the triangles the mesh draws.
float HeightInCell(const STerrainCell& cell, int i, int j, float x, float y) {
    int n = cell.bySubdivision;
    float step = 10.0f / n;
    float fx = x - 10.0f * i, fy = y - 10.0f * j;
    int r = std::min(n - 1, std::max(0, int(fx / step)));
    int c = std::min(n - 1, std::max(0, int(fy / step)));
    fx -= r * step;
    fy -= c * step;
    const float* A = cell.vertices[r][c].vPos;
    const float *P, *C;
    if (fx > fy) {
        P = cell.vertices[r + 1][c + 1].vPos;
        C = cell.vertices[r + 1][c].vPos;
    } else {
        P = cell.vertices[r][c + 1].vPos;
        C = cell.vertices[r + 1][c + 1].vPos;
    }
    float ax = A[0] - P[0], ay = A[1] - P[1], az = A[2] - P[2];
    float cx = C[0] - P[0], cy = C[1] - P[1], cz = C[2] - P[2];
    float nx = ay * cz - az * cy, ny = az * cx - ax * cz, nz = ax * cy - ay * cx;
    return P[2] - ((x - P[0]) * nx + (y - P[1]) * ny) / nz;
}

class TerrainContent : public ::testing::Test {
protected:
    void SetUp() override {
        size_t total = 0;
        terrain = ReadTerrain(&total);
        ASSERT_NE(terrain, nullptr);
        ASSERT_EQ(total, size_t(TERRAIN_FILE_SIZE)) << "the file holds exactly one header and 144 cells";
    }
    const STerrainCell& Cell(int i, int j) const { return terrain->cells[i][j]; }
    std::unique_ptr<Terrain> terrain;
};

}  // namespace

// The grid is where the height query expects it; the hills and hollows stay well below the clouds
// (the cloud layer hangs at 6) and the shading is gentle.
TEST_F(TerrainContent, GridIsWhereTheHeightQueryExpectsItAndTheGroundIsGentle) {
    EXPECT_EQ(terrain->header.iCellsX, 12);
    EXPECT_EQ(terrain->header.iCellsY, 12);
    std::set<int> subdivisions;
    float lo = 1e9f, hi = -1e9f;
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j) {
            const STerrainCell& cell = Cell(i, j);
            int n = cell.bySubdivision;
            ASSERT_GE(n, 1);
            ASSERT_LE(n, 8);
            subdivisions.insert(n);
            for (int r = 0; r <= n; ++r)
                for (int c = 0; c <= n; ++c) {
                    const STerrainVertex& v = cell.vertices[r][c];
                    EXPECT_FLOAT_EQ(v.vPos[0], 10.0f * i + r * 10.0f / n);
                    EXPECT_FLOAT_EQ(v.vPos[1], 10.0f * j + c * 10.0f / n);
                    EXPECT_FLOAT_EQ(v.fU, float(r) / n);
                    EXPECT_FLOAT_EQ(v.fV, float(c) / n);
                    EXPECT_GE(v.fU, 0.0f);
                    EXPECT_LE(v.fV, 1.0f);
                    lo = std::min(lo, v.vPos[2]);
                    hi = std::max(hi, v.vPos[2]);
                    EXPECT_EQ(v.dwColor >> 24, 0xFFu);
                    for (int shift : {0, 8, 16}) EXPECT_GE((v.dwColor >> shift) & 0xFF, 0x70u);
                }
        }
    EXPECT_GE(subdivisions.size(), 2u) << "subdivisions vary from cell to cell";
    EXPECT_LT(hi, 4.0f);
    EXPECT_GT(hi, 1.0f) << "there are hills";
    EXPECT_LT(lo, -0.2f) << "there are hollows";
    EXPECT_GT(lo, -2.0f);
}

TEST_F(TerrainContent, GroundMeetsTheFenceAtHeightZero) {
    // The fence band runs from -0.001 to 0.3 along x, y = 20 and 100.
    for (float line : {20.0f, 100.0f})
        for (float along = 20.0f; along <= 100.0f; along += 0.37f) {
            int i = std::min(11, int(line / 10)), j = int(along / 10);
            if (j > 11) j = 11;
            EXPECT_NEAR(HeightInCell(Cell(i, j), i, j, line, along), 0.0f, 0.02f) << line << ", " << along;
            EXPECT_NEAR(HeightInCell(Cell(j, i), j, i, along, line), 0.0f, 0.02f) << along << ", " << line;
        }
}

TEST_F(TerrainContent, SharedBordersAreEqualSoTheMeshHasNoCracks) {
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j) {
            const STerrainCell& a = Cell(i, j);
            // The borders with the next cell along x and along y: both sides give one height.
            for (int k = 0; k <= 200; ++k)
                for (auto [di, dj] : {std::pair(1, 0), {0, 1}}) {
                    const int ni = i + di, nj = j + dj;
                    if (ni > 11 || nj > 11) continue;
                    const float x = di ? 10.0f * ni : 10.0f * i + k * 0.05f;
                    const float y = dj ? 10.0f * nj : 10.0f * j + k * 0.05f;
                    EXPECT_NEAR(HeightInCell(a, i, j, x, y), HeightInCell(Cell(ni, nj), ni, nj, x, y), 1e-4f)
                        << i << "," << j << " and " << ni << "," << nj << " at " << x << "," << y;
                }
            // Corners shared by four cells are one vertex.
            if (i < 11 && j < 11) {
                int n = a.bySubdivision;
                const float* corner = a.vertices[n][n].vPos;
                EXPECT_EQ(corner[2], Cell(i + 1, j).vertices[0][Cell(i + 1, j).bySubdivision].vPos[2]);
                EXPECT_EQ(corner[2], Cell(i, j + 1).vertices[Cell(i, j + 1).bySubdivision][0].vPos[2]);
                EXPECT_EQ(corner[2], Cell(i + 1, j + 1).vertices[0][0].vPos[2]);
            }
        }
}
