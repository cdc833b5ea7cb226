// image_ppm.cpp -- binary portable pixmaps (P6), one or two bytes a sample.
#include "image/image_bytes.h"
#include "layer/image_decode.h"

namespace layer {
namespace {

using image::ByteReader;

bool IsSpace(BYTE c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Skips white space and comments (a '#' to the end of its line), then reads a decimal number.
bool ReadHeaderNumber(ByteReader& r, DWORD* value) {
    BYTE c;
    for (;;) {
        if (!r.U8(&c)) return false;
        if (c == '#') {
            do {
                if (!r.U8(&c)) return false;
            } while (c != '\n' && c != '\r');
        } else if (!IsSpace(c)) {
            break;
        }
    }
    if (c < '0' || c > '9') return false;
    uint64_t v = 0;
    for (;;) {
        v = v * 10 + (c - '0');
        if (v > 0xFFFFFFFFu) return false;
        const BYTE* next = r.Span(1);
        if (!next || *next < '0' || *next > '9') break;
        r.Skip(1);
        c = *next;
    }
    *value = (DWORD)v;
    return true;
}

}  // namespace

HRESULT DecodePpm(const void* data, size_t size, DecodedImage* out) {
    if (!out || (!data && size)) return E_POINTER;
    ByteReader r(data, size);
    BYTE magic[2];
    if (!r.Read(magic, 2) || magic[0] != 'P' || magic[1] != '6') return D3DXERR_INVALIDDATA;
    DWORD width, height, maxval;
    if (!ReadHeaderNumber(r, &width) || !ReadHeaderNumber(r, &height) || !ReadHeaderNumber(r, &maxval))
        return D3DXERR_INVALIDDATA;
    // Exactly one white-space character separates the header from the samples.
    BYTE sep;
    if (!r.U8(&sep) || !IsSpace(sep)) return D3DXERR_INVALIDDATA;
    if (maxval == 0 || maxval > 65535) return D3DXERR_INVALIDDATA;

    if (!ImageSizeAllowed(width, height)) return D3DXERR_INVALIDDATA;
    const unsigned sampleBytes = maxval > 255 ? 2 : 1;
    const size_t count = (size_t)width * height;
    const BYTE* p = r.Span(count * 3 * sampleBytes);
    if (!p) return D3DXERR_INVALIDDATA;

    DecodedImage img;
    img.kind = ImageFileKind::Ppm;
    img.sourceFormat = ImageSourceFormat::Rgb24;
    HRESULT hr = image::AllocateLevel(&img.top, width, height);
    if (FAILED(hr)) return hr;
    for (size_t i = 0; i < count; ++i) {
        DWORD rgb[3];
        for (int c = 0; c < 3; ++c) {
            DWORD s = sampleBytes == 2 ? ((DWORD)p[0] << 8) | p[1] : p[0];
            p += sampleBytes;
            if (s > maxval) return D3DXERR_INVALIDDATA;
            rgb[c] = maxval == 255 ? s : (s * 255 + maxval / 2) / maxval;
        }
        img.top.pixels[i] = image::PackArgb(0xFF, rgb[0], rgb[1], rgb[2]);
    }
    *out = std::move(img);
    return S_OK;
}

}  // namespace layer
