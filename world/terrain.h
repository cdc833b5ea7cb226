// terrain.h -- the height-map terrain: up to 12 x 12 cells of 10 x 10 units read from teren.ter,
// drawn as one mesh of the 9 x 9 cells around the camera.
#pragma once

#include "d3dx8.h"
#include "world/terrain_file.h"
#include "world/vertex3d.h"
#include "world/world_object.h"

class CMap : public CWorldObject {
public:
    CMap(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer);
    ~CMap() override;

    void Render() override;
    void SetRenderStates(int reserved) override;

    // Reads the terrain file and builds the mesh around the camera. A file that is missing, short
    // or out of bounds is reported and leaves an empty map. Returns the mesh build's result, 0.
    int Load(const char* fileName);
    bool IsValidCell(int i, int j) const;
    // Rebuilds the mesh from the cells around the camera; with fill false it only counts.
    int FillMapMesh(bool fill);
    void AddCellToMesh(CCellCoord cell, bool fill);
    // The ground height at (x, y), or OUTSIDE outside the map.
    float GetHeight(float x, float y) const;

    static constexpr float OUTSIDE = 65535.0f;

    IDirect3DTexture8* pTexture;  // tex6.bmp
    ID3DXMesh* pMesh;             // the cells around the camera; null when there is nothing to draw
    SVertex3D* pVertices;         // the mesh's vertices while a build fills them
    WORD* pIndices;               // the mesh's indices while a build fills them
    D3DXVECTOR3 vLastCamera;      // the camera at the previous Render
    bool bHasLastCamera;          // false until the first Render
    WORD wVertexCount;
    WORD wIndexCount;
    BYTE byHeader[16];
    int32_t iCellsX;
    int32_t iCellsY;
    int32_t iViewRadius;  // cells drawn on each side of the camera's cell
    STerrainCell cells[TERRAIN_MAX_CELLS][TERRAIN_MAX_CELLS];  // first index along x

private:
    void MakeEmpty();
    void ReleaseMesh();
    // A coordinate truncated toward zero, held within int range.
    static int TruncateCoordinate(float v);
    // The cell index of a camera coordinate, as the rebuild test counts it.
    static int CellOf(float v);
};
