// intro_painter.cpp -- the intro's photos of the creatures and its closing picture.
#include <cmath>
#include <cstdio>

#include "content/content.h"

namespace content {
namespace {

struct Photo {
    int width, height;
    int scene;     // 0 meadow, 1 studio, 2 night
    int subject;   // creature kind
    int second;    // a second creature behind, or -1
};

// Sizes are twice the half sizes the intro gives each photo.
const Photo kPhotos[11] = {
    {190, 270, 1, 5, -1}, {176, 226, 0, 0, -1}, {261, 201, 0, 7, 2},  {232, 350, 2, 3, -1},
    {420, 278, 0, 10, 4}, {298, 350, 1, 1, -1}, {350, 262, 2, 9, 8},  {286, 350, 0, 6, -1},
    {350, 248, 1, 4, 0},  {252, 350, 2, 2, -1}, {350, 250, 0, 10, 5},
};

void PaintScene(Canvas& cv, int scene, uint32_t seed) {
    int w = cv.Width(), h = cv.Height();
    float horizon = h * 0.62f;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float u = float(x) / w, v = float(y) / h;
            Color c;
            if (scene == 1) {
                // A studio backdrop: a pool of light behind the subject.
                float d = std::hypot(u - 0.42f, (v - 0.38f) * 0.8f);
                c = Mix(Rgb(0xE8B8D8), Rgb(0x4A2A5A), SmoothStep(0.05f, 0.75f, d));
            } else {
                Color skyTop = scene == 0 ? Rgb(0x5A9AD8) : Rgb(0x0E1432);
                Color skyLow = scene == 0 ? Rgb(0xCDE4F0) : Rgb(0x3A2A5A);
                float hill = horizon - h * 0.08f * Fbm(u * 3, 0.5f, 3, seed) - h * 0.05f;
                if (y < hill) {
                    c = Mix(skyTop, skyLow, v / (hill / h));
                    if (scene == 0) {
                        float cloud = SmoothStep(0.55f, 0.75f, Fbm(u * 4, v * 8, 4, seed + 3));
                        c = Mix(c, Rgb(0xF6F6F2), cloud * 0.85f);
                    } else if (Noise2(x * 0.9f, y * 0.9f, seed) > 0.985f) {
                        c = Rgb(0xF0F0FF);
                    }
                } else {
                    float g = Fbm(u * 12, v * 20, 3, seed + 7);
                    Color ground = scene == 0 ? Mix(Rgb(0x4E7A2A), Rgb(0x8AAE4A), g) : Mix(Rgb(0x1A2A22), Rgb(0x2E4A32), g);
                    c = Scale(ground, 0.8f + 0.3f * (y - hill) / (h - hill));
                }
            }
            cv.Set(x, y, c);
        }
}

// The look of a print: vignette, grain and a warm grade, inside a thin pale border.
void FinishPhoto(Canvas& cv, uint32_t seed) {
    int w = cv.Width(), h = cv.Height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float u = (x + 0.5f) / w - 0.5f, v = (y + 0.5f) / h - 0.5f;
            float vignette = 1 - 0.55f * SmoothStep(0.2f, 0.75f, std::sqrt(u * u + v * v) * 1.2f);
            float grain = (Noise2(x * 0.7f, y * 0.7f, seed) - 0.5f) * 0.08f;
            Color c = cv.Get(x, y);
            c = {(c.r * 1.04f) * vignette + grain, c.g * vignette + grain, (c.b * 0.93f) * vignette + grain, 1};
            int edge = std::min(std::min(x, y), std::min(w - 1 - x, h - 1 - y));
            if (edge < 5) c = edge < 1 ? Rgb(0xB8B0A0) : Rgb(0xF2ECDC);
            cv.Set(x, y, {Clamp01(c.r), Clamp01(c.g), Clamp01(c.b), 1});
        }
}

void PaintPhoto(Canvas& cv, const Photo& p, uint32_t seed) {
    PaintScene(cv, p.scene, seed);
    float w = float(p.width), h = float(p.height);
    float size = std::min(h * 0.72f, w * 0.95f);
    if (p.second >= 0) {
        float back = size * 0.62f;
        PaintCreature(cv, p.second, w * 0.74f, h * 0.78f, back, seed + 11);
        PaintCreature(cv, p.subject, w * 0.38f, h * 0.96f, size * 0.85f, seed + 13);
    } else {
        PaintCreature(cv, p.subject, w * 0.5f, h * 0.95f, size, seed + 13);
    }
    FinishPhoto(cv, seed + 17);
}

// The closing picture: a VUGA under a prohibition sign, on the see-through key.
void PaintClosing(Canvas& cv) {
    const float c = 200;
    PaintVugaHead(cv, 4, c, c + 6, 150);
    const Color red = Rgb(0xE0202E), ink = Rgb(0x24142C);
    auto sign = [&](float x, float y) {
        float ring = std::fabs(SdCircle(x, y, c, c, 168)) - 17;
        float ax = c - 118, ay = c - 118, bx = c + 118, by = c + 118;
        float bar = SdCapsule(x, y, ax, ay, bx, by, 16);
        return std::min(ring, bar);
    };
    DrawShape(cv, 0, 0, 400, 400, [&](float x, float y) { return sign(x, y) - 3.5f; }, [&](float, float) { return ink; });
    DrawShape(cv, 0, 0, 400, 400, sign, [&](float x, float y) {
        float l = Clamp01(0.5f + (c - x + c - y) / 700.0f);
        return Mix(Scale(red, 0.7f), Mix(red, Rgb(0xFF8A8A), 0.3f), l);
    });
}

}  // namespace

void WriteIntroPictures(const std::string& root) {
    for (int i = 0; i < 11; ++i) {
        Canvas cv(kPhotos[i].width, kPhotos[i].height);
        PaintPhoto(cv, kPhotos[i], 300u + 17u * i);
        char path[64];
        std::snprintf(path, sizeof(path), "graph\\intro\\melidrak%d.jpg", i + 1);
        WriteGameFile(root, path, EncodeJpeg(cv, 88));
    }
    Canvas closing(400, 400);
    PaintClosing(closing);
    WriteGameFile(root, "graph\\intro\\no.bmp", EncodeBmpKeyed(closing, KEY_MAGENTA));
}

}  // namespace content
