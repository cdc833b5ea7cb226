// world_frame.cpp -- what the world costs a frame on the software renderer: the terrain, the clouds
// and five full sprite sets drawn along a path over the whole map, with the fragment programs built
// for each draw's states and with the general program, in alternating runs; beside them a bare
// clear-and-present frame of the same device and the terrain mesh rebuild. Prints the minimum and
// median of each and the speed-up of the built programs over the general one.
//
// Usage: bench_world_frame [data directory]   (default: ./data, the generator's output)
// Without teren.ter there it writes a 12 x 12 map of its own into a temporary directory.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "bench_runs.h"
#include "d3dx8.h"
#include "layer/device_control.h"
#include "layer/message_boxes.h"
#include "shell/timer.h"
#include "tests/world_headless_device.h"
#include "world/object_manager.h"
#include "world/sprite_set.h"
#include "world/terrain.h"
#include "world/texture_manager.h"
#include "world/world.h"

namespace {

constexpr int kPathFrames = 200;  // frames to go once round the path
constexpr int kRunFrames = 40;
constexpr int kRuns = 7;

// A rolling 12 x 12 map of cells subdivided 4 times, for when no generated one is at hand.
void WriteOwnTerrain(const char* name) {
    std::vector<BYTE> file(TERRAIN_FILE_SIZE, 0);
    STerrainFileHeader header = {};
    header.iCellsX = header.iCellsY = TERRAIN_MAX_CELLS;
    memcpy(file.data(), &header, sizeof(header));
    for (int i = 0; i < TERRAIN_MAX_CELLS; ++i) {
        for (int j = 0; j < TERRAIN_MAX_CELLS; ++j) {
            STerrainCell cell = {};
            const int n = 4;
            cell.bySubdivision = n;
            for (int r = 0; r <= n; ++r) {
                for (int c = 0; c <= n; ++c) {
                    STerrainVertex& v = cell.vertices[r][c];
                    v.vPos[0] = 10.0f * i + r * 2.5f;
                    v.vPos[1] = 10.0f * j + c * 2.5f;
                    v.vPos[2] = 1.0f + 0.8f * std::sin(v.vPos[0] * 0.2f) * std::cos(v.vPos[1] * 0.15f);
                    v.dwColor = 0xFFFFFFFF;
                    v.fU = r / float(n);
                    v.fV = c / float(n);
                }
            }
            memcpy(&file[TerrainCellOffset(i, j)], &cell, sizeof(cell));
        }
    }
    FILE* f = fopen(name, "wb");
    if (f) {
        fwrite(file.data(), 1, file.size(), f);
        fclose(f);
    }
}

// The camera's way: a loop over the whole map at eye height, looking ahead.
D3DXVECTOR3 PathPoint(const CMap& map, int frame, int frames) {
    const float t = 6.2831853f * frame / frames;
    const float w = 10.0f * map.iCellsX, h = 10.0f * map.iCellsY;
    const float x = w * (0.5f + 0.45f * std::sin(t)), y = h * (0.5f + 0.45f * std::sin(2 * t));
    return D3DXVECTOR3(x, y, map.GetHeight(x, y) + 0.25f);
}

void SetView(IDirect3DDevice8* device, const D3DXVECTOR3& eye, const D3DXVECTOR3& at, UINT width, UINT height) {
    D3DXMATRIX view, projection;
    const D3DXVECTOR3 up(0, 0, 1);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 2, float(width) / float(height), 0.1f, 200.0f);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
}

// Milliseconds a frame of a bare clear and present.
double BareFrames(IDirect3DDevice8* device) {
    const bench::Clock::time_point start = bench::Clock::now();
    for (int k = 0; k < kRunFrames; ++k) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x000080FF, 1.0f, 0);
        device->BeginScene();
        device->EndScene();
        device->Present(nullptr, nullptr, nullptr, nullptr);
    }
    return bench::MillisecondsSince(start) / kRunFrames;
}

