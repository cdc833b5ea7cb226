// texture_painter.cpp -- the ground and the clouds, the reticles, the effect sprites, the HUD atlas
// and the fence.
#include <algorithm>
#include <cmath>

#include "content/content.h"

namespace content {
namespace {

// Value noise that repeats every `period` units, for textures that tile.
float TileNoise(float x, float y, int period, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto at = [&](int a, int b) {
        a = ((a % period) + period) % period;
        b = ((b % period) + period) % period;
        return Noise2(float(a), float(b), seed);  // lattice points: the noise is the hash there
    };
    float a = at(ix, iy), b = at(ix + 1, iy), c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
    float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float TileFbm(float x, float y, int period, int octaves, uint32_t seed) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * TileNoise(x, y, period, seed + i * 31u);
        norm += amp;
        x *= 2;
        y *= 2;
        period *= 2;
        amp *= 0.5f;
    }
    return sum / norm;
}

const Color kInk = Rgb(0x24142C);  // the outline colour of every drawn object

// Draws a shape on a picture that tiles: again one picture over on each side where it crosses an
// edge, so that it goes on in the neighbouring copy.
template <class Sdf, class Paint>
void DrawWrapped(Canvas& cv, float x0, float y0, float x1, float y1, Sdf sdf, Paint paint) {
    const float w = float(cv.Width()), h = float(cv.Height());
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            float ox = dx * w, oy = dy * h;
            if (x1 + ox < 0 || x0 + ox > w || y1 + oy < 0 || y0 + oy > h) continue;
            DrawShape(cv, x0 + ox, y0 + oy, x1 + ox, y1 + oy, [&](float x, float y) { return sdf(x - ox, y - oy); },
                      [&](float x, float y) { return paint(x - ox, y - oy); });
        }
}

