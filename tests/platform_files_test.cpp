// platform_files_test.cpp -- the layer's file functions: handles, dispositions, path mapping.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <string>

#include "scratch_dir.h"
#include "windows.h"

namespace {

HANDLE OpenForReading(const char* name) {
    return CreateFileA(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

TEST(PlatformFiles, HandlesAreSmallPositiveNumbersAndFailuresAreMinusOne) {
    ScratchDir dir;
    std::ofstream("a.bin") << "abc";
    HANDLE a = OpenForReading("a.bin");
    HANDLE b = OpenForReading("a.bin");
    ASSERT_NE(a, INVALID_HANDLE_VALUE);
    intptr_t va = reinterpret_cast<intptr_t>(a), vb = reinterpret_cast<intptr_t>(b);
    EXPECT_GT(va, 0);
    EXPECT_LT(va, 0x10000);
    EXPECT_NE(va, vb);
    EXPECT_TRUE(CloseHandle(a));
    EXPECT_FALSE(CloseHandle(a));  // already closed
    EXPECT_TRUE(CloseHandle(b));
    EXPECT_EQ(OpenForReading("missing.bin"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenForReading(""), INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenForReading(nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileA("a.bin", GENERIC_READ, 0, nullptr, 0, 0, nullptr), INVALID_HANDLE_VALUE);
    DWORD done = 7;
    char buf[4];
    EXPECT_FALSE(ReadFile(INVALID_HANDLE_VALUE, buf, 4, &done, nullptr));
    EXPECT_EQ(done, 0u);
    EXPECT_FALSE(WriteFile(reinterpret_cast<HANDLE>(intptr_t(9999)), buf, 4, &done, nullptr));
    EXPECT_FALSE(CloseHandle(nullptr));
}

TEST(PlatformFiles, DispositionsCreateTruncateAndRefuse) {
    ScratchDir dir;
    HANDLE h = CreateFileA("new.bin", GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    EXPECT_TRUE(WriteFile(h, "hello", 5, &done, nullptr));
    EXPECT_EQ(done, 5u);
    CloseHandle(h);
    EXPECT_EQ(CreateFileA("new.bin", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr), INVALID_HANDLE_VALUE);
    h = CreateFileA("new.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    char buf[16] = {};
    EXPECT_TRUE(ReadFile(h, buf, sizeof buf, &done, nullptr));
    EXPECT_EQ(std::string(buf, done), "hello");
    EXPECT_TRUE(ReadFile(h, buf, sizeof buf, &done, nullptr));  // at the end: success with 0 bytes
    EXPECT_EQ(done, 0u);
    CloseHandle(h);
    ::mkdir("folder", 0755);
    EXPECT_EQ(OpenForReading("folder"), INVALID_HANDLE_VALUE);  // a directory is not a file
}

TEST(PlatformFiles, WindowsPathsFindFilesWhateverTheirCase) {
    ScratchDir dir;
    ::mkdir("Sound", 0755);
    std::ofstream("Sound/Kill1.WAV") << "RIFF";
    HANDLE h = OpenForReading("sound\\kill1.wav");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    // Creating under a directory found without regard to case puts the file there.
    h = CreateFileA("SOUND\\extra.wav", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_TRUE(std::ifstream("Sound/extra.wav").good());
    // An exact match wins over others that differ only in case.
    std::ofstream("Sound/kill1.wav") << "exact";
    h = OpenForReading("Sound\\kill1.wav");
    char buf[8] = {};
    DWORD done = 0;
    ReadFile(h, buf, sizeof buf, &done, nullptr);
    CloseHandle(h);
    EXPECT_EQ(std::string(buf, done), "exact");
    EXPECT_EQ(OpenForReading("sound\\missing\\kill1.wav"), INVALID_HANDLE_VALUE);
}

TEST(PlatformFiles, FullPathNamesAreAbsoluteAndReportTheSizeNeeded) {
    ScratchDir dir;
    char buf[512];
    LPSTR part = nullptr;
    DWORD n = GetFullPathNameA("graph\\cross.bmp", sizeof buf, buf, &part);
    std::string expected = dir.path() + "/graph\\cross.bmp";
    EXPECT_EQ(std::string(buf), expected);
    EXPECT_EQ(n, expected.size());
    ASSERT_NE(part, nullptr);
    EXPECT_STREQ(part, "cross.bmp");
    char small[4];
    EXPECT_EQ(GetFullPathNameA("graph\\cross.bmp", sizeof small, small, nullptr), expected.size() + 1);
    EXPECT_EQ(GetFullPathNameA("", sizeof buf, buf, nullptr), 0u);
}

TEST(PlatformModule, ProgramModuleFitsInAWindowWord) {
    HMODULE module = GetModuleHandleA(nullptr);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(module) >> 31, 0u);
    EXPECT_EQ(GetModuleHandleA("other.dll"), nullptr);
}
