// image_decode.h -- picture files decoded in memory into 8-bit ARGB pixels.
//
// Every decoder takes a whole file in memory and either fills a DecodedImage or fails with
// D3DXERR_INVALIDDATA (or E_OUTOFMEMORY), without reading outside the bytes given; an empty
// file is invalid data, E_POINTER is only for a missing pointer. A picture is allocated only
// once the data is known to be able to hold it. Pixels are 32-bit ARGB values (alpha in bits
// 24-31, blue in bits 0-7), the top row first. A picture without alpha decodes with alpha 0xFF.
//
// Formats: BMP and packed DIB (1, 4, 8, 16, 24, 32 bits; bottom-up and top-down; RLE8, RLE4,
// bit fields), TGA (colour-mapped, true colour and grey; RLE; both origins; 8, 15, 16, 24, 32
// bits), PPM (P6, maxval 1 to 65535), DDS (uncompressed 16, 24, 32 bits, DXT1, DXT3, DXT5, with
// stored mip levels), JPEG (libjpeg-turbo) and PNG (libpng).
#pragma once

#include <cstddef>
#include <vector>

#include "d3dx8core.h"
#include "wintypes.h"

namespace layer {

// Picture file kinds, numbered as D3DXIMAGE_FILEFORMAT.
enum class ImageFileKind : DWORD { Bmp = 0, Jpg = 1, Tga = 2, Png = 3, Dds = 4, Ppm = 5, Dib = 6 };

// How the file stored its pixels: what a texture of "the file's format" is made of.
enum class ImageSourceFormat {
    Rgb24,     // 8 bits a channel, no alpha (also palettes without alpha, JPEG, PPM)
    Argb32,    // 8 bits a channel with alpha
    Rgb565,    // 16-bit, no alpha
    Xrgb1555,  // 16-bit, no alpha
    Argb1555,  // 16-bit, one alpha bit
    Argb4444,  // 16-bit, four alpha bits
    Grey8,     // 8-bit luminance
    Dxt1,
    Dxt3,
    Dxt5,
};

// Largest picture accepted: each side at most 8192, and at most 16M pixels in all.
constexpr UINT kMaxImageSide = 8192;
constexpr UINT kMaxImagePixels = 4096u * 4096u;

// One level of pixels.
struct ImageLevel {
    UINT width = 0;
    UINT height = 0;
    std::vector<DWORD> pixels;  // width * height ARGB values, top row first
};

struct DecodedImage {
    ImageFileKind kind = ImageFileKind::Bmp;
    ImageSourceFormat sourceFormat = ImageSourceFormat::Rgb24;
    ImageLevel top;
    std::vector<ImageLevel> storedMips;  // levels 1.. as stored in the file (DDS only)
};

// Picks the decoder by the file's signature (TGA, which has none, is tried last).
HRESULT DecodeImage(const void* data, size_t size, DecodedImage* out);

HRESULT DecodeBmp(const void* data, size_t size, DecodedImage* out);  // "BM" file or packed DIB
HRESULT DecodeTga(const void* data, size_t size, DecodedImage* out);
HRESULT DecodePpm(const void* data, size_t size, DecodedImage* out);
HRESULT DecodeDds(const void* data, size_t size, DecodedImage* out);
HRESULT DecodeJpeg(const void* data, size_t size, DecodedImage* out);
HRESULT DecodePng(const void* data, size_t size, DecodedImage* out);

// True when a picture of this size may be decoded.
bool ImageSizeAllowed(uint64_t width, uint64_t height);

// Pixels the decoders have allocated for pictures since the program started, for tests: a
// decoder allocates only once it knows that the data can hold the picture.
uint64_t DecodedPixelsAllocated();

}  // namespace layer