// One copy of the ground covers a terrain cell, ten units square, so a texel is 4 cm and the
// player's eye, a quarter of a unit above it, is about six texels high. The meadow is painted at
// that scale: zones of lush and dry grass a few units across, bare earth with pebbles, tufts of
// grass as large as a hand, clusters of small flowers; nothing finer than the tufts' blades, which
// would only shimmer once the picture is filtered down.
void PaintGround(Canvas& cv) {
    const Color meadow = Rgb(0x6A8A3A), lush = Rgb(0x52762E), dry = Rgb(0x9A9850), earth = Rgb(0x86674A);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            float u = x / 256.0f, v = y / 256.0f;
            float zone = TileFbm(u * 4, v * 4, 4, 4, 11);
            float bare = TileFbm(u * 2 + 1, v * 2 + 1, 2, 4, 23);
            float mottle = TileFbm(u * 24, v * 24, 24, 2, 37);
            Color c = Mix(lush, meadow, SmoothStep(0.3f, 0.65f, zone));
            c = Mix(c, dry, SmoothStep(0.6f, 0.8f, zone) * 0.55f);
            c = Mix(c, earth, SmoothStep(0.6f, 0.68f, bare) * 0.9f);
            c = Scale(c, 0.93f + 0.14f * mottle);
            cv.Set(x, y, c);
        }
    auto bareAt = [](float x, float y) {
        float u = x / 256.0f, v = y / 256.0f;
        return SmoothStep(0.6f, 0.68f, TileFbm(u * 2 + 1, v * 2 + 1, 2, 4, 23));
    };
    Rng rng(4242);
    // Pebbles on the bare earth: rounded, lit from the upper left, with a shadow below.
    for (int i = 0; i < 260; ++i) {
        float x = rng.Range(0, 256), y = rng.Range(0, 256), rx = rng.Range(1.4f, 3.2f), ry = rx * rng.Range(0.6f, 0.9f);
        Color stone = Mix(Rgb(0x8E8578), Rgb(0xB8AE9C), rng.Uniform());
        if (bareAt(x, y) < 0.5f) continue;
        DrawWrapped(cv, x - rx - 2, y - ry - 2, x + rx + 3, y + ry + 3,
                    [&](float px, float py) { return SdEllipse(px, py, x + 0.8f, y + 0.9f, rx, ry); },
                    [](float, float) { return Rgb(0x3E3022, 0.5f); });
        DrawWrapped(cv, x - rx - 2, y - ry - 2, x + rx + 2, y + ry + 2,
                    [&](float px, float py) { return SdEllipse(px, py, x, y, rx, ry); },
                    [&](float px, float py) { return Scale(stone, 0.6f + 0.55f * DomeLight(px, py, x, y, rx, ry)); });
    }
    // Tufts of grass: a fan of blades from one root, dark at the root, light at the tips.
    for (int i = 0; i < 700; ++i) {
        float x = rng.Range(0, 256), y = rng.Range(0, 256), len = rng.Range(4, 8);
        int blades = 4 + int(rng.Range(0, 4));
        Color tint = Mix(Rgb(0x4A6C26), Rgb(0x86A842), rng.Uniform());
        bool onEarth = bareAt(x, y) > 0.5f;
        for (int k = 0; k < blades; ++k) {
            float a = -1.5708f + rng.Range(-0.9f, 0.9f), l = len * rng.Range(0.6f, 1.0f);
            float tx = x + std::cos(a) * l, ty = y + std::sin(a) * l;
            if (onEarth) continue;  // after the draws, so that later tufts land where they did
            DrawWrapped(cv, std::min(x, tx) - 2, std::min(y, ty) - 2, std::max(x, tx) + 3, std::max(y, ty) + 3,
                        [&](float px, float py) { return SdCapsule(px, py, x + 0.7f, y + 0.7f, tx + 0.7f, ty + 0.7f, 0.7f); },
                        [](float, float) { return Rgb(0x2A3C16, 0.45f); });
            DrawWrapped(cv, std::min(x, tx) - 2, std::min(y, ty) - 2, std::max(x, tx) + 2, std::max(y, ty) + 2,
                        [&](float px, float py) { return SdCapsule(px, py, x, y, tx, ty, 0.6f); },
                        [&](float px, float py) {
                            float t = Clamp01(std::hypot(px - x, py - y) / l);
                            return Mix(Scale(tint, 0.7f), Mix(tint, Rgb(0xC8D87A), 0.35f), t);
                        });
        }
    }
    // Clusters of small flowers: white or yellow petals round a bright middle.
    for (int i = 0; i < 26; ++i) {
        float cx = rng.Range(0, 256), cy = rng.Range(0, 256);
        bool white = rng.Uniform() < 0.6f;
        int count = 5 + int(rng.Range(0, 8));
        for (int k = 0; k < count; ++k) {
            float x = cx + rng.Range(-14, 14), y = cy + rng.Range(-14, 14), r = rng.Range(1.1f, 1.6f);
            if (bareAt(x, y) > 0.3f) continue;
            Color petal = white ? Rgb(0xF4F2EA) : Rgb(0xF2D23A);
            for (int p = 0; p < 5; ++p) {
                float a = p * 1.2566f, px0 = x + std::cos(a) * r, py0 = y + std::sin(a) * r;
                DrawWrapped(cv, px0 - 2, py0 - 2, px0 + 2, py0 + 2,
                            [&](float px, float py) { return SdCircle(px, py, px0, py0, r * 0.75f); },
                            [&](float, float) { return petal; });
            }
            DrawWrapped(cv, x - 2, y - 2, x + 2, y + 2, [&](float px, float py) { return SdCircle(px, py, x, y, r * 0.55f); },
                        [&](float, float) { return white ? Rgb(0xF0C030) : Rgb(0xC87818); });
        }
    }
}

// The clouds seen from below against the sky. The picture tiles, so filtering joins its opposite
// edges without a seam; and where a cloud thins out towards the alpha test's cut (64 of 255) its
// colour becomes the sky's, so that the cut leaves no lighter line round it.
void PaintClouds(Canvas& cv) {
    const Color sky = Rgb(0x0080FF);  // the colour the frame clears to, behind the clouds
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            float u = x / 64.0f, v = y / 64.0f;
            float d = TileFbm(u * 5, v * 5, 5, 5, 77);
            float a = SmoothStep(0.44f, 0.69f, d);
            // Bright edges, a greyer belly where the cloud is thick, the sky through the thin parts.
            float thick = SmoothStep(0.57f, 0.82f, d);
            Color c = Mix(Rgb(0xF4F2EC), Rgb(0xA9B2C4), thick * 0.8f);
            c = Mix(sky, c, SmoothStep(0.25f, 0.7f, a));
            a = std::max(a, 2.0f / 255);  // the clear texels keep the sky's colour for filtering
            cv.Set(x, y, {c.r * a, c.g * a, c.b * a, a});
        }
}

