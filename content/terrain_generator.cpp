// terrain_generator.cpp -- teren.ter: 12 x 12 cells of rolling ground inside a raised rim.
//
// The playing field lies between the fence lines x, y = 20 and 100, where the ground comes down
// to exactly 0 so that the fence stands on it. Inside are hills and hollows; outside the ground
// rises gently towards the map's edge. Cells are subdivided 2, 4 or 8 times by how much the
// ground moves inside them; along a border between two cells both sides follow the coarser of
// the two grids, so the mesh has no cracks.
#include <cmath>
#include <cstring>

#include "content/content.h"
#include "world/terrain_file.h"

namespace content {
namespace {

const uint32_t kSeed = 0x7E7E;
const float kFenceLow = 20.0f, kFenceHigh = 100.0f;

float Bump(float x, float y, float cx, float cy, float radius, float height) {
    float d = std::hypot(x - cx, y - cy) / radius;
    if (d >= 1.0f) return 0.0f;
    float s = 1.0f - d * d;
    return height * s * s;
}

// 0 on a fence line, 1 from 7 units away from both lines of the axis.
float FenceMask(float t) {
    return SmoothStep(0.0f, 7.0f, std::fabs(t - kFenceLow)) * SmoothStep(0.0f, 7.0f, std::fabs(t - kFenceHigh));
}

float OutsideBy(float t) {
    if (t < kFenceLow) return kFenceLow - t;
    if (t > kFenceHigh) return t - kFenceHigh;
    return 0.0f;
}

float GroundHeight(float x, float y) {
    float rolling = (Fbm(x / 22.0f, y / 22.0f, 4, kSeed) - 0.5f) * 2.0f;
    float h = rolling > 0 ? rolling * 1.6f : rolling * 0.9f;
    h += Bump(x, y, 74.0f, 42.0f, 16.0f, 1.9f);   // the big hill
    h += Bump(x, y, 38.0f, 70.0f, 12.0f, -0.9f);  // the pond hollow
    h += Bump(x, y, 58.0f, 84.0f, 9.0f, 1.1f);
    h += Bump(x, y, 34.0f, 34.0f, 8.0f, 0.8f);
    float out = std::max(OutsideBy(x), OutsideBy(y));
    h += 1.4f * SmoothStep(0.0f, 18.0f, out);  // the rim beyond the fence
    return h * FenceMask(x) * FenceMask(y);
}

struct Sample {
    float z;
    float r, g, b;
};

// Height and shade of the ground at a point: sunlight from the west-north-west, darker hollows.
Sample GroundSample(float x, float y) {
    const float e = 0.5f;
    float z = GroundHeight(x, y);
    float dx = (GroundHeight(x + e, y) - GroundHeight(x - e, y)) / (2 * e);
    float dy = (GroundHeight(x, y + e) - GroundHeight(x, y - e)) / (2 * e);
    float len = std::sqrt(dx * dx + dy * dy + 1.0f);
    float nx = -dx / len, ny = -dy / len, nz = 1.0f / len;
    const float lx = -0.62f, ly = 0.35f, lz = 0.70f;
    float lit = Clamp01(nx * lx + ny * ly + nz * lz);
    float shade = 0.70f + 0.30f * lit;
    float hollow = Clamp01(-z * 0.35f);
    shade *= 1.0f - 0.18f * hollow;
    float warm = Clamp01(z * 0.12f);
    return {z, shade * (1.0f + 0.04f * warm), shade, shade * (0.94f - 0.04f * warm)};
}

Sample Lerp(const Sample& a, const Sample& b, float t) {
    return {a.z + (b.z - a.z) * t, a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// A point on a cell border, following the border's grid of m squares (t from 0 to 1 along it).
Sample BorderSample(float ax, float ay, float bx, float by, int m, float t) {
    float k = t * m;
    int k0 = int(std::floor(k));
    if (k0 >= m) return GroundSample(bx, by);  // the far corner, exactly as its other cells see it
    float f = k - k0;
    float t0 = float(k0) / m, t1 = float(k0 + 1) / m;
    Sample s0 = GroundSample(ax + (bx - ax) * t0, ay + (by - ay) * t0);
    if (f == 0.0f) return s0;
    Sample s1 = GroundSample(ax + (bx - ax) * t1, ay + (by - ay) * t1);
    return Lerp(s0, s1, f);
}

int Subdivision(int i, int j) {
    // How much the ground moves over the cell decides its resolution.
    float lo = 1e9f, hi = -1e9f;
    for (int a = 0; a <= 4; ++a)
        for (int b = 0; b <= 4; ++b) {
            float z = GroundHeight(10.0f * i + 2.5f * a, 10.0f * j + 2.5f * b);
            lo = std::min(lo, z);
            hi = std::max(hi, z);
        }
    float range = hi - lo;
    if (range > 0.9f) return 8;
    if (range > 0.3f) return 4;
    return 2;
}

uint32_t PackColor(const Sample& s) {
    auto c = [](float v) { return uint32_t(std::lround(Clamp01(v) * 255.0f)); };
    return 0xFF000000u | (c(s.r) << 16) | (c(s.g) << 8) | c(s.b);
}

}  // namespace

void WriteTerrain(const std::string& root) {
    const int N = TERRAIN_MAX_CELLS;
    int sub[TERRAIN_MAX_CELLS][TERRAIN_MAX_CELLS];
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j) sub[i][j] = Subdivision(i, j);

    STerrainFileHeader header;
    std::memset(&header, 0, sizeof(header));
    header.iCellsX = N;
    header.iCellsY = N;
    const uint8_t* raw = reinterpret_cast<const uint8_t*>(&header);
    Bytes file(raw, raw + sizeof(header));

    STerrainCell cell;
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j) {
            std::memset(&cell, 0, sizeof(cell));
            int n = sub[i][j];
            cell.bySubdivision = BYTE(n);
            float x0 = TERRAIN_CELL_SIZE * i, y0 = TERRAIN_CELL_SIZE * j, step = TERRAIN_CELL_SIZE / n;
            // The grid each border follows: the coarser of the two cells that share it.
            int west = i > 0 ? std::min(n, sub[i - 1][j]) : n, east = i < N - 1 ? std::min(n, sub[i + 1][j]) : n;
            int south = j > 0 ? std::min(n, sub[i][j - 1]) : n, north = j < N - 1 ? std::min(n, sub[i][j + 1]) : n;
            for (int r = 0; r <= n; ++r)
                for (int c = 0; c <= n; ++c) {
                    float x = x0 + r * step, y = y0 + c * step;
                    float tr = float(r) / n, tc = float(c) / n;
                    Sample s;
                    if (r == 0) s = BorderSample(x0, y0, x0, y0 + 10, west, tc);
                    else if (r == n) s = BorderSample(x0 + 10, y0, x0 + 10, y0 + 10, east, tc);
                    else if (c == 0) s = BorderSample(x0, y0, x0 + 10, y0, south, tr);
                    else if (c == n) s = BorderSample(x0, y0 + 10, x0 + 10, y0 + 10, north, tr);
                    else s = GroundSample(x, y);
                    STerrainVertex& v = cell.vertices[r][c];
                    v.vPos[0] = x;
                    v.vPos[1] = y;
                    v.vPos[2] = s.z;
                    v.dwColor = PackColor(s);
                    v.fU = tr;
                    v.fV = tc;
                }
            const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&cell);
            file.insert(file.end(), bytes, bytes + sizeof(cell));
        }
    WriteGameFile(root, "teren.ter", file);
}

}  // namespace content
