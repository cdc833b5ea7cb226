// image_jpeg.cpp -- JPEG pictures through libjpeg. Errors return through setjmp/longjmp from
// our own error manager, so a broken file never ends the program; a stream that draws
// warnings (corrupt or cut-off data) is refused as well.
#include "image/image_bytes.h"
#include "image/jpeg_errors.h"
#include "layer/image_decode.h"

namespace layer {
namespace {

// The libjpeg part, kept free of C++ objects with destructors: a longjmp may cross it.
HRESULT DecodeWithLibjpeg(const BYTE* data, size_t size, ImageLevel* level, bool* grey) {
    jpeg_decompress_struct cinfo;
    image::JpegErrors err;
    cinfo.err = image::UseJpegErrors(&err);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return D3DXERR_INVALIDDATA;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, const_cast<BYTE*>(data), (unsigned long)size);
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK || !ImageSizeAllowed(cinfo.image_width, cinfo.image_height) ||
        (cinfo.jpeg_color_space != JCS_GRAYSCALE && cinfo.jpeg_color_space != JCS_YCbCr &&
         cinfo.jpeg_color_space != JCS_RGB)) {
        jpeg_destroy_decompress(&cinfo);
        return D3DXERR_INVALIDDATA;
    }
    *grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const UINT w = cinfo.output_width, h = cinfo.output_height;
    if (cinfo.output_components != 3 || FAILED(image::AllocateLevel(level, w, h))) {
        jpeg_destroy_decompress(&cinfo);
        return D3DXERR_INVALIDDATA;
    }
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, w * 3, 1);
    while (cinfo.output_scanline < h) {
        UINT y = cinfo.output_scanline;
        if (jpeg_read_scanlines(&cinfo, row, 1) != 1) break;
        DWORD* dst = &level->pixels[(size_t)y * w];
        for (UINT x = 0; x < w; ++x) dst[x] = image::PackArgb(0xFF, row[0][3 * x], row[0][3 * x + 1], row[0][3 * x + 2]);
    }
    bool complete = cinfo.output_scanline == h;
    if (complete) jpeg_finish_decompress(&cinfo);
    // A corrupt or cut-off stream only warns in libjpeg (it pads the missing data): refuse it.
    if (err.pub.num_warnings != 0) complete = false;
    jpeg_destroy_decompress(&cinfo);
    return complete ? S_OK : D3DXERR_INVALIDDATA;
}

}  // namespace

HRESULT DecodeJpeg(const void* data, size_t size, DecodedImage* out) {
    if (!data || !out) return E_POINTER;
    if (size < 4) return D3DXERR_INVALIDDATA;
    DecodedImage img;
    img.kind = ImageFileKind::Jpg;
    bool grey = false;
    HRESULT hr = DecodeWithLibjpeg(static_cast<const BYTE*>(data), size, &img.top, &grey);
    if (FAILED(hr)) return hr;
    img.sourceFormat = grey ? ImageSourceFormat::Grey8 : ImageSourceFormat::Rgb24;
    *out = std::move(img);
    return S_OK;
}

}  // namespace layer
