// content_base.cpp -- output files, the canvas, distances, noise, the picture encoders and the
// samples of the waves.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "content/content.h"
#include "layer/image_encode.h"
#include "layer/wave_write.h"

namespace content {

void PutU8(Bytes& b, uint32_t v) { b.push_back(static_cast<uint8_t>(v)); }
void PutU16(Bytes& b, uint32_t v) {
    PutU8(b, v & 0xFF);
    PutU8(b, (v >> 8) & 0xFF);
}
void PutU32(Bytes& b, uint32_t v) {
    PutU16(b, v & 0xFFFF);
    PutU16(b, v >> 16);
}
void PutF32(Bytes& b, float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    PutU32(b, u);
}
void PutZeros(Bytes& b, size_t n) { b.insert(b.end(), n, 0); }

void WriteGameFile(const std::string& root, const char* gamePath, const Bytes& bytes) {
    std::string rel(gamePath);
    for (char& c : rel)
        if (c == '\\') c = '/';
    std::filesystem::path full = std::filesystem::path(root) / rel;
    std::filesystem::create_directories(full.parent_path());
    std::FILE* f = std::fopen(full.string().c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        std::fprintf(stderr, "trevok_content: cannot write %s\n", full.string().c_str());
        std::exit(1);
    }
    std::fclose(f);
}

Color Rgb(uint32_t rgb, float a) {
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, a};
}
Color Mix(const Color& x, const Color& y, float t) {
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}
Color Scale(const Color& c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }

Canvas::Canvas(int width, int height) : w(width), h(height), px(size_t(width) * height, Color{0, 0, 0, 0}) {}

void Canvas::Blend(int x, int y, const Color& c, float cov) {
    Color& d = px[size_t(y) * w + x];
    float a = Clamp01(c.a * cov);
    d.r = Clamp01(c.r) * a + d.r * (1 - a);
    d.g = Clamp01(c.g) * a + d.g * (1 - a);
    d.b = Clamp01(c.b) * a + d.b * (1 - a);
    d.a = a + d.a * (1 - a);
}
Color Canvas::Get(int x, int y) const { return px[size_t(y) * w + x]; }
void Canvas::Set(int x, int y, const Color& c) { px[size_t(y) * w + x] = c; }
void Canvas::Clear(const Color& c) {
    for (Color& p : px) p = {c.r * c.a, c.g * c.a, c.b * c.a, c.a};
}
void Canvas::SetView(float scale, float offsetX, float offsetY) {
    viewScale = scale;
    viewX = offsetX;
    viewY = offsetY;
}

namespace {

// The texels a picture keeps, as a box of whole texels; empty when it keeps none.
struct Extent {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -(1 << 30), y1 = -(1 << 30);  // inclusive
    bool Empty() const { return x1 < x0; }
};

Extent KeptExtent(const Canvas& cv, float keepAlpha) {
    Extent e;
    for (int y = 0; y < cv.Height(); ++y)
        for (int x = 0; x < cv.Width(); ++x) {
            float a = cv.Get(x, y).a;
            if (a <= 0 || a < keepAlpha) continue;
            e.x0 = std::min(e.x0, x);
            e.x1 = std::max(e.x1, x);
            e.y0 = std::min(e.y0, y);
            e.y1 = std::max(e.y1, y);
        }
    return e;
}

}  // namespace

