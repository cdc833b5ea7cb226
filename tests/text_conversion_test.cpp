// text_conversion_test.cpp -- code-page conversions and the framework's string helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "utils/dxutil.h"
#include "windows.h"

namespace {

std::u16string Wide(const WCHAR* s) { return std::u16string(s); }

}  // namespace

TEST(CodePage, Utf8AndUtf16RoundTripWithSizesQueriedFirst) {
    const char* text = u8"Příznak: žluťoučký kůň 😀";
    int needed = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::u16string expected = u"Příznak: žluťoučký kůň 😀";
    ASSERT_EQ(needed, static_cast<int>(expected.size()) + 1);  // the terminator counts
    std::u16string wide(static_cast<size_t>(needed), u'?');
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), needed), needed);
    EXPECT_EQ(wide.c_str(), expected);

    int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    ASSERT_EQ(bytes, static_cast<int>(std::string(text).size()) + 1);
    std::string back(static_cast<size_t>(bytes), '?');
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, back.data(), bytes, nullptr, nullptr), bytes);
    EXPECT_STREQ(back.c_str(), text);
}

TEST(CodePage, ShortOutputTakesWholeCharactersAndReportsZero) {
    WCHAR out[4] = {u'x', u'x', u'x', u'x'};
    // "a😀b": the pair of the emoji does not fit after 'a' in two units.
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, u8"a😀b", -1, out, 2), 0);
    EXPECT_EQ(out[0], u'a');
    EXPECT_EQ(out[1], u'x');
    char bytes[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"ž!", -1, bytes, 1, nullptr, nullptr), 0);
    EXPECT_EQ(bytes[0], 'x');  // the two bytes of 'ž' do not fit in one
}

TEST(CodePage, MalformedInputBecomesReplacementCharacters) {
    const char bad[] = {'A', static_cast<char>(0xC3), 'B', static_cast<char>(0xFF), 0};
    WCHAR out[8];
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, bad, -1, out, 8), 5);
    EXPECT_EQ(Wide(out), u"A\uFFFDB\uFFFD");
    const WCHAR lone[] = {u'x', 0xD800, u'y', 0};
    char bytes[8];
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, lone, -1, bytes, 8, nullptr, nullptr), 6);
    EXPECT_STREQ(bytes, u8"x\uFFFDy");
    EXPECT_EQ(MultiByteToWideChar(1250, 0, "abc", -1, out, 8), 0);  // only the UTF-8 page exists
}

TEST(StringHelpers, ToWideCutsBetweenWholeLettersAndTerminates) {
    // Letters of 2, 3 and 4 bytes at the cut; the last is a pair of
    // wide characters, which fits whole or not at all.
    const char* const mixed = u8"abé€𝄞c";
    const struct {
        decltype(&AnsiToWide) convert;
        const char* in;
        int count;
        std::u16string out;
    } rows[] = {
        {GenericToWide, "abc", -1, u"abc"},
        {GenericToWide, "abc", 3, u"ab"},
        {GenericToWide, u8"čřž", -1, u"čřž"},
        {AnsiToWide, mixed, -1, u"abé€𝄞c"},
        {AnsiToWide, mixed, 8, u"abé€𝄞c"},
        {AnsiToWide, mixed, 7, u"abé€𝄞"},
        {AnsiToWide, mixed, 6, u"abé€"},
        {GenericToWide, mixed, 5, u"abé€"},
        {AnsiToWide, mixed, 4, u"abé"},
        {GenericToWide, mixed, 3, u"ab"},
        {AnsiToWide, mixed, 1, u""}};
    for (const auto& row : rows) {
        WCHAR out[12];
        std::fill(out, out + 12, u'#');
        row.convert(out, row.in, row.count);
        EXPECT_EQ(Wide(out), row.out) << row.count;
        // Nothing past the terminator.
        const size_t end = row.out.size() + 1;
        EXPECT_EQ(out[end], u'#') << row.count;
    }
}

TEST(StringHelpers, CountsOfZeroOrBelowAndNullPointersWriteNothing) {
    WCHAR guard[3] = {u'#', u'#', u'#'};
    AnsiToWide(guard + 1, "abc", 0);
    AnsiToWide(guard + 1, "abc", -2);
    AnsiToWide(nullptr, "abc", -1);
    AnsiToWide(guard + 1, nullptr, -1);
    EXPECT_EQ(guard[0], u'#');
    EXPECT_EQ(guard[1], u'#');

    char bytes[3] = {'#', '#', '#'};
    WideToAnsi(bytes + 1, u"abc", 0);
    GenericToAnsi(bytes + 1, "abc", 0);
    AnsiToGeneric(bytes + 1, "abc", 0);
    WideToGeneric(bytes + 1, u"abc", 0);
    EXPECT_EQ(bytes[0], '#');
    EXPECT_EQ(bytes[1], '#');
}

TEST(StringHelpers, CopiesAndWideToAnsiCutAndTerminate) {
    char out[12];
    std::fill(out, out + 12, '#');
    GenericToAnsi(out, "abcdef", 4);
    EXPECT_STREQ(out, "abc");
    AnsiToGeneric(out, "xy", -1);
    EXPECT_STREQ(out, "xy");
    // The 8-bit code page is UTF-8: counts are in bytes ("Příliš" takes 9), a letter is never cut.
    const struct { decltype(&WideToAnsi) convert; const WCHAR* in; int count; const char* out; } rows[] = {
        {WideToAnsi, u"hello", 3, "he"}, {WideToGeneric, u"ok", -1, "ok"},
        {WideToAnsi, u"Příliš", -1, u8"Příliš"}, {WideToGeneric, u"Příliš", -1, u8"Příliš"},
        {WideToAnsi, u"Příliš", 10, u8"Příliš"}, {WideToGeneric, u"Příliš", 9, u8"Příli"},
        {WideToAnsi, u"Příliš", 9, u8"Příli"}, {WideToGeneric, u"Příliš", 3, u8"P"}};
    for (const auto& row : rows) {
        std::fill(out, out + 12, '#');
        row.convert(out, row.in, row.count);
        EXPECT_STREQ(out, row.out) << row.count;
        EXPECT_EQ(out[row.count == -1 ? std::strlen(row.out) + 1 : row.count], '#');  // nothing past it
    }
}