void PaintCross(Canvas& cv) {
    const Color pink = Rgb(0xFF3FB4);
    for (int pass = 0; pass < 2; ++pass) {
        float grow = pass == 0 ? 1.6f : 0.0f;
        Color c = pass == 0 ? kInk : pink;
        auto arm = [&](float ax, float ay, float bx, float by) {
            DrawShape(cv, 0, 0, 32, 32, [&](float x, float y) { return SdCapsule(x, y, ax, ay, bx, by, 1.4f + grow); },
                      [&](float, float) { return c; });
        };
        arm(16, 3, 16, 10);
        arm(16, 22, 16, 29);
        arm(3, 16, 10, 16);
        arm(22, 16, 29, 16);
    }
}

void PaintCircle(Canvas& cv) {
    const Color pink = Rgb(0xFF3FB4);
    auto ring = [&](float x, float y) { return std::fabs(SdCircle(x, y, 16, 16, 11)) - 1.2f; };
    DrawShape(cv, 0, 0, 32, 32, [&](float x, float y) { return ring(x, y) - 1.4f; }, [&](float, float) { return kInk; });
    DrawShape(cv, 0, 0, 32, 32, ring, [&](float, float) { return pink; });
    DrawShape(cv, 0, 0, 32, 32, [&](float x, float y) { return SdCircle(x, y, 16, 16, 2.6f); },
              [&](float, float) { return kInk; });
    DrawShape(cv, 0, 0, 32, 32, [&](float x, float y) { return SdCircle(x, y, 16, 16, 1.3f); },
              [&](float, float) { return pink; });
}

void PaintScope(Canvas& cv) {
    const float c = 128, lens = 118;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            float d = std::hypot(x + 0.5f - c, y + 0.5f - c);
            if (d < lens) continue;  // the lens stays see-through
            // The tube: near black, a dull ring of light on the rim of the lens.
            float rim = Clamp01(1 - (d - lens) / 10);
            float g = 0.03f + 0.12f * rim * rim;
            cv.Set(x, y, {g, g, g * 1.1f, 1});
        }
    const Color line = Rgb(0x0A0A0C);
    auto bar = [&](float cx, float cy, float hw, float hh) {
        DrawShape(cv, cx - hw - 1, cy - hh - 1, cx + hw + 1, cy + hh + 1,
                  [&](float x, float y) { return SdBox(x, y, cx, cy, hw, hh, 0); }, [&](float, float) { return line; });
    };
    bar(c, c, 118, 0.6f);  // thin lines across the lens
    bar(c, c, 0.6f, 118);
    bar(c - 80, c, 38, 2.5f);  // thick posts from the rim
    bar(c + 80, c, 38, 2.5f);
    bar(c, c + 80, 2.5f, 38);
    for (int k = -4; k <= 4; ++k) {
        if (k == 0) continue;
        bar(c + k * 9.0f, c, 0.6f, 2.5f);
        bar(c, c + k * 9.0f, 2.5f, 0.6f);
    }
}

