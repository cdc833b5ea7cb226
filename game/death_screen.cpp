// death_screen.cpp -- the death screen after every death of the player, with its respawn or new
// game, and the reward list of the enemy types.
#include "game/death_screen.h"

#include <algorithm>
#include <cstdio>

#include "game/game_database.h"
#include "game/game_loading.h"
#include "game/hud.h"
#include "game/input_state.h"
#include "game/menu.h"
#include "game/overlay.h"
#include "shell/geometry.h"
#include "shell/settings.h"
#include "world/world.h"

char g_szText[256];

namespace {

const DWORD kLineColour = 0xFAFB0DA8, kDetailColour = 0xDCFB0DA8;
const UINT kCursorQuad = 24, kPortraitQuad = 56;

int Width() { return int(g_Config.dwWidth); }
int Height() { return int(g_Config.dwHeight); }

// A line centred on its own extent, `offset` below the middle of the screen.
void DrawDeathLine(const char* text, int offset) {
    const SIZE size = TextSize(g_pFont, text);
    DrawTextInside(g_pFont, Width() / 2 - int(size.cx) / 2, Height() / 2 - int(size.cy) / 2 + offset, kLineColour,
                   text);
}

// A new place in the same game: score, money, kills, weapons, ammunition, zoom and the spawn
// clocks stay as they are.
void Respawn() {
    EmptySpriteSets();
    PutCameraAtRandomPlace();
    g_iHealth = 100;
    g_fShake = 0.0f;
    g_iGameState = GS_PLAYING;
}

// The names start 150 above the middle with "Zpet" one empty row below the last. On a screen too
// short for that the list moves down to its top edge, or up so that "Zpet" stays on it and is hit
// where it is drawn. A list taller than the whole screen starts at its top edge; its last texts are
// then kept on the bottom edge, over one another.
int RewardListTop(int types) {
    const int backBottom = 20 * (types + 1) + int(TextSize(g_pFont, "Zpet").cy);
    return std::max(std::min(Height() / 2 - 150, Height() - backBottom), 0);
}

// Portrait, name, reward and description of the enemy type.
void DrawTypeDetail(const SEnemyType& type) {
    const int x = Width() / 2 - 64, middle = Height() / 2;
    DrawOverlayQuad(kPortraitQuad, type.iTexture);
    std::snprintf(g_szNumber, sizeof g_szNumber, "Odmena $%d", type.iReward);
    DrawTextInside(g_pFont14, x, middle - 138, kDetailColour, type.szName);
    DrawTextInside(g_pFont10, x, middle + 30, kDetailColour, g_szNumber);
    DrawTextInside(g_pFont10, x, middle + 44, kDetailColour, type.szDescription);
}

}  // namespace

void RenderDeathScreen() {
    // The death check has already taken the life.
    const bool livesLeft = g_iLives >= 1;
    if (livesLeft) {
        std::snprintf(g_szNumber, sizeof g_szNumber, "JSI MRTEV");
        std::snprintf(g_szText, sizeof g_szText, "Mas jeste %d zivoty", g_iLives);
    } else {
        std::snprintf(g_szNumber, sizeof g_szNumber, "JSI MRKEV");
        std::snprintf(g_szText, sizeof g_szText, "Uz navzdy...");
    }
    DrawDeathLine(g_szNumber, -40);
    DrawDeathLine(g_szText, 40);

    // Held, not only pressed: a fresh Esc has already been taken by input processing to the menu.
    if (KeyHeld(DIK_ESCAPE) || KeyHeld(DIK_RETURN) || KeyHeld(DIK_SPACE)) {
        if (livesLeft) {
            Respawn();
        } else {
            NewGame();
            g_pWorld->Pause();
            g_iGameState = GS_MAINMENU;
        }
    }
    // The counters of play, in every frame of the state.
    DrawHudPanels();
}

void RenderRewardList() {
    UpdateCursorQuad();
    const int types = std::min(std::max(g_GameDB.iTypeCount, 0), MAX_ENEMY_TYPES);
    const int top = RewardListTop(types);
    const int row = RowUnderCursor(CursorInListColumn(), top);
    const int backRow = types + 1;
    // Back to the menu, the world's pause untouched.
    if (Clicked() && row == backRow) g_iGameState = GS_MAINMENU;

    for (int i = 0; i < types; ++i)
        DrawTextInside(g_pFont, 30, top + 20 * i, RowColour(i, row), g_GameDB.types[i].szName);
    if (row >= 0 && row < types) DrawTypeDetail(g_GameDB.types[row]);
    DrawTextInside(g_pFont, 30, top + 20 * backRow, RowColour(backRow, row), "Zpet");
    DrawOverlayQuad(kCursorQuad, g_iTexCross);
}
