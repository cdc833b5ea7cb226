// image_jpeg.cpp -- JPEG pictures through libjpeg-turbo, decoded straight into the picture's rows.
// Errors return through setjmp/longjmp from our own error manager, so a broken file never ends
// the program; a stream that draws warnings (corrupt or cut-off data) is refused as well.
#include <algorithm>

#include "image/image_bytes.h"
#include "image/jpeg_errors.h"
#include "layer/image_decode.h"

namespace layer {
namespace {

// Huffman coding spends at least one bit on every MCU of the scan that first codes it, so a
// picture cannot come from fewer bytes than an eighth of its MCUs (counted at the largest
// sampling factors, the fewest any scan has). Arithmetic coding has no such floor.
bool CanHoldPicture(const jpeg_decompress_struct& c, size_t size) {
    if (c.arith_code) return true;
    uint64_t hmax = 1, vmax = 1;
    for (int i = 0; i < c.num_components; ++i) {
        hmax = std::max<uint64_t>(hmax, c.comp_info[i].h_samp_factor);
        vmax = std::max<uint64_t>(vmax, c.comp_info[i].v_samp_factor);
    }
    const uint64_t mcus = (c.image_width + 8 * hmax - 1) / (8 * hmax) * ((c.image_height + 8 * vmax - 1) / (8 * vmax));
    return size >= mcus / 8;
}

// CMYK pictures, as image editors write them for print, come out of libjpeg as C, M, Y, K bytes
// in the pixels' own place and are turned into B, G, R, A there. Adobe's files (those with its
// APP14 marker) store the inks inverted, 255 for none; plain ones store 0 for none.
void CmykToBgra(BYTE* p, UINT width, bool inverted) {
    for (UINT x = 0; x < width; ++x, p += 4) {
        int c = p[0], m = p[1], y = p[2], k = p[3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        p[0] = BYTE((y * k + 127) / 255);
        p[1] = BYTE((m * k + 127) / 255);
        p[2] = BYTE((c * k + 127) / 255);
        p[3] = 0xFF;
    }
}

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
        !CanHoldPicture(cinfo, size) ||
        (cinfo.jpeg_color_space != JCS_GRAYSCALE && cinfo.jpeg_color_space != JCS_YCbCr &&
         cinfo.jpeg_color_space != JCS_RGB && cinfo.jpeg_color_space != JCS_CMYK &&
         cinfo.jpeg_color_space != JCS_YCCK)) {
        jpeg_destroy_decompress(&cinfo);
        return D3DXERR_INVALIDDATA;
    }
    *grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    // libjpeg-turbo writes B, G, R and an opaque alpha byte: the pixels as they are kept.
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "B, G, R, A bytes are ARGB pixels");
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&cinfo);
    const UINT w = cinfo.output_width, h = cinfo.output_height;
    // A picture of several scans is read whole here: one cut short has warned already.
    if (cinfo.output_components != 4 || err.pub.num_warnings != 0 || FAILED(image::AllocateLevel(level, w, h))) {
        jpeg_destroy_decompress(&cinfo);
        return D3DXERR_INVALIDDATA;
    }
    // A corrupt or cut-off stream only warns in libjpeg (it pads the missing data): stop there.
    while (cinfo.output_scanline < h && err.pub.num_warnings == 0) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(&level->pixels[(size_t)cinfo.output_scanline * w]);
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
        if (cmyk) CmykToBgra(row, w, cinfo.saw_Adobe_marker);
    }
    bool complete = cinfo.output_scanline == h;
    if (complete) jpeg_finish_decompress(&cinfo);
    if (err.pub.num_warnings != 0) complete = false;
    jpeg_destroy_decompress(&cinfo);
    return complete ? S_OK : D3DXERR_INVALIDDATA;
}

}  // namespace

HRESULT DecodeJpeg(const void* data, size_t size, DecodedImage* out) {
    if (!out || (!data && size)) return E_POINTER;
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
