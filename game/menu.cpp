// menu.cpp -- the main menu and the weapon shop over the paused world, and the menu cursor.
#include "game/menu.h"

#include <algorithm>
#include <cstdio>

#include "game/game_database.h"
#include "game/game_loading.h"
#include "game/input_state.h"
#include "game/overlay.h"
#include "shell/geometry.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "world/world.h"

namespace {

const UINT kCursorQuad = 24, kMoneyIconQuad = 36, kShopPictureQuad = 52;
const int kFirstShopWeapon = 1, kLastShopWeapon = 5, kShopBackRow = 8;
const DWORD kTitleColour = 0xB4FD97D9, kTopicColour = 0xB4FB0CA8, kVersionColour = 0xFFFFFFFF;
const DWORD kOwnedColour = 0xB400FF00, kTooDearColour = 0xB4FF0000, kDetailColour = 0xDCFB0DA8;
const DWORD kMoneyColour = 0xC8FFFFFF;

int Width() { return int(g_Config.dwWidth); }
int Height() { return int(g_Config.dwHeight); }

// The main menu's rows, 20 pixels apart from H/2 - 50; row 3 is an empty line.
enum MenuRow { kContinue = 0, kNewGame = 1, kShop = 2, kQuit = 4 };
struct MenuText {
    int row;
    const char* text;
};
const MenuText kMenuTexts[] = {
    {kContinue, "Pokracovat"}, {kNewGame, "Nova hra"}, {kShop, "Nakup zbrani"}, {kQuit, "Konec"}};

int MenuRowsTop() { return Height() / 2 - 50; }

void ChooseMenuRow(int row) {
    switch (row) {
        case kContinue:
            g_pWorld->Resume();
            g_iGameState = GS_PLAYING;
            break;
        case kNewGame:
            g_pWorld->Resume();
            g_iGameState = GS_PLAYING;
            NewGame();
            break;
        case kShop: g_iGameState = GS_SHOP; break;  // the world stays paused
        case kQuit: SendMessageA(g_hWnd, WM_CLOSE, 0, 0); break;
        default: break;
    }
}

// The title and the topic stand 150 and 130 above the middle; on a screen too short for that both
// move down together to its top edge.
void DrawTopic() {
    const int top = std::max(Height() / 2 - 150, 0);
    // The title is centred as if it had its colon.
    SIZE withColon = {0, 0};
    g_pFont10->GetTextExtent("Tema dne:", &withColon);
    DrawTextInside(g_pFont10, Width() / 2 - int(withColon.cx) / 2, top, kTitleColour, "Tema dne");
    DrawTextInside(g_pFont14, CentredX(g_pFont14, g_GameDB.szTopic), top + 20, kTopicColour, g_GameDB.szTopic);
}

// The shop's rows, 20 pixels apart from H/2 - 50, with "Zpet" on row 8; on a screen too short for
// "Zpet" they all move up together, so that every row is hit where it is drawn.
int ShopRowsTop() {
    const int top = Height() / 2 - 50;
    const int below = top + 20 * kShopBackRow + int(TextSize(g_pFont, "Zpet").cy) - Height();
    return std::max(top - std::max(below, 0), 0);
}

bool CanBuy(int weapon) {
    return g_Weapons[weapon].iPrice <= g_iMoney && !g_Inventory[weapon].bOwned;
}

void ChooseShopRow(int row) {
    if (row >= kFirstShopWeapon && row <= kLastShopWeapon && CanBuy(row)) {
        // Only the weapon: its ammunition is bought in play with N.
        g_Inventory[row].bOwned = 1;
        g_iMoney -= g_Weapons[row].iPrice;
    } else if (row == kShopBackRow) {
        // Straight back to play, not to the menu.
        g_pWorld->Resume();
        g_iGameState = GS_PLAYING;
    }
}

// Owned green, too dear red, whether hovered or not; otherwise the row colours.
DWORD WeaponRowColour(int weapon, int hovered) {
    if (g_Inventory[weapon].bOwned) return kOwnedColour;
    if (g_iMoney < g_Weapons[weapon].iPrice) return kTooDearColour;
    return RowColour(weapon, hovered);
}

// Picture, long name, price and description of any hovered weapon, owned or not.
void DrawWeaponDetail(int weapon) {
    const SWeapon& w = g_Weapons[weapon];
    const int x = Width() / 2 - 64, middle = Height() / 2;
    DrawOverlayQuad(kShopPictureQuad, w.iIconTexture);
    DrawTextInside(g_pFont14, x, middle - 106, kDetailColour, w.pszLongName);
    std::snprintf(g_szNumber, sizeof g_szNumber, "$%d", w.iPrice);
    DrawTextInside(g_pFont10, x, middle + 6, kDetailColour, g_szNumber);
    DrawTextInside(g_pFont10, x, middle + 30, kDetailColour, w.pszDescription);
}

void DrawMoney() {
    DrawOverlayQuad(kMoneyIconQuad, g_iTexHudIcons);
    std::snprintf(g_szNumber, sizeof g_szNumber, "%d", g_iMoney);
    DrawTextInside(g_pFont, Width() / 2 + 63, 9, kMoneyColour, g_szNumber);
}

}  // namespace

