// terrain_load.cpp -- reading teren.ter, checked: a file that does not fit leaves an empty map.
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "shell/disk_file.h"
#include "windows.h"
#include "world/terrain.h"

namespace {

// The file's contents before they are accepted.
struct SLoadedTerrain {
    STerrainFileHeader header;
    STerrainCell cells[TERRAIN_MAX_CELLS][TERRAIN_MAX_CELLS];
};

bool ReadAll(CDiskFile& file, void* buffer, DWORD count) { return file.Read(buffer, count) == count; }

// Reads the file in the order of its layout; false when it ends early or cannot be opened.
bool ReadTerrainFile(const char* fileName, SLoadedTerrain& terrain) {
    std::unique_ptr<CDiskFile> file(new CDiskFile(fileName, 0));
    STerrainFileHeader& h = terrain.header;
    return ReadAll(*file, h.byHeader, sizeof(h.byHeader)) && ReadAll(*file, &h.iCellsX, sizeof(h.iCellsX)) &&
           ReadAll(*file, &h.iCellsY, sizeof(h.iCellsY)) && ReadAll(*file, &h.byDropped1, sizeof(h.byDropped1)) &&
           ReadAll(*file, &h.dropped2, sizeof(h.dropped2)) && ReadAll(*file, h.byDropped3, sizeof(h.byDropped3)) &&
           ReadAll(*file, terrain.cells, sizeof(terrain.cells));
}

// Why the terrain cannot be used, or null when it can.
const char* CheckTerrain(const SLoadedTerrain& terrain) {
    if (terrain.header.iCellsX < 1 || terrain.header.iCellsX > TERRAIN_MAX_CELLS || terrain.header.iCellsY < 1 ||
        terrain.header.iCellsY > TERRAIN_MAX_CELLS)
        return "Pocet bunek mimo 1 az 12.";
    for (int i = 0; i < terrain.header.iCellsX; ++i) {
        for (int j = 0; j < terrain.header.iCellsY; ++j) {
            const STerrainCell& cell = terrain.cells[i][j];
            const int n = cell.bySubdivision;
            if (n < 1 || n > TERRAIN_MAX_SUBDIVISION) return "Deleni bunky mimo 1 az 8.";
            // The heights are planes through these points: one that is not a number spoils them all.
            for (int r = 0; r <= n; ++r)
                for (int c = 0; c <= n; ++c)
                    for (float v : cell.vertices[r][c].vPos)
                        if (!std::isfinite(v)) return "Souradnice bodu neni konecne cislo.";
        }
    }
    return nullptr;
}

void ReportBadTerrain(const char* fileName, const char* reason) {
    std::string text = std::string("Nelze nacist teren: ") + fileName + "\n" + reason;
    MessageBoxA(nullptr, text.c_str(), "Error", MB_ICONERROR);
}

}  // namespace

int CMap::Load(const char* fileName) {
    std::unique_ptr<SLoadedTerrain> terrain(new SLoadedTerrain());
    const char* reason = nullptr;
    if (!ReadTerrainFile(fileName, *terrain))
        reason = "Soubor chybi nebo je prilis kratky.";
    else
        reason = CheckTerrain(*terrain);

    if (reason) {
        ReportBadTerrain(fileName, reason);
        MakeEmpty();
    } else {
        memcpy(byHeader, terrain->header.byHeader, sizeof(byHeader));
        iCellsX = terrain->header.iCellsX;
        iCellsY = terrain->header.iCellsY;
        memcpy(static_cast<void*>(cells), terrain->cells, sizeof(cells));
    }
    return FillMapMesh(true);
}
