// image_records_test.cpp -- a bitmap file header read from a file's bytes has its fields in place.
#include <gtest/gtest.h>

#include <cstring>

#include "wingdi.h"

TEST(ImageRecords, BitmapFileHeaderBytesLandInPlace) {
    const BYTE bytes[14] = {'B', 'M', 0x36, 0x01, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0};
    BITMAPFILEHEADER h;
    std::memcpy(&h, bytes, sizeof h);
    // Packed fields are copied out before comparing: a reference to one may be misaligned.
    const DWORD type = h.bfType, size = h.bfSize, offBits = h.bfOffBits;
    EXPECT_EQ(type, BITMAPFILE_TYPE_BM);
    EXPECT_EQ(size, 0x136u);
    EXPECT_EQ(offBits, 54u);
}