void UpdateCursorQuad() {
    SVertex2D* vertices = LockOverlayQuads();
    if (!vertices) return;
    const float cx = float(g_ptCursor.x), cy = float(g_ptCursor.y);
    SVertex2D* quad = vertices + kCursorQuad;
    quad[0].x = cx - 10.0f;
    quad[0].y = cy + 10.0f;
    quad[1].x = cx - 10.0f;
    quad[1].y = cy - 10.0f;
    quad[2].x = cx + 10.0f;
    quad[2].y = cy + 10.0f;
    quad[3].x = cx + 10.0f;
    quad[3].y = cy - 10.0f;
    UnlockOverlayQuads();
}

int RowUnderCursor(bool inColumn, int top) { return inColumn ? (g_ptCursor.y - top) / 20 : NO_ROW; }

bool CursorInListColumn() { return g_ptCursor.x >= 26 && g_ptCursor.x <= 179; }

bool Clicked() { return ButtonPressed(0); }

void RenderMainMenu() {
    UpdateCursorQuad();
    const int half = Width() / 2;
    const int row = RowUnderCursor(g_ptCursor.x > half - 50 && g_ptCursor.x < half + 50, MenuRowsTop());
    if (Clicked()) ChooseMenuRow(row);

    DrawTopic();
    for (const MenuText& m : kMenuTexts)
        DrawTextInside(g_pFont, CentredX(g_pFont, m.text), MenuRowsTop() + 20 * m.row, RowColour(m.row, row), m.text);
    char version[32];
    std::snprintf(version, sizeof version, "v%d.%d.%d.%d", 1, 2, 1, 563);
    DrawTextInside(g_pFont8, Width() - 80, Height() - 14, kVersionColour, version);
    DrawOverlayQuad(kCursorQuad, g_iTexCross);
}

void RenderShop() {
    UpdateCursorQuad();
    const int top = ShopRowsTop();
    const int row = RowUnderCursor(CursorInListColumn(), top);
    if (Clicked()) ChooseShopRow(row);

    // Weapon 0, the chainsaw, is always owned and not offered: row 0 stays empty.
    for (int i = kFirstShopWeapon; i <= kLastShopWeapon; ++i)
        DrawTextInside(g_pFont, 30, top + 20 * i, WeaponRowColour(i, row), g_Weapons[i].pszShortName);
    if (row >= kFirstShopWeapon && row <= kLastShopWeapon) DrawWeaponDetail(row);
    DrawTextInside(g_pFont, 30, top + 20 * kShopBackRow, RowColour(kShopBackRow, row), "Zpet");
    DrawMoney();
    DrawOverlayQuad(kCursorQuad, g_iTexCross);
}