void PaintInsideMargin(Canvas& cv, int margin, bool stands, float keepAlpha, const std::function<void(Canvas&)>& paint) {
    const int w = cv.Width(), h = cv.Height();
    // Where the drawing reaches as it stands, on a canvas with room all round.
    Canvas probe(3 * w, 3 * h);
    probe.SetView(1, float(w), float(h));
    paint(probe);
    Extent e = KeptExtent(probe, keepAlpha);
    if (e.Empty()) {
        paint(cv);
        return;
    }
    const float left = float(e.x0 - w), right = float(e.x1 + 1 - w), top = float(e.y0 - h), bottom = float(e.y1 + 1 - h);
    for (int attempt = 0; attempt < 16; ++attempt) {
        // Each retry keeps half a texel more room, for the antialiased rim that rounding moved.
        const float lo = margin + 0.5f * attempt, hiX = w - lo, hiY = h - lo;
        const float scale = std::min({1.0f, (hiX - lo) / (right - left), (hiY - lo) / (bottom - top)});
        // Shrunk about the picture's middle, then moved in where it still crosses the margin.
        float ox = w * 0.5f * (1 - scale), oy = h * 0.5f * (1 - scale);
        float l = left * scale + ox, r = right * scale + ox, t = top * scale + oy, b = bottom * scale + oy;
        if (l < lo) ox += lo - l;
        if (r > hiX) ox -= r - hiX;
        if (stands || b > hiY)
            oy += hiY - b;
        else if (t < lo)
            oy += lo - t;
        Canvas trial(w, h);
        trial.SetView(scale, ox, oy);
        paint(trial);
        Extent f = KeptExtent(trial, keepAlpha);
        if (f.Empty() || (f.x0 >= margin && f.y0 >= margin && f.x1 < w - margin && f.y1 < h - margin)) {
            cv = trial;
            cv.SetView(1, 0, 0);
            return;
        }
    }
    std::fprintf(stderr, "trevok_content: a picture does not fit inside its margin\n");
    std::exit(1);
}

float SdCircle(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }

float SdEllipse(float x, float y, float cx, float cy, float rx, float ry) {
    // First-order distance: the implicit value over its gradient, good enough for edges.
    float dx = (x - cx) / rx, dy = (y - cy) / ry;
    float k = std::sqrt(dx * dx + dy * dy);
    float gx = dx / rx, gy = dy / ry;
    float g = std::sqrt(gx * gx + gy * gy);
    if (g < 1e-6f) return -std::min(rx, ry);
    return (k - 1.0f) * k / g;
}

float SdBox(float x, float y, float cx, float cy, float hw, float hh, float radius) {
    float qx = std::fabs(x - cx) - hw + radius, qy = std::fabs(y - cy) - hh + radius;
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SdCapsule(float x, float y, float ax, float ay, float bx, float by, float r) {
    float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    float t = Clamp01((px * dx + py * dy) / (dx * dx + dy * dy));
    return std::hypot(px - dx * t, py - dy * t) - r;
}

float SdPolygon(float x, float y, const float* v, int n) {
    float d = (x - v[0]) * (x - v[0]) + (y - v[1]) * (y - v[1]);
    float s = 1.0f;
    for (int i = 0, j = n - 1; i < n; j = i, ++i) {
        float ex = v[2 * j] - v[2 * i], ey = v[2 * j + 1] - v[2 * i + 1];
        float wx = x - v[2 * i], wy = y - v[2 * i + 1];
        float t = Clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey));
        float bx = wx - ex * t, by = wy - ey * t;
        d = std::min(d, bx * bx + by * by);
        bool c1 = y >= v[2 * i + 1], c2 = y < v[2 * j + 1], c3 = ex * wy > ey * wx;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
    }
    return s * std::sqrt(d);
}

static float Hash(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u ^ uint32_t(x) * 0x85EBCA77u ^ uint32_t(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / float(0x1000000);
}

float Noise2(float x, float y, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    float a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed);
    float c = Hash(ix, iy + 1, seed), d = Hash(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fbm(float x, float y, int octaves, uint32_t seed) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * Noise2(x, y, seed + i * 101u);
        norm += amp;
        x *= 2.03f;
        y *= 2.03f;
        amp *= 0.5f;
    }
    return sum / norm;
}

float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
float SmoothStep(float e0, float e1, float v) {
    float t = Clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

float Lambert(float nx, float ny, float nz) {
    const float lx = -0.52f, ly = -0.58f, lz = 0.62f;  // towards the light; screen y grows down
    float d = nx * lx + ny * ly + nz * lz;
    return d < 0 ? 0 : d;
}

float DomeLight(float x, float y, float cx, float cy, float rx, float ry) {
    float nx = (x - cx) / rx, ny = (y - cy) / ry;
    float q = 1 - nx * nx - ny * ny;
    float nz = std::sqrt(q > 0 ? q : 0);
    return Clamp01(0.25f + 0.85f * Lambert(nx, ny, nz));
}

uint32_t Rng::Next() {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
}
float Rng::Uniform() { return (Next() >> 8) / float(1 << 24); }
float Rng::Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }

