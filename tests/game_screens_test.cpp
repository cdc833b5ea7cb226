// game_screens_test.cpp -- menu, shop, death screen and reward list read back from the screen: hit
// boxes, colours, purchases, texts' places, the cursor, death lines, counters, respawns, last life.
#include <cstdio>

#include "game/death_screen.h"
#include "game/menu.h"
#include "game/overlay.h"
#include "game_fixture.h"
#include "playthrough.h"

namespace {

template <UINT W, UINT H>
class Screen : public game_test::GameTest {
protected:
    Screen() : GameTest(W, H) {}

    void OnScreen(int state) {
        g_iGameState = state;
        g_pWorld->Pause();
    }
    // A press of the left button at (x, y), released in the next frame.
    void Click(int x, int y) {
        g_ptCursor = CCellCoord(x, y);
        layer::InjectMouseButton(0, true);
        Frame();
        layer::InjectMouseButton(0, false);
        Frame();
    }
    // Whether a frame shows the text as the font draws it at (x, y) in the colour over the same
    // world, within its line (`lines` high from its third, clear of the rows around).
    bool Shows(CTextureFont* font, int x, int y, DWORD colour, const char* text, int lines = 17) {
        std::vector<uint32_t> shown, expected;
        UINT w, h;
        Frame();
        layer::ReadBackBuffer(&shown, &w, &h);
        const int state = g_iGameState;
        g_iGameState = 2;  // the same frame without a screen, and only the text on it
        Frame();
        g_iGameState = state;
        g_pd3dDevice->BeginScene();
        font->DrawText(float(x), float(y), colour, text, 0);
        g_pd3dDevice->EndScene();
        layer::ReadBackBuffer(&expected, &w, &h);
        SIZE size = {0, 0};
        font->GetTextExtent(text, &size);
        for (int py = y + 3; py < y + 3 + lines; ++py)
            for (int px = x; px < x + size.cx; ++px)
                if (shown[size_t(py * int(W) + px)] != expected[size_t(py * int(W) + px)]) return false;
        return true;
    }
};

struct Small : Screen<320, 240> {};
struct Large : Screen<640, 480> {};
struct Smallest : Screen<320, 200> {};

template <class T>
struct BothSizes : T {};
using Sizes = ::testing::Types<Small, Large>;
TYPED_TEST_SUITE(BothSizes, Sizes);

}  // namespace

TYPED_TEST(BothSizes, RowsAreHitWithinTheirColumnsAndTheClickActsOnTheRow) {
    const int hw = int(g_Config.dwWidth) / 2, hh = int(g_Config.dwHeight) / 2;
    // The shop's rows start at H/2 - 50, at 320x240 higher so that "Zpet" ends on the edge.
    const int shop = hh == 120 ? 57 : hh - 50;
    const int M = GS_MAINMENU, S = GS_SHOP, P = GS_PLAYING;
    struct Case {
        int state, x, y, stateAfter, scoreAfter, bought;
    };
    const Case cases[] = {
        {M, hw, hh - 60, P, 7, 0},  // 10 above "Pokracovat" is still its row
        {M, hw, hh - 70, M, 7, 0},     {M, hw - 50, hh - 50, M, 7, 0}, {M, hw + 50, hh - 50, M, 7, 0},
        {M, hw - 49, hh - 31, P, 7, 0}, {M, hw + 49, hh - 30, P, 0, 0},  // "Nova hra" starts a new game
        {M, hw, hh - 10, S, 7, 0},      {M, hw, hh + 29, M, 7, 0},      {S, 26, shop + 20, S, 7, 1},
        {S, 179, shop + 39, S, 7, 1},   {S, 25, shop + 20, S, 7, 0},    {S, 180, shop + 20, S, 7, 0},
        {S, 100, shop + 119, S, 7, 5},  {S, 100, shop - 19, S, 7, 0},   {S, 100, shop - 20, S, 7, 0},
        {S, 100, shop + 120, S, 7, 0},  {S, 100, shop + 159, S, 7, 0},  {S, 100, shop + 160, P, 7, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.state << " at " << c.x << ", " << c.y);
        this->OnScreen(c.state);
        g_iScore = 7;
        g_iMoney = 100000;
        for (int i = 0; i < WEAPON_COUNT; ++i) g_Inventory[i].bOwned = i == 0;
        this->Click(c.x, c.y);
        EXPECT_EQ(g_iGameState, c.stateAfter);
        EXPECT_EQ(g_pWorld->bPaused, c.stateAfter == P ? 0 : 1);
        EXPECT_EQ(g_iScore, c.scoreAfter);
        for (int i = 1; i < WEAPON_COUNT; ++i) EXPECT_EQ(g_Inventory[i].bOwned, i == c.bought) << i;
    }
}

