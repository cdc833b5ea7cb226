// image_write_jpeg.cpp -- baseline JPEG files through libjpeg, errors returned, never exit.
#include <cstdlib>

#include "image/image_write_bytes.h"
#include "image/jpeg_errors.h"
#include "layer/image_encode.h"

namespace layer {
namespace {

// Free of C++ objects with destructors: a longjmp may cross it. On success *buffer holds a
// malloc'ed block of *length bytes.
bool CompressWithLibjpeg(UINT width, UINT height, const DWORD* pixels, int quality, BYTE* row,
                         unsigned char** buffer, unsigned long* length) {
    jpeg_compress_struct cinfo;
    image::JpegErrors err;
    cinfo.err = image::UseJpegErrors(&err);
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, length);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < height) {
        const DWORD* src = pixels + (size_t)cinfo.next_scanline * width;
        for (UINT x = 0; x < width; ++x) {
            row[3 * x] = (BYTE)(src[x] >> 16);
            row[3 * x + 1] = (BYTE)(src[x] >> 8);
            row[3 * x + 2] = (BYTE)src[x];
        }
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

HRESULT EncodeJpeg(UINT width, UINT height, const DWORD* pixels, int quality, std::vector<BYTE>* out) {
    if (!out || !image::EncodableSize(width, height, pixels) || quality < 1 || quality > 100) return E_INVALIDARG;
    std::vector<BYTE> row((size_t)width * 3);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    bool ok = CompressWithLibjpeg(width, height, pixels, quality, row.data(), &buffer, &length);
    if (ok) out->assign(buffer, buffer + length);
    std::free(buffer);
    return ok ? S_OK : E_FAIL;
}

}  // namespace layer
