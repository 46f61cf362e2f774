// Password scrambling: RC4 keystream over unit low bytes, the two-digit hex text, and parsing it back.
#include <gtest/gtest.h>

#include <string>

#include "password/CKey.h"

namespace {

using password::CKey;
using password::kPasswordScrambleKey;
using password::kPasswordScrambleKeyLength;

std::string Scrambled(const std::u16string &clear, const char16_t *key, std::uint32_t keyLength) {
    CKey buffer(clear);
    buffer.ApplyKeystream(key, keyLength);
    return buffer.HexText();
}

struct KnownAnswer {
    const char *name;
    std::u16string clear;
    const char16_t *key;
    std::uint32_t keyLength;
    const char *hex;
};

class CKeyKnownAnswer : public testing::TestWithParam<KnownAnswer> {};

TEST_P(CKeyKnownAnswer, ScramblesToTheExpectedTextAndBack) {
    const KnownAnswer &c = GetParam();
    EXPECT_EQ(Scrambled(c.clear, c.key, c.keyLength), c.hex);
    CKey stored = CKey::FromHexText(c.hex);
    EXPECT_TRUE(stored.WellFormed());
    stored.ApplyKeystream(c.key, c.keyLength);
    EXPECT_EQ(stored.Units(), c.clear);
}

// Expected texts were worked out separately from the published algorithm; the first is the
// well-known RC4 vector for key "Key" and "Plaintext".
const KnownAnswer kKnownAnswers[] = {
    {"PublishedRc4Vector", u"Plaintext", u"Key", 3, "BBF316E8D940AF0AD3"},
    {"ThreeCharacters", u"abc", kPasswordScrambleKey, kPasswordScrambleKeyLength, "FBE123"},
    {"Secret", u"secret", kPasswordScrambleKey, kPasswordScrambleKeyLength, "E9E6230F1162"},
    {"LatinOneCharacter", u"p\u00e9", kPasswordScrambleKey, kPasswordScrambleKeyLength, "EA6A"},
    {"Empty", u"", kPasswordScrambleKey, kPasswordScrambleKeyLength, ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, CKeyKnownAnswer, testing::ValuesIn(kKnownAnswers),
                         [](const testing::TestParamInfo<KnownAnswer> &info) { return info.param.name; });

TEST(CKey, KeyIsTheFixedTwentySevenCharacters) {
    EXPECT_EQ(std::u16string(kPasswordScrambleKey), u"#QmRt7WpxZ^4NaHUKE2(B)LCYfd");
    EXPECT_EQ(std::u16string(kPasswordScrambleKey).size(), kPasswordScrambleKeyLength);
}

TEST(CKey, OnlyTheLowByteOfAKeyUnitCounts) {
    // U+0141 and U+0041 share their low byte 0x41 ('A').
    EXPECT_EQ(Scrambled(u"abc", u"\u0141B", 2), Scrambled(u"abc", u"AB", 2));
    EXPECT_NE(Scrambled(u"abc", u"AB", 2), Scrambled(u"abc", u"AC", 2));
}

TEST(CKey, HighBytesStayAndMakeTheBufferUnrepresentable) {
    CKey buffer(u"a\u0416b");  // Cyrillic zhe
    buffer.ApplyKeystream(kPasswordScrambleKey, kPasswordScrambleKeyLength);
    EXPECT_EQ(buffer.Units()[1] & 0xFF00, 0x0400);
    EXPECT_FALSE(buffer.Representable());
    EXPECT_EQ(buffer.HexText(), "");
    buffer.ApplyKeystream(kPasswordScrambleKey, kPasswordScrambleKeyLength);
    EXPECT_EQ(buffer.Units(), u"a\u0416b");
    EXPECT_TRUE(CKey(u"\u00ff").Representable());
}

TEST(CKey, EveryByteValueSurvivesTheHexText) {
    std::u16string all;
    for (char16_t unit = 0; unit < 0x100; ++unit) {
        all.push_back(unit);
    }
    CKey buffer(all);
    buffer.ApplyKeystream(kPasswordScrambleKey, kPasswordScrambleKeyLength);
    const std::string hex = buffer.HexText();
    ASSERT_EQ(hex.size(), 512u);
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    CKey back = CKey::FromHexText(hex);
    EXPECT_EQ(back.Count(), 256u);
    back.ApplyKeystream(kPasswordScrambleKey, kPasswordScrambleKeyLength);
    EXPECT_EQ(back.Units(), all);
}

struct ParseCase {
    const char *text;
    std::u16string units;
    bool wellFormed;
};

class CKeyParse : public testing::TestWithParam<ParseCase> {};

TEST_P(CKeyParse, TakesTwoCharactersPerUnit) {
    const CKey key = CKey::FromHexText(GetParam().text);
    EXPECT_EQ(key.Units(), GetParam().units);
    EXPECT_EQ(key.Count(), GetParam().units.size());
    EXPECT_EQ(key.WellFormed(), GetParam().wellFormed);
}

const ParseCase kParseCases[] = {
    {"0aFf10", u"\u000a\u00ff\u0010", true},  // either case of digit
    {"ABC", u"\u00ab", false},                // an odd last character is ignored
    {"1z41", u"\u0001A", false},              // a number stops at the first non-digit
    {"zz41", std::u16string(u"\0A", 2), false},
    {"", u"", true},
};

INSTANTIATE_TEST_SUITE_P(Cases, CKeyParse, testing::ValuesIn(kParseCases));

TEST(CKey, NoKeyLeavesTheUnitsAlone) {
    CKey buffer(u"abc");
    buffer.ApplyKeystream(nullptr, 5);
    buffer.ApplyKeystream(kPasswordScrambleKey, 0);
    EXPECT_EQ(buffer.Units(), u"abc");
}

TEST(CKey, CopiesOwnTheirBuffers) {
    CKey original(u"abc");
    CKey copy(original);
    copy.ApplyKeystream(kPasswordScrambleKey, kPasswordScrambleKeyLength);
    EXPECT_EQ(original.Units(), u"abc");
    original = copy;
    EXPECT_EQ(original.HexText(), "FBE123");
    CKey moved(std::move(copy));
    EXPECT_EQ(moved.HexText(), "FBE123");
    original = CKey(u"xy");
    EXPECT_EQ(original.Count(), 2u);
}

}  // namespace
