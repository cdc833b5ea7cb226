// creature_painter.cpp -- the enemies, their projectiles and the VUGA heads.
//
// Every creature is built the same way: feet, a dome-lit body, a lighter belly, eyes, a mouth,
// then the features of its kind, all outlined in the same ink and lit from the upper left.
#include <cmath>
#include <cstdio>

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

void Eye(Canvas& cv, float x, float y, float r, bool angry, const Color& body) {
    Blob(cv, x, y, r, r * 1.15f, Rgb(0xFAFAF4), 1.6f);
    Flat(cv, x - r * 0.2f, y + r * 0.15f, r * 0.5f, r * 0.6f, Rgb(0x1A1020));
    Flat(cv, x - r * 0.38f, y - r * 0.12f, r * 0.17f, r * 0.17f, Rgb(0xFFFFFF));
    if (angry) {
        // A lid of body colour cuts the eye at a slant, towards the nose.
        float lid[8] = {x - r * 1.4f, y - r * 1.5f, x + r * 1.4f, y - r * 1.5f, x + r * 1.4f, y - r * 0.1f,
                        x - r * 1.4f, y - r * 0.9f};
        if (x > cv.Width() * 0.5f) {
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
        Eye(cv, cx, eyeY, look.eyeSize * u, look.angry, body);
    } else {
        for (int e = 0; e < look.eyes; ++e) {
            float ex = look.eyes == 2 ? cx + (e ? 1 : -1) * 12 * u : cx + (e - 1) * 15 * u;
            float ey = look.eyes == 3 && e == 1 ? eyeY - 6 * u : eyeY;
            Eye(cv, ex, ey, look.eyeSize * u, look.angry, body);
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

void PaintProjectile(Canvas& cv, int kind) {
    const float c = 64;
    switch (kind) {
    case 7: {  // a grenade: ribbed body, lever and pin
        Blob(cv, c, c + 6, 34, 40, Rgb(0x5A6A2E));
        for (int k = -1; k <= 1; ++k)
            DrawShape(cv, 0, 0, 128, 128, [&](float x, float y) { return SdBox(x, y, c, c + 6 + k * 14, 33, 1.2f, 0); },
                      [](float, float) { return Rgb(0x2E3618); });
        Stick(cv, c - 10, c - 38, c + 10, c - 38, 6, Rgb(0x9A9CA4));
        Blob(cv, c + 22, c - 44, 8, 8, Rgb(0xC8C8D0));
        Flat(cv, c + 22, c - 44, 4.5f, 4.5f, Rgb(0x9A9CA4));
        return;
    }
    case 10: {  // an egg with spots
        Blob(cv, c, c + 4, 36, 46, Rgb(0xD8C8F0));
        Rng rng(10);
        for (int k = 0; k < 7; ++k)
            Flat(cv, c + rng.Range(-22, 22), c + rng.Range(-30, 36), rng.Range(4, 8), rng.Range(4, 7), Rgb(0x8A4AB8));
        return;
    }
    default:
        break;
    }
    // The glowing orbs: a bright core inside a coloured rim.
    uint32_t inner = 0xE8FFA0, outer = 0x5AA020;
    float rx = 42, ry = 42;
    if (kind == 4) inner = 0xC8FFFF, outer = 0x1A8AC0;
    if (kind == 6) inner = 0xFFF8B0, outer = 0xE0A010, rx = 28, ry = 50;
    if (kind == 8) inner = 0xF4FCFF, outer = 0x6A9AD0, rx = 32, ry = 32;  // a hailstone
    if (kind == 9) inner = 0xFFF0A0, outer = 0xE0401A;
    auto shape = [&](float x, float y) {
        float wobble = kind == 3 || kind == 9 ? (Noise2(x * 0.08f, y * 0.08f, 3) - 0.5f) * 12 : 0;
        return SdEllipse(x, y, c, c, rx, ry) + wobble;
    };
    DrawShape(cv, 0, 0, 128, 128, [&](float x, float y) { return shape(x, y) - kOutline; },
              [](float, float) { return kInk; });
    DrawShape(cv, 0, 0, 128, 128, shape,
              [&](float x, float y) {
                  float d = Clamp01(std::hypot((x - c) / rx, (y - c) / ry));
                  Color col = Mix(Rgb(inner), Rgb(outer), SmoothStep(0.1f, 0.95f, d));
                  return Mix(col, Rgb(0xFFFFF0), Clamp01((DomeLight(x, y, c, c, rx, ry) - 0.9f) * 6));
              });
    if (kind == 4) {  // the seeker's eye
        Flat(cv, c, c, 10, 12, Rgb(0x0E3A5A));
        Flat(cv, c - 3, c - 4, 3, 3, Rgb(0xF0FFFF));
    }
}

}  // namespace

void WriteCreaturePictures(const std::string& root) {
    for (int i = 0; i < kEnemyTypeCount; ++i) {
        Canvas cv(128, 128);
        PaintCreature(cv, i, 64, 126, 116, 1000u + i);
        WriteGameFile(root, kEnemyTypes[i].picture, EncodeBmpKeyed(cv, KEY_MAGENTA));
        if (kEnemyTypes[i].projectile) {
            Canvas shot(128, 128);
            PaintProjectile(shot, i);
            WriteGameFile(root, kEnemyTypes[i].projectile, EncodeBmpKeyed(shot, KEY_MAGENTA));
        }
    }
    for (int k = 0; k < 6; ++k) {
        Canvas cv(128, 128);
        PaintVugaHead(cv, k, 64, 64, 60);
        char path[64];
        std::snprintf(path, sizeof(path), "graph\\vugove\\vuga%d.bmp", k + 1);
        WriteGameFile(root, path, EncodeBmpKeyed(cv, KEY_MAGENTA));
    }
}

}  // namespace content