void PaintBlood(Canvas& cv) {
    const Color dark = Rgb(0x5A0A10), mid = Rgb(0x9C1420);
    Rng rng(99);
    struct Drop {
        float x, y, r;
    } drops[6] = {{15, 16, 8.5f}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    for (int i = 1; i < 6; ++i) {
        float a = rng.Range(0, 6.283f), dist = rng.Range(9, 12.5f);
        drops[i] = {16 + std::cos(a) * dist, 16 + std::sin(a) * dist, rng.Range(1.6f, 3.2f)};
    }
    for (const Drop& d : drops)
        DrawShape(cv, 0, 0, 32, 32,
                  [&](float x, float y) {
                      float wobble = (Noise2(x * 0.4f, y * 0.4f, 5) - 0.5f) * 2.0f;
                      return SdCircle(x, y, d.x, d.y, d.r) + wobble;
                  },
                  [&](float x, float y) {
                      float l = DomeLight(x, y, d.x, d.y, d.r + 1, d.r + 1);
                      Color c = Mix(dark, mid, l);
                      if (l > 0.92f) c = Mix(c, Rgb(0xD8606A), (l - 0.92f) * 8);
                      return c;
                  });
}

// The clear border a particle picture needs so that its smallest mip level keeps a clear edge
// texel: the game loads them with 3 levels (32 texels down to 8).
const int kParticleMargin = 1 << (3 - 1);

// A soft round particle: colour from core to rim, alpha falling off with a ragged edge that fades
// out before the margin.
template <class Tint>
void PaintPuff(Canvas& cv, float radius, uint32_t seed, float maxAlpha, Tint tint) {
    float c = cv.Width() / 2.0f, reach = c - kParticleMargin;
    for (int y = 0; y < cv.Height(); ++y)
        for (int x = 0; x < cv.Width(); ++x) {
            float r = std::hypot(x + 0.5f - c, y + 0.5f - c);
            float d = r / radius;
            float n = Fbm(x * 0.18f, y * 0.18f, 3, seed);
            float a = Clamp01((1 - d) * 1.6f + (n - 0.5f) * 0.9f) * maxAlpha * SmoothStep(reach, reach - 3, r);
            if (a <= 0.5f / 255) continue;
            Color col = tint(Clamp01(d), n);
            cv.Set(x, y, {col.r * a, col.g * a, col.b * a, a});
        }
}

void PaintFlame(Canvas& cv) {
    PaintPuff(cv, 11, 13, 1.0f, [](float d, float n) {
        Color core = Rgb(0xFFE89A), mid = Rgb(0xFF9A2E), rim = Rgb(0xC8321A);
        Color c = d < 0.45f ? Mix(core, mid, d / 0.45f) : Mix(mid, rim, (d - 0.45f) / 0.55f);
        return Scale(c, 0.85f + 0.3f * n);
    });
}

void PaintDust(Canvas& cv) {
    PaintPuff(cv, 10.5f, 17, 0.85f, [](float d, float n) {
        return Mix(Rgb(0xB4A284), Rgb(0x7C6A52), Clamp01(d * 0.6f + (n - 0.5f)));
    });
}

void PaintMuzzleFlash(Canvas& cv) {
    const float c = 32;
    Rng rng(3);
    float rays[9];
    for (float& r : rays) r = rng.Range(0.55f, 1.0f);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            float dx = x + 0.5f - c, dy = y + 0.5f - c;
            float d = std::hypot(dx, dy) / 31.0f;
            float ang = std::atan2(dy, dx) / 6.2831853f * 9.0f;
            int k = int(std::floor(ang));
            float f = ang - k;
            float spike = std::pow(std::fabs(std::cos(f * 3.1415927f)), 6.0f) * rays[((k % 9) + 9) % 9];
            float reach = 0.32f + 0.68f * spike;
            float a = Clamp01((reach - d) / reach * 1.8f);
            a *= a;
            if (a <= 0) continue;
            Color col = Mix(Rgb(0xFFF2C0), Rgb(0xFF8A1E), Clamp01(d / reach * 1.2f));
            cv.Set(x, y, {col.r * a, col.g * a, col.b * a, a});
        }
}

// One panel of the HUD atlas, kept a texel inside its cell so that filtering never reaches the next.
void Panel(Canvas& cv, float x0, float y0, float x1, float y1) {
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hw = (x1 - x0) / 2 - 1.5f, hh = (y1 - y0) / 2 - 1.5f;
    DrawShape(cv, x0, y0, x1, y1, [&](float x, float y) { return SdBox(x, y, cx, cy, hw, hh, 4); },
              [&](float, float y) { return Mix(Rgb(0x4A3C62), Rgb(0x221A30), Clamp01((y - y0) / (y1 - y0))); });
    DrawShape(cv, x0, y0, x1, y1, [&](float x, float y) { return SdBox(x, y, cx, cy, hw - 1.5f, hh - 1.5f, 3); },
              [&](float, float) { return Rgb(0x2C2240); });
    DrawShape(cv, x0, y1 - 4, x1, y1, [&](float x, float y) { return SdBox(x, y, cx, y1 - 2.5f, hw - 4, 0.5f, 0); },
              [&](float, float) { return Rgb(0xFB0DA8); });
}

