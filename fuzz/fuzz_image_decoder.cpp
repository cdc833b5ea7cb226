// fuzz_image_decoder.cpp -- libFuzzer entry for one picture decoder, chosen at build time by
// TREVOK_FUZZ_DECODER. A decoder must never read or write outside its buffers; a result it
// accepts must be a consistent picture.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "layer/image_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size heap copy, so that a read one past the end is caught.
    std::vector<uint8_t> copy(data, data + size);
    layer::DecodedImage img;
    HRESULT hr = layer::TREVOK_FUZZ_DECODER(copy.empty() ? nullptr : copy.data(), copy.size(), &img);
    if (copy.empty() && hr != D3DXERR_INVALIDDATA) std::abort();
    if (SUCCEEDED(hr)) {
        if (!layer::ImageSizeAllowed(img.top.width, img.top.height)) std::abort();
        if (img.top.pixels.size() != (size_t)img.top.width * img.top.height) std::abort();
        for (const layer::ImageLevel& m : img.storedMips)
            if (m.pixels.size() != (size_t)m.width * m.height) std::abort();
    }
    return 0;
}
