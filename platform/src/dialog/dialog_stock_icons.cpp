// dialog_stock_icons.cpp -- the system's stock icons of message boxes (error, question, warning,
// information), drawn antialiased into ARGB pixels.
#include "dialog/dialog_stock_icons.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace dlgview {
namespace {

float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

float Circle(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }

float Capsule(float x, float y, float ax, float ay, float bx, float by, float r) {
    float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    float t = Clamp01((px * dx + py * dy) / (dx * dx + dy * dy));
    return std::hypot(px - dx * t, py - dy * t) - r;
}

// A triangle with rounded corners: the distance to the triangle, less the rounding.
float RoundTriangle(float x, float y, const float* v, float round) {
    float d = 1e9f;
    bool inside = true;
    for (int i = 0, j = 2; i < 3; j = i, ++i) {
        float ex = v[2 * i] - v[2 * j], ey = v[2 * i + 1] - v[2 * j + 1];
        float wx = x - v[2 * j], wy = y - v[2 * j + 1];
        float t = Clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey));
        d = std::min(d, std::hypot(wx - ex * t, wy - ey * t));
        if (ex * wy - ey * wx < 0) inside = false;  // the corners run clockwise on screen
    }
    return (inside ? -d : d) - round;
}

// The question mark's hook: a ring from the left, over the top, round to below the right.
float QuestionHook(float x, float y, float cx, float cy, float r, float width) {
    const float start = 2.64f, end = 1.27f;  // angles on screen: 0 to the right, growing downwards
    float a = std::atan2(y - cy, x - cx);
    if (a <= end || a >= start) return std::fabs(std::hypot(x - cx, y - cy) - r) - width;
    float sx = cx + r * std::cos(start), sy = cy + r * std::sin(start);
    float ex = cx + r * std::cos(end), ey = cy + r * std::sin(end);
    return std::min(Circle(x, y, sx, sy, width), Circle(x, y, ex, ey, width));
}

struct Layer {
    std::function<float(float, float)> distance;  // pixels, negative inside
    uint32_t rgb;
    bool lit;  // shaded from the upper left like a rounded body
};

}  // namespace

std::vector<uint32_t> StockIconPixels(int id, int size) {
    const float k = size / 32.0f;  // drawn on a 32-pixel grid
    std::vector<Layer> layers;
    switch (id) {
        case kStockIconError:
            layers.push_back({[=](float x, float y) { return Circle(x, y, 16 * k, 16 * k, 14.5f * k); }, 0xC8202A, true});
            layers.push_back({[=](float x, float y) {
                                  return std::min(Capsule(x, y, 10.5f * k, 10.5f * k, 21.5f * k, 21.5f * k, 2.1f * k),
                                                  Capsule(x, y, 21.5f * k, 10.5f * k, 10.5f * k, 21.5f * k, 2.1f * k));
                              },
                              0xFFFFFF, false});
            break;
        case kStockIconWarning: {
            const float tri[6] = {16 * k, 2.5f * k, 30 * k, 28.5f * k, 2 * k, 28.5f * k};
            layers.push_back({[=](float x, float y) { return RoundTriangle(x, y, tri, 1.5f * k); }, 0xF2C230, true});
            layers.push_back({[=](float x, float y) {
                                  return std::min(Capsule(x, y, 16 * k, 11 * k, 16 * k, 19.5f * k, 1.9f * k),
                                                  Circle(x, y, 16 * k, 24.5f * k, 2.1f * k));
                              },
                              0x101010, false});
            break;
        }
        case kStockIconQuestion:
            layers.push_back({[=](float x, float y) { return Circle(x, y, 16 * k, 16 * k, 14.5f * k); }, 0x2A64C8, true});
            layers.push_back({[=](float x, float y) {
                                  return std::min({QuestionHook(x, y, 16 * k, 12.5f * k, 4.6f * k, 1.9f * k),
                                                   Capsule(x, y, 17.3f * k, 16.9f * k, 16 * k, 19.5f * k, 1.9f * k),
                                                   Circle(x, y, 16 * k, 24 * k, 2.1f * k)});
                              },
                              0xFFFFFF, false});
            break;
        case kStockIconInformation:
        default:
            layers.push_back({[=](float x, float y) { return Circle(x, y, 16 * k, 16 * k, 14.5f * k); }, 0x2A64C8, true});
            layers.push_back({[=](float x, float y) {
                                  return std::min(Capsule(x, y, 16 * k, 14 * k, 16 * k, 24 * k, 2.0f * k),
                                                  Circle(x, y, 16 * k, 9 * k, 2.2f * k));
                              },
                              0xFFFFFF, false});
            break;
    }
    // Composited in straight ARGB over transparency, each layer antialiased over one pixel.
    std::vector<float> r(size_t(size) * size, 0), g(r), b(r), a(r);
    for (const Layer& layer : layers) {
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                float px = x + 0.5f, py = y + 0.5f;
                float cov = Clamp01(0.5f - layer.distance(px, py));
                if (cov <= 0) continue;
                float shade = 1;
                if (layer.lit) {  // lighter towards the upper left, darker towards the lower right
                    float t = ((px + py) / (2.0f * size));
                    shade = 1.25f - 0.5f * t;
                }
                float cr = std::min(1.0f, ((layer.rgb >> 16) & 0xFF) / 255.0f * shade);
                float cg = std::min(1.0f, ((layer.rgb >> 8) & 0xFF) / 255.0f * shade);
                float cb = std::min(1.0f, (layer.rgb & 0xFF) / 255.0f * shade);
                size_t i = size_t(y) * size + x;
                float out = cov + a[i] * (1 - cov);
                r[i] = (cr * cov + r[i] * a[i] * (1 - cov)) / out;
                g[i] = (cg * cov + g[i] * a[i] * (1 - cov)) / out;
                b[i] = (cb * cov + b[i] * a[i] * (1 - cov)) / out;
                a[i] = out;
            }
    }
    std::vector<uint32_t> argb(size_t(size) * size);
    auto to8 = [](float v) { return uint32_t(std::lround(Clamp01(v) * 255)); };
    for (size_t i = 0; i < argb.size(); ++i) argb[i] = to8(a[i]) << 24 | to8(r[i]) << 16 | to8(g[i]) << 8 | to8(b[i]);
    return argb;
}

}  // namespace dlgview