namespace {

DWORD ArgbOf(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
    return (DWORD(a) << 24) | (DWORD(r) << 16) | (DWORD(g) << 8) | b;
}

uint8_t To8(float v) { return uint8_t(std::lround(Clamp01(v) * 255.0f)); }

// The canvas as 8-bit ARGB, top row first. A keyed picture gets the key where the canvas is
// less than half covered and is opaque elsewhere; a picture with alpha keeps its alpha, and its
// fully transparent texels take the picture's average colour so that filtering does not darken
// the edges. No opaque texel ever equals the key: it moves one step in green.
std::vector<DWORD> Resolve(const Canvas& cv, uint32_t key, bool keyed) {
    std::vector<DWORD> out(size_t(cv.Width()) * cv.Height());
    double sr = 0, sg = 0, sb = 0, sa = 0;
    for (int y = 0; y < cv.Height(); ++y)
        for (int x = 0; x < cv.Width(); ++x) {
            Color c = cv.Get(x, y);
            sr += c.r;
            sg += c.g;
            sb += c.b;
            sa += c.a;
        }
    Color avg = sa > 0 ? Color{float(sr / sa), float(sg / sa), float(sb / sa), 1} : Color{0.5f, 0.5f, 0.5f, 1};
    for (int y = 0; y < cv.Height(); ++y)
        for (int x = 0; x < cv.Width(); ++x) {
            Color c = cv.Get(x, y);
            DWORD& p = out[size_t(y) * cv.Width() + x];
            if (keyed && c.a < 0.5f) {
                p = 0xFF000000u | key;
                continue;
            }
            Color u = c.a > 0.004f ? Color{c.r / c.a, c.g / c.a, c.b / c.a, c.a} : Color{avg.r, avg.g, avg.b, 0};
            uint8_t r = To8(u.r), g = To8(u.g), b = To8(u.b), a = keyed ? uint8_t(255) : To8(u.a);
            if (a == 255 && ArgbOf(0, r, g, b) == key) g = g < 255 ? uint8_t(g + 1) : uint8_t(g - 1);
            p = ArgbOf(a, r, g, b);
        }
    return out;
}

Bytes Checked(HRESULT hr, const std::vector<BYTE>& bytes) {
    if (hr < 0) {
        std::fprintf(stderr, "trevok_content: a picture could not be encoded (%d)\n", int(hr));
        std::exit(1);
    }
    return bytes;
}

}  // namespace

Bytes EncodeBmpKeyed(const Canvas& cv, uint32_t key) {
    std::vector<DWORD> px = Resolve(cv, key, true);
    std::vector<BYTE> out;
    return Checked(layer::EncodeBmp24(UINT(cv.Width()), UINT(cv.Height()), px.data(), &out), out);
}

Bytes EncodeTgaAlpha(const Canvas& cv, uint32_t key) {
    std::vector<DWORD> px = Resolve(cv, key, false);
    std::vector<BYTE> out;
    return Checked(layer::EncodeTga32(UINT(cv.Width()), UINT(cv.Height()), px.data(), &out), out);
}

Bytes EncodeDdsAlpha(const Canvas& cv, uint32_t key) {
    std::vector<DWORD> px = Resolve(cv, key, false);
    std::vector<BYTE> out;
    return Checked(layer::EncodeDdsArgb32(UINT(cv.Width()), UINT(cv.Height()), px.data(), &out), out);
}

Bytes EncodeJpeg(const Canvas& cv, int quality) {
    std::vector<DWORD> px = Resolve(cv, 0xFF00FF, false);  // photos are opaque
    std::vector<BYTE> out;
    return Checked(layer::EncodeJpeg(UINT(cv.Width()), UINT(cv.Height()), px.data(), quality, &out), out);
}

Bytes EncodeWav16(const std::vector<float>& samples, int rate) {
    std::vector<int16_t> pcm;
    pcm.reserve(samples.size());
    for (float s : samples) {
        float v = s < -1 ? -1 : (s > 1 ? 1 : s);
        pcm.push_back(static_cast<int16_t>(std::lround(v * 32767.0f)));
    }
    return layer::MakeWave16(pcm, 1, rate);
}

}  // namespace content
