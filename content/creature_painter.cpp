// creature_painter.cpp -- the enemies, their projectiles and the VUGA heads.
//
// Every creature is built the same way: feet, a dome-lit body, a lighter belly, eyes, a mouth,
// then the features of its kind, all outlined in the same ink and lit from the upper left.
#include <cmath>
#include <cstdio>
#include <vector>

#include "content/content.h"

namespace content {
namespace {

const Color kInk = Rgb(0x24142C);
const float kOutline = 2.2f;

struct Look {
    uint32_t body;
    float rx, ry;    // body half size, in hundredths of the creature's height
    int eyes;        // 1, 2 or 3
    float eyeSize;
    bool angry;
    int mouth;       // 0 grin, 1 teeth, 2 round open, 3 wide line, 4 small o, 5 smile
};

const Look kLooks[] = {
    {0x7DBA4A, 40, 33, 2, 9, false, 0},  // Hrbolak: lumpy and green
    {0xF2B23A, 34, 36, 2, 8, true, 1},   // Vztekloun: spiky, always cross
    {0x9AD0F0, 34, 34, 2, 11, false, 4}, // Padavka: a hailstone with leaf wings
    {0xA864D0, 30, 42, 2, 8, false, 2},  // Plivac: a tall spitting pear
    {0x3AB8A8, 34, 36, 1, 16, false, 3}, // Slidil: one eye and feelers
    {0xF4B8C8, 36, 34, 2, 10, false, 5}, // Hubert: friendly, waves a white flag
    {0xE8D440, 24, 34, 2, 7, false, 0},  // Rychlopal: long legs and goggles
    {0x8AA03A, 44, 28, 2, 9, false, 3},  // Kvakoun: a frog with a grenade
    {0xDCEEFF, 34, 34, 2, 8, true, 1},   // Kroupa: an angry ice star
    {0xE0642A, 32, 38, 2, 8, true, 2},   // Hnevoplivec: horned, spits fire
    {0x8A4AB8, 46, 40, 3, 8, false, 5},  // Matka: a crowned queen
};

// A filled, outlined, dome-lit ellipse.
void Blob(Canvas& cv, float cx, float cy, float rx, float ry, const Color& c, float outline = kOutline) {
    float box = std::max(rx, ry) + outline + 2;
    DrawShape(cv, cx - box, cy - box, cx + box, cy + box,
              [&](float x, float y) { return SdEllipse(x, y, cx, cy, rx, ry) - outline; }, [&](float, float) { return kInk; });
    DrawShape(cv, cx - box, cy - box, cx + box, cy + box, [&](float x, float y) { return SdEllipse(x, y, cx, cy, rx, ry); },
              [&](float x, float y) {
                  float l = DomeLight(x, y, cx, cy, rx, ry);
                  Color col = Scale(c, 0.45f + 0.7f * l);
                  return Mix(col, Rgb(0xFFFFF4), Clamp01((l - 0.93f) * 6));
              });
}

void Flat(Canvas& cv, float cx, float cy, float rx, float ry, const Color& c) {
    float box = std::max(rx, ry) + 2;
    DrawShape(cv, cx - box, cy - box, cx + box, cy + box, [&](float x, float y) { return SdEllipse(x, y, cx, cy, rx, ry); },
              [&](float, float) { return c; });
}

void Stick(Canvas& cv, float ax, float ay, float bx, float by, float r, const Color& c) {
    float x0 = std::min(ax, bx) - r - 4, y0 = std::min(ay, by) - r - 4;
    float x1 = std::max(ax, bx) + r + 4, y1 = std::max(ay, by) + r + 4;
    DrawShape(cv, x0, y0, x1, y1, [&](float x, float y) { return SdCapsule(x, y, ax, ay, bx, by, r + kOutline); },
              [&](float, float) { return kInk; });
    DrawShape(cv, x0, y0, x1, y1, [&](float x, float y) { return SdCapsule(x, y, ax, ay, bx, by, r); },
              [&](float, float) { return c; });
}

void Polygon(Canvas& cv, const float* xy, int n, const Color& c, bool lit) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (int i = 0; i < n; ++i) {
        x0 = std::min(x0, xy[2 * i]);
        x1 = std::max(x1, xy[2 * i]);
        y0 = std::min(y0, xy[2 * i + 1]);
        y1 = std::max(y1, xy[2 * i + 1]);
    }
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, rx = (x1 - x0) / 2 + 1, ry = (y1 - y0) / 2 + 1;
    DrawShape(cv, x0 - 4, y0 - 4, x1 + 4, y1 + 4, [&](float x, float y) { return SdPolygon(x, y, xy, n) - kOutline; },
              [&](float, float) { return kInk; });
    DrawShape(cv, x0 - 4, y0 - 4, x1 + 4, y1 + 4, [&](float x, float y) { return SdPolygon(x, y, xy, n); },
              [&](float x, float y) { return lit ? Scale(c, 0.5f + 0.65f * DomeLight(x, y, cx, cy, rx, ry)) : c; });
}

void Eye(Canvas& cv, float x, float y, float r, bool angry, const Color& body, float faceX) {
    Blob(cv, x, y, r, r * 1.15f, Rgb(0xFAFAF4), 1.6f);
    Flat(cv, x - r * 0.2f, y + r * 0.15f, r * 0.5f, r * 0.6f, Rgb(0x1A1020));
    Flat(cv, x - r * 0.38f, y - r * 0.12f, r * 0.17f, r * 0.17f, Rgb(0xFFFFFF));
    if (angry) {
        // A lid of body colour cuts the eye at a slant, towards the nose.
        float lid[8] = {x - r * 1.4f, y - r * 1.5f, x + r * 1.4f, y - r * 1.5f, x + r * 1.4f, y - r * 0.1f,
                        x - r * 1.4f, y - r * 0.9f};
        if (x > faceX) {
            lid[5] = y - r * 0.9f;
            lid[7] = y - r * 0.1f;
        }
        Polygon(cv, lid, 4, body, false);
    }
}

void Mouth(Canvas& cv, int kind, float x, float y, float u) {
    const Color dark = Rgb(0x3A0E24), tongue = Rgb(0xE0607A), tooth = Rgb(0xF6F2E8);
    switch (kind) {
    case 0: {  // a crooked grin
        DrawShape(cv, x - 14 * u, y - 8 * u, x + 14 * u, y + 10 * u,
                  [&](float px, float py) {
                      return std::max(std::fabs(SdCircle(px, py, x, y - 7 * u, 10 * u)) - 1.6f * u, y - 1 * u - py);
                  },
                  [&](float, float) { return dark; });
        break;
    }
    case 1: {  // bared teeth
        Blob(cv, x, y, 11 * u, 5 * u, dark, 1.6f);
        for (int k = -2; k <= 2; ++k) {
            float tx = x + k * 4.2f * u;
            float tri[6] = {tx - 2 * u, y - 4.6f * u, tx + 2 * u, y - 4.6f * u, tx, y + 0.5f * u};
            Polygon(cv, tri, 3, tooth, false);
        }
        break;
    }
    case 2:  // wide open, round
        Blob(cv, x, y, 8 * u, 9 * u, dark, 1.8f);
        Flat(cv, x, y + 4 * u, 5 * u, 3 * u, tongue);
        break;
    case 3:  // a long flat line
        Stick(cv, x - 12 * u, y, x + 12 * u, y + 1 * u, 1.3f * u, dark);
        break;
    case 4:  // a small worried o
        Blob(cv, x, y, 3.5f * u, 4.5f * u, dark, 1.4f);
        break;
    default:  // a happy smile with cheeks
        DrawShape(cv, x - 12 * u, y - 6 * u, x + 12 * u, y + 10 * u,
                  [&](float px, float py) { return std::max(SdCircle(px, py, x, y - 3 * u, 9 * u), y - py); },
                  [&](float, float) { return dark; });
        Flat(cv, x, y + 3.5f * u, 4.5f * u, 2.2f * u, tongue);
        Flat(cv, x - 15 * u, y - 4 * u, 4 * u, 2.5f * u, Rgb(0xF08CA0, 0.7f));
        Flat(cv, x + 15 * u, y - 4 * u, 4 * u, 2.5f * u, Rgb(0xF08CA0, 0.7f));
        break;
    }
}

// The features that make a kind recognisable, drawn behind (back) or over (front) the body.
void Features(Canvas& cv, int kind, bool front, float cx, float cy, float rx, float ry, float u, const Color& body) {
    Color dark = Scale(body, 0.7f);
    switch (kind) {
    case 0:
        if (!front)
            for (int k = 0; k < 5; ++k) {
                float a = -2.6f + k * 0.52f;
                Blob(cv, cx + std::cos(a) * rx * 0.85f, cy + std::sin(a) * ry * 0.85f, 8 * u, 8 * u, body);
            }
        break;
    case 1:
    case 8: {
        if (front) break;
        int spikes = kind == 1 ? 7 : 10;
        for (int k = 0; k < spikes; ++k) {
            float a = kind == 1 ? -2.8f + k * 0.42f : k * 6.2831853f / spikes;
            float ca = std::cos(a), sa = std::sin(a);
            float w = 0.22f, reach = kind == 1 ? 1.35f : 1.4f;
            float tri[6] = {cx + std::cos(a - w) * rx * 0.85f, cy + std::sin(a - w) * ry * 0.85f,
                            cx + ca * rx * reach, cy + sa * ry * reach,
                            cx + std::cos(a + w) * rx * 0.85f, cy + std::sin(a + w) * ry * 0.85f};
            Polygon(cv, tri, 3, kind == 1 ? Rgb(0xE07A20) : Rgb(0xB8DCF8), true);
        }
        break;
    }
    case 2:
        if (!front) {
            float wl[8] = {cx - rx * 0.8f, cy - 4 * u, cx - rx * 1.55f, cy - 22 * u, cx - rx * 1.4f, cy + 2 * u,
                           cx - rx * 0.8f, cy + 6 * u};
            float wr[8] = {cx + rx * 0.8f, cy - 4 * u, cx + rx * 1.55f, cy - 22 * u, cx + rx * 1.4f, cy + 2 * u,
                           cx + rx * 0.8f, cy + 6 * u};
            Polygon(cv, wl, 4, Rgb(0x8ACB6A), true);
            Polygon(cv, wr, 4, Rgb(0x8ACB6A), true);
        }
        break;
    case 4:
        if (!front) {
            Stick(cv, cx - 8 * u, cy - ry * 0.8f, cx - 18 * u, cy - ry * 1.45f, 1.5f * u, dark);
            Stick(cv, cx + 8 * u, cy - ry * 0.8f, cx + 18 * u, cy - ry * 1.45f, 1.5f * u, dark);
            Blob(cv, cx - 18 * u, cy - ry * 1.45f, 4 * u, 4 * u, Rgb(0xF0E060));
            Blob(cv, cx + 18 * u, cy - ry * 1.45f, 4 * u, 4 * u, Rgb(0xF0E060));
        } else {
            Blob(cv, cx, cy + 9 * u, 6 * u, 5 * u, dark);  // the sniffing nose
        }
        break;
    case 5:
        if (!front) {
            Stick(cv, cx + rx * 0.9f, cy + 4 * u, cx + rx * 1.25f, cy - ry * 1.35f, 1.4f * u, Rgb(0x9A6A3A));
            float flag[8] = {cx + rx * 1.25f, cy - ry * 1.35f, cx + rx * 1.25f + 26 * u, cy - ry * 1.2f,
                             cx + rx * 1.25f + 24 * u, cy - ry * 0.75f, cx + rx * 1.25f, cy - ry * 0.85f};
            Polygon(cv, flag, 4, Rgb(0xF8F8F0), true);
        } else {
            Blob(cv, cx + rx * 0.9f, cy + 6 * u, 6 * u, 5 * u, body);  // the hand on the pole
        }
        break;
    case 6:
        if (front) {
            Stick(cv, cx - 10 * u, cy - 6 * u, cx + 10 * u, cy - 6 * u, 2 * u, Rgb(0x4A3A2A));
            for (float ex : {cx - 10 * u, cx + 10 * u}) {
                Blob(cv, ex, cy - 6 * u, 8.5f * u, 8.5f * u, Rgb(0x5A5A62), 1.8f);
                Blob(cv, ex, cy - 6 * u, 6 * u, 6 * u, Rgb(0x8AD0F0), 1.2f);
            }
        }
        break;
    case 7:
        if (!front) {
            Blob(cv, cx - rx * 0.55f, cy - ry * 0.9f, 10 * u, 9 * u, body);
            Blob(cv, cx + rx * 0.55f, cy - ry * 0.9f, 10 * u, 9 * u, body);
        } else {
            Blob(cv, cx, cy + ry * 0.55f, rx * 0.55f, ry * 0.35f, Rgb(0xF0E49A));  // the throat sac
            float gx = cx + rx * 0.95f, gy = cy + 4 * u;
            Blob(cv, gx, gy, 9 * u, 10 * u, Rgb(0x4A5A2A));
            Stick(cv, gx - 3 * u, gy - 11 * u, gx + 3 * u, gy - 11 * u, 2 * u, Rgb(0x8A8A90));
            Blob(cv, gx + 6 * u, gy - 13 * u, 2.5f * u, 2.5f * u, Rgb(0xC8C8D0), 1.2f);
            Blob(cv, gx - 4 * u, gy + 3 * u, 5 * u, 4 * u, body);  // the fingers round it
        }
        break;
    case 9:
        if (!front) {
            float hl[6] = {cx - rx * 0.7f, cy - ry * 0.6f, cx - rx * 1.1f, cy - ry * 1.35f, cx - rx * 0.25f, cy - ry * 0.85f};
            float hr[6] = {cx + rx * 0.7f, cy - ry * 0.6f, cx + rx * 1.1f, cy - ry * 1.35f, cx + rx * 0.25f, cy - ry * 0.85f};
            Polygon(cv, hl, 3, Rgb(0xF0E0C0), true);
            Polygon(cv, hr, 3, Rgb(0xF0E0C0), true);
        } else {
            float drip[8] = {cx - 4 * u, cy + 17 * u, cx + 4 * u, cy + 17 * u, cx + 2 * u, cy + 30 * u, cx - 1 * u, cy + 26 * u};
            Polygon(cv, drip, 4, Rgb(0xFFA030), true);
        }
        break;
    case 10:
        if (!front) {
            float crown[14] = {cx - 20 * u, cy - ry * 0.8f, cx - 24 * u, cy - ry * 1.35f, cx - 10 * u, cy - ry * 1.1f,
                               cx, cy - ry * 1.5f, cx + 10 * u, cy - ry * 1.1f, cx + 24 * u, cy - ry * 1.35f,
                               cx + 20 * u, cy - ry * 0.8f};
            Polygon(cv, crown, 7, Rgb(0xF2C23A), true);
            Blob(cv, cx, cy - ry * 1.2f, 3 * u, 3 * u, Rgb(0xE8283A), 1.2f);
        }
        break;
    default:
        break;
    }
}

}  // namespace

