// make_image_seeds.cpp -- writes the fuzzers' seed corpus: DIR/<decoder>/<n> for each decoder,
// from our encoders and hand-made files of the variants the encoders do not write.
#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "image_test_files.h"
#include "png_test_writer.h"
#include "layer/image_encode.h"
#include "layer/image_formats.h"
#include "wingdi.h"

using namespace image_test;

namespace {

std::string g_root;

void Seed(const char* decoder, int n, const std::vector<BYTE>& bytes) {
    std::string dir = g_root + "/" + decoder;
    mkdir(dir.c_str(), 0755);
    std::string path = dir + "/seed" + std::to_string(n);
    if (FAILED(layer::WriteBytesToFile(path.c_str(), bytes))) std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

void BmpSeeds(const std::vector<DWORD>& px) {
    std::vector<BYTE> f;
    layer::EncodeBmp24(7, 5, px.data(), &f);
    Seed("bmp", 0, f);
    Bytes pal = BmpHeaders(3, -2, 4, BI_RGB, 3, 54 + 12);
    pal.u32(0x00112233).u32(0x00445566).u32(0x00778899).u8(0x01).u8(0x20).u16(0).u8(0x22).u8(0x10).u16(0);
    Seed("bmp", 1, pal.b);
    Bytes rle = BmpHeaders(4, 3, 8, BI_RLE8, 3, 54 + 12);
    rle.u32(0xFF).u32(0xFF00).u32(0xFF0000).u8(3).u8(1).u8(1).u8(2).u8(0).u8(0).u8(0).u8(2).u8(1).u8(1);
    rle.u8(0).u8(3).u8(2).u8(0).u8(1).u8(0).u8(0).u8(1);
    Seed("bmp", 2, rle.b);
    Bytes rle4 = BmpHeaders(6, 1, 4, BI_RLE4, 3, 54 + 12);
    rle4.u32(0xFF).u32(0xFF00).u32(0xFF0000).u8(3).u8(0x12).u8(0).u8(3).u8(0x01).u8(0x20).u8(0).u8(1);
    Seed("bmp", 3, rle4.b);
    // Rows coded to their padded width, as common tools write them.
    Bytes padded = BmpHeaders(5, 2, 8, BI_RLE8, 2, 54 + 8);
    padded.u32(0xFF).u32(0xFF00).u8(8).u8(1).u8(0).u8(0).u8(0).u8(8).u32(0x01000100).u32(0x00010001).u8(0).u8(1);
    Seed("bmp", 5, padded.b);
    Bytes fields = BmpHeaders(2, 1, 16, BI_BITFIELDS, 0, 54 + 12);
    fields.u32(0xF800).u32(0x07E0).u32(0x001F).u16(0x07E0).u16(0xFFFF);
    Seed("bmp", 4, fields.b);
}

void TgaSeeds(const std::vector<DWORD>& px) {
    std::vector<BYTE> f;
    layer::EncodeTga32(7, 5, px.data(), &f);
    Seed("tga", 0, f);
    Bytes rle;
    rle.u8(0).u8(0).u8(layer::TGA_TYPE_RLE_TRUECOLOR).zeros(9).u16(3).u16(2).u8(32).u8(0x28);
    rle.u8(0x83).u32(0xFF0000FF).u8(0x01).u32(0xFF00FF00).u32(0xFFFF0000);
    Seed("tga", 1, rle.b);
    Bytes mapped;
    mapped.u8(0).u8(1).u8(layer::TGA_TYPE_RLE_COLORMAPPED).u16(0).u16(2).u8(16).zeros(4).u16(4).u16(1).u8(8).u8(0x21);
    mapped.u16(0x7FFF).u16(0x801F).u8(0x82).u8(1).u8(0x00).u8(0);
    Seed("tga", 2, mapped.b);
    Bytes grey;
    grey.u8(0).u8(0).u8(layer::TGA_TYPE_GRAY).zeros(9).u16(3).u16(1).u8(8).u8(0x30).u8(0).u8(0x80).u8(0xFF);
    Seed("tga", 3, grey.b);
}

void DdsSeeds(const std::vector<DWORD>& px) {
    layer::ImageLevel levels[3];
    for (int i = 0; i < 3; ++i) {
        levels[i].width = 4 >> i;
        levels[i].height = 4 >> i;
        levels[i].pixels.assign(px.begin(), px.begin() + levels[i].width * levels[i].height);
    }
    std::vector<BYTE> f;
    layer::EncodeDdsArgb32Levels(levels, 3, &f);
    Seed("dds", 0, f);
    const DWORD codes[3] = {layer::DDS_FOURCC_DXT1, layer::DDS_FOURCC_DXT3, layer::DDS_FOURCC_DXT5};
    for (int i = 0; i < 3; ++i) {
        Bytes d;
        d.u32(layer::DDS_MAGIC).u32(124).u32(0x1007 | layer::DDSD_MIPMAPCOUNT).u32(8).u32(8).u32(0).u32(0).u32(2).zeros(44);
        d.u32(32).u32(layer::DDPF_FOURCC).u32(codes[i]).zeros(20).u32(layer::DDSCAPS_TEXTURE).zeros(16);
        for (int block = 0; block < 5; ++block) {
            if (i) d.u8(255).u8(0).u32(0x4924924u * (block + 1)).u16(0x1234);
            d.u16(0xF800 >> block).u16(0x001F << block).u32(0xE4E4E4E4u ^ (DWORD)block);
        }
        Seed("dds", 1 + i, d.b);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    g_root = argv[1];
    mkdir(g_root.c_str(), 0755);
    auto px = Pattern(7, 5);
    BmpSeeds(px);
    TgaSeeds(px);
    DdsSeeds(px);
    std::vector<BYTE> f;
    layer::EncodePng(7, 5, px.data(), &f);
    Seed("png", 0, f);
    auto big = Pattern(33, 17);
    layer::EncodePng(33, 17, big.data(), &f);
    Seed("png", 1, f);
    // A palette with transparency, interlaced; 16-bit grey with alpha.
    const std::vector<png_color> pal = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    std::vector<std::vector<BYTE>> indices(5, std::vector<BYTE>{0x18, 0x60});
    Seed("png", 2, WritePng(7, 5, 2, PNG_COLOR_TYPE_PALETTE, indices, pal, {0xFF, 0x40}, nullptr, PNG_INTERLACE_ADAM7));
    std::vector<std::vector<BYTE>> grey(3, std::vector<BYTE>{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0});
    Seed("png", 3, WritePng(2, 3, 16, PNG_COLOR_TYPE_GRAY_ALPHA, grey));
    layer::EncodeJpeg(7, 5, px.data(), 75, &f);
    Seed("jpeg", 0, f);
    layer::EncodeJpeg(33, 17, big.data(), 95, &f);
    Seed("jpeg", 1, f);
    Bytes ppm;
    ppm.raw("P6\n# seed\n2 1\n255\n").u8(1).u8(2).u8(3).u8(250).u8(251).u8(252);
    Seed("ppm", 0, ppm.b);
    Bytes deep;
    deep.raw("P6 1 2 65535 ").u32(0xFFFF0080).u32(0x12345678).u32(0x9ABCDEF0);
    Seed("ppm", 1, deep.b);
    return 0;
}