TEST_F(Large, ABuyWithExactlyThePriceTurnsTheRowGreenAndADearWeaponStaysRedUnderTheCursor) {
    OnScreen(GS_SHOP);
    g_iMoney = 2400;
    const int top = 190, x = 170;  // the cursor clear of the texts
    g_ptCursor = CCellCoord(x, top + 50);
    EXPECT_TRUE(Shows(g_pFont, 30, top + 40, ROW_HOVERED, "Brokovnice"));
    EXPECT_TRUE(Shows(g_pFont, 30, top + 20, ROW_NORMAL, "Desert Eagle"));
    Click(x, top + 50);
    EXPECT_EQ(g_iMoney, 0);
    EXPECT_EQ(g_Inventory[2].bOwned, 1);
    EXPECT_EQ(g_Inventory[2].iAmmo, 0);
    g_iMoney = 2400;
    Click(x, top + 50);  // a second click on the weapon now owned does nothing, money or not
    EXPECT_EQ(g_iMoney, 2400);
    EXPECT_TRUE(Shows(g_pFont, 30, top + 40, 0xB400FF00, "Brokovnice"));
    EXPECT_TRUE(Shows(g_pFont10, 256, 270, 0xDCFB0DA8, g_Weapons[2].pszDescription, 28));
    Click(x, top + 70);
    std::vector<uint32_t> draws;
    for (int row : {0, 5, 6}) {  // a detail on 5 only
        g_ptCursor = CCellCoord(x, top + 20 * row + 10);
        Frame();
        draws.push_back(DrawCalls());
    }
    EXPECT_GT(draws[1], draws[0]);
    EXPECT_EQ(draws[0], draws[2]);
    EXPECT_TRUE(Shows(g_pFont, 30, top + 60, 0xB4FF0000, "Kalashnikov"));
}

TEST_F(Small, AHeldButtonClicksOnceTheCursorReachesTheCornerAndALostBufferIsReportedOnce) {
    g_iMoney = 100000;
    g_ptCursor = CCellCoord(160, 120);  // "Nakup zbrani", then "Kalashnikov" in the shop
    layer::InjectMouseButton(0, true);
    Frames(4);
    EXPECT_EQ(g_iGameState, GS_SHOP);
    EXPECT_EQ(g_iMoney, 100000);
    layer::InjectMouseButton(0, false);
    layer::InjectMouseMotion(5000, 7000);
    Frame();
    BYTE* data = nullptr;
    ASSERT_EQ(g_pVB2D->Lock(0, 0, &data, 0), S_OK);
    const SVertex2D* cursor = reinterpret_cast<const SVertex2D*>(data) + 24;
    const float corners[4][2] = {{310, 250}, {310, 230}, {330, 250}, {330, 230}};
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(D3DXVECTOR2(cursor[k].x, cursor[k].y) == D3DXVECTOR2(corners[k][0], corners[k][1])) << k;
    const uint32_t presented = layer::PresentedFrames();
    Frames(3);  // with the buffer locked here
    EXPECT_EQ(g_pVB2D->Unlock(), S_OK);
    ForgetReportedErrors();
    SAFE_RELEASE(g_pVB2D);
    Frames(3);
    EXPECT_EQ(layer::PresentedFrames(), presented + 6);
    EXPECT_EQ(BoxesSaying("g_pVB2D->Lock"), 2) << "once locked, once missing";
}