void PaintHudIcons(Canvas& cv) {
    // Cells: u at 0, 0.33, 0.66, 1 (texels 0, 42, 84, 128); v at 0, 0.33, 0.66, 1 (texels 0, 21, 42, 64).
    Panel(cv, 0, 0, 42, 21);      // kills
    Panel(cv, 0, 21, 42, 42);     // health
    Panel(cv, 42, 0, 128, 21);    // money
    Panel(cv, 42, 21, 128, 42);   // ammunition
    Panel(cv, 42, 42, 128, 64);   // score
    // Kills: a small skull.
    DrawShape(cv, 0, 0, 14, 21, [](float x, float y) { return SdCircle(x, y, 7.5f, 9.5f, 4.2f); },
              [](float x, float y) { return Mix(Rgb(0x9A90A8), Rgb(0xF0E8F4), DomeLight(x, y, 7.5f, 9.5f, 4.5f, 4.5f)); });
    DrawShape(cv, 0, 0, 14, 21, [](float x, float y) { return SdBox(x, y, 7.5f, 14.0f, 2.2f, 1.6f, 0.5f); },
              [](float, float) { return Rgb(0xD8D0E0); });
    for (float ex : {5.8f, 9.2f})
        DrawShape(cv, 0, 0, 14, 21, [&](float x, float y) { return SdCircle(x, y, ex, 9.5f, 1.2f); },
                  [](float, float) { return Rgb(0x201828); });
    // Health: a red cross.
    for (int pass = 0; pass < 2; ++pass) {
        float g = pass == 0 ? 1.0f : 0.0f;
        Color c = pass == 0 ? Rgb(0x3A0A10) : Rgb(0xE8283A);
        DrawShape(cv, 0, 21, 16, 42, [&](float x, float y) {
            return std::min(SdBox(x, y, 7.5f, 31.5f, 4.5f + g, 1.6f + g, 0.5f), SdBox(x, y, 7.5f, 31.5f, 1.6f + g, 4.5f + g, 0.5f));
        }, [&](float, float) { return c; });
    }
    // Money: a gold coin.
    DrawShape(cv, 42, 0, 60, 21, [](float x, float y) { return SdCircle(x, y, 49.5f, 10.5f, 5.2f); },
              [](float x, float y) { return Mix(Rgb(0x8A5A10), Rgb(0xFFD95A), DomeLight(x, y, 49.5f, 10.5f, 5.5f, 5.5f)); });
    DrawShape(cv, 42, 0, 60, 21, [](float x, float y) { return std::fabs(SdCircle(x, y, 49.5f, 10.5f, 3.3f)) - 0.5f; },
              [](float, float) { return Rgb(0xB07A1C); });
    DrawShape(cv, 42, 0, 60, 21, [](float x, float y) { return SdBox(x, y, 49.5f, 10.5f, 0.6f, 2.2f, 0); },
              [](float, float) { return Rgb(0xB07A1C); });
    // Ammunition: three cartridges.
    for (int k = 0; k < 3; ++k) {
        float bx = 46.0f + k * 3.2f;
        DrawShape(cv, 42, 21, 60, 42, [&](float x, float y) { return SdBox(x, y, bx, 33.5f, 1.2f, 3.5f, 0.4f); },
                  [](float x, float) { return Mix(Rgb(0xC89A3A), Rgb(0xF2D27A), Clamp01(1 - std::fmod(x, 3.2f) / 2.4f)); });
        DrawShape(cv, 42, 21, 60, 42, [&](float x, float y) { return SdCapsule(x, y, bx, 28.0f, bx, 29.5f, 1.1f); },
                  [](float, float) { return Rgb(0xB06A3A); });
    }
    // Score: a star at the right end, the number goes on the left.
    float star[20];
    for (int k = 0; k < 10; ++k) {
        float a = -1.5707963f + k * 0.62831853f, r = (k % 2) ? 2.6f : 6.2f;
        star[2 * k] = 118.0f + std::cos(a) * r;
        star[2 * k + 1] = 53.5f + std::sin(a) * r;
    }
    DrawShape(cv, 108, 44, 128, 64, [&](float x, float y) { return SdPolygon(x, y, star, 10) - 0.8f; },
              [](float, float) { return Rgb(0x3A2A10); });
    DrawShape(cv, 108, 44, 128, 64, [&](float x, float y) { return SdPolygon(x, y, star, 10); },
              [](float x, float y) { return Mix(Rgb(0xE0A020), Rgb(0xFFF08A), Clamp01((128 - x + 64 - y) / 24 - 0.6f)); });
}

