// terrain_mesh.cpp -- building the mesh of the cells around the camera: a counting walk, then a filling one.
#include "shell/error_box.h"
#include "world/terrain.h"

int CMap::TruncateCoordinate(float v) {
    if (!(v > -1.0e9f)) return v < 0.0f ? -1000000000 : 0;  // far below, or not a number
    if (!(v < 1.0e9f)) return 1000000000;
    return static_cast<int>(v);
}

int CMap::FillMapMesh(bool fill) {
    if (fill) {
        FillMapMesh(false);
        ReleaseMesh();
        if (wVertexCount == 0) return 0;  // no cell of the map near the camera: nothing to draw

        HRESULT hr = D3DXCreateMeshFVF(wIndexCount / 3, wVertexCount, 0, D3DFVF_VERTEX3D, pDevice, &pMesh);
        ErrorBox(hr, "D3DXCreateMeshFVF - pMesh");
        if (FAILED(hr) || !pMesh) {
            pMesh = nullptr;
            return 0;
        }
        BYTE* vertices = nullptr;
        BYTE* indices = nullptr;
        hr = pMesh->LockVertexBuffer(0, &vertices);
        ErrorBox(hr, "pMesh->LockVertexBuffer");
        if (FAILED(hr) || !vertices) {
            ReleaseMesh();
            return 0;
        }
        hr = pMesh->LockIndexBuffer(0, &indices);
        ErrorBox(hr, "pMesh->LockIndexBuffer");
        if (FAILED(hr) || !indices) {
            pMesh->UnlockVertexBuffer();
            ReleaseMesh();
            return 0;
        }
        pVertices = reinterpret_cast<SVertex3D*>(vertices);
        pIndices = reinterpret_cast<WORD*>(indices);
    }

    wVertexCount = 0;
    wIndexCount = 0;
    const int cx = TruncateCoordinate(pCameraPos->x / 10.0f);
    const int cy = TruncateCoordinate(pCameraPos->y / 10.0f);
    for (int i = cx - iViewRadius; i <= cx + iViewRadius; ++i)
        for (int j = cy - iViewRadius; j <= cy + iViewRadius; ++j)
            if (IsValidCell(i, j)) AddCellToMesh(CCellCoord(i, j), fill);

    if (fill) {
        pMesh->UnlockIndexBuffer();
        pMesh->UnlockVertexBuffer();
        pVertices = nullptr;
        pIndices = nullptr;
    }
    return 0;
}

void CMap::AddCellToMesh(CCellCoord cell, bool fill) {
    const STerrainCell& source = cells[cell.x][cell.y];
    const int n = source.bySubdivision;
    const int base = wVertexCount;

    // V[r][c] becomes vertex base + c(n+1) + r.
    for (int c = 0; c <= n; ++c) {
        for (int r = 0; r <= n; ++r) {
            if (fill) {
                const STerrainVertex& v = source.vertices[r][c];
                SVertex3D& out = pVertices[wVertexCount];
                out.vPos = D3DXVECTOR3(v.vPos[0], v.vPos[1], v.vPos[2]);
                out.dwColor = v.dwColor;
                out.fU = v.fU;
                out.fV = v.fV;
            }
            ++wVertexCount;
        }
    }
    // Every square is split along its diagonal from V[r][c] to V[r+1][c+1].
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            if (fill) {
                const WORD p = static_cast<WORD>(base + a * (n + 1) + b);
                WORD* out = pIndices + wIndexCount;
                out[0] = p;
                out[1] = static_cast<WORD>(p + n + 2);
                out[2] = static_cast<WORD>(p + 1);
                out[3] = p;
                out[4] = static_cast<WORD>(p + n + 1);
                out[5] = static_cast<WORD>(p + n + 2);
            }
            wIndexCount = static_cast<WORD>(wIndexCount + 6);
        }
    }
}
