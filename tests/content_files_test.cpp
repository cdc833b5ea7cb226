// content_files_test.cpp -- every generated picture and wave read back through the layer's
// decoders: names, sizes, key colours, muzzle points, wave formats and the intro music.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "content_test_support.h"
#include "game/game_database.h"
#include "layer/image_decode.h"

namespace {

struct Picture {
    layer::DecodedImage image;
    DWORD At(int x, int y) const { return image.top.pixels[size_t(y) * image.top.width + x]; }
    int Width() const { return int(image.top.width); }
    int Height() const { return int(image.top.height); }
};

Picture Load(const char* gamePath, int width, int height) {
    Picture p;
    std::vector<BYTE> bytes = ReadFileBytes(DataPath(gamePath));
    EXPECT_FALSE(bytes.empty()) << gamePath << " is missing";
    EXPECT_GE(layer::DecodeImage(bytes.data(), bytes.size(), &p.image), 0) << gamePath;
    EXPECT_EQ(p.Width(), width) << gamePath;
    EXPECT_EQ(p.Height(), height) << gamePath;
    return p;
}

bool IsKey(DWORD argb, DWORD key) { return (argb | 0xFF000000u) == key && (argb >> 24) == 0xFF; }

int CountKey(const Picture& p, DWORD key) {
    int n = 0;
    for (DWORD px : p.image.top.pixels) n += IsKey(px, key);
    return n;
}

// The sizes of the see-through regions that do not reach the picture's edge: gaps between the
// parts of a figure. None at all means the key shows only around the figure.
std::vector<int> EnclosedKeyRegions(const Picture& p, DWORD key) {
    int w = p.Width(), h = p.Height();
    std::vector<int> region(size_t(w) * h, -1);
    std::vector<int> sizes, stack;
    auto fill = [&](int start, int id) {
        int n = 0;
        stack.push_back(start);
        while (!stack.empty()) {
            int i = stack.back();
            stack.pop_back();
            if (region[i] >= 0 || !IsKey(p.image.top.pixels[i], key)) continue;
            region[i] = id;
            ++n;
            // Texels that touch at a corner count as one region: such a gap opens to the outside.
            int x = i % w, y = i / w;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    int nx = x + dx, ny = y + dy;
                    if ((dx || dy) && nx >= 0 && nx < w && ny >= 0 && ny < h) stack.push_back(ny * w + nx);
                }
        }
        return n;
    };
    for (int i = 0; i < w * h; ++i)  // first the key that reaches the edges: the outside
        if (i % w == 0 || i % w == w - 1 || i < w || i >= (h - 1) * w) fill(i, 0);
    for (int i = 0; i < w * h; ++i)
        if (region[i] < 0 && IsKey(p.image.top.pixels[i], key)) sizes.push_back(fill(i, int(sizes.size()) + 1));
    return sizes;
}

// The mean difference of all four channels between two columns (or rows) of texels.
double LineStep(const Picture& p, int a, int b, bool columns) {
    double sum = 0;
    int n = columns ? p.Height() : p.Width();
    for (int i = 0; i < n; ++i) {
        DWORD x = columns ? p.At(a, i) : p.At(i, a), y = columns ? p.At(b, i) : p.At(i, b);
        for (int shift = 0; shift < 32; shift += 8) sum += std::abs(int((x >> shift) & 0xFF) - int((y >> shift) & 0xFF));
    }
    return sum / n;
}

const DWORD kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kMagenta = 0xFFFF00FF;

// A keyed picture: something drawn, something see-through, and no pinholes of key inside the
// figure; with `gaps` false not even larger see-through regions inside it.
void ExpectKeyedFigure(const char* path, int w, int h, DWORD key, bool gaps = false) {
    SCOPED_TRACE(path);
    Picture p = Load(path, w, h);
    int keyed = CountKey(p, key);
    EXPECT_GT(keyed, 0) << "nothing is see-through";
    EXPECT_LT(keyed, w * h) << "nothing is drawn";
    std::vector<int> enclosed = EnclosedKeyRegions(p, key);
    if (!gaps) {
        EXPECT_TRUE(enclosed.empty()) << enclosed.size() << " see-through regions inside the figure";
    }
    for (int size : enclosed) EXPECT_GE(size, 8) << "a pinhole of key inside the figure";
}

}  // namespace