void PaintFence(Canvas& cv) {
    const Color woodLight = Rgb(0xB08A5A), woodDark = Rgb(0x6A4A2C);
    auto wood = [&](float x, float y, float x0, float y0, float w, float h, bool vertical) {
        float grain = Noise2(vertical ? x * 0.9f : x * 0.08f, vertical ? y * 0.08f : y * 0.9f, 21);
        float edge = vertical ? (x - x0) / w : (y - y0) / h;  // lit from the top left
        Color c = Mix(woodLight, woodDark, Clamp01(edge * 0.8f + (grain - 0.5f) * 0.7f));
        return c;
    };
    // Rails first, then the posts over them; the posts on the ends meet their mirror images.
    for (float ry : {6.0f, 18.0f}) {
        DrawShape(cv, 0, ry - 1, 128, ry + 8, [&](float x, float y) { return SdBox(x, y, 64, ry + 3, 70, 3.5f, 0) - 0.8f; },
                  [&](float, float) { return kInk; });
        DrawShape(cv, 0, ry - 1, 128, ry + 8, [&](float x, float y) { return SdBox(x, y, 64, ry + 3, 70, 3.0f, 0); },
                  [&](float x, float y) { return wood(x, y, 0, ry, 128, 6, false); });
    }
    for (float px : {0.0f, 64.0f, 128.0f}) {
        DrawShape(cv, px - 7, 0, px + 7, 32, [&](float x, float y) { return SdBox(x, y, px, 17, 5.2f, 16, 0) - 0.8f; },
                  [&](float, float) { return kInk; });
        DrawShape(cv, px - 7, 0, px + 7, 32, [&](float x, float y) { return SdBox(x, y, px, 17, 4.5f, 16, 0); },
                  [&](float x, float y) { return wood(x, y, px - 4.5f, 0, 9, 32, true); });
        DrawShape(cv, px - 7, 0, px + 7, 6, [&](float x, float y) { return SdCircle(x, y, px, 4.5f, 3.2f); },
                  [&](float x, float y) { return Mix(woodDark, woodLight, DomeLight(x, y, px, 4.5f, 3.2f, 3.2f)); });
    }
}

}  // namespace

void WriteWorldTextures(const std::string& root) {
    Canvas ground(256, 256);
    PaintGround(ground);
    WriteGameFile(root, "tex6.bmp", EncodeBmpKeyed(ground, KEY_BLACK));
    Canvas clouds(64, 64);
    PaintClouds(clouds);
    WriteGameFile(root, "clouds.tga", EncodeTgaAlpha(clouds, KEY_BLACK));
}

void WriteHudPictures(const std::string& root) {
    Canvas cross(32, 32), circle(32, 32), scope(256, 256), blood(32, 32), flame(32, 32), dust(32, 32), flash(64, 64),
        hud(128, 64), fence(128, 32);
    PaintCross(cross);
    PaintCircle(circle);
    PaintScope(scope);
    PaintInsideMargin(blood, kParticleMargin, false, 0.5f / 255, PaintBlood);
    PaintFlame(flame);
    PaintDust(dust);
    PaintMuzzleFlash(flash);
    PaintHudIcons(hud);
    PaintFence(fence);
    WriteGameFile(root, "graph\\cross.bmp", EncodeBmpKeyed(cross, KEY_WHITE));
    WriteGameFile(root, "graph\\circle.bmp", EncodeBmpKeyed(circle, KEY_WHITE));
    WriteGameFile(root, "graph\\awmlook.bmp", EncodeBmpKeyed(scope, KEY_WHITE));
    WriteGameFile(root, "graph\\krev.dds", EncodeDdsAlpha(blood, KEY_WHITE));
    WriteGameFile(root, "graph\\flame.tga", EncodeTgaAlpha(flame, KEY_WHITE));
    WriteGameFile(root, "graph\\dust.tga", EncodeTgaAlpha(dust, KEY_WHITE));
    WriteGameFile(root, "graph\\exp.tga", EncodeTgaAlpha(flash, KEY_WHITE));
    WriteGameFile(root, "graph\\hudicons.bmp", EncodeBmpKeyed(hud, KEY_BLACK));
    WriteGameFile(root, "graph\\plot.bmp", EncodeBmpKeyed(fence, KEY_WHITE));
}

}  // namespace content
