// image_formats.h -- the on-disk headers of the TGA and DDS picture files.
// Shared by the picture decoders of the layer and by the content generator's writers.
// All fields are little-endian; the records are packed to their exact file layout.
#pragma once

#include <cstddef>

#include "wintypes.h"

namespace layer {

// ---------------------------------------------------------------------------------------------
// Truevision TGA

#pragma pack(push, 1)
struct TgaHeader {
    BYTE idLength;         // bytes of image id that follow the header
    BYTE colorMapType;     // 0: none, 1: a colour map follows the id
    BYTE imageType;        // TGA_TYPE_*
    WORD colorMapFirst;    // index of the first colour-map entry
    WORD colorMapLength;   // number of colour-map entries
    BYTE colorMapDepth;    // bits per colour-map entry: 15, 16, 24 or 32
    WORD xOrigin;
    WORD yOrigin;
    WORD width;
    WORD height;
    BYTE pixelDepth;       // bits per pixel: 8, 15, 16, 24 or 32
    BYTE descriptor;       // bits 0-3: alpha bits; TGA_DESC_RIGHT_TO_LEFT; TGA_DESC_TOP_TO_BOTTOM
};
#pragma pack(pop)

constexpr BYTE TGA_TYPE_NONE = 0;
constexpr BYTE TGA_TYPE_COLORMAPPED = 1;
constexpr BYTE TGA_TYPE_TRUECOLOR = 2;
constexpr BYTE TGA_TYPE_GRAY = 3;
constexpr BYTE TGA_TYPE_RLE_COLORMAPPED = 9;
constexpr BYTE TGA_TYPE_RLE_TRUECOLOR = 10;
constexpr BYTE TGA_TYPE_RLE_GRAY = 11;

constexpr BYTE TGA_DESC_ALPHA_BITS = 0x0F;
constexpr BYTE TGA_DESC_RIGHT_TO_LEFT = 0x10;
constexpr BYTE TGA_DESC_TOP_TO_BOTTOM = 0x20;

static_assert(sizeof(TgaHeader) == 18, "TGA header is 18 bytes on disk");
static_assert(offsetof(TgaHeader, imageType) == 2 && offsetof(TgaHeader, colorMapFirst) == 3 &&
                  offsetof(TgaHeader, colorMapLength) == 5 && offsetof(TgaHeader, colorMapDepth) == 7 &&
                  offsetof(TgaHeader, xOrigin) == 8 && offsetof(TgaHeader, yOrigin) == 10 &&
                  offsetof(TgaHeader, width) == 12 && offsetof(TgaHeader, height) == 14 &&
                  offsetof(TgaHeader, pixelDepth) == 16 && offsetof(TgaHeader, descriptor) == 17,
              "TGA header field offsets");

// ---------------------------------------------------------------------------------------------
// DirectDraw Surface

constexpr DWORD MakeFourCC(char a, char b, char c, char d) {
    return (DWORD)(BYTE)a | ((DWORD)(BYTE)b << 8) | ((DWORD)(BYTE)c << 16) | ((DWORD)(BYTE)d << 24);
}

constexpr DWORD DDS_MAGIC = MakeFourCC('D', 'D', 'S', ' ');  // the four bytes in front of the header
constexpr DWORD DDS_FOURCC_DXT1 = MakeFourCC('D', 'X', 'T', '1');
constexpr DWORD DDS_FOURCC_DXT2 = MakeFourCC('D', 'X', 'T', '2');
constexpr DWORD DDS_FOURCC_DXT3 = MakeFourCC('D', 'X', 'T', '3');
constexpr DWORD DDS_FOURCC_DXT4 = MakeFourCC('D', 'X', 'T', '4');
constexpr DWORD DDS_FOURCC_DXT5 = MakeFourCC('D', 'X', 'T', '5');

struct DDS_PIXELFORMAT {
    DWORD dwSize;         // 32
    DWORD dwFlags;        // DDPF_*
    DWORD dwFourCC;       // with DDPF_FOURCC
    DWORD dwRGBBitCount;  // with DDPF_RGB / DDPF_LUMINANCE / DDPF_ALPHA
    DWORD dwRBitMask;
    DWORD dwGBitMask;
    DWORD dwBBitMask;
    DWORD dwABitMask;
};

struct DDS_HEADER {
    DWORD dwSize;               // 124
    DWORD dwFlags;              // DDSD_*
    DWORD dwHeight;
    DWORD dwWidth;
    DWORD dwPitchOrLinearSize;  // bytes of a row (DDSD_PITCH) or of the top level (DDSD_LINEARSIZE)
    DWORD dwDepth;
    DWORD dwMipMapCount;        // levels stored, the top one included (with DDSD_MIPMAPCOUNT)
    DWORD dwReserved1[11];
    DDS_PIXELFORMAT ddspf;
    DWORD dwCaps;               // DDSCAPS_*
    DWORD dwCaps2;              // DDSCAPS2_*
    DWORD dwCaps3;
    DWORD dwCaps4;
    DWORD dwReserved2;
};

// DDS_HEADER::dwFlags
constexpr DWORD DDSD_CAPS = 0x00000001;
constexpr DWORD DDSD_HEIGHT = 0x00000002;
constexpr DWORD DDSD_WIDTH = 0x00000004;
constexpr DWORD DDSD_PITCH = 0x00000008;
constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;
constexpr DWORD DDSD_MIPMAPCOUNT = 0x00020000;
constexpr DWORD DDSD_LINEARSIZE = 0x00080000;
constexpr DWORD DDSD_DEPTH = 0x00800000;

// DDS_PIXELFORMAT::dwFlags
constexpr DWORD DDPF_ALPHAPIXELS = 0x00000001;
constexpr DWORD DDPF_ALPHA = 0x00000002;
constexpr DWORD DDPF_FOURCC = 0x00000004;
constexpr DWORD DDPF_RGB = 0x00000040;
constexpr DWORD DDPF_LUMINANCE = 0x00020000;

// DDS_HEADER::dwCaps and dwCaps2
constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
constexpr DWORD DDSCAPS_TEXTURE = 0x00001000;
constexpr DWORD DDSCAPS_MIPMAP = 0x00400000;
constexpr DWORD DDSCAPS2_CUBEMAP = 0x00000200;
constexpr DWORD DDSCAPS2_VOLUME = 0x00200000;

static_assert(sizeof(DDS_PIXELFORMAT) == 32, "DDS pixel format is 32 bytes on disk");
static_assert(offsetof(DDS_PIXELFORMAT, dwFlags) == 4 && offsetof(DDS_PIXELFORMAT, dwFourCC) == 8 &&
                  offsetof(DDS_PIXELFORMAT, dwRGBBitCount) == 12 && offsetof(DDS_PIXELFORMAT, dwRBitMask) == 16 &&
                  offsetof(DDS_PIXELFORMAT, dwGBitMask) == 20 && offsetof(DDS_PIXELFORMAT, dwBBitMask) == 24 &&
                  offsetof(DDS_PIXELFORMAT, dwABitMask) == 28,
              "DDS pixel format field offsets");
static_assert(sizeof(DDS_HEADER) == 124, "DDS header is 124 bytes on disk");
static_assert(offsetof(DDS_HEADER, dwFlags) == 4 && offsetof(DDS_HEADER, dwHeight) == 8 &&
                  offsetof(DDS_HEADER, dwWidth) == 12 && offsetof(DDS_HEADER, dwPitchOrLinearSize) == 16 &&
                  offsetof(DDS_HEADER, dwDepth) == 20 && offsetof(DDS_HEADER, dwMipMapCount) == 24 &&
                  offsetof(DDS_HEADER, dwReserved1) == 28 && offsetof(DDS_HEADER, ddspf) == 72 &&
                  offsetof(DDS_HEADER, dwCaps) == 104 && offsetof(DDS_HEADER, dwCaps2) == 108 &&
                  offsetof(DDS_HEADER, dwCaps3) == 112 && offsetof(DDS_HEADER, dwCaps4) == 116 &&
                  offsetof(DDS_HEADER, dwReserved2) == 120,
              "DDS header field offsets");

}  // namespace layer
