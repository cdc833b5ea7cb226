// game_frame.cpp -- what the whole game frame costs on the software renderer: play with 64 enemies,
// full blood, flame and dust sets and the HUD, beside the world-only frame of the same scene; then
// the worst fight (64 enemies of mixed types raging, falling and shooting, 64 projectiles, the
// explosions in every slot left). Both are drawn with the fragment programs built for each draw's
// states and with the general program, in turns within each run.
//
// Usage: bench_game_frame [data directory]   (default: ./data, the generator's output)
// Each figure is the time of one frame over several runs: their minimum and their median; the
// speed-up is the median of each run's ratio.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "bench_runs.h"

#include "game/enemy.h"
#include "game/explosion.h"
#include "game/frame.h"
#include "game/game_database.h"
#include "game/game_loading.h"
#include "game/particles.h"
#include "game/projectile.h"
#include "layer/clock.h"
#include "layer/device_control.h"
#include "layer/message_boxes.h"
#include "shell/camera.h"
#include "shell/devices.h"
#include "shell/geometry.h"
#include "shell/settings.h"
#include "shell/timer.h"
#include "world/terrain.h"
#include "world/world.h"

namespace {

const int kRuns = 7;
const int kFramesPerRun = 40;
const uint32_t kFrameStep = 16;  // milliseconds of game time per frame

// Milliseconds a frame of kFramesPerRun frames on the manual clock.
template <class Frame>
double TimeRun(Frame frame) {
    const bench::Clock::time_point start = bench::Clock::now();
    for (int k = 0; k < kFramesPerRun; ++k) {
        layer::AdvanceClock(kFrameStep);
        frame();
    }
    return bench::MillisecondsSince(start) / kFramesPerRun;
}

// One run of the frame with the general program and one with the built ones, the two taking turns
// to go first from run to run.
template <class Frame>
void TimeBothPrograms(int run, Frame frame, double* built, double* general) {
    for (int turn = 0; turn < 2; ++turn) {
        const bool forceGeneral = (turn == 0) == (run % 2 == 0);
        layer::ForceGeneralProgram(forceGeneral);
        *(forceGeneral ? general : built) = TimeRun(frame);
    }
    layer::ForceGeneralProgram(false);
}

// Every sprite of the set in use with the texture, living for as long as the benchmark runs.
void Fill(CSpriteSet* set, int texture) {
    for (int k = 0; k < CSpriteSet::MAX_SPRITES; ++k) {
        const int slot = set->AddRandomSprite();
        if (slot < 0) return;
        set->sprites[slot].iTexture = texture;
        set->sprites[slot].fLifetime = 1e9f;
        set->sprites[slot].vVelocity = D3DXVECTOR3(0, 0, 0);
    }
}

// Play in full swing: 64 enemies spawned by the game's own clock, the particle sets full, the
// assault rifle in hand with its crosshair, picture and ammunition counter.
void SetUpScene() {
    g_pWorld->Resume();
    g_iGameState = GS_PLAYING;
    g_fGameTime = 1300.0f;  // an enemy every frame
    for (int k = 0; k < 70; ++k) {
        layer::AdvanceClock(kFrameStep);
        RenderFrame();
    }
    Fill(g_pBlood, g_iTexBlood);
    Fill(g_pFlames, g_iTexFlame);
    Fill(g_pDust, g_iTexDust);
    g_Inventory[3] = {1, 120};
    g_iCurrentWeapon = 3;
    g_iHealth = 1000000;  // nothing ends the game while it is measured
}

// The worst fight, kept up before every frame: every enemy of a type in turn, each in the middle
// of its behaviour (raging without ever blowing up, falling without ever landing, shooting every
// frame), every projectile in flight at the eye, and explosions asked for 16 at a time, of which
// the object manager takes what its slots hold.
const int kExplosionsAsked = 16;
int g_iExplosionsPlaced = 0;

void KeepWorstFight() {
    const CMap* map = g_pWorld->pMap;
    for (int i = 0; i < CSpriteSet::MAX_SPRITES; ++i) {
        SSprite& enemy = g_pEnemies->sprites[i];
        if (!enemy.bActive && g_pEnemies->AddRandomSprite() == i) {
            enemy.iType = i % g_GameDB.iTypeCount;
            enemy.iTexture = g_GameDB.types[enemy.iType].iTexture;
            enemy.dwFlags = g_GameDB.types[enemy.iType].dwFlags;
            enemy.fHealth = 1e9f;
        }
        const SEnemyType& type = g_GameDB.types[enemy.iType];
        enemy.fAge = type.iReward < 1 ? 22.0f : 15.0f;  // sinking; raging short of its blow-up
        enemy.fTimer = 8.0f;                             // a shot in every frame
        // Eight rows of eight in front of the eye, from 5 to 26 units away.
        const D3DXVECTOR3 place =
            g_Camera.vPos + g_Camera.vLook * float(5 + 3 * (i % 8)) + g_Camera.vRight * float(2 * (i / 8) - 7);
        const float ground = map->GetHeight(place.x, place.y) + 0.25f;
        enemy.vPos = D3DXVECTOR3(place.x, place.y, ground);
        if (enemy.dwFlags & ETF_FALLING) {
            enemy.vPos.z = ground + 10.0f;
            enemy.vVelocity = D3DXVECTOR3(0.0f, 0.0f, -3.0f);
        }
    }
    for (int i = 0; i < CSpriteSet::MAX_SPRITES; ++i) {
        SSprite& shot = g_pProjectiles->sprites[i];
        if (shot.bActive || g_pProjectiles->AddRandomSprite() != i) continue;
        const SSprite& shooter = g_pEnemies->sprites[i];
        shot.iType = shooter.iType;
        shot.iTexture = g_GameDB.types[shooter.iType].iTexture2;
        shot.vPos = shooter.vPos + D3DXVECTOR3(0.0f, 0.0f, 2.0f);
        shot.vVelocity = g_Camera.vPos - shot.vPos;
        shot.fLifetime = 12.0f;
    }
    g_iExplosionsPlaced = 0;
    for (CManagedObject* member : g_pWorld->pObjectManager->members)
        g_iExplosionsPlaced += dynamic_cast<CExplosion*>(member) != nullptr;
    for (int k = g_iExplosionsPlaced; k < kExplosionsAsked; ++k) {
        const SSprite& near = g_pEnemies->sprites[k];
        if (SetOffExplosion(*g_pEnemies, near.vPos, k % 2 ? 0xFFFF00FF : 0xFFFFFFFF)) ++g_iExplosionsPlaced;
    }
    g_iHealth = 1000000;
}

void WorstFightFrame() {
    KeepWorstFight();
    RenderFrame();
}

// The same scene under the same fog, without input, camera, fence, HUD or text.
void WorldOnlyFrame() {
    g_pd3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x000080FF, 1.0f, 0);
    g_pd3dDevice->BeginScene();
    if (g_Config.bFog) SetFog(0xFF808080, D3DFOG_LINEAR);
    g_Timer.Update();
    SetupMatrices();
    g_pWorld->Render();
    g_pd3dDevice->EndScene();
    g_pd3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
}