TEST_F(Small, DeathLinesThenARespawnThatKeepsTheGameAndALastLifeThatEndsIt) {
    StartPlaying();
    for (int lives : {3, 2, 1}) {
        g_iHealth = 0;
        Frames(2);
        ASSERT_EQ(g_iGameState, GS_DEATH);
        const char* first = lives > 1 ? "JSI MRTEV" : "JSI MRKEV";
        EXPECT_STREQ(g_szText, lives == 3 ? "Mas jeste 2 zivoty" : lives == 2 ? "Mas jeste 1 zivoty" : "Uz navzdy...");
        SIZE size = {0, 0};
        g_pFont->GetTextExtent(first, &size);
        EXPECT_TRUE(Shows(g_pFont, 160 - size.cx / 2, 120 - size.cy / 2 - 40, 0xFAFB0DA8, first, 14)) << first;
        if (lives == 1) break;
        g_iScore = 50, g_iMoney = 300, g_iKills = 2, g_iCurrentWeapon = 3;
        g_Inventory[3] = {1, 40};
        PlaceEnemy(Ahead(5));
        for (CSpriteSet* set : std::initializer_list<CSpriteSet*>{g_pBlood, g_pDust, g_pFlames, g_pProjectiles})
            set->sprites[set->AddRandomSprite()].fLifetime = 100.0f;  // not expiring by itself
        Tap(DIK_RETURN);  // respawns in the first frame; the second plays
        EXPECT_EQ(g_iGameState, GS_PLAYING);
        EXPECT_EQ(g_iHealth, 100);
        EXPECT_EQ(g_iScore + g_iMoney + g_iKills + g_iCurrentWeapon + g_Inventory[3].iAmmo, 50 + 300 + 2 + 3 + 40);
        EXPECT_EQ(g_Inventory[3].bOwned, 1);
        EXPECT_EQ(Active(g_pEnemies) + Active(g_pBlood) + Active(g_pDust) + Active(g_pFlames) + Active(g_pProjectiles),
                  0);
        EXPECT_NE(g_Camera.vPos.x, Map().iCellsX * 5.0f) << "no longer where the death screen looked from";
    }
    Tap(DIK_RETURN);
    EXPECT_EQ(g_iGameState, GS_MAINMENU);
    EXPECT_EQ(g_pWorld->bPaused, 1);
    EXPECT_EQ(g_iLives + g_iScore + g_iMoney + g_iHealth, 3 + 100);

    // Enter or Space held through the death acts in the death screen's first frame.
    for (BYTE key : {DIK_RETURN, DIK_SPACE})
        for (int lives : {1, 3}) {
            if (g_iGameState != GS_PLAYING) StartPlaying();
            g_iLives = lives, g_fShake = 0.2f, g_iHealth = 0;
            layer::InjectKey(key, true);
            Frames(2);
            layer::InjectKey(key, false);
            EXPECT_EQ(g_iGameState, lives > 1 ? GS_PLAYING : GS_MAINMENU) << int(key) << " with " << lives;
            EXPECT_EQ(g_iLives + g_iHealth + g_fShake, (lives > 1 ? 2 : 3) + 100);
        }

    // The health counter is red up to 20.
    layer::KeepPresentedPictures(true);
    for (int health : {20, 21}) {
        g_iGameState = GS_DEATH;
        g_iHealth = health;
        Frame();
        const DWORD colour = health == 20 ? 0xC8FF0000 : 0xC8FFFFFF;
        EXPECT_TRUE(playthrough::Shows(g_pFont, 50, 209, colour, std::to_string(health))) << health;
    }
    layer::KeepPresentedPictures(false);
    // Esc opens the menu; "Pokracovat" with no health costs a life, and Esc still held respawns.
    g_iHealth = 0;
    layer::InjectKey(DIK_ESCAPE, true);
    Frame();
    EXPECT_EQ(g_iGameState, GS_MAINMENU);
    Click(160, 70);
    EXPECT_EQ(g_iGameState, GS_DEATH);
    EXPECT_EQ(g_iLives, 1);
    Frame();
    EXPECT_EQ(g_iGameState, GS_PLAYING);
    EXPECT_EQ(g_iHealth, 100);
}