namespace {

// The creature with its body centred on (cx, cy); feet reach down to baseY when it has any.
void PaintBody(Canvas& cv, int kind, float cx, float cy, float u, uint32_t seed, bool feet) {
    const Look& look = kLooks[kind % 11];
    Color body = Rgb(look.body);
    float rx = look.rx * u, ry = look.ry * u;
    float legs = kind == 6 ? 26 * u : 8 * u;
    float baseY = cy + ry + legs;
    // Feet and legs first, so the body covers their tops.
    if (feet) {
        for (float side : {-1.0f, 1.0f}) {
            float fx = cx + side * rx * 0.5f;
            if (kind == 6) Stick(cv, fx, cy + ry * 0.6f, fx, baseY - 5 * u, 2.5f * u, Scale(body, 0.8f));
            Blob(cv, fx + side * 2 * u, baseY - 5 * u, 11 * u, 5 * u, Scale(body, 0.75f));
        }
    }
    Features(cv, kind, false, cx, cy, rx, ry, u, body);
    Blob(cv, cx, cy, rx, ry, body);
    // The belly, lighter, and a scatter of spots so no two types read alike.
    Flat(cv, cx + 2 * u, cy + ry * 0.35f, rx * 0.62f, ry * 0.5f, Mix(body, Rgb(0xFFF6E0), 0.35f));
    Rng rng(seed);
    for (int k = 0; k < 4; ++k) {
        float a = rng.Range(0, 6.283f), d = rng.Range(0.55f, 0.8f);
        Flat(cv, cx + std::cos(a) * rx * d, cy + std::sin(a) * ry * d, 3 * u, 2.4f * u, Scale(body, 0.8f));
    }
    float eyeY = cy - ry * 0.3f;
    if (look.eyes == 1) {
        Eye(cv, cx, eyeY, look.eyeSize * u, look.angry, body, cx);
    } else {
        for (int e = 0; e < look.eyes; ++e) {
            float ex = look.eyes == 2 ? cx + (e ? 1 : -1) * 12 * u : cx + (e - 1) * 15 * u;
            float ey = look.eyes == 3 && e == 1 ? eyeY - 6 * u : eyeY;
            Eye(cv, ex, ey, look.eyeSize * u, look.angry, body, cx);
        }
    }
    Mouth(cv, look.mouth, cx, cy + ry * 0.3f, u);
    Features(cv, kind, true, cx, cy, rx, ry, u, body);
}

}  // namespace

