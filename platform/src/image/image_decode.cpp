// image_decode.cpp -- picks the picture decoder by the file's signature; shared size limits.
#include <atomic>
#include <cstring>

#include "image/image_bytes.h"
#include "layer/image_decode.h"

namespace layer {

bool ImageSizeAllowed(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

static std::atomic<uint64_t> g_pixelsAllocated{0};

uint64_t DecodedPixelsAllocated() { return g_pixelsAllocated; }

namespace image {

HRESULT AllocateLevel(ImageLevel* level, uint64_t width, uint64_t height) {
    if (!ImageSizeAllowed(width, height)) return D3DXERR_INVALIDDATA;
    g_pixelsAllocated += width * height;
    level->width = (UINT)width;
    level->height = (UINT)height;
    level->pixels.assign((size_t)(width * height), 0xFF000000u);
    return S_OK;
}

}  // namespace image

static bool StartsWith(const BYTE* p, size_t size, const char* sig, size_t n) {
    return size >= n && std::memcmp(p, sig, n) == 0;
}

HRESULT DecodeImage(const void* data, size_t size, DecodedImage* out) {
    if (!out || (!data && size)) return E_POINTER;
    const BYTE* p = static_cast<const BYTE*>(data);
    if (StartsWith(p, size, "BM", 2)) return DecodeBmp(data, size, out);
    if (StartsWith(p, size, "DDS ", 4)) return DecodeDds(data, size, out);
    if (StartsWith(p, size, "\xFF\xD8\xFF", 3)) return DecodeJpeg(data, size, out);
    if (StartsWith(p, size, "\x89PNG\r\n\x1A\n", 8)) return DecodePng(data, size, out);
    if (StartsWith(p, size, "P6", 2)) return DecodePpm(data, size, out);
    if (size >= 4) {
        // A packed DIB starts with the size of its info header.
        DWORD headerSize = (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24);
        if (headerSize == 12 || headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
            headerSize == 124) {
            if (SUCCEEDED(DecodeBmp(data, size, out))) return S_OK;
        }
    }
    return DecodeTga(data, size, out);
}

}  // namespace layer
