// image_transform.h -- what D3DX does to a decoded picture on its way into a texture: the
// colour key, resampling with the D3DX filters, mip levels, and storing texels of a format.
#pragma once

#include "../d3d8.h"
#include "layer/image_decode.h"

namespace layer {

enum class ResampleKind { None, Point, Linear, Box };

struct ResampleFilter {
    ResampleKind kind = ResampleKind::Linear;
    bool mirrorU = false;  // off the edge: mirrored; otherwise wrapped, as D3DX does
    bool mirrorV = false;
};

// A D3DX_FILTER_* value; D3DX_DEFAULT is the triangle filter for pictures and the box filter for
// mip levels. Unknown values give false.
bool ResampleFilterFromD3DX(DWORD filter, bool forMipLevels, ResampleFilter* out);

// Pixels equal to `key` on all 32 bits become 0x00000000. A key of 0 keys nothing.
void ApplyColorKey(ImageLevel* level, DWORD key);

// The picture scaled to width x height. Point takes the nearest pixel, Linear the four nearest
// (pixel centres aligned), Box the average of the covered source area (Linear when enlarging);
// None copies without scaling and leaves the rest transparent black.
ImageLevel Resample(const ImageLevel& src, UINT width, UINT height, ResampleFilter filter);

// Levels of the full mip chain of a width x height texture, down to 1 x 1.
UINT FullMipChainLength(UINT width, UINT height);

// Texel formats that StoreTexels writes.
bool TexelFormatStorable(D3DFORMAT format);
// Bytes of one texel of a storable format.
UINT TexelBytes(D3DFORMAT format);

// Writes the level as texels of `format` into rows `pitch` bytes apart. Channels are rounded
// to the nearest value of their width. False for a format that is not storable.
bool StoreTexels(const ImageLevel& level, D3DFORMAT format, BYTE* dst, INT pitch);

}  // namespace layer
