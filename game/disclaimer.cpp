// disclaimer.cpp -- the warning screen: its grey level by time and its five centred lines.
#include "game/disclaimer.h"

#include "game/intro.h"
#include "shell/devices.h"
#include "shell/geometry.h"
#include "shell/settings.h"
#include "shell/timer.h"

namespace {

const float kHoldEndMs = 2000.0f;

const struct {
    const char* text;
    int offset;  // from the middle of the screen, pixels down
} kLines[5] = {
    {"UPOZORNENI !!!", -90},
    {"Veskere obrazky postav jsou generovany", -50},
    {"nahodne.Vsechna jmena jsou smyslena.", -30},
    {"Jakakoliv podobnost se skutecnymi", 10},
    {"osobami je ciste nahodna.", 30},
};

// Rises from 0 to 250 over the first second, holds at 255 for the second, then falls; a late
// frame never goes below black.
int GreyLevel(float elapsed) {
    int level;
    if (elapsed < 1000.0f)
        level = (int)(elapsed / 1000.0f * 250.0f);
    else if (elapsed <= kHoldEndMs)
        level = 255;
    else
        level = (int)(250.0f - (elapsed - kHoldEndMs) / 1000.0f * 250.0f);
    if (level < 0) level = 0;
    if (level > 255) level = 255;
    return level;
}

void DrawLines(DWORD colour) {
    if (!g_pFont14) return;
    const LONG width = (LONG)g_Config.dwWidth, height = (LONG)g_Config.dwHeight;
    for (const auto& line : kLines) {
        SIZE size = {0, 0};
        g_pFont14->GetTextExtent(line.text, &size);
        const LONG x = width / 2 - size.cx / 2;
        const LONG y = height / 2 + line.offset;
        g_pFont14->DrawText((float)x, (float)y, colour, line.text, 0);
    }
}

}  // namespace

bool RenderDisclaimer() {
    BeginScreenFrame();
    const float elapsed = g_Timer.fElapsed;
    const DWORD g = (DWORD)GreyLevel(elapsed);
    DrawLines(0xFA000000 + g * 0x10000 + g * 0x100 + g);
    g_pd3dDevice->EndScene();
    g_pd3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
    return !(elapsed > kHoldEndMs || SkipKeyHeld());
}