// Where a cloud thins out to the alpha test's cut (64) it is drawn blended over the sky, the colour
// the frame clears to: its colour there is the sky's, or the cut shows as a lighter line.
TEST(ContentPictures, GroundCloudsAndEffectsHaveTheirAlphaTileWithoutASeamAndBlendIntoTheSky) {
    Picture ground = Load("tex6.bmp", 256, 256);
    EXPECT_EQ(CountKey(ground, kBlack), 0) << "the ground texture is opaque everywhere";
    Picture clouds = Load("clouds.tga", 64, 64);
    const int sky[3] = {0x00, 0x80, 0xFF};
    int gaps = 0, soft = 0, solid = 0, rim = 0, standingOut = 0;
    for (DWORD px : clouds.image.top.pixels) {
        const int a = int(px >> 24);
        gaps += a < 64;
        soft += a >= 64 && a < 250;
        solid += a >= 250;
        EXPECT_NE(px, kBlack);
        if (a < 64 || a >= 90) continue;
        ++rim;
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            int texel = int((px >> (16 - 8 * c)) & 0xFF);
            worst = std::max(worst, std::abs((texel * a + sky[c] * (255 - a)) / 255 - sky[c]));
        }
        standingOut += worst > 12;
    }
    EXPECT_GT(gaps, 64 * 64 / 5);
    EXPECT_GT(solid, 64 * 64 / 20);
    EXPECT_GT(soft, 64 * 64 / 20) << "cloud edges are soft above the alpha reference";
    EXPECT_GT(rim, 20) << "the clouds have soft rims";
    EXPECT_EQ(standingOut, 0) << "rim texels that differ from the sky once drawn over it";

    Picture blood = Load("graph\\krev.dds", 32, 32);
    EXPECT_EQ(blood.image.sourceFormat, layer::ImageSourceFormat::Argb32);
    int drop = 0;
    for (DWORD px : blood.image.top.pixels) {
        if ((px >> 24) < 150) continue;
        ++drop;
        EXPECT_GT((px >> 16) & 0xFF, ((px >> 8) & 0xFF) + 40) << "blood is red";
    }
    EXPECT_GT(drop, 100);
    EXPECT_EQ(blood.At(0, 0) >> 24, 0u);

    for (auto [path, size] : {std::pair("graph\\flame.tga", 32), {"graph\\dust.tga", 32}, {"graph\\exp.tga", 64}}) {
        SCOPED_TRACE(path);
        Picture p = Load(path, size, size);
        EXPECT_EQ(p.image.sourceFormat, layer::ImageSourceFormat::Argb32);
        EXPECT_EQ(CountKey(p, kWhite), 0) << "no opaque pure white texel, which the white key would cut";
        EXPECT_EQ(p.At(0, 0) >> 24, 0u) << "the corners are clear";
        EXPECT_GT(p.At(size / 2, size / 2) >> 24, 150u) << "the middle is dense";
    }
    // The ground repeats once per terrain cell and the clouds wrap where filtering reaches across
    // the layer's edge: going over from the last column to the first (or row) is a step like those
    // between neighbours inside, or every cell border shows as a seam.
    for (const Picture* p : {&ground, &clouds})
        for (bool columns : {true, false}) {
            const int size = p->Width();
            std::vector<double> inside;
            for (int i = 0; i + 1 < size; ++i) inside.push_back(LineStep(*p, i, i + 1, columns));
            std::nth_element(inside.begin(), inside.begin() + inside.size() / 2, inside.end());
            EXPECT_LE(LineStep(*p, size - 1, 0, columns), 1.25 * inside[inside.size() / 2]) << size << columns;
        }
}

