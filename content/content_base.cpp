// content_base.cpp -- output files, the canvas, distances, noise and the picture and wave encoders.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <jpeglib.h>

#include "content/content.h"

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

struct Pixel8 {
    uint8_t r, g, b, a;
};

uint8_t To8(float v) { return uint8_t(std::lround(Clamp01(v) * 255.0f)); }

// Keeps a visible pixel off the key colour by one step in its weakest channel.
void AvoidKey(Pixel8& p, uint32_t key) {
    if (((uint32_t(p.r) << 16) | (uint32_t(p.g) << 8) | p.b) != key) return;
    if (p.g < 255) p.g = uint8_t(p.g + 1);
    else p.g = uint8_t(p.g - 1);
}

std::vector<Pixel8> Resolve(const Canvas& cv, uint32_t key, bool keyed) {
    std::vector<Pixel8> out(size_t(cv.Width()) * cv.Height());
    // The average visible colour, given to fully transparent texels so filtering does not darken edges.
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
            Pixel8& p = out[size_t(y) * cv.Width() + x];
            if (keyed && c.a < 0.5f) {
                p = {uint8_t(key >> 16), uint8_t(key >> 8), uint8_t(key), 255};
                continue;
            }
            Color u = c.a > 0.004f ? Color{c.r / c.a, c.g / c.a, c.b / c.a, c.a} : Color{avg.r, avg.g, avg.b, 0};
            p = {To8(u.r), To8(u.g), To8(u.b), keyed ? uint8_t(255) : To8(u.a)};
            if (p.a == 255) AvoidKey(p, key);
        }
    return out;
}

}  // namespace

Bytes EncodeBmpKeyed(const Canvas& cv, uint32_t key) {
    std::vector<Pixel8> px = Resolve(cv, key, true);
    int w = cv.Width(), h = cv.Height();
    uint32_t stride = (uint32_t(w) * 3 + 3) & ~3u;
    uint32_t imageSize = stride * h;
    Bytes b;
    // File header.
    PutU8(b, 'B');
    PutU8(b, 'M');
    PutU32(b, 14 + 40 + imageSize);
    PutU32(b, 0);
    PutU32(b, 14 + 40);
    // Info header: bottom-up rows, 24 bits, no compression.
    PutU32(b, 40);
    PutU32(b, uint32_t(w));
    PutU32(b, uint32_t(h));
    PutU16(b, 1);
    PutU16(b, 24);
    PutU32(b, 0);
    PutU32(b, imageSize);
    PutU32(b, 2835);
    PutU32(b, 2835);
    PutU32(b, 0);
    PutU32(b, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Pixel8& p = px[size_t(y) * w + x];
            PutU8(b, p.b);
            PutU8(b, p.g);
            PutU8(b, p.r);
        }
        PutZeros(b, stride - uint32_t(w) * 3);
    }
    return b;
}

Bytes EncodeTgaAlpha(const Canvas& cv, uint32_t key) {
    std::vector<Pixel8> px = Resolve(cv, key, false);
    int w = cv.Width(), h = cv.Height();
    Bytes b;
    PutU8(b, 0);   // no image id
    PutU8(b, 0);   // no colour map
    PutU8(b, 2);   // uncompressed true colour
    PutZeros(b, 5);
    PutU16(b, 0);  // x origin
    PutU16(b, 0);  // y origin
    PutU16(b, uint32_t(w));
    PutU16(b, uint32_t(h));
    PutU8(b, 32);
    PutU8(b, 0x08);  // 8 alpha bits, rows from the bottom
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const Pixel8& p = px[size_t(y) * w + x];
            PutU8(b, p.b);
            PutU8(b, p.g);
            PutU8(b, p.r);
            PutU8(b, p.a);
        }
    return b;
}

Bytes EncodeDdsAlpha(const Canvas& cv, uint32_t key) {
    std::vector<Pixel8> px = Resolve(cv, key, false);
    int w = cv.Width(), h = cv.Height();
    Bytes b;
    PutU32(b, 0x20534444);  // "DDS "
    PutU32(b, 124);
    PutU32(b, 0x1 | 0x2 | 0x4 | 0x8 | 0x1000);  // caps, height, width, pitch, pixel format
    PutU32(b, uint32_t(h));
    PutU32(b, uint32_t(w));
    PutU32(b, uint32_t(w) * 4);
    PutU32(b, 0);  // depth
    PutU32(b, 0);  // mip levels: one
    PutZeros(b, 11 * 4);
    // Pixel format: 32-bit ARGB.
    PutU32(b, 32);
    PutU32(b, 0x41);
    PutU32(b, 0);
    PutU32(b, 32);
    PutU32(b, 0x00FF0000);
    PutU32(b, 0x0000FF00);
    PutU32(b, 0x000000FF);
    PutU32(b, 0xFF000000);
    PutU32(b, 0x1000);  // a texture
    PutZeros(b, 4 * 4);
    for (const Pixel8& p : px) {
        PutU8(b, p.b);
        PutU8(b, p.g);
        PutU8(b, p.r);
        PutU8(b, p.a);
    }
    return b;
}

Bytes EncodeJpeg(const Canvas& cv, int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* mem = nullptr;
    unsigned long memSize = 0;
    jpeg_mem_dest(&cinfo, &mem, &memSize);
    cinfo.image_width = JDIMENSION(cv.Width());
    cinfo.image_height = JDIMENSION(cv.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(cv.Width()) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        int y = int(cinfo.next_scanline);
        for (int x = 0; x < cv.Width(); ++x) {
            Color c = cv.Get(x, y);  // opaque pictures: premultiplied equals straight
            row[size_t(x) * 3] = To8(c.r);
            row[size_t(x) * 3 + 1] = To8(c.g);
            row[size_t(x) * 3 + 2] = To8(c.b);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes b(mem, mem + memSize);
    jpeg_destroy_compress(&cinfo);
    std::free(mem);
    return b;
}

Bytes EncodeWav16(const std::vector<float>& samples, int rate) {
    Bytes b;
    uint32_t dataSize = uint32_t(samples.size()) * 2;
    PutU32(b, 0x46464952);  // "RIFF"
    PutU32(b, 36 + dataSize);
    PutU32(b, 0x45564157);  // "WAVE"
    PutU32(b, 0x20746D66);  // "fmt "
    PutU32(b, 16);
    PutU16(b, 1);  // PCM
    PutU16(b, 1);  // mono
    PutU32(b, uint32_t(rate));
    PutU32(b, uint32_t(rate) * 2);
    PutU16(b, 2);
    PutU16(b, 16);
    PutU32(b, 0x61746164);  // "data"
    PutU32(b, dataSize);
    b.reserve(b.size() + dataSize);
    for (float s : samples) {
        float v = s < -1 ? -1 : (s > 1 ? 1 : s);
        PutU16(b, uint32_t(uint16_t(int16_t(std::lround(v * 32767.0f)))));
    }
    return b;
}

}  // namespace content
