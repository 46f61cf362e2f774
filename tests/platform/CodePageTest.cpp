// Code-page conversions: windows-1252 by default, the code page chosen by the environment, substitutes.
#include <gtest/gtest.h>
#include <unicode/ustring.h>

#include <algorithm>
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

// Every BMP character beyond ASCII (in runs of every length up to seven between ASCII letters), then
// characters beyond the BMP and bytes that are not UTF-8: the ANSI conversion writes exactly what the
// ICU converter writes, for single-byte code pages (a table) and others alike. (ASCII itself is
// written as it is in every code page, which IBM code pages that move control characters do not.)
TEST(AnsiCodePage, EveryCharacterAsTheConverterWritesIt) {
    std::string all;
    for (char32_t c = 0x80; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        std::u16string unit(1, static_cast<char16_t>(c));
        all += platform::Utf16ToUtf8(unit);
        if (c % 7 == 0) {
            all += "a";
        }
    }
    all += "\xF0\x9F\x98\x80x\xF0\x90\x80\x80\xFF\xC3\xE2\x82z\xED\xA0\x80";
    // Broken sequences after good ones, each in a run of its own: overlong forms, a cut sequence
    // before a good one, a continuation byte alone, an encoded surrogate, a lead byte at the very end.
    all +=
        " \xC3\xA9\xE0\x80\x80 \xC3\xA9\xC0\xAF \xC3\xA9\xC3\xC3\xA9 \xE2\x82\xE2\x82\xAC "
        "\xC3\xA9\x80\xC3\xA9"
        " \xC3\xA9\xED\xB0\x80 \xE2\x82\xAC\xE2";
    for (const char *codePage :
         {"windows-1252", "windows-1251", "windows-1255", "ibm-850", "iso-8859-7", "shift_jis"}) {
        SCOPED_TRACE(codePage);
        const ScopedEnv env("VORLIX_ANSI_CODEPAGE", codePage);
        std::string expected;
        ASSERT_TRUE(platform::Utf8ToCodePage(all, codePage, expected));
        const std::string ansi = platform::Utf8ToAnsi(all);
        const auto differ = std::mismatch(ansi.begin(), ansi.end(), expected.begin(), expected.end());
        EXPECT_TRUE(differ.first == ansi.end() && differ.second == expected.end())
            << "first difference at byte " << (differ.first - ansi.begin()) << " of " << ansi.size() << "/"
            << expected.size();
    }
}

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

// UTF-16 to UTF-8 writes what ICU writes, U+FFFD for each unpaired surrogate: every BMP unit alone,
// then surrogates in every broken arrangement between good characters.
TEST(Utf16, ToUtf8AsIcuWritesIt) {
    std::u16string all;
    for (char32_t c = 1; c < 0x10000; ++c) {
        all.push_back(static_cast<char16_t>(c));
        all.push_back(u'a');
    }
    const std::u16string broken[] = {
        {0xD83D, 0xDE00},          // a pair
        {0xDE00, 0xD83D},          // reversed
        {0xD83D, u'x', 0xDE00},    // split by a character
        {0xD83D, 0xD83D, 0xDE00},  // two highs, then a low
        {0xDBFF, 0xDFFF, 0xDC00},  // the last pair, then a low alone
        {0x00E9, 0xD800},          // a high at the very end
    };
    for (const std::u16string &piece : broken) {
        all += piece;
    }
    std::string expected(all.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(expected.data(), static_cast<int32_t>(expected.size()), &length, all.data(),
                       static_cast<int32_t>(all.size()), 0xFFFD, nullptr, &status);
    ASSERT_TRUE(U_SUCCESS(status));
    expected.resize(static_cast<std::size_t>(length));
    std::string out = "kept ";
    platform::AppendUtf16AsUtf8(all, out);
    EXPECT_TRUE(out == "kept " + expected);
    for (const std::u16string &piece : broken) {
        std::string one(piece.size() * 3, '\0');
        UErrorCode pieceStatus = U_ZERO_ERROR;
        u_strToUTF8WithSub(one.data(), static_cast<int32_t>(one.size()), &length, piece.data(),
                           static_cast<int32_t>(piece.size()), 0xFFFD, nullptr, &pieceStatus);
        one.resize(static_cast<std::size_t>(length));
        EXPECT_EQ(platform::Utf16ToUtf8(piece), one);
    }
}

TEST(Utf16, LittleEndianBytesAsFilesHoldThem) {
    EXPECT_EQ(platform::Utf8ToUtf16LeBytes("A\xE2\x82\xAC"), std::string("A\0\xAC\x20", 4));
    EXPECT_EQ(platform::Utf16LeBytesToUtf8(std::string("A\0\xAC\x20", 4)), "A\xE2\x82\xAC");
    // A dangling last byte is not dropped silently.
    EXPECT_EQ(platform::Utf16LeBytesToUtf8(std::string("A\0B", 3)), "A\xEF\xBF\xBD");
}

}  // namespace