TEST(ContentPictures, ReticlesScopeFenceAndHudAtlas) {
    for (auto [path, w] : {std::pair("graph\\cross.bmp", 32), {"graph\\circle.bmp", 32},
                           {"graph\\plot.bmp", 128}})
        ExpectKeyedFigure(path, w, 32, kWhite, true);
    Picture scope = Load("graph\\awmlook.bmp", 256, 256);
    EXPECT_FALSE(IsKey(scope.At(0, 0), kWhite));
    EXPECT_FALSE(IsKey(scope.At(0, 128), kWhite)) << "the edge columns are dark: the quad reaches past them";
    EXPECT_FALSE(IsKey(scope.At(255, 128), kWhite));
    EXPECT_TRUE(IsKey(scope.At(100, 100), kWhite)) << "the lens is see-through";
    EXPECT_FALSE(IsKey(scope.At(128, 128), kWhite)) << "the cross lines meet in the middle";

    Picture hud = Load("graph\\hudicons.bmp", 128, 64);
    // Cells as the overlay quads read them: u at 0, 0.33, 0.66, 1 and v likewise.
    const int used[5][4] = {{0, 0, 42, 21}, {0, 21, 42, 42}, {42, 0, 128, 21}, {42, 21, 128, 42},
                            {42, 42, 128, 64}};
    for (auto [x0, y0, x1, y1] : used) {
        EXPECT_FALSE(IsKey(hud.At((x0 + x1) / 2, (y0 + y1) / 2), kBlack)) << x0 << "," << y0;
        EXPECT_TRUE(IsKey(hud.At(x0, y0), kBlack)) << "a clear texel between neighbouring cells";
    }
    for (int y = 43; y < 64; ++y)
        for (int x = 0; x < 41; ++x) EXPECT_TRUE(IsKey(hud.At(x, y), kBlack)) << "the unused cell stays clear";
}

TEST(ContentPictures, WeaponsHaveTheirMuzzleWhereTheFlashLands) {
    const char* pictures[6] = {"graph\\motor.bmp", "graph\\deagle.bmp", "graph\\brok.bmp",
                               "graph\\kalach.bmp", "graph\\awm.bmp", "graph\\flame.bmp"};
    ExpectKeyedFigure("graph\\motor2.bmp", 256, 256, kWhite, true);
    for (int w = 0; w < 6; ++w) {
        ExpectKeyedFigure(pictures[w], 256, 256, kWhite, true);
        if (w == 0 || w == 5) continue;  // no flash is drawn for these
        Picture p = Load(pictures[w], 256, 256);
        // The chainsaw and the shotgun sit on the lower-middle quad, the others on the lower right.
        bool middle = w == 2;
        float left = middle ? 0.5f - 0.7f / 4 : 0.625f, width = middle ? 0.35f : 0.375f;
        int mx = int((g_Weapons[w].fFlashX - left) / width * 256), my = int((g_Weapons[w].fFlashY - 0.5f) / 0.5f * 256);
        int nearest = 1000;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                if (!IsKey(p.At(x, y), kWhite)) nearest = std::min(nearest, std::abs(x - mx) + std::abs(y - my));
        EXPECT_LE(nearest, 6) << pictures[w] << ": the muzzle is at " << mx << "," << my;
    }
    const char* icons[6] = {"graph\\no.bmp", "graph\\icodeagle.tga", "graph\\icobrok.tga",
                            "graph\\icokalach.tga", "graph\\icoawm.tga", "graph\\icoflame.bmp"};
    for (int w = 0; w < 6; ++w) {
        EXPECT_STREQ(g_Weapons[w].pszIcon, icons[w]);
        SCOPED_TRACE(icons[w]);
        Picture p = Load(icons[w], 256, 64);
        int clear = 0;
        for (DWORD px : p.image.top.pixels) clear += IsKey(px, kWhite) || (px >> 24) == 0;
        EXPECT_GT(clear, 256 * 64 / 4);
        EXPECT_LT(clear, 256 * 64 * 19 / 20);
    }
}