void Measure(UINT width, UINT height) {
    // Each size starts from the same state, so that both show the same scene.
    srand(1);
    g_Timer = CTimer();
    g_Camera = CCamera(&g_Timer);
    g_fSpawnTimer = g_fShake = 0.0f;
    SetConfigDefaults();
    g_Config.dwWidth = width;
    g_Config.dwHeight = height;
    g_Config.bFullscreen = 0;
    if (FAILED(InitDirectInput(nullptr)) || FAILED(InitD3D(nullptr))) {
        printf("%ux%u: no device\n", width, height);
        Cleanup();
        return;
    }
    InitGeometry();
    LoadGameData();
    g_Timer.Update();
    SetUpScene();

    bench::Runs world, built, general, speedUps;
    for (int run = -1; run < kRuns; ++run) {  // run -1 builds the programs and warms up
        const double w = TimeRun(WorldOnlyFrame);
        double g = 0, b = 0;
        TimeBothPrograms(run, RenderFrame, &b, &g);
        if (run < 0) continue;
        world.Add(w);
        built.Add(b);
        general.Add(g);
        speedUps.Add(g / b);
    }
    int enemies = 0;
    for (const SSprite& enemy : g_pEnemies->sprites) enemies += enemy.bActive;
    printf("%ux%u, %d enemies, %d runs of %d frames\n", width, height, enemies, kRuns, kFramesPerRun);
    bench::PrintTimes("world only, built programs", world);
    bench::PrintTimes("game frame, built programs", built);
    bench::PrintTimes("game frame, general program", general);
    printf("  %-30s %.1f fps with the built programs, %.1f with the general one; x%.2f of the world\n",
           "at the median", 1000.0 / built.Median(), 1000.0 / general.Median(), built.Median() / world.Median());
    bench::PrintRatio("speed-up built / general", speedUps);

    // The worst fight comes last: it changes the scene for good.
    bench::Runs fight, fightGeneral, fightSpeedUps;
    for (int run = -1; run < kRuns; ++run) {  // run -1 sets the fight up and warms up
        double g = 0, b = 0;
        TimeBothPrograms(run, WorstFightFrame, &b, &g);
        if (run < 0) continue;
        fight.Add(b);
        fightGeneral.Add(g);
        fightSpeedUps.Add(g / b);
    }
    bench::PrintTimes("worst fight, built programs", fight);
    bench::PrintTimes("worst fight, general program", fightGeneral);
    printf("  %-30s %.1f fps with the built programs, %.1f with the general one; x%.2f of the world\n"
           "  %-30s 64 enemies, 64 projectiles, %d of %d explosions placed\n",
           "at the median", 1000.0 / fight.Median(), 1000.0 / fightGeneral.Median(), fight.Median() / world.Median(),
           "", g_iExplosionsPlaced, kExplosionsAsked);
    bench::PrintRatio("speed-up built / general", fightSpeedUps);

    FreeGameData();
    Cleanup();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    layer::SetMessageBoxesInteractive(false);
    const char* data = argc > 1 ? argv[1] : "data";
    if (chdir(data) != 0) {
        printf("no data directory %s\n", data);
        return 1;
    }
    layer::UseManualClock(1000);
    Measure(640, 480);
    Measure(1024, 768);
    return 0;
}
