// image_load.cpp -- decoding speed of every picture format at 256 x 256 and 1024 x 1024, in
// milliseconds per megapixel, beside a baseline measured in the same rounds: libpng's and
// libjpeg's own decoding of the same files, and for the plain formats a copy of the file's bytes
// into a new picture. Then the cost of refusing small files that claim a 4096 x 4096 picture,
// beside decoding a 1 x 1 file of the same format. Each line gives the minimum and the median
// of several rounds and the ratio of the medians.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include "layer/image_decode.h"
#include "layer/image_encode.h"
#include "layer/image_formats.h"
#include "wingdi.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<BYTE>;
constexpr int kRounds = 9;

std::vector<DWORD> Picture(UINT size) {
    std::vector<DWORD> px((size_t)size * size);
    DWORD noise = 12345;
    for (UINT y = 0; y < size; ++y)
        for (UINT x = 0; x < size; ++x) {
            noise = noise * 1103515245u + 12345u;
            DWORD r = x * 255 / size, g = y * 255 / size, b = ((x + y) * 128 / size + (noise >> 28)) & 0xFF;
            px[(size_t)y * size + x] = 0xC0000000u | (r << 16) | (g << 8) | b;
        }
    return px;
}

bool LibpngOwn(const Bytes& file, Bytes* out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return false;
    image.format = PNG_FORMAT_BGRA;
    out->resize(PNG_IMAGE_SIZE(image));
    bool ok = png_image_finish_read(&image, nullptr, out->data(), 0, nullptr);
    png_image_free(&image);
    return ok;
}

bool LibjpegOwn(const Bytes& file, Bytes* out) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, const_cast<BYTE*>(file.data()), (unsigned long)file.size());
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    size_t stride = (size_t)cinfo.output_width * cinfo.output_components;
    out->resize(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out->data() + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// The least a decoder of an uncompressed file does: a new picture filled from the file's bytes.
bool CopyIntoPicture(const Bytes& file, UINT size) {
    std::vector<DWORD> px((size_t)size * size);
    std::memcpy(px.data(), file.data(), std::min(file.size(), px.size() * sizeof(DWORD)));
    return px[px.size() / 2] != 0x12345678u;
}

struct Spread {
    double min, median;
};

Spread SpreadOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v.front(), v[v.size() / 2]};
}

// Runs both `reps` times a round, alternating, and gives each one's time per call in `unit` per
// `scale` (milliseconds per megapixel, or microseconds per call).
void Compare(const char* name, const char* what, int reps, double unitPerSecond, double scale,
             const std::function<bool()>& ours, const std::function<bool()>& baseline) {
    std::vector<double> a, b;
    for (int round = 0; round < kRounds; ++round) {
        for (int k = 0; k < 2; ++k) {
            const std::function<bool()>& f = k ? baseline : ours;
            auto start = Clock::now();
            for (int i = 0; i < reps; ++i)
                if (!f()) {
                    std::printf("%-10s %-6s failed\n", name, what);
                    return;
                }
            double t = std::chrono::duration<double>(Clock::now() - start).count() * unitPerSecond / reps / scale;
            (k ? b : a).push_back(t);
        }
    }
    Spread sa = SpreadOf(a), sb = SpreadOf(b);
    std::printf("%-10s %-6s %10.3f %10.3f %10.3f %10.3f %8.2f\n", name, what, sa.min, sa.median, sb.min, sb.median,
                sa.median / sb.median);
}

bool Decodes(const Bytes& file) {
    layer::DecodedImage img;
    return SUCCEEDED(layer::DecodeImage(file.data(), file.size(), &img));
}

bool Refuses(const Bytes& file) {
    layer::DecodedImage img;
    return layer::DecodeImage(file.data(), file.size(), &img) == D3DXERR_INVALIDDATA;
}

void Put16(Bytes& b, DWORD v) { b.push_back((BYTE)v), b.push_back((BYTE)(v >> 8)); }
void Put32(Bytes& b, DWORD v) { Put16(b, v), Put16(b, v >> 16); }

Bytes BmpHeader(DWORD side, WORD bits, DWORD compression, DWORD colours) {
    Bytes b = {'B', 'M'};
    Put32(b, 0), Put32(b, 0), Put32(b, 54 + 4 * colours);
    Put32(b, 40), Put32(b, side), Put32(b, side), Put16(b, 1), Put16(b, bits), Put32(b, compression);
    for (int i = 0; i < 3; ++i) Put32(b, 0);
    Put32(b, colours), Put32(b, 0);
    for (DWORD i = 0; i < colours; ++i) Put32(b, i * 0x010101u);
    return b;
}

Bytes TgaHeader(DWORD side, BYTE type) {
    Bytes b = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16(b, side), Put16(b, side);
    b.push_back(32), b.push_back(8);
    return b;
}