void PaintCreature(Canvas& cv, int kind, float cx, float baseY, float size, uint32_t seed) {
    const Look& look = kLooks[kind % 11];
    float u = size / 100.0f;
    float legs = kind == 6 ? 26 * u : 8 * u;
    PaintBody(cv, kind, cx, baseY - legs - look.ry * u, u, seed, true);
}

void PaintVugaHead(Canvas& cv, int kind, float cx, float cy, float radius) {
    // The VUGA heads share the creatures' faces, drawn without feet to fill the picture.
    static const int kFaces[6] = {0, 4, 5, 3, 9, 2};
    int face = kFaces[kind % 6];
    const Look& look = kLooks[face];
    float u = radius / std::max(look.rx, look.ry) * 0.66f;
    PaintBody(cv, face, cx, cy + look.ry * u * 0.12f, u, 50u + kind, false);
}

namespace {

// A glossy ball of `fill` with the creatures' outline, shading and gleam; `wobble` roughens its edge.
void Ball(Canvas& cv, float cx, float cy, float rx, float ry, uint32_t inner, uint32_t outer, float wobble, uint32_t seed) {
    auto shape = [&](float x, float y) {
        float w = wobble > 0 ? (Noise2(x * 0.09f, y * 0.09f, seed) - 0.5f) * wobble : 0;
        return SdEllipse(x, y, cx, cy, rx, ry) + w;
    };
    float box = std::max(rx, ry) + wobble + kOutline + 3;
    DrawShape(cv, cx - box, cy - box, cx + box, cy + box, [&](float x, float y) { return shape(x, y) - kOutline; },
              [](float, float) { return kInk; });
    DrawShape(cv, cx - box, cy - box, cx + box, cy + box, shape, [&](float x, float y) {
        float l = DomeLight(x, y, cx, cy, rx, ry);
        float d = Clamp01(std::hypot((x - cx) / rx, (y - cy) / ry));
        Color col = Scale(Mix(Rgb(inner), Rgb(outer), SmoothStep(0.15f, 0.95f, d)), 0.55f + 0.55f * l);
        return Mix(col, Rgb(0xFFFFF4), Clamp01((l - 0.9f) * 7));
    });
}

// A tongue of flame: round at its base (bx, by, radius r), licking up to a point at (tx, ty).
void FlameTongue(Canvas& cv, float bx, float by, float r, float tx, float ty, const Color& c) {
    std::vector<float> xy;
    for (int i = 0; i <= 8; ++i) {
        float a = 3.1415927f * i / 8;
        xy.push_back(bx + r * std::cos(a));
        xy.push_back(by + r * std::sin(a));
    }
    // Up the left flank to the tip and down the right one, each side a curve bulging outwards.
    for (int side = 0; side < 2; ++side) {
        float sx = side == 0 ? bx - r : tx, sy = side == 0 ? by : ty, ex = side == 0 ? tx : bx + r, ey = side == 0 ? ty : by;
        float kx = (side == 0 ? bx - r * 1.3f : bx + r * 1.3f) + (tx - bx) * 0.2f, ky = by - (by - ty) * 0.4f;
        for (int j = 1; j <= 6; ++j) {
            float u = j / 6.0f;
            xy.push_back((1 - u) * (1 - u) * sx + 2 * u * (1 - u) * kx + u * u * ex);
            xy.push_back((1 - u) * (1 - u) * sy + 2 * u * (1 - u) * ky + u * u * ey);
        }
    }
    xy.resize(xy.size() - 2);  // the last point is the first corner again
    Polygon(cv, xy.data(), int(xy.size() / 2), c, true);
}

void PaintProjectile(Canvas& cv, int kind) {
    const float c = 64;
    switch (kind) {
    case 3: {  // Plivac's spit: a green gob, dripping, with a trail of droplets and bubbles in it
        Ball(cv, c + 24, c + 30, 8, 8, 0xC8F080, 0x5A9A20, 0, 0);
        Ball(cv, c + 38, c + 44, 5, 5, 0xC8F080, 0x5A9A20, 0, 0);
        FlameTongue(cv, c - 14, c + 38, 7, c - 10, c + 14, Rgb(0x6AAA2A));  // a drip, hanging down
        Ball(cv, c - 4, c - 4, 38, 33, 0xD8FF90, 0x4E8E1A, 6, 3);
        Flat(cv, c - 14, c + 2, 5, 5, Rgb(0xE8FFC0, 0.8f));
        Flat(cv, c + 8, c + 10, 3.5f, 3.5f, Rgb(0xE8FFC0, 0.8f));
        Flat(cv, c + 2, c - 16, 2.5f, 2.5f, Rgb(0xE8FFC0, 0.8f));
        return;
    }
    case 4: {  // Slidil's seeker: an orb that looks for you, with little fins to steer by
        float fl[8] = {c - 30, c - 6, c - 50, c - 20, c - 46, c + 6, c - 30, c + 8};
        float fr[8] = {c + 30, c - 6, c + 50, c - 20, c + 46, c + 6, c + 30, c + 8};
        Polygon(cv, fl, 4, Rgb(0x2A9AC8), true);
        Polygon(cv, fr, 4, Rgb(0x2A9AC8), true);
        Ball(cv, c, c, 36, 36, 0xC8FFFF, 0x1A8AC0, 0, 0);
        Eye(cv, c, c - 2, 15, false, Rgb(0x1A8AC0), c);
        return;
    }
    case 6: {  // Rychlopal's dart, coming point first: four vanes round a steel tip
        for (int k = 0; k < 4; ++k) {
            float a = 0.785f + k * 1.5708f, ca = std::cos(a), sa = std::sin(a);
            float vane[8] = {c + ca * 10 - sa * 7, c + sa * 10 + ca * 7, c + ca * 50, c + sa * 50,
                             c + ca * 44 + sa * 12, c + sa * 44 - ca * 12, c + ca * 10 + sa * 7, c + sa * 10 - ca * 7};
            Polygon(cv, vane, 4, k % 2 ? Rgb(0xF0C020) : Rgb(0xE04A2A), true);
        }
        Blob(cv, c, c, 16, 16, Rgb(0xF0D040));
        Blob(cv, c, c, 8, 8, Rgb(0xB8C0CC));
        Flat(cv, c - 2, c - 3, 2.5f, 2.5f, Rgb(0xFFFFFF));
        return;
    }
    case 7: {  // Kvakoun's grenade: a ribbed egg of olive steel, its lever and ring
        Blob(cv, c, c + 8, 32, 38, Rgb(0x6A7A34));
        for (int k = -1; k <= 1; ++k)
            DrawShape(cv, c - 40, c - 40, c + 40, c + 50, [&](float x, float y) { return SdBox(x, y, c, c + 8 + k * 13, 31, 1.3f, 0); },
                      [](float, float) { return Rgb(0x343E18); });
        Stick(cv, c - 6, c - 38, c + 24, c - 30, 4, Rgb(0xA8ACB4));  // the lever along the top
        Blob(cv, c, c - 32, 12, 7, Rgb(0x8A8E98));                   // the fuse cap
        DrawShape(cv, c - 40, c - 64, c, c - 20, [&](float x, float y) { return std::fabs(SdCircle(x, y, c - 18, c - 42, 9)) - 2.2f - kOutline; },
                  [](float, float) { return kInk; });
        DrawShape(cv, c - 40, c - 64, c, c - 20, [&](float x, float y) { return std::fabs(SdCircle(x, y, c - 18, c - 42, 9)) - 2.2f; },
                  [](float, float) { return Rgb(0xD0D4DC); });
        return;
    }
    case 8: {  // the spitting hailstone's pellet: a lump of ice, white inside and blue at the rim
        Ball(cv, c, c, 34, 32, 0xF4FCFF, 0x6A9AD0, 8, 8);
        Flat(cv, c - 10, c - 12, 7, 5, Rgb(0xFFFFFF, 0.8f));
        return;
    }
    case 9: {  // Hnevoplivec's fireball: a white-hot core licked upwards by flames
        FlameTongue(cv, c - 22, c + 6, 14, c - 36, c - 40, Rgb(0xD83A1A));
        FlameTongue(cv, c + 22, c + 6, 14, c + 34, c - 36, Rgb(0xD83A1A));
        FlameTongue(cv, c - 8, c, 18, c - 4, c - 58, Rgb(0xF07A20));
        FlameTongue(cv, c + 12, c + 4, 14, c + 16, c - 40, Rgb(0xF07A20));
        Ball(cv, c, c + 16, 32, 28, 0xFFF0A0, 0xE85A1A, 4, 9);
        Flat(cv, c - 3, c + 13, 16, 13, Rgb(0xFFF4B0, 0.85f));  // the white-hot heart
        Flat(cv, c - 5, c + 11, 8, 6, Rgb(0xFFFFF4));
        return;
    }
    case 10: {  // the queen's egg: spotted, with a crack where something pushes from inside
        Blob(cv, c, c + 4, 34, 44, Rgb(0xE0D0F4));
        Rng rng(10);
        for (int k = 0; k < 7; ++k)
            Flat(cv, c + rng.Range(-20, 20), c + rng.Range(-26, 34), rng.Range(4, 7), rng.Range(4, 6), Rgb(0x8A4AB8));
        float crack[12] = {c - 20, c - 12, c - 10, c - 4, c - 2, c - 14, c + 8, c - 2, c + 18, c - 10, c + 26, c - 4};
        for (int k = 0; k < 5; ++k)
            Stick(cv, crack[2 * k], crack[2 * k + 1], crack[2 * k + 2], crack[2 * k + 3], 0.6f, Rgb(0x3A1E4A));
        return;
    }
    default:  // a plain orb for any other type that shoots
        Ball(cv, c, c, 40, 40, 0xFFF8C0, 0xC08A20, 0, 0);
        return;
    }
}

// The clear border a picture needs so that its smallest mip level keeps a clear edge texel: the
// game loads the enemies and their projectiles with 4 levels, the intro's VUGA pictures with one.
int MipMargin(int levels) { return 1 << (levels - 1); }
const float kKeyedCoverage = 0.5f;  // what a keyed picture keeps

}  // namespace

