// weapon_painter.cpp -- the first-person weapons and the shop icons.
//
// Each weapon is one model of flat pieces in its own coordinates: s runs along the bore from the
// muzzle (s = 0, t = 0) to the butt, t points from the top of the weapon to its bottom. The
// shop icon shows the model from the side; the first-person picture lays the same model along a
// slanted axis that starts at the muzzle point where the game draws the flash, and widens it
// towards the player for depth. Every piece is lit as a rounded body from the upper left.
#include <cmath>
#include <vector>

#include "content/content.h"

namespace content {
namespace {

enum Material { METAL, BLUED, WOOD, POLYMER, GLOVE, PAINT, BRASS, GLOW, HOLE };

struct Piece {
    std::vector<float> st;  // polygon corners, s and t pairs
    Material material;
    Color color;
    bool handOnly;      // drawn only in the first-person picture
    float round = 0;    // pixels by which the piece swells, rounding its corners
};

Piece Rect(float s0, float s1, float t0, float t1, Material m, uint32_t rgb, bool hand = false) {
    return {{s0, t0, s1, t0, s1, t1, s0, t1}, m, Rgb(rgb), hand};
}
Piece Poly(std::vector<float> st, Material m, uint32_t rgb, bool hand = false) { return {std::move(st), m, Rgb(rgb), hand}; }
Piece Rounded(Piece p, float pixels) {
    p.round = pixels;
    return p;
}

// Where the model lands on the picture.
struct View {
    float mx, my;   // muzzle
    float dx, dy;   // unit axis from the muzzle to the butt
    float px, py;   // unit direction of +t
    float along;    // pixels per unit along the axis at the muzzle
    float across;   // pixels per unit across at the muzzle
    float grow;     // growth of both scales per unit of s
    float ink = 2.4f;    // outline width in pixels
    float bevel = 4.0f;  // width of the rounded rim of every piece, in pixels

