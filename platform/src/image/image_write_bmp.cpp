// image_write_bmp.cpp -- 24-bit bottom-up BMP files.
#include "image/image_write_bytes.h"
#include "layer/image_encode.h"
#include "wingdi.h"

namespace layer {

HRESULT EncodeBmp24(UINT width, UINT height, const DWORD* pixels, std::vector<BYTE>* out) {
    if (!out || !image::EncodableSize(width, height, pixels)) return E_INVALIDARG;
    const DWORD stride = (width * 3 + 3) & ~3u;
    const DWORD headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    out->clear();
    out->reserve(headers + (size_t)stride * height);
    image::Put16(out, BITMAPFILE_TYPE_BM);
    image::Put32(out, headers + stride * height);
    image::Put32(out, 0);
    image::Put32(out, headers);
    image::Put32(out, sizeof(BITMAPINFOHEADER));
    image::Put32(out, width);
    image::Put32(out, height);  // positive: bottom-up rows
    image::Put16(out, 1);
    image::Put16(out, 24);
    image::Put32(out, BI_RGB);
    image::Put32(out, stride * height);
    image::Put32(out, 2835);  // 72 dots per inch
    image::Put32(out, 2835);
    image::Put32(out, 0);
    image::Put32(out, 0);
    for (UINT y = height; y-- > 0;) {
        const DWORD* row = pixels + (size_t)y * width;
        for (UINT x = 0; x < width; ++x) {
            image::Put8(out, row[x]);
            image::Put8(out, row[x] >> 8);
            image::Put8(out, row[x] >> 16);
        }
        for (DWORD pad = width * 3; pad < stride; ++pad) image::Put8(out, 0);
    }
    return S_OK;
}

}  // namespace layer