// Files of about 60 bytes whose headers claim a 4096 x 4096 picture, and a 1 x 1 file of each kind.
void SmallFiles(std::vector<std::pair<std::string, Bytes>>* claims, std::vector<Bytes>* tiny) {
    const DWORD one = 0xFF336699u;
    Bytes f = BmpHeader(4096, 24, BI_RGB, 0);
    f.resize(60);
    claims->push_back({"bmp", f});
    layer::EncodeBmp24(1, 1, &one, &(tiny->emplace_back()));
    f = BmpHeader(4096, 8, BI_RLE8, 1);
    f.insert(f.end(), {255, 0, 255, 0});
    claims->push_back({"bmp rle8", f});
    f = BmpHeader(1, 8, BI_RLE8, 1);
    f.insert(f.end(), {1, 0, 0, 1});
    tiny->push_back(f);
    f = TgaHeader(4096, layer::TGA_TYPE_TRUECOLOR);
    f.resize(60);
    claims->push_back({"tga", f});
    layer::EncodeTga32(1, 1, &one, &(tiny->emplace_back()));
    f = TgaHeader(4096, layer::TGA_TYPE_RLE_TRUECOLOR);
    for (int i = 0; i < 8; ++i) f.insert(f.end(), {0xFF, 1, 2, 3, 4});
    claims->push_back({"tga rle", f});
    f = TgaHeader(1, layer::TGA_TYPE_RLE_TRUECOLOR);
    f.insert(f.end(), {0x80, 1, 2, 3, 4});
    tiny->push_back(f);
    std::string ppm = "P6 4096 4096 255\n";
    f.assign(ppm.begin(), ppm.end());
    f.resize(60);
    claims->push_back({"ppm", f});
    ppm = "P6 1 1 255\n\1\2\3";
    tiny->push_back(Bytes(ppm.begin(), ppm.end()));
    // A real 1 x 1 PNG with its size patched to 4096 x 4096 and the header's check sum made again.
    layer::EncodePng(1, 1, &one, &f);
    tiny->push_back(f);
    for (int i : {16, 20}) f[i + 2] = 0x10, f[i + 3] = 0;
    uLong crc = crc32(0, f.data() + 12, 17);
    for (int k = 0; k < 4; ++k) f[29 + k] = (BYTE)(crc >> (24 - 8 * k));
    claims->push_back({"png", f});
    layer::EncodeJpeg(1, 1, &one, 90, &f);
    tiny->push_back(f);
    for (size_t i = 0; i + 8 < f.size(); ++i)
        if (f[i] == 0xFF && f[i + 1] == 0xC0) {
            f[i + 5] = f[i + 7] = 0x10;
            f[i + 6] = f[i + 8] = 0;
            break;
        }
    claims->push_back({"jpeg", f});
}

}  // namespace

int main() {
    std::printf("decoding, ms per megapixel; baseline: the library's own decoding, or a copy into a new picture\n");
    std::printf("%-10s %-6s %10s %10s %10s %10s %8s\n", "format", "size", "ours min", "ours med", "base min",
                "base med", "ratio");
    for (UINT size : {256u, 1024u}) {
        const int reps = size == 256 ? 20 : 2;
        const double mp = (double)size * size / 1e6;
        auto px = Picture(size);
        std::vector<std::pair<const char*, Bytes>> files(6);
        files[0].first = "bmp";
        layer::EncodeBmp24(size, size, px.data(), &files[0].second);
        files[1].first = "tga";
        layer::EncodeTga32(size, size, px.data(), &files[1].second);
        files[2].first = "dds";
        layer::EncodeDdsArgb32(size, size, px.data(), &files[2].second);
        files[3].first = "png";
        layer::EncodePng(size, size, px.data(), &files[3].second);
        files[4].first = "jpeg";
        layer::EncodeJpeg(size, size, px.data(), 90, &files[4].second);
        files[5].first = "ppm";
        char header[32];
        int n = std::snprintf(header, sizeof header, "P6 %u %u 255\n", size, size);
        Bytes& ppm = files[5].second;
        ppm.assign(header, header + n);
        for (DWORD p : px) ppm.insert(ppm.end(), {(BYTE)(p >> 16), (BYTE)(p >> 8), (BYTE)p});

        char sizeText[16];
        std::snprintf(sizeText, sizeof sizeText, "%u", size);
        for (const auto& entry : files) {
            const char* name = entry.first;
            const Bytes& file = entry.second;
            Bytes scratch;
            std::function<bool()> baseline = [&, size = size] { return CopyIntoPicture(file, size); };
            if (name[0] == 'p' && name[1] == 'n') baseline = [&] { return LibpngOwn(file, &scratch); };
            if (name[0] == 'j') baseline = [&] { return LibjpegOwn(file, &scratch); };
            Compare(name, sizeText, reps, 1e3, mp, [&] { return Decodes(file); }, baseline);
        }
    }

    std::printf("\nrefusing a 60-byte file that claims 4096 x 4096, microseconds a call; baseline: a 1 x 1 file\n");
    std::printf("%-10s %-6s %10s %10s %10s %10s %8s\n", "format", "", "ours min", "ours med", "base min", "base med",
                "ratio");
    std::vector<std::pair<std::string, Bytes>> claims;
    std::vector<Bytes> tiny;
    SmallFiles(&claims, &tiny);
    for (size_t i = 0; i < claims.size(); ++i) {
        const Bytes& claim = claims[i].second;
        const Bytes& small = tiny[i];
        Compare(claims[i].first.c_str(), "", 3, 1e6, 1, [&] { return Refuses(claim); }, [&] { return Decodes(small); });
    }
    return 0;
}
