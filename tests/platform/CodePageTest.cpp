// Code-page conversions: windows-1252 by default, the code page chosen by the environment, substitutes.
#include <gtest/gtest.h>

#include <string>

#include "ScopedEnv.h"
#include "platform/CodePage.h"

namespace {

using platformtest::ScopedEnv;

TEST(AnsiCodePage, Windows1252RoundTripsEveryByte) {
    const ScopedEnv env("VORLIX_ANSI_CODEPAGE", nullptr);
    ASSERT_EQ(platform::AnsiCodePageName(), "windows-1252");
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    const std::string utf8 = platform::AnsiToUtf8(all);
    EXPECT_EQ(platform::Utf8ToAnsi(utf8), all);
}

struct MappingCase {
    const char *codePage;  // null: the default
    const char *utf8;
    const char *ansi;
};

class AnsiMapping : public testing::TestWithParam<MappingCase> {};

TEST_P(AnsiMapping, MapsCharactersOfTheChosenCodePage) {
    const MappingCase &c = GetParam();
    const ScopedEnv env("VORLIX_ANSI_CODEPAGE", c.codePage);
    EXPECT_EQ(platform::Utf8ToAnsi(c.utf8), c.ansi);
}

const MappingCase kMappingCases[] = {
    {nullptr, "\xE2\x82\xAC", "\x80"},    // euro sign is 0x80 in windows-1252
    {nullptr, "\xC5\xB8", "\x9F"},        // Y with diaeresis
    {nullptr, "caf\xC3\xA9", "caf\xE9"},  // Latin-1 range maps to itself
    {nullptr, "\xCE\xA9", "?"},           // Greek omega: "?", as Windows writes it, never 0x1A
    {nullptr,
     "a\xF0\x9F\x98\x80"
     "b",
     "a?b"},                                      // one "?" for a surrogate pair
    {nullptr, "\xC3\xA9t\xC3\xA9", "\xE9t\xE9"},  // text starting and ending outside ASCII
    {nullptr,
     "a\xFF"
     "b",
     "a?b"},                                         // a byte that is not UTF-8: "?"
    {"", "caf\xC3\xA9", "caf\xE9"},                  // empty variable: the default
    {"no-such-codepage", "caf\xC3\xA9", "caf\xE9"},  // unknown converter: the default
    {"ibm-850", "caf\xC3\xA9", "caf\x82"},           // an OEM code page by name
    {"windows-1251", "\xD0\x96", "\xC6"},            // Cyrillic zhe
};

INSTANTIATE_TEST_SUITE_P(Cases, AnsiMapping, testing::ValuesIn(kMappingCases));

TEST(AnsiCodePage, EnvironmentNamesTheCodePageAndReadingFollowsIt) {
    const ScopedEnv env("VORLIX_ANSI_CODEPAGE", "ibm-850");
    EXPECT_EQ(platform::AnsiCodePageName(), "ibm-850");
    EXPECT_EQ(platform::AnsiToUtf8("caf\x82"), "caf\xC3\xA9");
}

TEST(CodePage, UnknownConverterIsReportedAndEmptyInputIsFine) {
    std::string out = "stale";
    EXPECT_FALSE(platform::Utf8ToCodePage("x", "no-such-codepage", out));
    EXPECT_EQ(out, "");
    EXPECT_FALSE(platform::CodePageToUtf8("x", "", out));
    EXPECT_TRUE(platform::Utf8ToCodePage("", "windows-1252", out));
    EXPECT_EQ(out, "");
    ASSERT_TRUE(platform::CodePageToUtf8("\x82\xA0", "shift_jis", out));
    EXPECT_EQ(out, "\xE3\x81\x82");  // hiragana a
}

TEST(Utf16, ConvertsSurrogatePairsAndReplacesBrokenInput) {
    EXPECT_EQ(platform::Utf8ToUtf16("a\xF0\x9F\x98\x80"), (std::u16string{u'a', 0xD83D, 0xDE00}));
    EXPECT_EQ(platform::Utf16ToUtf8(std::u16string{u'a', 0xD83D, 0xDE00}), "a\xF0\x9F\x98\x80");
    EXPECT_EQ(platform::Utf8ToUtf16("a\xFF"
                                    "b"),
              (std::u16string{u'a', 0xFFFD, u'b'}));
    EXPECT_EQ(platform::Utf16ToUtf8(std::u16string{u'a', 0xD800}), "a\xEF\xBF\xBD");  // lone surrogate
    EXPECT_EQ(platform::Utf8ToUtf16(""), u"");
}

TEST(Utf16, LittleEndianBytesAsFilesHoldThem) {
    EXPECT_EQ(platform::Utf8ToUtf16LeBytes("A\xE2\x82\xAC"), std::string("A\0\xAC\x20", 4));
    EXPECT_EQ(platform::Utf16LeBytesToUtf8(std::string("A\0\xAC\x20", 4)), "A\xE2\x82\xAC");
    // A dangling last byte is not dropped silently.
    EXPECT_EQ(platform::Utf16LeBytesToUtf8(std::string("A\0B", 3)), "A\xEF\xBF\xBD");
}

}  // namespace
