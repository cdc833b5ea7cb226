// image_records_test.cpp -- the picture file records compile into their exact on-disk layout.
#include <gtest/gtest.h>

#include <cstring>

#include "layer/image_formats.h"
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

TEST(ImageRecords, TgaAndDdsHeadersReadFromBytes) {
    BYTE tga[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0x01, 0xF0, 0x00, 32, 0x28};
    layer::TgaHeader t;
    std::memcpy(&t, tga, sizeof t);
    const int type = t.imageType, width = t.width, height = t.height, depth = t.pixelDepth;
    EXPECT_EQ(type, layer::TGA_TYPE_TRUECOLOR);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    EXPECT_EQ(depth, 32);
    EXPECT_TRUE(t.descriptor & layer::TGA_DESC_TOP_TO_BOTTOM);
    EXPECT_EQ(t.descriptor & layer::TGA_DESC_ALPHA_BITS, 8);

    const char magic[4] = {'D', 'D', 'S', ' '};
    DWORD m;
    std::memcpy(&m, magic, 4);
    EXPECT_EQ(m, layer::DDS_MAGIC);
    const char dxt5[4] = {'D', 'X', 'T', '5'};
    std::memcpy(&m, dxt5, 4);
    EXPECT_EQ(m, layer::DDS_FOURCC_DXT5);
}