    float Across(float s) const { return across * (1 + grow * s); }
    float Along(float s) const { return along * (s + grow * s * s / 2); }
    void ToPicture(float s, float t, float& x, float& y) const {
        float a = Along(s), c = t * Across(s);
        x = mx + dx * a + px * c;
        y = my + dy * a + py * c;
    }
    void ToModel(float x, float y, float& s, float& t) const {
        // Along the axis the position is the quadratic along * (s + grow s^2 / 2); solve it for s.
        float qx = x - mx, qy = y - my;
        float det = dx * py - dy * px;
        float a = (qx * py - qy * px) / det, c = (dx * qy - dy * qx) / det;
        float k = a / along;
        s = grow > 0 ? (std::sqrt(std::max(0.0f, 1 + 2 * grow * k)) - 1) / grow : k;
        t = c / Across(s);
    }
};

const Color kInk = Rgb(0x24142C);  // the creatures' ink

// The colour of a piece at model point (s, t). The piece is lit as a body rounded across its
// width (t) whose rim also bends away towards its outline: `rim` is how far the surface there
// leans out (0 inside, 1 at the edge) and (ex, ey) the outward direction in the picture.
Color Shade(const Piece& piece, float s, float t, float tMid, float tHalf, const View& v, float rim, float ex, float ey,
            uint32_t seed) {
    float u = Clamp01((t - tMid) / tHalf * 0.5f + 0.5f) * 2 - 1;
    float nx = v.px * u * 0.8f, ny = v.py * u * 0.8f;
    float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
    nx += ex * rim * 1.6f;
    ny += ey * rim * 1.6f;
    nz *= 1 - rim * 0.7f;
    float len = std::sqrt(nx * nx + ny * ny + nz * nz);
    float lit = Lambert(nx / len, ny / len, nz / len);
    Color base = piece.color;
    switch (piece.material) {
    case WOOD: {
        float grain = Noise2(s * 0.35f, t * 4.0f, seed);
        base = Scale(base, 0.8f + 0.35f * grain);
        break;
    }
    case GLOVE:
        base = Scale(base, 0.92f + 0.12f * Noise2(s * 2, t * 2, seed));
        break;
    case GLOW:
        return Mix(piece.color, Rgb(0xFFF4C8), (1 - std::fabs(u)) * 0.7f);
    case HOLE:
        return Scale(piece.color, 1 - 0.4f * rim);
    default:
        break;
    }
    // As the creatures are lit: a dark far side, the colour, a white gleam where it faces the light.
    Color c = Scale(base, 0.4f + 0.78f * lit);
    float shine = piece.material == METAL || piece.material == BLUED || piece.material == BRASS ? 1.0f
                  : piece.material == PAINT || piece.material == POLYMER                  ? 0.6f
                                                                                         : 0.25f;
    return Mix(c, Rgb(0xFFFFF4), Clamp01((lit - 0.9f) * 7) * shine);
}

void DrawPiece(Canvas& cv, const View& v, const Piece& piece, bool outline, uint32_t seed) {
    int n = int(piece.st.size() / 2);
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f, tLo = 1e9f, tHi = -1e9f;
    for (int i = 0; i < n; ++i) {
        float x, y;
        v.ToPicture(piece.st[2 * i], piece.st[2 * i + 1], x, y);
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
        tLo = std::min(tLo, piece.st[2 * i + 1]);
        tHi = std::max(tHi, piece.st[2 * i + 1]);
    }
    const float pad = 3 + piece.round + v.ink;
    float tMid = (tLo + tHi) / 2, tHalf = std::max(0.01f, (tHi - tLo) / 2);
    // Signed distance to the piece's outline, in pixels.
    auto distance = [&](float x, float y) {
        float s, t;
        v.ToModel(x, y, s, t);
        return SdPolygon(s, t, piece.st.data(), n) * v.Across(std::max(0.0f, s)) - piece.round;
    };
    const float width = outline ? v.ink : 0.0f;
    DrawShape(cv, x0 - pad, y0 - pad, x1 + pad, y1 + pad, [&](float x, float y) { return distance(x, y) - width; },
              [&](float x, float y) {
                  if (outline) return kInk;
                  float s, t;
                  v.ToModel(x, y, s, t);
                  float d = distance(x, y);
                  float gx = distance(x + 0.5f, y) - distance(x - 0.5f, y);
                  float gy = distance(x, y + 0.5f) - distance(x, y - 0.5f);
                  float g = std::max(1e-4f, std::sqrt(gx * gx + gy * gy));
                  float rim = Clamp01(1 + d / v.bevel);
                  return Shade(piece, s, t, tMid, tHalf, v, rim * rim, gx / g, gy / g, seed);
              });
}

void DrawModel(Canvas& cv, const View& v, const std::vector<Piece>& pieces, bool hands) {
    uint32_t seed = 1;
    for (const Piece& p : pieces) {
        ++seed;
        if (p.handOnly && !hands) continue;
        DrawPiece(cv, v, p, true, seed);
        DrawPiece(cv, v, p, false, seed);
    }
}

// The side view that fits the model into a picture with a margin, muzzle to the right.
View SideView(const std::vector<Piece>& pieces, int w, int h) {
    float sLo = 1e9f, sHi = -1e9f, tLo = 1e9f, tHi = -1e9f;
    for (const Piece& p : pieces) {
        if (p.handOnly) continue;
        for (size_t i = 0; i < p.st.size(); i += 2) {
            sLo = std::min(sLo, p.st[i]);
            sHi = std::max(sHi, p.st[i]);
            tLo = std::min(tLo, p.st[i + 1]);
            tHi = std::max(tHi, p.st[i + 1]);
        }
    }
    float k = std::min((w - 24) / (sHi - sLo), (h - 10) / (tHi - tLo));
    float left = (w - (sHi - sLo) * k) / 2, top = (h - (tHi - tLo) * k) / 2;
    View v;
    v.mx = left + (sHi - sLo) * k + sLo * k;
    v.my = top - tLo * k;
    v.dx = -1;
    v.dy = 0;
    v.px = 0;
    v.py = 1;
    v.along = v.across = k;
    v.grow = 0;
    v.ink = 1.8f;
    v.bevel = 2.5f;
    return v;
}

View FirstPerson(float mx, float my, float towardsX, float towardsY, float along, float across, float grow, bool flip) {
    float len = std::hypot(towardsX, towardsY);
    View v;
    v.mx = mx;
    v.my = my;
    v.dx = towardsX / len;
    v.dy = towardsY / len;
    v.px = flip ? v.dy : -v.dy;
    v.py = flip ? -v.dx : v.dx;
    v.along = along;
    v.across = across;
    v.grow = grow;
    return v;
}

const uint32_t kGlove = 0xD8976E, kGloveLight = 0xEAAE84;  // the player's bare hands

std::vector<Piece> Pistol() {
    std::vector<Piece> p = {
        Rounded(Poly({17.5f, 2.6f, 25.5f, 2.6f, 29, 16, 21, 17}, POLYMER, 0x34323A), 1.5f),  // grip
        Rect(3, 25, 0.8f, 3.0f, METAL, 0x7A7E88),                                           // frame
        Rounded(Rect(11.5f, 13, 2.8f, 6.8f, METAL, 0x6A6E78), 1),                            // trigger guard
        Rounded(Rect(11.5f, 19, 5.6f, 6.8f, METAL, 0x6A6E78), 1),
        Rounded(Poly({15, 2.8f, 16.4f, 2.8f, 16.8f, 5.2f, 15.6f, 5.4f}, METAL, 0x3A3C44), 0.5f),
        Rounded(Poly({0, -1.6f, 1.6f, -3.0f, 27, -3.0f, 27, 1.2f, 0, 1.2f}, METAL, 0xC4C8D0), 1),  // the big slide
        Rect(21, 21.6f, -2.5f, 0.7f, HOLE, 0x4A4E58),
        Rect(22.6f, 23.2f, -2.5f, 0.7f, HOLE, 0x4A4E58),
        Rect(24.2f, 24.8f, -2.5f, 0.7f, HOLE, 0x4A4E58),
        Rounded(Rect(1, 2.6f, -3.9f, -2.9f, METAL, 0x8A8E98), 0.5f),  // sights
        Rounded(Rect(24, 26.4f, -3.9f, -2.9f, METAL, 0x8A8E98), 0.5f),
        Rect(0, 0.5f, -0.7f, 0.5f, HOLE, 0x101014),
        // The hand: the palm round the grip, the thumb along the frame, the fingers over the front.
        Rounded(Poly({20, 2.2f, 28, 1.2f, 33, 17, 23, 19}, GLOVE, kGlove, true), 2),
        Rounded(Poly({12.5f, 0.6f, 21, 0.0f, 22.5f, 2.6f, 13, 2.8f}, GLOVE, kGloveLight, true), 2),
    };
    for (int k = 0; k < 3; ++k) {
        float t = 7.2f + k * 3.1f, a = 16.8f + k * 0.9f;
        p.push_back(Rounded(Rect(a, a + 5.4f, t, t + 2.2f, GLOVE, kGloveLight, true), 2.2f));
    }
    return p;
}

std::vector<Piece> Shotgun() {
    std::vector<Piece> p = {
        Poly({60, -1.2f, 86, 1.5f, 86, 9, 60, 4.5f}, WOOD, 0x8E5A30),                     // stock
        Rounded(Poly({50, 4.2f, 56, 4.2f, 56.5f, 7.5f, 50.5f, 7.5f}, BLUED, 0x32363E), 1),  // trigger guard
        Rounded(Rect(44, 61, -2.2f, 4.2f, BLUED, 0x3C4048), 1),                           // receiver
        Rect(47, 57, -1.4f, 0.2f, HOLE, 0x22242A),                                       // ejection port
        Rounded(Rect(3, 45, 1.6f, 3.8f, BLUED, 0x4E5460), 1),                             // magazine tube
        Rounded(Rect(0, 46, -1.5f, 1.5f, BLUED, 0x5A6270), 1),                            // barrel
        Rect(1, 46, -1.9f, -1.5f, METAL, 0x9AA0AA),                                       // rib
        Rounded(Rect(2.5f, 4.5f, 1.4f, 4.0f, METAL, 0x8A909A), 0.5f),                      // magazine cap
        Rounded(Rect(0.6f, 1.6f, -2.6f, -1.7f, BRASS, 0xE0B860), 0.5f),                    // bead
        Rect(0, 0.6f, -0.9f, 0.9f, HOLE, 0x0E0E12),
        // The left hand holds the pump from below, its fingers curled over the near side.
        Rounded(Poly({16, 4.4f, 29, 4.4f, 30.5f, 9.5f, 15, 9.5f}, GLOVE, kGlove, true), 2),
        Rounded(Rect(13, 31, 0.9f, 5.4f, WOOD, 0x9A6434), 1.5f),                          // the pump
        Rect(15.5f, 16.3f, 1.3f, 5.0f, HOLE, 0x5A3418),
        Rect(19, 19.8f, 1.3f, 5.0f, HOLE, 0x5A3418),
        Rect(22.5f, 23.3f, 1.3f, 5.0f, HOLE, 0x5A3418),
        Rect(26, 26.8f, 1.3f, 5.0f, HOLE, 0x5A3418),
        Rect(29.5f, 30.3f, 1.3f, 5.0f, HOLE, 0x5A3418),
    };
    for (int k = 0; k < 3; ++k) {
        float a = 17.2f + k * 3.6f;
        p.push_back(Rounded(Poly({a, 4.2f, a + 2.4f, 4.2f, a + 2.9f, 8.0f, a + 0.5f, 8.0f}, GLOVE, kGloveLight, true), 2));
    }
    return p;
}

std::vector<Piece> Kalashnikov() {
    std::vector<Piece> p = {
        Poly({62, -2, 90, 0, 90, 7.5f, 62, 3}, WOOD, 0xA0582A),                                             // stock
        Rounded(Poly({58, 2.6f, 63, 2.6f, 66.5f, 11.5f, 61.5f, 12.5f}, WOOD, 0x8A4A22), 1),                    // grip
        Rounded(Poly({40, 2.6f, 47.5f, 2.6f, 46.5f, 9, 43, 15.5f, 34.5f, 13.5f, 38.5f, 8}, PAINT, 0xB0502A), 1),  // magazine
        Rect(41, 41.8f, 4, 12, HOLE, 0x7A3414),
        Rounded(Rect(36, 62, -2.2f, 3.0f, BLUED, 0x4A4E56), 1),                  // receiver
        Rounded(Rect(14, 34, -2.6f, -0.9f, BLUED, 0x545A64), 0.8f),              // gas tube
        Rounded(Rect(20, 36, -0.9f, 2.6f, WOOD, 0xA85E2C), 1),                   // handguard
        Rect(23, 23.8f, -0.6f, 2.3f, HOLE, 0x6A3414),
        Rect(27, 27.8f, -0.6f, 2.3f, HOLE, 0x6A3414),
        Rect(31, 31.8f, -0.6f, 2.3f, HOLE, 0x6A3414),
        Rounded(Rect(4, 20, -0.9f, 0.9f, BLUED, 0x5A606A), 0.6f),                // barrel
        Rounded(Rect(0, 4, -1.2f, 1.2f, METAL, 0x6A707A), 0.6f),                 // muzzle brake
        Rounded(Rect(5, 7, -3.6f, -0.9f, BLUED, 0x4A4E56), 0.5f),                // front sight
        Poly({50, -2.2f, 53, -2.2f, 54, -3.4f, 57, -3.4f, 57, -2.2f}, METAL, 0x7A808A),
        Rect(0, 0.6f, -0.6f, 0.6f, HOLE, 0x0E0E12),
        Rounded(Poly({19.5f, 2.0f, 35, 2.0f, 36, 6.5f, 19, 6.5f}, GLOVE, kGlove, true), 2),  // the left hand
    };
    for (int k = 0; k < 3; ++k) {
        float a = 21.5f + k * 4.2f;
        p.push_back(Rounded(Rect(a, a + 3, -1.4f, 3.4f, GLOVE, kGloveLight, true), 2));
    }
    return p;
}

std::vector<Piece> SniperRifle() {
    return {
        Rounded(Poly({48, -1.5f, 122, -1.5f, 122, 11, 102, 11, 93, 5, 81, 5, 79, 11, 71, 11, 66, 3, 48, 3}, PAINT, 0x627A3E), 1),
        Rounded(Rect(64, 70, 2.5f, 6.5f, BLUED, 0x2E3236), 0.8f),
        Rounded(Rect(50, 76, -2.2f, 2.0f, BLUED, 0x3A3E42), 0.8f),
        Rounded(Rect(0, 50, -1.0f, 1.0f, BLUED, 0x3C4034), 0.6f),
        Rounded(Rect(0, 14, -1.6f, 1.6f, BLUED, 0x30342C), 0.8f),
        Rounded(Rect(55, 77, -4.3f, -2.0f, BLUED, 0x34383C), 0.5f),  // the scope's rail
        Rect(58, 60, -4.2f, -2.0f, METAL, 0x4A4E52),
        Rect(72, 74, -4.2f, -2.0f, METAL, 0x4A4E52),
        Rounded(Rect(54, 82, -7.0f, -4.0f, POLYMER, 0x26282C), 1),
        Rounded(Poly({48, -8.5f, 56, -7.5f, 56, -3.5f, 48, -0.9f}, POLYMER, 0x2A2C30), 1),
        Rounded(Rect(80, 86, -7.6f, -3.4f, POLYMER, 0x2A2C30), 1),
        Rect(48, 48.6f, -7.6f, -3.4f, GLOW, 0x5A8AC8),
        Rounded(Poly({74, -1, 76, -1, 79, -5, 81, -4.2f}, METAL, 0x8A9096), 0.5f),
        Rect(0, 0.6f, -0.7f, 0.7f, HOLE, 0x0E0E12),
        Rounded(Poly({78, 2.5f, 90, 2.5f, 94, 14, 80, 15}, GLOVE, kGlove, true), 2),
    };
}

std::vector<Piece> Flamethrower() {
    return {
        Rounded(Poly({44, 2, 50, 2, 52, 12, 46, 13}, POLYMER, 0x2E2C30), 1),
        Rounded(Poly({28, 3, 62, 3, 64, 6.5f, 62, 10, 28, 10, 26, 6.5f}, PAINT, 0xC03022), 1.5f),  // the tank
        Rect(34, 35.5f, 3, 10, HOLE, 0x5A1410),
        Rect(54, 55.5f, 3, 10, HOLE, 0x5A1410),
        Rounded(Rect(6, 58, -1.6f, 1.6f, METAL, 0x7A7E86), 0.6f),
        Rounded(Rect(8, 30, -2.8f, 2.8f, BLUED, 0x3E424A), 1),
        Rect(11, 12.5f, -2.4f, 2.4f, HOLE, 0x16161A),
        Rect(16, 17.5f, -2.4f, 2.4f, HOLE, 0x16161A),
        Rect(21, 22.5f, -2.4f, 2.4f, HOLE, 0x16161A),
        Rect(26, 27.5f, -2.4f, 2.4f, HOLE, 0x16161A),
        Rounded(Rect(0, 6, -1.4f, 1.4f, BRASS, 0xC8964A), 0.6f),
        Poly({-0.2f, -1.2f, -3.5f, -2.2f, -6.5f, 0, -3.5f, 2.0f, -0.2f, 1.2f}, GLOW, 0x4A8AFF),  // the pilot flame
        Poly({0, -0.7f, -2.5f, -1.1f, -4.2f, 0, -2.5f, 1.1f, 0, 0.7f}, GLOW, 0xFFB040),
        Rounded(Poly({43, 1, 52, 1, 55, 14, 45, 15.5f}, GLOVE, kGlove, true), 2),
    };
}

std::vector<Piece> Chainsaw(bool running) {
    std::vector<Piece> pieces = {
        Rounded(Poly({42, -9, 74, -9, 76, -4, 76, 9, 42, 9}, PAINT, 0xEE7A1E), 2),      // the engine
        Rounded(Rect(46, 70, -6.5f, -1.5f, POLYMER, 0x2A2A30), 1),
        Rect(52, 54, -6, -2, HOLE, 0x101014),
        Rect(57, 59, -6, -2, HOLE, 0x101014),
        Rect(62, 64, -6, -2, HOLE, 0x101014),
        Rounded(Poly({56, 9, 74, 9, 74, 13, 56, 13}, POLYMER, 0x2A2A30), 1),
        Rounded(Poly({0, -2.2f, 1, -3.2f, 44, -3.6f, 44, 3.6f, 1, 3.2f, 0, 2.2f}, METAL, 0xB8BCC4), 2),  // the bar
        Rect(4, 40, -0.6f, 0.6f, HOLE, 0x5A5E66),
        Rounded(Poly({58, -9, 60, -14, 72, -14, 74, -9, 71, -9, 70, -11.5f, 62, -11.5f, 61, -9}, POLYMER, 0x2A2A30), 1),
        Rounded(Poly({58, -15.5f, 74, -15.5f, 75, -10, 57, -10}, GLOVE, kGlove, true), 2),
    };
    // The chain: teeth along both edges of the bar, smeared into streaks while it runs.
    for (int k = 0; k < 14; ++k) {
        float s = 2 + k * 3.0f;
        if (running) {
            if (k == 0) {  // the running chain blurs into one bright band along each edge
                pieces.push_back(Rect(2, 44, -4.4f, -3.4f, GLOW, 0xC8CCD4));
                pieces.push_back(Rect(2, 44, 3.4f, 4.4f, GLOW, 0xC8CCD4));
            }
        } else {
            pieces.push_back(Poly({s, -3.4f, s + 1.5f, -4.8f, s + 2.2f, -3.4f}, BLUED, 0x3A3E46));
            pieces.push_back(Poly({s, 3.4f, s + 1.5f, 4.8f, s + 2.2f, 3.4f}, BLUED, 0x3A3E46));
        }
    }
    return pieces;
}

void PaintSparks(Canvas& cv, float x, float y) {
    Rng rng(777);
    // Straight from the tip and evenly fanned, so no two sparks cross.
    for (int i = 0; i < 10; ++i) {
        float a = -2.85f + i * 0.28f + rng.Range(-0.04f, 0.04f), len = rng.Range(8, 26), from = rng.Range(12, 16);
        float ax = x + std::cos(a) * from, ay = y + std::sin(a) * from;
        float bx = x + std::cos(a) * (from + len), by = y + std::sin(a) * (from + len);
        Color c = Mix(Rgb(0xFFE070), Rgb(0xFF8A20), rng.Uniform());
        DrawShape(cv, std::min(ax, bx) - 3, std::min(ay, by) - 3, std::max(ax, bx) + 3, std::max(ay, by) + 3,
                  [&](float px, float py) { return SdCapsule(px, py, ax, ay, bx, by, 1.0f); },
                  [&](float, float) { return c; });
    }
}

void WritePicture(const std::string& root, const char* path, const Canvas& cv, bool tga) {
    WriteGameFile(root, path, tga ? EncodeTgaAlpha(cv, KEY_WHITE) : EncodeBmpKeyed(cv, KEY_WHITE));
}

void WriteIcon(const std::string& root, const char* path, const std::vector<Piece>& model, bool tga) {
    Canvas cv(256, 64);
    DrawModel(cv, SideView(model, 256, 64), model, false);
    WritePicture(root, path, cv, tga);
}

}  // namespace

void WriteWeaponPictures(const std::string& root) {
    // Muzzle points: where the weapon table's flash centre falls on the weapon's quad (the
    // chainsaw and the shotgun on the lower-middle quad, the others on the lower right).
    struct FirstPersonPicture {
        const char* path;
        View view;
        std::vector<Piece> model;
        bool sparks;  // the running saw throws sparks from its tip
    } pictures[] = {
        {"graph\\motor.bmp", FirstPerson(128, 62, 0.05f, 1, 1.15f, 2.7f, 0.03f, false), Chainsaw(false), false},
        {"graph\\motor2.bmp", FirstPerson(130, 58, 0.05f, 1, 1.15f, 2.7f, 0.03f, false), Chainsaw(true), true},
        {"graph\\deagle.bmp", FirstPerson(119, 128, 0.72f, 0.70f, 3.6f, 5.2f, 0.035f, false), Pistol(), false},
        {"graph\\brok.bmp", FirstPerson(128, 128, 0.62f, 0.78f, 1.9f, 5.4f, 0.03f, false), Shotgun(), false},
        {"graph\\kalach.bmp", FirstPerson(51, 51, 0.75f, 0.66f, 2.1f, 3.0f, 0.035f, false), Kalashnikov(), false},
        {"graph\\awm.bmp", FirstPerson(3, 15, 1, 0.92f, 1.6f, 2.2f, 0.02f, false), SniperRifle(), false},
        {"graph\\flame.bmp", FirstPerson(62, 84, 0.8f, 0.62f, 2.6f, 3.2f, 0.04f, false), Flamethrower(), false},
    };
    for (const FirstPersonPicture& p : pictures) {
        Canvas cv(256, 256);
        DrawModel(cv, p.view, p.model, true);
        if (p.sparks) PaintSparks(cv, 130, 60);
        WritePicture(root, p.path, cv, false);
    }
    WriteIcon(root, "graph\\no.bmp", Chainsaw(false), false);
    WriteIcon(root, "graph\\icodeagle.tga", Pistol(), true);
    WriteIcon(root, "graph\\icobrok.tga", Shotgun(), true);
    WriteIcon(root, "graph\\icokalach.tga", Kalashnikov(), true);
    WriteIcon(root, "graph\\icoawm.tga", SniperRifle(), true);
    WriteIcon(root, "graph\\icoflame.bmp", Flamethrower(), false);
}

}  // namespace content
