// world_terrain_files.h -- small teren.ter files for the world's tests, written through the record types.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "world/terrain_file.h"

namespace world_test {

using HeightFn = std::function<float(float x, float y)>;
using SubdivisionFn = std::function<int(int i, int j)>;

// A whole file: every used cell (i, j) gets the subdivision asked for and vertices on the exact
// grid, with the given height, opaque white and u, v running 0..1 across the cell.
inline std::vector<uint8_t> MakeTerrainFile(int cellsX, int cellsY, const SubdivisionFn& subdivision,
                                            const HeightFn& height, DWORD color = 0xFFFFFFFF) {
    std::vector<uint8_t> file(TERRAIN_FILE_SIZE, 0);
    STerrainFileHeader header = {};
    for (int k = 0; k < 16; ++k) header.byHeader[k] = BYTE('A' + k);
    header.iCellsX = cellsX;
    header.iCellsY = cellsY;
    memcpy(file.data(), &header, sizeof(header));
    for (int i = 0; i < TERRAIN_MAX_CELLS; ++i) {
        for (int j = 0; j < TERRAIN_MAX_CELLS; ++j) {
            if (i >= cellsX || j >= cellsY) continue;
            STerrainCell cell = {};
            const int n = subdivision(i, j);
            cell.bySubdivision = BYTE(n);
            const int used = n >= 0 && n <= TERRAIN_MAX_SUBDIVISION ? n : TERRAIN_MAX_SUBDIVISION;
            const float step = n > 0 ? 10.0f / float(n) : 10.0f;
            for (int r = 0; r <= used; ++r) {
                for (int c = 0; c <= used; ++c) {
                    STerrainVertex& v = cell.vertices[r][c];
                    const float x = float(10 * i) + float(r) * step;
                    const float y = float(10 * j) + float(c) * step;
                    v.vPos[0] = x;
                    v.vPos[1] = y;
                    v.vPos[2] = height(x, y);
                    v.dwColor = color;
                    v.fU = n > 0 ? float(r) / float(n) : 0.0f;
                    v.fV = n > 0 ? float(c) / float(n) : 0.0f;
                }
            }
            memcpy(&file[TerrainCellOffset(i, j)], &cell, sizeof(cell));
        }
    }
    return file;
}

inline std::vector<uint8_t> MakeTerrainFile(int cellsX, int cellsY, int subdivision, const HeightFn& height,
                                            DWORD color = 0xFFFFFFFF) {
    return MakeTerrainFile(cellsX, cellsY, [subdivision](int, int) { return subdivision; }, height, color);
}

inline std::vector<uint8_t> MakeFlatTerrainFile(int cellsX, int cellsY, int subdivision, float height) {
    return MakeTerrainFile(cellsX, cellsY, subdivision, [height](float, float) { return height; });
}

inline void WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
    FILE* f = fopen(name.c_str(), "wb");
    if (!f) return;
    if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

}  // namespace world_test