// Milliseconds a frame of the world seen from the path's frames first .. first + kRunFrames.
double WorldFrames(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* camera, int first, UINT width,
                   UINT height) {
    const bench::Clock::time_point start = bench::Clock::now();
    for (int k = first; k < first + kRunFrames; ++k) {
        *camera = PathPoint(*world->pMap, k, kPathFrames);
        const D3DXVECTOR3 ahead = PathPoint(*world->pMap, k + 1, kPathFrames);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x000080FF, 1.0f, 0);
        device->BeginScene();
        SetView(device, *camera, D3DXVECTOR3(ahead.x, ahead.y, camera->z), width, height);
        world->Render();
        device->EndScene();
        device->Present(nullptr, nullptr, nullptr, nullptr);
    }
    return bench::MillisecondsSince(start) / kRunFrames;
}

void Measure(IDirect3D8* d3d, UINT width, UINT height) {
    IDirect3DDevice8* device = world_test::CreateHeadlessDevice(d3d, width, height);
    if (!device) {
        printf("%ux%u: no device\n", width, height);
        return;
    }
    CTimer timer;
    timer.fFrameTime = 16.0f;
    D3DXVECTOR3 camera(60, 60, 1);
    CWorld* world = new CWorld(device, &camera, &timer);
    world->LoadMap("teren.ter");
    IDirect3DTexture8* white = nullptr;
    if (SUCCEEDED(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &white))) {
        D3DLOCKED_RECT locked;
        if (SUCCEEDED(white->LockRect(0, &locked, nullptr, 0))) {
            for (int y = 0; y < 4; ++y)
                memset(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, 0xFF, 16);
            white->UnlockRect(0);
        }
        world->pTextureManager->textures[0] = white;
    }
    std::vector<CSpriteSet*> sets;
    for (int s = 0; s < 5; ++s) {
        CSpriteSet* set = new CSpriteSet(device, world, &camera, &timer, world->pObjectManager);
        set->bExpire = 0;
        for (int k = 0; k < CSpriteSet::MAX_SPRITES; ++k) set->sprites[set->AddRandomSprite()].iTexture = 0;
        sets.push_back(set);
    }
    world->Resume();

    bench::Runs bare, general, built, speedUps, rebuilds;
    for (int run = -1; run < kRuns; ++run) {  // run -1 builds the programs and warms up
        const int first = (run < 0 ? 0 : run) * kRunFrames % kPathFrames;
        const double b = BareFrames(device);
        // Alternate which goes first, so that neither always follows the other.
        double g = 0, s = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool forceGeneral = (turn == 0) == (run % 2 == 0);
            layer::ForceGeneralProgram(forceGeneral);
            (forceGeneral ? g : s) = WorldFrames(device, world, &camera, first, width, height);
        }
        layer::ForceGeneralProgram(false);
        camera = D3DXVECTOR3(60, 60, 1);
        const bench::Clock::time_point start = bench::Clock::now();
        for (int k = 0; k < 20; ++k) world->pMap->FillMapMesh(true);
        const double r = bench::MillisecondsSince(start) / 20;
        if (run < 0) continue;
        bare.Add(b);
        general.Add(g);
        built.Add(s);
        speedUps.Add(g / s);
        rebuilds.Add(r);
    }

    printf("%ux%u, %d runs of %d frames\n", width, height, kRuns, kRunFrames);
    bench::PrintTimes("bare frame (clear, present)", bare);
    bench::PrintTimes("world frame, general program", general);
    bench::PrintTimes("world frame, built programs", built);
    bench::PrintTimes("terrain mesh rebuild", rebuilds);
    bench::PrintRatio("speed-up built / general", speedUps);

    for (CSpriteSet* set : sets) delete set;
    delete world;
    device->Release();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    layer::SetMessageBoxesInteractive(false);
    const char* data = argc > 1 ? argv[1] : "data";
    std::filesystem::path scratch;
    if (chdir(data) != 0 || !std::filesystem::exists("teren.ter")) {
        char pattern[] = "/tmp/trevok-bench-XXXXXX";
        scratch = mkdtemp(pattern);
        std::filesystem::current_path(scratch);
        WriteOwnTerrain("teren.ter");
        printf("no teren.ter in %s: using a map of our own\n", data);
    }
    IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
    if (!d3d) {
        printf("no Direct3D\n");
        return 1;
    }
    Measure(d3d, 640, 480);
    Measure(d3d, 1024, 768);
    d3d->Release();
    if (!scratch.empty()) std::filesystem::remove_all(scratch);
    return 0;
}
