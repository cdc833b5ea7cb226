// image_load.cpp -- decoding speed of every picture format at 256 x 256 and 1024 x 1024, in
// milliseconds per megapixel, beside libpng's and libjpeg's own decoding of the same files.
#include <chrono>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "layer/image_decode.h"
#include "layer/image_encode.h"

namespace {

using Clock = std::chrono::steady_clock;

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

// Runs `decode` `reps` times and returns milliseconds per megapixel.
template <typename F>
double MsPerMegapixel(UINT size, int reps, F decode) {
    auto start = Clock::now();
    for (int i = 0; i < reps; ++i)
        if (!decode()) return -1;
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return ms / reps / ((double)size * size / 1e6);
}

bool LibpngOwn(const std::vector<BYTE>& file, std::vector<BYTE>* out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return false;
    image.format = PNG_FORMAT_BGRA;
    out->resize(PNG_IMAGE_SIZE(image));
    bool ok = png_image_finish_read(&image, nullptr, out->data(), 0, nullptr);
    png_image_free(&image);
    return ok;
}

bool LibjpegOwn(const std::vector<BYTE>& file, std::vector<BYTE>* out) {
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

}  // namespace

int main() {
    std::printf("%-6s %6s %14s %14s\n", "format", "size", "ours ms/MP", "library ms/MP");
    for (UINT size : {256u, 1024u}) {
        const int reps = size == 256 ? 40 : 4;
        auto px = Picture(size);
        struct Entry {
            const char* name;
            std::vector<BYTE> file;
        } files[5];
        files[0].name = "bmp";
        layer::EncodeBmp24(size, size, px.data(), &files[0].file);
        files[1].name = "tga";
        layer::EncodeTga32(size, size, px.data(), &files[1].file);
        files[2].name = "dds";
        layer::EncodeDdsArgb32(size, size, px.data(), &files[2].file);
        files[3].name = "png";
        layer::EncodePng(size, size, px.data(), &files[3].file);
        files[4].name = "jpeg";
        layer::EncodeJpeg(size, size, px.data(), 90, &files[4].file);
        std::vector<BYTE> ppm;
        char header[32];
        int n = std::snprintf(header, sizeof header, "P6 %u %u 255\n", size, size);
        ppm.assign(header, header + n);
        for (DWORD p : px) ppm.insert(ppm.end(), {(BYTE)(p >> 16), (BYTE)(p >> 8), (BYTE)p});

        for (const Entry& e : files) {
            layer::DecodedImage img;
            double ours = MsPerMegapixel(size, reps, [&] { return SUCCEEDED(layer::DecodeImage(e.file.data(), e.file.size(), &img)); });
            std::vector<BYTE> scratch;
            double lib = -1;
            if (e.name[0] == 'p') lib = MsPerMegapixel(size, reps, [&] { return LibpngOwn(e.file, &scratch); });
            if (e.name[0] == 'j') lib = MsPerMegapixel(size, reps, [&] { return LibjpegOwn(e.file, &scratch); });
            if (lib < 0) std::printf("%-6s %6u %14.3f %14s\n", e.name, size, ours, "-");
            else std::printf("%-6s %6u %14.3f %14.3f\n", e.name, size, ours, lib);
        }
        layer::DecodedImage img;
        double ours = MsPerMegapixel(size, reps, [&] { return SUCCEEDED(layer::DecodeImage(ppm.data(), ppm.size(), &img)); });
        std::printf("%-6s %6u %14.3f %14s\n", "ppm", size, ours, "-");
    }
    return 0;
}
