// image_encode.h -- picture files written in memory from 8-bit ARGB pixels (alpha in bits
// 24-31, the top row first). The content generator and the tests make their pictures with
// these; each returns S_OK, or E_INVALIDARG for an empty or oversized picture.
#pragma once

#include <vector>

#include "layer/image_decode.h"
#include "wintypes.h"

namespace layer {

// 24-bit bottom-up BMP with its file header; alpha is dropped.
HRESULT EncodeBmp24(UINT width, UINT height, const DWORD* pixels, std::vector<BYTE>* out);

// Uncompressed 32-bit TGA, bottom-left origin, 8 alpha bits.
HRESULT EncodeTga32(UINT width, UINT height, const DWORD* pixels, std::vector<BYTE>* out);

// Uncompressed A8R8G8B8 DDS. With more than one level the levels are stored as a mip chain;
// each must be half the size of the one before (at least 1).
HRESULT EncodeDdsArgb32(UINT width, UINT height, const DWORD* pixels, std::vector<BYTE>* out);
HRESULT EncodeDdsArgb32Levels(const ImageLevel* levels, size_t count, std::vector<BYTE>* out);

// Baseline JPEG through libjpeg at a quality of 1 to 100; alpha is dropped.
HRESULT EncodeJpeg(UINT width, UINT height, const DWORD* pixels, int quality, std::vector<BYTE>* out);

// 8-bit RGBA PNG through libpng.
HRESULT EncodePng(UINT width, UINT height, const DWORD* pixels, std::vector<BYTE>* out);

// Writes bytes to a file (a plain path of this machine), replacing it.
HRESULT WriteBytesToFile(const char* path, const std::vector<BYTE>& bytes);

}  // namespace layer
