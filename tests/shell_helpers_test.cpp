// shell_helpers_test.cpp -- the file object, the error box and the small helpers of the shell.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "layer/message_boxes.h"
#include "scratch_dir.h"
#include "shell/disk_file.h"
#include "shell/error_box.h"
#include "shell/helpers.h"

using namespace layer;

namespace {

std::string ReadAll(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const char* path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

}  // namespace

TEST(DiskFile, MissingFileShowsTheBoxOnceAndReadsNothing) {
    ScratchDir dir;
    unsigned char buffer[36];
    std::memset(buffer, 0x5A, sizeof buffer);
    {
        CDiskFile file("trevok.cfg", 0);
        EXPECT_EQ(file.Read(buffer, 36), 0u);
        EXPECT_EQ(file.Write(buffer, 36), 0u);
    }
    for (unsigned char b : buffer) EXPECT_EQ(b, 0x5A);
    const auto& boxes = ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Nelze otevrit soubor");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].type, MB_ICONERROR);
}

TEST(DiskFile, CreateModeTruncatesAndWritesWholeBlock) {
    ScratchDir dir;
    WriteAll("data.bin", std::string(100, 'x'));
    {
        CDiskFile file("data.bin", 0xFFFF);
        EXPECT_EQ(ReadAll("data.bin").size(), 0u);  // truncated before anything is written
        EXPECT_EQ(file.Write("0123456789abcdef0123456789abcdef0123", 36), 36u);
    }
    EXPECT_EQ(ReadAll("data.bin"), "0123456789abcdef0123456789abcdef0123");
    EXPECT_TRUE(ShownMessageBoxes().empty());
}

TEST(DiskFile, ReadsReturnTheCountOfAShortFileAndOpenModesDecideAccess) {
    ScratchDir dir;
    ::mkdir("Graph", 0755);
    ::mkdir("Graph/Intro", 0755);
    WriteAll("Graph/Intro/Short.BIN", "ABCDEFGHIJ");
    const char* name = "graph\\intro\\short.bin";  // backslashes and any case find the file
    char buffer[36] = {};
    {
        CDiskFile file(name, 0);
        EXPECT_EQ(file.Read(buffer, 36), 10u);
        EXPECT_EQ(file.Write("zz", 2), 0u);  // mode 0 opens for reading only
    }
    EXPECT_EQ(std::string(buffer, 10), "ABCDEFGHIJ");
    {
        CDiskFile file(name, 0x01);  // write access, no sharing
        EXPECT_EQ(file.Write("zz", 2), 2u);
        EXPECT_EQ(file.Read(buffer, 2), 0u);
    }
    {
        CDiskFile file(name, 0x42);  // read and write, both shared
        EXPECT_EQ(file.Read(buffer, 4), 4u);
        EXPECT_EQ(std::string(buffer, 4), "zzCD");
        EXPECT_EQ(file.Write("!", 1), 1u);
    }
    EXPECT_EQ(ReadAll("Graph/Intro/Short.BIN"), "zzCD!FGHIJ");
}

TEST(ErrorBoxText, SuccessShowsNothingAndAFailureNamesTheCallAndTheSignedResult) {
    for (HRESULT hr : {S_OK, S_FALSE, HRESULT(0x7FFFFFFF)}) ErrorBox(hr, "CreateDevice");
    ErrorBox(E_FAIL, "CreateDevice");
    ErrorBox(HRESULT(0x88760868u), "g_pVB2D->Lock");
    ErrorBox(E_OUTOFMEMORY, "CreateVertexBuffer - g_pVB2D");
    ErrorBox(HRESULT(0x8876017Cu), "CreateTexture");
    const auto& boxes = ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, "Nastala chyba!\nPříznak: CreateDevice\nChyba: -2147467259");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].type, MB_ICONERROR);
    EXPECT_EQ(boxes[1].text, "Nastala chyba!\nPříznak: g_pVB2D->Lock\nChyba: -2005530520");
    EXPECT_EQ(boxes[2].text, "Not enough memory.");
    EXPECT_EQ(boxes[3].text, "Not enough video memory.");
}

TEST(ErrorBoxText, VeryLongCallTextIsCutAndKeepsTheResultLine) {
    std::string what(1000, 'w');
    ErrorBox(E_FAIL, what.c_str());
    ErrorBox(E_FAIL, nullptr);
    std::string accented;
    for (int i = 0; i < 400; ++i) accented += "ř";  // two bytes each
    ErrorBox(E_FAIL, accented.c_str());
    const auto& boxes = ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text.size(), 511u);
    EXPECT_EQ(boxes[0].text.rfind("\nChyba: -2147467259"), boxes[0].text.size() - 19);
    EXPECT_EQ(boxes[1].text, "Nastala chyba!\nPříznak: \nChyba: -2147467259");
    const std::string& cut = boxes[2].text;
    EXPECT_LE(cut.size(), 511u);
    size_t tail = cut.rfind("\nChyba: -2147467259");
    ASSERT_NE(tail, std::string::npos);
    size_t head = std::strlen("Nastala chyba!\nPříznak: ");
    EXPECT_EQ((tail - head) % 2, 0u);  // only whole characters survive
}

TEST(RandomIntHelper, FollowsTheRuntimeSequenceAndStaysBelowN) {
    srand(1);
    const int expected[] = {0, 3, 1, 4, 3, 2, 2, 5};
    for (int e : expected) EXPECT_EQ(RandomInt(6), e);
    EXPECT_EQ(RandomInt(0), 0);
    EXPECT_EQ(RandomInt(1), 0);
    // Many draws all stay in 0..5, and each value turns up.
    srand(1);
    int seen[6] = {};
    for (int i = 0; i < (1 << 16); ++i) {
        int v = RandomInt(6);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 6);
        ++seen[v];
    }
    for (int count : seen) EXPECT_GT(count, 0);
}

TEST(SmallHelpers, FlagsAbsoluteValueSquareAndDistance) {
    DWORD flags = 0x0A;
    EXPECT_TRUE(HasFlags(&flags, 0x08));
    EXPECT_FALSE(HasFlags(&flags, 0x0C));
    EXPECT_TRUE(HasFlags(&flags, 0));
    EXPECT_FLOAT_EQ(FloatAbs(-2.5f), 2.5f);
    EXPECT_FLOAT_EQ(FloatAbs(3.0f), 3.0f);
    EXPECT_FLOAT_EQ(FloatAbs(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(Sqr(-3.0f), 9.0f);
    // The distance between points.
    D3DXVECTOR3 origin(0, 0, 0), a(3, 4, 0), b(1, 2, 3), c(-1, -2, -3);
    EXPECT_FLOAT_EQ(Distance(&origin, &a), 5.0f);
    EXPECT_FLOAT_EQ(Distance(&a, &origin), 5.0f);
    EXPECT_FLOAT_EQ(Distance(&b, &c), std::sqrt(56.0f));
    EXPECT_EQ(Distance(&b, &b), 0.0f);
}
