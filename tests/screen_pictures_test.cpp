// screen_pictures_test.cpp -- whole screens at fixed seeds and clock
// times against tests/screens/*.png (scripts/renew-screens.sh renews).
#include <algorithm>

#include "content_test_support.h"
#include "game/explosion.h"
#include "game/intro.h"
#include "game_fixture.h"
#include "layer/dialogs.h"
#include "layer/image_encode.h"
#include "shell/resource.h"

namespace {

using Shot = std::vector<uint32_t>;
const int kOff = 24;   // a channel's difference forgiven
const int kMost = 32;  // differing pixels forgiven in a square

bool Matched(const Shot& a, const Shot& b, int w, int i) {
    const auto* p = reinterpret_cast<const uint8_t*>(&a[size_t(i)]);
    for (int d : {-w - 1, -w, 1 - w, -1, 0, 1, w - 1, w, w + 1}) {
        const auto* q = reinterpret_cast<const uint8_t*>(&b[size_t(i + d)]);
        int off = 0;  // the largest of blue, green and red
        for (int k = 0; k < 3; ++k) off = std::max(off, std::abs(p[k] - q[k]));
        if (off <= kOff) return true;
    }
    return false;
}

// The picture (the back buffer's when none), written to the build's
// shown-NAME, against tests/screens/NAME inside its outer rows. A pixel
// differs when none of the other's 3x3 around it is within kOff, either
// way; more than kMost in a 32x32 square at 8-pixel steps fail.
void Compare(const std::string& name, Shot shown = {}, int w = 640) {
    UINT width = 0, height = 0;
    if (shown.empty()) layer::ReadBackBuffer(&shown, &width, &height);
    const std::string kept = TREVOK_SOURCE_DIR "/tests/screens/" + name;
    const std::string file = TREVOK_DATA_DIR "/../shown-" + name;
    const char* renew = std::getenv("TREVOK_RENEW_SCREENS");
    std::vector<BYTE> png;
    if (renew)  // five bits a channel: small files, well inside kOff
        for (uint32_t& p : shown)
            p = (p & 0xFFF8F8F8) | (p >> 5 & 0x070707);
    layer::EncodePng(UINT(w), UINT(shown.size()) / UINT(w), shown.data(), &png);
    EXPECT_EQ(layer::WriteBytesToFile((renew ? kept : file).c_str(), png), S_OK);
    if (renew) return;
    const auto bytes = ReadFileBytes(kept);
    layer::DecodedImage ref;
    layer::DecodePng(bytes.data(), bytes.size(), &ref);
    const Shot& r = ref.top.pixels;
    ASSERT_EQ(r.size(), shown.size())
        << kept << " missing or resized: bash scripts/renew-screens.sh";
    std::vector<int> square(r.size());  // by its first 8x8 cell
    int cw = (w + 7) / 8, n = 0, most = 0, at = 0;
    for (int i = w + 1; i + w + 1 < int(r.size()); ++i) {
        if (Matched(shown, r, w, i) && Matched(r, shown, w, i)) continue;
        ++n;
        for (int v = std::max(i / w / 8 - 3, 0); v <= i / w / 8; ++v)
            for (int u = std::max(i % w / 8 - 3, 0); u <= i % w / 8; ++u)
                at = ++square[size_t(v * cw + u)] > most ? v * cw + u : at;
        most = square[size_t(at)];
    }
    EXPECT_LE(most, kMost) << name << ": " << n << " pixels differ, "
                           << most << " in the square at " << at % cw * 8
                           << ", " << at / cw * 8 << "; shown: " << file;
}

struct Screens : game_test::GameTest {
    Screens() : GameTest(640, 480) {}
};

}  // namespace

TEST_F(Screens, FromTheSettingsDialogToTheDeathScreen) {
    SetConfigDefaults();  // as at a first start: fog on
    Shot dialog;
    int w = 0, h = 0;
    layer::SetDialogScript([&](HWND d) {
        EXPECT_TRUE(layer::RenderDialogToPixels(d, &dialog, &w, &h));
        layer::ClickDialogControl(d, IDC_QUIT);
    });
    DialogBoxParamA(nullptr, MAKEINTRESOURCE(IDD_SETTINGS), nullptr, SettingsDlgProc, 0);
    layer::SetDialogScript(nullptr);
    Compare("settings.png", dialog, w);
    ASSERT_EQ(InitIntro(), 0);
    for (int k = 0; k < 45 && RenderIntroFrame(); ++k)
        layer::AdvanceClock(100);  // to 4.4 s: two slides, VUGA pictures
    Compare("intro.png");
    FreeIntro();
    g_Camera.vPos = D3DXVECTOR3(60, 60, 0);  // the map's middle
    g_ptCursor = CCellCoord(320, 196);  // on "Pokracovat"
    Frames(3);
    Compare("menu.png");
    g_iMoney = 4500;
    g_Inventory[1] = {1, 17};
    g_ptCursor = CCellCoord(170, 236);  // right of "Brokovnice"
    Tap(DIK_B);
    Compare("shop.png");
    Tap(DIK_P);
    g_iCurrentWeapon = 1;
    g_iHealth = 15;
    const int e = PlaceEnemy(Ahead(6), 1);
    g_pEnemies->sprites[e].iTexture = g_GameDB.types[1].iTexture;
    Frames(5, 450);  // risen out of the ground
    Compare("play.png");
    SetOffExplosion(*g_pEnemies, Ahead(14), 0xFFFF00FF);
    Frames(2, 250);  // half its life
    Compare("explosion.png");
    g_iHealth = 0;
    g_Camera.vPos.x -= 30;  // dead 30 west of the middle
    Frames(3);
    Compare("death.png");
}
