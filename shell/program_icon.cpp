// program_icon.cpp -- the program's 32 x 32, 16-colour icon: a crosshair over a green hill under
// a night sky, painted in code.
#include <cmath>
#include <cstdint>

#include "shell/settings_dialog_template.h"

namespace {

constexpr int kSize = 32;

// The 16 colours of the icon, ARGB.
constexpr uint32_t kPalette[16] = {
    0xFF000000, 0xFF0B1740, 0xFF15265E, 0xFF22397D, 0xFF31509C, 0xFF14501E, 0xFF1E7A2A, 0xFF35A040,
    0xFFB0B0B0, 0xFFFFFFFF, 0xFFC01818, 0xFFFF4030, 0xFFFFE070, 0xFF603010, 0xFF808080, 0xFF404040,
};

int SkyColour(int y) { return 1 + y / 6; }  // darker at the top

int HillTop(int x) { return 20 + static_cast<int>(std::lround(4.0 * std::sin(x * 0.25) + 2.0 * std::cos(x * 0.6))); }

// The palette index of one pixel.
int PixelIndex(int x, int y) {
    const int dx = x - 16, dy = y - 14;
    const int r2 = dx * dx + dy * dy;
    if (r2 >= 64 && r2 <= 90) return 11;  // the red ring
    if ((x == 16 && (y < 9 || (y > 19 && y < 24))) || (y == 14 && (x < 11 || (x > 21 && x < 27)))) return 10;
    if (r2 <= 2) return 12;  // the bright centre
    const int top = HillTop(x);
    if (y >= top) return y == top ? 7 : (y < top + 4 ? 6 : 5);
    if ((x * 7 + y * 13) % 29 == 0 && y < 12) return 9;  // stars
    return SkyColour(y);
}

const uint32_t* Pixels() {
    static uint32_t pixels[kSize * kSize];
    static bool painted = false;
    if (!painted) {
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) pixels[y * kSize + x] = kPalette[PixelIndex(x, y)];
        painted = true;
    }
    return pixels;
}

}  // namespace

const layer::IconResource& ProgramIcon() {
    static const layer::IconResource icon = {kSize, kSize, Pixels()};
    return icon;
}
