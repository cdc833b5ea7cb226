// fuzz_terrain_file.cpp -- libFuzzer entry for teren.ter, read by the map on a real headless
// device: a file is either refused, leaving an empty map, or taken within the map's limits;
// the mesh around the camera is built and drawn, and heights are asked for. The bytes the
// reader drops place the camera, the 16 kept ones the points asked for.
#include <dlfcn.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "shell/timer.h"
#include "world/terrain.h"
#include "world_headless_device.h"

namespace {

IDirect3DDevice8* g_device = nullptr;
D3DXVECTOR3 g_camera(0, 0, 0);
CTimer g_timer;
CMap* g_map = nullptr;

// Whether the map holds a terrain within its limits: cell counts, subdivisions and finite points.
bool Sound(const CMap& map) {
    if (map.iCellsX < 1 || map.iCellsX > TERRAIN_MAX_CELLS || map.iCellsY < 1 || map.iCellsY > TERRAIN_MAX_CELLS)
        return false;
    for (int i = 0; i < map.iCellsX; ++i)
        for (int j = 0; j < map.iCellsY; ++j) {
            const int n = map.cells[i][j].bySubdivision;
            if (n < 1 || n > TERRAIN_MAX_SUBDIVISION) return false;
            for (int r = 0; r <= n; ++r)
                for (int c = 0; c <= n; ++c)
                    for (float v : map.cells[i][j].vertices[r][c].vPos)
                        if (!std::isfinite(v)) return false;
        }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The graphics driver's libraries stay mapped, so that what they keep is not taken for leaks.
    for (const char* library : {"libEGL_mesa.so.0", "libGLX_mesa.so.0", "libglapi.so.0"})
        dlopen(library, RTLD_LAZY | RTLD_NODELETE);
    fuzz::RunHeadless();
    IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
    if (!d3d || !(g_device = world_test::CreateHeadlessDevice(d3d, 32, 32))) std::abort();
    g_map = new CMap(g_device, nullptr, &g_camera, &g_timer);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::WriteWholeFile("teren.ter", data, size);
    g_camera = D3DXVECTOR3(size > 33 ? data[33] * 0.5f - 10.0f : 5.0f, size > 34 ? data[34] * 0.5f - 10.0f : 5.0f, 2.0f);
    g_map->Load("teren.ter");
    const bool empty = g_map->iCellsX == 0 && g_map->iCellsY == 0 && !g_map->pMesh;
    if (empty == (size >= TERRAIN_FILE_SIZE && Sound(*g_map))) std::abort();
    g_device->BeginScene();
    g_map->Render();
    g_device->EndScene();
    for (size_t k = 0; k + 1 < 16 && k + 1 < size; k += 2) {
        volatile float h = g_map->GetHeight(data[k] * 0.5f - 5.0f, data[k + 1] * 0.5f - 5.0f);
        (void)h;
    }
    layer::ClearShownMessageBoxes();
    return 0;
}
