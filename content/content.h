// content.h -- shared pieces of the content generator: the output folder, pictures, waves.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace content {

typedef std::vector<uint8_t> Bytes;

// Little-endian byte assembly.
void PutU8(Bytes& b, uint32_t v);
void PutU16(Bytes& b, uint32_t v);
void PutU32(Bytes& b, uint32_t v);
void PutF32(Bytes& b, float v);
void PutZeros(Bytes& b, size_t n);

// Writes a file under the output folder; the game's path uses backslashes, which become folders.
void WriteGameFile(const std::string& root, const char* gamePath, const Bytes& bytes);

struct Color {
    float r, g, b, a;
};
Color Rgb(uint32_t rgb, float a = 1.0f);
Color Mix(const Color& x, const Color& y, float t);
Color Scale(const Color& c, float k);  // colour times k, alpha kept

// A picture being painted: premultiplied RGBA floats, row 0 at the top.
class Canvas {
public:
    Canvas(int width, int height);
    int Width() const { return w; }
    int Height() const { return h; }
    // Composites colour c with coverage cov (0..1) over the pixel.
    void Blend(int x, int y, const Color& c, float cov);
    Color Get(int x, int y) const;  // premultiplied
    void Set(int x, int y, const Color& premultiplied);
    void Clear(const Color& c);

    // Where the shapes' coordinates land: pixel = coordinate * scale + offset (at first one to
    // one). Only DrawShape follows it.
    void SetView(float scale, float offsetX, float offsetY);
    float ViewScale() const { return viewScale; }
    float ViewX() const { return viewX; }
    float ViewY() const { return viewY; }

private:
    int w, h;
    std::vector<Color> px;
    float viewScale = 1, viewX = 0, viewY = 0;
};

// Paints a shape given by a signed distance (pixels, negative inside) with a colour that may
// vary across it, antialiased over one pixel; only the box x0..x1, y0..y1 is visited. All
// coordinates are the shapes' own, placed on the canvas by its view.
template <class Sdf, class Paint>
void DrawShape(Canvas& cv, float x0, float y0, float x1, float y1, Sdf sdf, Paint paint) {
    const float s = cv.ViewScale(), ox = cv.ViewX(), oy = cv.ViewY();
    x0 = x0 * s + ox;
    y0 = y0 * s + oy;
    x1 = x1 * s + ox;
    y1 = y1 * s + oy;
    int ix0 = x0 < 0 ? 0 : (int)x0, iy0 = y0 < 0 ? 0 : (int)y0;
    int ix1 = (int)x1 + 1, iy1 = (int)y1 + 1;
    if (ix1 > cv.Width()) ix1 = cv.Width();
    if (iy1 > cv.Height()) iy1 = cv.Height();
    for (int y = iy0; y < iy1; ++y)
        for (int x = ix0; x < ix1; ++x) {
            float px = (x + 0.5f - ox) / s, py = (y + 0.5f - oy) / s;
            float d = sdf(px, py) * s;
            float cov = 0.5f - d;
            if (cov <= 0.0f) continue;
            if (cov > 1.0f) cov = 1.0f;
            cv.Blend(x, y, paint(px, py), cov);
        }
}

// Paints what `paint` draws with DrawShape so that it keeps `margin` clear texels inside every
// edge of the canvas, so that filtering at the smallest mip level never carries it over to the
// opposite edge. The drawing is shrunk only as much as it must be and moved in; a figure that
// `stands` keeps its lowest texel on the bottom margin. Texels whose coverage is below
// `keepAlpha` count as clear (a keyed picture keeps half coverage and more).
void PaintInsideMargin(Canvas& cv, int margin, bool stands, float keepAlpha, const std::function<void(Canvas&)>& paint);

// Distances, in pixels.
float SdCircle(float x, float y, float cx, float cy, float r);
float SdEllipse(float x, float y, float cx, float cy, float rx, float ry);
float SdBox(float x, float y, float cx, float cy, float hw, float hh, float radius);
float SdCapsule(float x, float y, float ax, float ay, float bx, float by, float r);
float SdPolygon(float x, float y, const float* xy, int count);

// Value noise in 0..1 and its fractal sum, both deterministic for a seed.
float Noise2(float x, float y, uint32_t seed);
float Fbm(float x, float y, int octaves, uint32_t seed);
float Clamp01(float v);
float SmoothStep(float e0, float e1, float v);

// The light of every picture: from the upper left, slightly in front.
float Lambert(float nx, float ny, float nz);
// Shading of a dome over an ellipse, 0..1 from the far side to the lit side.
float DomeLight(float x, float y, float cx, float cy, float rx, float ry);

// Encoders. Keyed pictures get the key colour where alpha is below one half and never elsewhere.
Bytes EncodeBmpKeyed(const Canvas& cv, uint32_t keyRgb);
Bytes EncodeTgaAlpha(const Canvas& cv, uint32_t keyRgb);
Bytes EncodeDdsAlpha(const Canvas& cv, uint32_t keyRgb);
Bytes EncodeJpeg(const Canvas& cv, int quality);
// A mono 16-bit PCM wave of samples in -1..1 (clamped).
Bytes EncodeWav16(const std::vector<float>& samples, int rate);

// Deterministic generator of the painters and synthesisers (never the runtime's rand).
class Rng {
public:
    explicit Rng(uint32_t seed) : s(seed ? seed : 1u) {}
    uint32_t Next();
    float Uniform();                   // 0..1
    float Range(float lo, float hi);   // lo..hi
private:
    uint32_t s;
};

// The writers of each kind of content.
void WriteGameDatabase(const std::string& root);
void WriteTerrain(const std::string& root);
void WriteWorldTextures(const std::string& root);
void WriteHudPictures(const std::string& root);
void WriteWeaponPictures(const std::string& root);
void WriteCreaturePictures(const std::string& root);
void WriteIntroPictures(const std::string& root);
void WriteSoundEffects(const std::string& root);
void WriteIntroMusic(const std::string& root);

// Painters shared between writers.
void PaintCreature(Canvas& cv, int kind, float cx, float baseY, float size, uint32_t seed);
void PaintVugaHead(Canvas& cv, int kind, float cx, float cy, float radius);

const uint32_t KEY_WHITE = 0xFFFFFF;
const uint32_t KEY_BLACK = 0x000000;
const uint32_t KEY_MAGENTA = 0xFF00FF;

}  // namespace content

namespace content {

// The enemy types of db.cfg in type order, with their pictures; the creature painter draws them.
struct EnemyTypeContent {
    const char* name;
    const char* picture;     // 128 x 128, magenta key
    const char* projectile;  // 128 x 128, magenta key; null for types that do not shoot
    int reward;
    float damage;
    unsigned flags;
    const char* description;
};
extern const EnemyTypeContent kEnemyTypes[];
extern const int kEnemyTypeCount;
extern const char* const kTopicOfTheDay;

}  // namespace content
