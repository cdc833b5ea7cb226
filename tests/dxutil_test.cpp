// dxutil_test.cpp -- trace formats, GUID text, the stopwatch, registry values and media lookup.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "dxerr8.h"
#include "fresh_process.h"
#include "dmusici.h"
#include "layer/clock.h"
#include "layer/debug_output.h"
#include "layer/message_boxes.h"
#include "layer/perf_counter.h"
#include "scratch_dir.h"
#include "utils/dxutil.h"

TEST(TraceOutput, DebugOutWritesTheCodeOnlyWhenItIsNotZero) {
    EXPECT_EQ(DebugOut("utils\\x", 42, 0, "ready"), 0);
    EXPECT_EQ(layer::DebugOutput(), "utils\\x(42): ready\n");

    layer::ClearDebugOutput();
    EXPECT_EQ(DebugOut("a.cpp", 7, E_UNEXPECTED, "Init"), E_UNEXPECTED);
    EXPECT_EQ(layer::DebugOutput(), "a.cpp(7): Init(hr=8000ffff)\n\n");
}

TEST(TraceOutput, DebugTraceFormatsAndCutsAt512Characters) {
    DebugTrace("Warning: %s %d\n", "No sound card", 3);
    EXPECT_EQ(layer::DebugOutput(), "Warning: No sound card 3\n");

    layer::ClearDebugOutput();
    std::string longText(600, 'q');
    DebugTrace("%s", longText.c_str());
    EXPECT_EQ(layer::DebugOutput(), std::string(511, 'q'));  // the buffer stays terminated
}

TEST(TraceOutput, DXTraceWritesALineAndShowsTheBoxWhenAsked) {
    EXPECT_EQ(DXTrace("utils\\dmutil", 120, E_FAIL, "InitAudio", TRUE), E_FAIL);
    EXPECT_EQ(layer::DebugOutput(), "utils\\dmutil(120): InitAudio (hr=E_FAIL (0x80004005))\n");
    const auto& boxes = layer::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Unexpected error encountered");
    EXPECT_EQ(boxes[0].text, "File: utils\\dmutil\nLine: 120\nError Code: E_FAIL (0x80004005)\nCalling: InitAudio");
    EXPECT_EQ(boxes[0].type & 0xF0u, static_cast<UINT>(MB_ICONERROR));

    layer::ClearDebugOutput();
    EXPECT_EQ(DXTrace("f", 1, DMUS_E_LOADER_FAILEDOPEN, "LoadObjectFromFile", FALSE), DMUS_E_LOADER_FAILEDOPEN);
    EXPECT_EQ(layer::DebugOutput(), "f(1): LoadObjectFromFile (hr=DMUS_E_LOADER_FAILEDOPEN (0x88781182))\n");
    EXPECT_EQ(layer::ShownMessageBoxes().size(), 1u);  // no second box
    EXPECT_STREQ(DXGetErrorString8A(DSERR_NODRIVER), "DSERR_NODRIVER");
}

TEST(GuidText, RoundTripAndRefusalWithoutBraces) {
    const GUID guid = {0x0123ABCD, 0x4567, 0x89EF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
    char text[39];
    GuidToString(&guid, text);
    EXPECT_STREQ(text, "{0123ABCD-4567-89EF-0123-456789ABCDEF}");
    GUID back;
    EXPECT_TRUE(StringToGuid(text, &back));
    EXPECT_TRUE(back == guid);

    GUID spoiled = guid;
    EXPECT_FALSE(StringToGuid("0123ABCD-4567-89EF-0123-456789ABCDEF", &spoiled));
    EXPECT_TRUE(spoiled == GUID_NULL);
    GuidToString(&spoiled, text);
    EXPECT_STREQ(text, "{00000000-0000-0000-0000-000000000000}");
}

namespace {

// Runs the stopwatch commands on the manual clock, in whichever mode the machine gives.
void CheckStopwatchOnTheManualClock() {
    layer::UseManualClock(10000);
    EXPECT_EQ(UtilTimer(0), 0.0f);
    layer::AdvanceClock(1500);
    EXPECT_FLOAT_EQ(UtilTimer(5), 1.5f);
    EXPECT_FLOAT_EQ(UtilTimer(6), 1.5f);
    layer::AdvanceClock(250);
    EXPECT_FLOAT_EQ(UtilTimer(6), 0.25f);

    UtilTimer(2);  // stop at 1.75 s
    layer::AdvanceClock(1000);
    EXPECT_FLOAT_EQ(UtilTimer(5), 1.75f);  // answers from the stop time
    EXPECT_EQ(UtilTimer(6), 0.0f);
    EXPECT_FLOAT_EQ(UtilTimer(4), 12.75f);  // absolute time reads the clock
    UtilTimer(3);                           // a stopped watch moves on a tenth of a second
    EXPECT_NEAR(UtilTimer(5), 1.85f, 1e-6);

    UtilTimer(1);  // start: the stopped second is not counted
    layer::AdvanceClock(500);
    EXPECT_NEAR(UtilTimer(5), 1.75f + 0.1f + 0.5f, 1e-5);

    UtilTimer(3);  // while running, advance changes nothing
    layer::AdvanceClock(100);
    EXPECT_NEAR(UtilTimer(5), 2.45f, 1e-5);
    EXPECT_EQ(UtilTimer(7), -1.0f);
    EXPECT_EQ(UtilTimer(-1), -1.0f);
}

}  // namespace

TEST(Stopwatch, CounterModeFollowsCommands) {
    LARGE_INTEGER frequency;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    CheckStopwatchOnTheManualClock();
}

// The stopwatch picks its mode once per process, at its first command: this one runs in a
// process of its own, whatever ran before it.
TEST(Stopwatch, MillisecondModeWithoutACounterFollowsCommands) {
    ExpectInFreshProcess([] {
        layer::SetPerformanceCounterPresent(false);
        LARGE_INTEGER frequency;
        EXPECT_FALSE(QueryPerformanceFrequency(&frequency));
        CheckStopwatchOnTheManualClock();
    });
}

namespace {

const GUID kFallbackGuid = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};

// Reads the four typed values of the key, each with its default, and checks what came back.
void ExpectTypedValues(HKEY key, const char* text, DWORD number, BOOL flag, const GUID& guid) {
    char readText[16];
    DWORD readNumber = 0;
    BOOL readFlag = -1;
    GUID readGuid = {};
    EXPECT_EQ(RegReadString(key, "Name", readText, sizeof readText, "nobody"), S_OK);
    EXPECT_EQ(RegReadInt(key, "Count", &readNumber, 77), S_OK);
    EXPECT_EQ(RegReadBool(key, "On", &readFlag, TRUE), S_OK);
    EXPECT_EQ(RegReadGuid(key, "Id", &readGuid, kFallbackGuid), S_OK);
    EXPECT_STREQ(readText, text);
    EXPECT_EQ(readNumber, number);
    EXPECT_EQ(readFlag, flag);
    EXPECT_EQ(readGuid, guid);
}

}  // namespace