TEST_F(Large, TheTopicTitleCentresWithAColonAndTheRewardListOfFiveHasZpetOnRowSix) {
    OnScreen(GS_MAINMENU);
    g_ptCursor = CCellCoord(20, 400);
    SIZE title = {0, 0}, withColon = {0, 0};
    g_pFont10->GetTextExtent("Tema dne", &title);
    g_pFont10->GetTextExtent("Tema dne:", &withColon);
    ASSERT_NE(title.cx / 2, withColon.cx / 2);
    EXPECT_TRUE(Shows(g_pFont10, 320 - withColon.cx / 2, 90, 0xB4FD97D9, "Tema dne", 12));
    g_GameDB.iTypeCount = 5;
    g_iGameState = GS_REWARDS;
    g_pWorld->Resume();
    const int top = 90;
    std::vector<uint32_t> draws;
    for (int y : {top - 19, top + 110, top + 130}) {  // rows 0, 5 and 6
        g_ptCursor = CCellCoord(170, y);
        Frame();
        draws.push_back(DrawCalls());
    }
    EXPECT_TRUE(Shows(g_pFont, 30, top + 120, ROW_HOVERED, "Zpet"));
    EXPECT_GT(draws[0], draws[1]) << "the detail of row 0";
    EXPECT_EQ(draws[1], draws[2]);
    // The detail of a hovered type beside its portrait; row 0 reaches 19 above its text.
    g_ptCursor = CCellCoord(170, top - 19);
    EXPECT_TRUE(Shows(g_pFont14, 256, 102, 0xDCFB0DA8, g_GameDB.types[0].szName, 12));
    const SEnemyType& type = g_GameDB.types[3];
    char reward[32];
    std::snprintf(reward, sizeof reward, "Odmena $%d", type.iReward);
    g_ptCursor = CCellCoord(170, top + 60);
    EXPECT_TRUE(Shows(g_pFont14, 256, 102, 0xDCFB0DA8, type.szName, 12));
    EXPECT_TRUE(Shows(g_pFont10, 256, 270, 0xDCFB0DA8, reward, 12));
    EXPECT_TRUE(Shows(g_pFont10, 256, 284, 0xDCFB0DA8, type.szDescription, 12));
    Click(170, top + 110);
    EXPECT_EQ(g_iGameState, GS_REWARDS);
    Click(26, top + 120);
    EXPECT_EQ(g_iGameState, GS_MAINMENU);
    EXPECT_EQ(g_pWorld->bPaused, 0) << "the world's pause untouched";
}

TEST_F(Smallest, TextsStayInsideTheScreenInAFontThatFitsAndZpetIsHitWhereItIsDrawn) {
    // A text too wide for the screen in its font, reaching past the lower left corner.
    const char* name = g_Weapons[4].pszLongName;
    SIZE size = {0, 0};
    g_pFont10->GetTextExtent(name, &size);
    auto drawn = [&](bool inside) {
        g_iGameState = 2;
        Frame();
        g_pd3dDevice->BeginScene();
        if (inside)
            DrawTextInside(g_pFont14, -4, 195, 0xFFFFFFFF, name);
        else
            g_pFont10->DrawText(0, float(200 - size.cy), 0xFFFFFFFF, name, 0);
        g_pd3dDevice->EndScene();
        std::vector<uint32_t> pixels;
        UINT w, h;
        layer::ReadBackBuffer(&pixels, &w, &h);
        return std::vector<uint32_t>(pixels.begin() + 100 * 320, pixels.end());
    };
    Frame();  // the eye on the ground
    EXPECT_TRUE(drawn(true) == drawn(false));

    g_iGameState = GS_MAINMENU;
    g_pFont10->GetTextExtent(g_GameDB.szTopic, &size);
    EXPECT_TRUE(Shows(g_pFont10, 160 - size.cx / 2, 20, 0xB4FB0CA8, g_GameDB.szTopic, 12));
    OnScreen(GS_SHOP);
    Click(100, 190);  // on "Zpet", drawn on the bottom edge
    EXPECT_EQ(g_iGameState, GS_PLAYING);
}
