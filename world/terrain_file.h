// terrain_file.h -- the records of the terrain file teren.ter, as they lie on disk and in memory.
//
// The file is a raw little-endian image: a 37-byte header (16 free bytes, the cell counts and
// 13 bytes that the reader drops) followed by all 12 x 12 cells, the x index running slowest.
// Only the cells with i < iCellsX and j < iCellsY belong to the map.
#pragma once

#include <cstddef>

#include "wintypes.h"

// Two 32-bit signed ints: a terrain cell's indices, or a point in screen pixels.
struct CCellCoord {
    CCellCoord() = default;  // both unset
    CCellCoord(INT nx, INT ny) : x(nx), y(ny) {}
    INT x;
    INT y;
};
static_assert(sizeof(CCellCoord) == 8, "CCellCoord is two 32-bit ints");

// One vertex of a cell's grid.
struct STerrainVertex {
    FLOAT vPos[3];        // x, y, z in world units (z is the height)
    BYTE byUnused1[12];   // not read
    DWORD dwColor;        // ARGB
    FLOAT fU;
    FLOAT fV;
    BYTE byUnused2[4];    // not read
};
static_assert(sizeof(STerrainVertex) == 40, "STerrainVertex is 40 bytes");
static_assert(offsetof(STerrainVertex, vPos) == 0, "vPos at 0");
static_assert(offsetof(STerrainVertex, dwColor) == 24, "dwColor at 24");
static_assert(offsetof(STerrainVertex, fU) == 28, "fU at 28");
static_assert(offsetof(STerrainVertex, fV) == 32, "fV at 32");

const int TERRAIN_MAX_CELLS = 12;          // cells along each axis in the file
const int TERRAIN_MAX_SUBDIVISION = 8;     // squares along each side of a cell
const float TERRAIN_CELL_SIZE = 10.0f;     // world units along each side of a cell

// One cell: an n x n grid of squares over (n+1) x (n+1) vertices. V[r][c]: r along x, c along y.
struct STerrainCell {
    BYTE bySubdivision;   // n, 1 to 8
    BYTE byPadding[3];    // not read
    STerrainVertex vertices[TERRAIN_MAX_SUBDIVISION + 1][TERRAIN_MAX_SUBDIVISION + 1];
};
static_assert(sizeof(STerrainCell) == 3244, "STerrainCell is 3,244 bytes");
static_assert(offsetof(STerrainCell, vertices) == 4, "vertices at 4");

#pragma pack(push, 1)
// The start of the file, read field by field.
struct STerrainFileHeader {
    BYTE byHeader[16];    // kept, not interpreted
    INT iCellsX;          // 1 to 12
    INT iCellsY;          // 1 to 12
    BYTE byDropped1;      // read and dropped
    CCellCoord dropped2;  // read and dropped
    BYTE byDropped3[4];   // read and dropped
};
#pragma pack(pop)
static_assert(sizeof(STerrainFileHeader) == 37, "the terrain file header is 37 bytes");
static_assert(offsetof(STerrainFileHeader, iCellsX) == 16, "iCellsX at 16");
static_assert(offsetof(STerrainFileHeader, iCellsY) == 20, "iCellsY at 20");
static_assert(offsetof(STerrainFileHeader, byDropped1) == 24, "dropped byte at 24");
static_assert(offsetof(STerrainFileHeader, dropped2) == 25, "dropped pair at 25");
static_assert(offsetof(STerrainFileHeader, byDropped3) == 33, "dropped bytes at 33");

const DWORD TERRAIN_CELLS_OFFSET = sizeof(STerrainFileHeader);
const DWORD TERRAIN_CELLS_BYTES = sizeof(STerrainCell) * TERRAIN_MAX_CELLS * TERRAIN_MAX_CELLS;
const DWORD TERRAIN_FILE_SIZE = TERRAIN_CELLS_OFFSET + TERRAIN_CELLS_BYTES;
static_assert(TERRAIN_CELLS_BYTES == 467136, "the cell array is 467,136 bytes");
static_assert(TERRAIN_FILE_SIZE == 467173, "teren.ter is 467,173 bytes");

// Byte offset of cell (i, j) in the file.
inline DWORD TerrainCellOffset(int i, int j) {
    return TERRAIN_CELLS_OFFSET + sizeof(STerrainCell) * (TERRAIN_MAX_CELLS * i + j);
}