TEST(Registry, ValuesRoundTripAndReadersFallBackToDefaults) {
    HKEY key;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Trevok", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Trevok", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));

    ExpectTypedValues(key, "nobody", 77, TRUE, kFallbackGuid);

    EXPECT_EQ(RegWriteString(key, "Name", "Vizuvor"), S_OK);
    EXPECT_EQ(RegWriteInt(key, "Count", 0xDEADBEEF), S_OK);
    EXPECT_EQ(RegWriteBool(key, "On", FALSE), S_OK);
    EXPECT_EQ(RegWriteGuid(key, "Id", IID_IUnknown), S_OK);
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);

    // Key paths and value names match without regard to case.
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\trevok", 0, KEY_READ, &key), ERROR_SUCCESS);
    ExpectTypedValues(key, "Vizuvor", 0xDEADBEEF, FALSE, IID_IUnknown);

    // A string longer than the reader's buffer gives the default, cut and terminated.
    char tiny[4];
    EXPECT_EQ(RegReadString(key, "NAME", tiny, sizeof tiny, "abcdef"), S_OK);
    EXPECT_STREQ(tiny, "abc");
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(size, 8u);
    RegCloseKey(key);
}

TEST(MediaPath, RegistryValueIsUsedOnlyWhenItLeavesRoomForTheSuffix) {
    EXPECT_STREQ(GetMediaPathFromRegistry(), "");
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Graphics Kit", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegWriteString(key, "Media Samples Path", "C:\\Kit"), S_OK);
    EXPECT_STREQ(GetMediaPathFromRegistry(), "C:\\Kit\\Media\\");

    std::string longest(252, 'k');
    ASSERT_EQ(RegWriteString(key, "Media Samples Path", longest.c_str()), S_OK);
    EXPECT_EQ(std::string(GetMediaPathFromRegistry()), longest + "\\Media\\");
    ASSERT_EQ(RegWriteString(key, "Media Samples Path", std::string(253, 'k').c_str()), S_OK);
    EXPECT_STREQ(GetMediaPathFromRegistry(), "");
    RegCloseKey(key);
}

TEST(MediaPath, LocateFindsFullPathThenBareNameAndLeavesTheNameOtherwise) {
    ScratchDir dir;
    std::ofstream("tex.bmp") << "x";
    char found[MAX_PATH];

    ASSERT_EQ(LocateMediaFile(found, "tex.bmp"), S_OK);
    EXPECT_EQ(std::string(found), dir.path() + "/tex.bmp");

    ASSERT_EQ(LocateMediaFile(found, "graph\\tex.bmp"), S_OK);  // only the bare name exists
    EXPECT_STREQ(found, "tex.bmp");

    EXPECT_EQ(LocateMediaFile(found, "graph\\none.bmp"), E_FAIL);
    EXPECT_STREQ(found, "graph\\none.bmp");
    EXPECT_EQ(LocateMediaFile(nullptr, "tex.bmp"), E_INVALIDARG);
    EXPECT_EQ(LocateMediaFile(found, nullptr), E_INVALIDARG);

    // A name too long for the caller's buffer is never copied into it.
    std::string longName(400, 'n');
    std::memset(found, '#', sizeof found);
    EXPECT_EQ(LocateMediaFile(found, longName.c_str()), E_FAIL);
    EXPECT_STREQ(found, "");
}
