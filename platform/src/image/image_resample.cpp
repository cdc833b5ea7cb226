// image_resample.cpp -- the colour key, the D3DX resampling filters and the mip chain length.
// Resampling is separable: each destination row and column is a weighted sum of source taps,
// taken across the edge by wrapping or, with the mirror flags, by mirroring.
#include <cmath>

#include "d3dx8tex.h"
#include "layer/image_transform.h"

namespace layer {
namespace {

struct Tap {
    UINT index;
    float weight;
};

UINT EdgeIndex(int64_t i, UINT n, bool mirror) {
    int64_t m = (int64_t)n;
    if (!mirror) return (UINT)(((i % m) + m) % m);
    int64_t p = ((i % (2 * m)) + 2 * m) % (2 * m);
    return (UINT)(p < m ? p : 2 * m - 1 - p);
}

// The taps of every destination position along one axis.
std::vector<std::vector<Tap>> AxisTaps(UINT dst, UINT src, ResampleKind kind, bool mirror) {
    std::vector<std::vector<Tap>> taps(dst);
    const double scale = (double)src / dst;
    for (UINT d = 0; d < dst; ++d) {
        std::vector<Tap>& t = taps[d];
        if (kind == ResampleKind::Point) {
            UINT s = (UINT)((d + 0.5) * scale);
            t.push_back({s < src ? s : src - 1, 1.0f});
        } else if (kind == ResampleKind::Box && scale > 1.0) {
            double start = d * scale, end = (d + 1) * scale;
            for (int64_t i = (int64_t)std::floor(start); (double)i < end; ++i) {
                double overlap = std::fmin(end, (double)(i + 1)) - std::fmax(start, (double)i);
                if (overlap > 0) t.push_back({EdgeIndex(i, src, mirror), (float)(overlap / scale)});
            }
        } else {
            double pos = (d + 0.5) * scale - 0.5;
            double base = std::floor(pos);
            float frac = (float)(pos - base);
            t.push_back({EdgeIndex((int64_t)base, src, mirror), 1.0f - frac});
            if (frac > 0) t.push_back({EdgeIndex((int64_t)base + 1, src, mirror), frac});
        }
    }
    return taps;
}

ImageLevel CopyUnscaled(const ImageLevel& src, UINT width, UINT height) {
    ImageLevel out;
    out.width = width;
    out.height = height;
    out.pixels.assign((size_t)width * height, 0);
    for (UINT y = 0; y < height && y < src.height; ++y)
        for (UINT x = 0; x < width && x < src.width; ++x) out.pixels[(size_t)y * width + x] = src.pixels[(size_t)y * src.width + x];
    return out;
}

DWORD RoundChannel(float v) {
    if (v <= 0) return 0;
    if (v >= 255) return 255;
    return (DWORD)(v + 0.5f);
}

}  // namespace

bool ResampleFilterFromD3DX(DWORD filter, bool forMipLevels, ResampleFilter* out) {
    if (filter == D3DX_DEFAULT) filter = forMipLevels ? D3DX_FILTER_BOX : (D3DX_FILTER_TRIANGLE | D3DX_FILTER_DITHER);
    ResampleFilter f;
    switch (filter & 0xFFFF) {
    case D3DX_FILTER_NONE: f.kind = ResampleKind::None; break;
    case D3DX_FILTER_POINT: f.kind = ResampleKind::Point; break;
    case D3DX_FILTER_LINEAR: f.kind = ResampleKind::Linear; break;
    case D3DX_FILTER_TRIANGLE: case D3DX_FILTER_BOX: f.kind = ResampleKind::Box; break;
    default: return false;
    }
    if (filter & ~0xFFFFu & ~(DWORD)(D3DX_FILTER_MIRROR | D3DX_FILTER_DITHER)) return false;
    f.mirrorU = filter & D3DX_FILTER_MIRROR_U;
    f.mirrorV = filter & D3DX_FILTER_MIRROR_V;
    *out = f;
    return true;
}

void ApplyColorKey(ImageLevel* level, DWORD key) {
    if (key == 0) return;
    for (DWORD& p : level->pixels)
        if (p == key) p = 0;
}

ImageLevel Resample(const ImageLevel& src, UINT width, UINT height, ResampleFilter filter) {
    if (src.width == width && src.height == height && filter.kind != ResampleKind::None) return src;
    if (filter.kind == ResampleKind::None || src.pixels.empty()) return CopyUnscaled(src, width, height);
    auto xt = AxisTaps(width, src.width, filter.kind, filter.mirrorU);
    auto yt = AxisTaps(height, src.height, filter.kind, filter.mirrorV);
    // Rows first: width x source height, four float channels.
    std::vector<float> mid((size_t)width * src.height * 4, 0.0f);
    for (UINT y = 0; y < src.height; ++y) {
        const DWORD* row = &src.pixels[(size_t)y * src.width];
        for (UINT x = 0; x < width; ++x) {
            float* m = &mid[((size_t)y * width + x) * 4];
            for (const Tap& t : xt[x])
                for (int c = 0; c < 4; ++c) m[c] += t.weight * (float)((row[t.index] >> (8 * c)) & 0xFF);
        }
    }
    ImageLevel out;
    out.width = width;
    out.height = height;
    out.pixels.resize((size_t)width * height);
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (const Tap& t : yt[y]) {
                const float* m = &mid[((size_t)t.index * width + x) * 4];
                for (int c = 0; c < 4; ++c) acc[c] += t.weight * m[c];
            }
            DWORD v = 0;
            for (int c = 0; c < 4; ++c) v |= RoundChannel(acc[c]) << (8 * c);
            out.pixels[(size_t)y * width + x] = v;
        }
    }
    return out;
}

UINT FullMipChainLength(UINT width, UINT height) {
    UINT m = width > height ? width : height, n = 1;
    while (m > 1) m >>= 1, ++n;
    return n;
}

}  // namespace layer