// Filtering reads across a billboard's edge to the opposite one; at the smallest mip level the
// game loads, one texel spans 2^(levels-1) texels of the picture, and all of those along every
// edge must be clear, or a creature's feet show as dashes over its head. Enemies, projectiles
// and the intro's heads stand on the magenta key, each creature on the bottom of its margin.
TEST(ContentPictures, SpritesKeepAClearMarginForTheirSmallestMipAndCreaturesTheirKey) {
    struct Sprite {
        std::string path;
        int size, levels;
        bool keyed = false, gaps = false, feet = false;
    };
    std::vector<Sprite> sprites = {{"graph\\krev.dds", 32, 3}, {"graph\\flame.tga", 32, 3},
                                   {"graph\\dust.tga", 32, 3}, {"graph\\exp.tga", 64, 1}};
    for (int k = 1; k <= 6; ++k) sprites.push_back({"graph\\vugove\\vuga" + std::to_string(k) + ".bmp", 128, 1, true});
    SGameDatabase base;
    std::vector<BYTE> db = ReadFileBytes(DataPath("db.cfg"));
    ASSERT_EQ(db.size(), sizeof(base));
    std::memcpy(&base, db.data(), sizeof(base));
    for (int i = 0; i < base.iTypeCount; ++i) {
        sprites.push_back({base.types[i].szTexture, 128, 4, true, false, true});
        if (base.types[i].dwFlags & ETF_SHOOTER)  // a grenade's ring is open
            sprites.push_back({base.types[i].szTexture2, 128, 4, true, true});
    }
    for (const Sprite& sprite : sprites) {
        SCOPED_TRACE(sprite.path);
        const int margin = 1 << (sprite.levels - 1), n = sprite.size;
        if (sprite.keyed) ExpectKeyedFigure(sprite.path.c_str(), n, n, kMagenta, sprite.gaps);
        Picture p = Load(sprite.path.c_str(), n, n);
        int drawn = 0, feet = 0;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                feet += y == n - margin - 1 && !IsKey(p.At(x, y), kMagenta);
                if (x >= margin && y >= margin && x < n - margin && y < n - margin) continue;
                drawn += sprite.keyed ? !IsKey(p.At(x, y), kMagenta) : (p.At(x, y) >> 24) != 0;
            }
        EXPECT_EQ(drawn, 0) << "texels drawn within " << margin << " of the edge";
        EXPECT_GE(feet, sprite.feet ? 1 : 0) << "the creature stands on the bottom of its margin";
    }
}

TEST(ContentPictures, IntroPhotosHaveTheirSlideSizesAndTheClosingPictureItsKey) {
    const int half[11][2] = {{95, 135}, {88, 113}, {130, 100}, {116, 175}, {210, 139}, {149, 175},
                             {175, 131}, {143, 175}, {175, 124}, {126, 175}, {175, 125}};
    for (int k = 0; k < 11; ++k) {
        std::string path = "graph\\intro\\melidrak" + std::to_string(k + 1) + ".jpg";
        SCOPED_TRACE(path);
        // Photo 3 has half sizes of 130.5 by 100.5.
        int w = k == 2 ? 261 : 2 * half[k][0], h = k == 2 ? 201 : 2 * half[k][1];
        Picture p = Load(path.c_str(), w, h);
        EXPECT_EQ(p.image.kind, layer::ImageFileKind::Jpg);
        EXPECT_EQ(CountKey(p, kMagenta), 0) << "a photo has no see-through texel";
    }
    ExpectKeyedFigure("graph\\intro\\no.bmp", 400, 400, kMagenta, true);
}

namespace {

struct WaveFile {
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
};

WaveFile ReadWave(const char* gamePath) {
    WaveFile w;
    std::vector<BYTE> b = ReadFileBytes(DataPath(gamePath));
    if (b.size() < 44 || std::memcmp(b.data(), "RIFF", 4) || std::memcmp(b.data() + 8, "WAVEfmt ", 8)) return w;
    auto u16 = [&](size_t at) { return int(b[at]) | int(b[at + 1]) << 8; };
    auto u32 = [&](size_t at) { return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16; };
    EXPECT_EQ(u32(4), b.size() - 8);
    EXPECT_EQ(u16(20), 1) << "PCM";
    w.channels = u16(22);
    w.rate = int(u32(24));
    w.bits = u16(34);
    EXPECT_EQ(std::memcmp(b.data() + 36, "data", 4), 0);
    uint32_t bytes = u32(40);
    EXPECT_EQ(bytes, b.size() - 44);
    w.samples.resize(bytes / 2);
    std::memcpy(w.samples.data(), b.data() + 44, w.samples.size() * 2);
    return w;
}

double Rms(const std::vector<int16_t>& s, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to && i < s.size(); ++i) sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(to - from));
}

}  // namespace

