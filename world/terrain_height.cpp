// terrain_height.cpp -- the ground height under a point: the plane of the triangle the mesh draws there.
#include "world/terrain.h"

namespace {

D3DXVECTOR3 PositionOf(const STerrainVertex& v) { return D3DXVECTOR3(v.vPos[0], v.vPos[1], v.vPos[2]); }

}  // namespace

float CMap::GetHeight(float x, float y) const {
    // The cell indices truncate toward zero, so -10 < x < 0 still counts as cell 0 (when the map
    // has one). Points far off, or not numbers, are outside before they are truncated.
    const float qx = x / 10.0f;
    const float qy = y / 10.0f;
    const float limit = static_cast<float>(TERRAIN_MAX_CELLS);
    if (!(qx > -1.0f && qx < limit && qy > -1.0f && qy < limit)) return OUTSIDE;
    const int i = static_cast<int>(qx);
    const int j = static_cast<int>(qy);
    if (!IsValidCell(i, j)) return OUTSIDE;

    const STerrainCell& cell = cells[i][j];
    const int n = cell.bySubdivision;
    const float step = 10.0f / static_cast<float>(n);
    float fx = x - static_cast<float>(10 * i);
    float fy = y - static_cast<float>(10 * j);

    // The square; points just outside the map's near edges use the edge square's planes.
    int r = static_cast<int>(fx / step);
    int c = static_cast<int>(fy / step);
    r = r < 0 ? 0 : (r > n - 1 ? n - 1 : r);
    c = c < 0 ? 0 : (c > n - 1 ? n - 1 : c);
    fx -= static_cast<float>(r) * step;
    fy -= static_cast<float>(c) * step;

    const D3DXVECTOR3 a = PositionOf(cell.vertices[r][c]);
    D3DXVECTOR3 p, q;
    if (fx > fy) {
        p = PositionOf(cell.vertices[r + 1][c + 1]);
        q = PositionOf(cell.vertices[r + 1][c]);
    } else {
        p = PositionOf(cell.vertices[r][c + 1]);
        q = PositionOf(cell.vertices[r + 1][c + 1]);
    }
    const D3DXVECTOR3 ap = a - p;
    const D3DXVECTOR3 qp = q - p;
    D3DXVECTOR3 normal;
    D3DXVec3Cross(&normal, &ap, &qp);
    return p.z - ((x - p.x) * normal.x + (y - p.y) * normal.y) / normal.z;
}