void WriteCreaturePictures(const std::string& root) {
    for (int i = 0; i < kEnemyTypeCount; ++i) {
        Canvas cv(128, 128);
        PaintInsideMargin(cv, MipMargin(4), true, kKeyedCoverage,
                          [i](Canvas& c) { PaintCreature(c, i, 64, 126, 116, 1000u + i); });
        WriteGameFile(root, kEnemyTypes[i].picture, EncodeBmpKeyed(cv, KEY_MAGENTA));
        if (kEnemyTypes[i].projectile) {
            Canvas shot(128, 128);
            PaintInsideMargin(shot, MipMargin(4), false, kKeyedCoverage, [i](Canvas& c) { PaintProjectile(c, i); });
            WriteGameFile(root, kEnemyTypes[i].projectile, EncodeBmpKeyed(shot, KEY_MAGENTA));
        }
    }
    for (int k = 0; k < 6; ++k) {
        Canvas cv(128, 128);
        PaintInsideMargin(cv, MipMargin(1), false, kKeyedCoverage, [k](Canvas& c) { PaintVugaHead(c, k, 64, 64, 60); });
        char path[64];
        std::snprintf(path, sizeof(path), "graph\\vugove\\vuga%d.bmp", k + 1);
        WriteGameFile(root, path, EncodeBmpKeyed(cv, KEY_MAGENTA));
    }
}

}  // namespace content