// How loud a sound is at its loudest: the largest RMS over a tenth of a second.
static double LoudestTenth(const std::vector<int16_t>& s) {
    const size_t window = 2205;
    double loudest = 0;
    for (size_t at = 0; at + window <= s.size(); at += window / 4) loudest = std::max(loudest, Rms(s, at, at + window));
    return loudest;
}

// The buzz for a harmless creature shot by mistake plays over the fight: it tells, it does not
// blare, no louder than the middle of the other sounds.
TEST(ContentSounds, EveryWaveIs16BitPcmOfAFittingLengthAndTheWrongTargetBuzzIsQuiet) {
    struct Expect {
        const char* path;
        float minSeconds, maxSeconds;
    } waves[] = {{"sound\\motor.wav", 0.05f, 0.15f}, {"sound\\deagle.wav", 0.2f, 1.0f},
                 {"sound\\shotgun.wav", 0.5f, 1.2f}, {"sound\\kalach.wav", 0.05f, 0.15f},
                 {"sound\\awm.wav", 1.0f, 2.5f}, {"sound\\plamen.wav", 0.05f, 0.15f},
                 {"sound\\zuch.wav", 0.3f, 1.0f}, {"sound\\zoom.wav", 0.1f, 0.5f},
                 {"sound\\enemydown.wav", 0.2f, 1.0f}, {"sound\\fallback.wav", 1.0f, 2.5f},
                 {"sound\\hosdown.wav", 0.3f, 1.0f}, {"sound\\blow.wav", 0.8f, 2.0f},
                 {"sound\\explode.wav", 1.0f, 2.5f}, {"sound\\krk.wav", 0.2f, 0.8f},
                 {"sound\\kill1.wav", 0.2f, 1.0f}, {"sound\\kill2.wav", 0.2f, 1.0f},
                 {"sound\\kill3.wav", 0.2f, 1.0f}};
    std::vector<double> levels;
    double buzz = 0;
    for (const Expect& e : waves) {
        SCOPED_TRACE(e.path);
        WaveFile w = ReadWave(e.path);
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.rate, 22050);
        EXPECT_EQ(w.bits, 16);
        float seconds = float(w.samples.size()) / 22050;
        EXPECT_GE(seconds, e.minSeconds);
        EXPECT_LE(seconds, e.maxSeconds);
        int peak = 0;
        for (int16_t s : w.samples) peak = std::max(peak, std::abs(int(s)));
        EXPECT_GT(peak, 16000) << "loud enough to be heard";
        ASSERT_FALSE(w.samples.empty());
        EXPECT_LT(std::abs(int(w.samples.back())), 2000) << "ends without a click";
        if (std::strcmp(e.path, "sound\\hosdown.wav") == 0)
            buzz = LoudestTenth(w.samples);
        else
            levels.push_back(LoudestTenth(w.samples));
    }
    std::sort(levels.begin(), levels.end());
    EXPECT_LE(buzz, (levels[levels.size() / 2 - 1] + levels[levels.size() / 2]) / 2);
}

TEST(ContentSounds, IntroMusicOutlastsTheIntroAndStrikesEverySlide) {
    WaveFile w = ReadWave("sound\\melidrak.wav");
    ASSERT_EQ(w.rate, 22050);
    EXPECT_EQ(w.channels, 1);
    EXPECT_GE(w.samples.size(), size_t(91 * 22050));
    const int slides[41] = {200,   3379,  4262,  5000,  7535,  13051, 15134, 16793, 20000, 23200, 24409,
                            27689, 29156, 29838, 30495, 31183, 31878, 32576, 33147, 35169, 38729, 39144,
                            40100, 44812, 47189, 50640, 53000, 58170, 58716, 59465, 61426, 63176, 67907,
                            69771, 71633, 74000, 77710, 78226, 79115, 80739, 84739};
    for (int ms : slides) {
        size_t at = size_t(ms) * 22050 / 1000;
        double before = Rms(w.samples, at > 1323 ? at - 1323 : 0, at - 110);
        double after = Rms(w.samples, at, at + 1102);
        EXPECT_GT(after, before * 1.3) << "no accent at " << ms << " ms";
    }
    // The climax from 80.7 s is louder than the quiet opening.
    EXPECT_GT(Rms(w.samples, 81 * 22050, 84 * 22050), 1.5 * Rms(w.samples, 1 * 22050, 3 * 22050));
}
