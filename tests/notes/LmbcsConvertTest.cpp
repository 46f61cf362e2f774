// Text conversion through OSTranslate: piece sizes, character boundaries, known LMBCS answers, the
// native path and the two ways of reporting a failure.
#include <gtest/gtest.h>

#include "notes/LmbcsConvert.h"
#include "notes/NotesApi.h"
#include "notes/NotesLibrary.h"
#include "notes/NotesSession.h"
#include "platform/CodePage.h"
#include "platform/UserInterface.h"
#include "support/TestSupport.h"

namespace {

using testsupport::Standin;

class RecordingUi : public platform::UserInterface {
public:
    platform::MessageAnswer Message(const std::string &text, const std::string &, platform::MessageIcon,
                                    platform::MessageButtons) override {
        messages.push_back(text);
        return platform::MessageAnswer::Ok;
    }
    void Progress(long, long) override {}
    void Status(const std::string &) override {}
    std::vector<std::string> messages;
};

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) {
        s.push_back(static_cast<char>(v));
    }
    return s;
}

std::string Repeat(const std::string &piece, std::size_t times) {
    std::string s;
    for (std::size_t i = 0; i < times; ++i) {
        s += piece;
    }
    return s;
}

class LmbcsConvertTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string ini = testsupport::WriteNotesIni(m_dir.Path(), {"Directory=" + m_dir.Path()});
        ASSERT_TRUE(m_session.Start(false, testsupport::ProgramDir(), ini)) << m_session.ErrorText();
        m_previousUi = platform::SetUi(&m_ui);
    }
    void TearDown() override {
        Standin::Get().ClearFaults();
        platform::SetUi(m_previousUi);
        m_session.End(true);
        testsupport::ExpectNothingLeft();
    }
    DWORD Calls() const { return Standin::Get().CallCount("OSTranslate"); }

    testsupport::TempDir m_dir;
    notes::NotesSession m_session;
    RecordingUi m_ui;
    platform::UserInterface *m_previousUi = nullptr;
};

TEST_F(LmbcsConvertTest, UnicodePiecesOf21845Characters) {
    struct Case {
        std::size_t characters;
        DWORD calls;
    } cases[] = {{1, 1}, {21845, 1}, {21846, 2}, {2 * 21845, 2}, {2 * 21845 + 1, 3}};
    for (const Case &c : cases) {
        // A mix of one-, two- and three-byte LMBCS characters, so that a lost piece shows.
        std::string text;
        for (std::size_t i = 0; i < c.characters; ++i) {
            text += i % 3 == 0 ? "a" : (i % 3 == 1 ? "\xC3\xBC" : "\xE0\xA4\x90");
        }
        DWORD before = Calls();
        std::string lmbcs = notes::UnicodeToLmbcs(text);
        EXPECT_EQ(Calls() - before, c.calls) << c.characters;
        EXPECT_EQ(notes::LmbcsToUnicode(lmbcs.data(), static_cast<int>(lmbcs.size())), text) << c.characters;
    }
}

TEST_F(LmbcsConvertTest, APieceNeverSplitsASurrogatePair) {
    // U+23456 takes units 21844 and 21845: the first piece must stop before it.
    std::string text = std::string(21844, 'a') + "\xF0\xA3\x91\x96" + "z";
    std::string lmbcs = notes::UnicodeToLmbcs(text);
    EXPECT_EQ(lmbcs.substr(21844, 6), Bytes({0x14, 0xD8, 0x4D, 0x14, 0xDC, 0x56}));
    EXPECT_EQ(notes::LmbcsToUnicode(lmbcs.data(), static_cast<int>(lmbcs.size())), text);
}

TEST_F(LmbcsConvertTest, LmbcsPiecesOf0x8000BytesEndOnACharacterBoundary) {
    // "ab" and then three-byte characters: byte 0x7FFF is the last byte of a character, so a split
    // at 0x7FFF itself would cut it.
    const std::string devanagari = Bytes({0x14, 0x09, 0x10});
    std::string exact = "ab" + Repeat(devanagari, 10922);
    ASSERT_EQ(exact.size(), 0x8000u);
    std::string expected = "ab" + Repeat("\xE0\xA4\x90", 10922);
    struct Case {
        std::string input;
        std::string output;
        DWORD calls;
    } cases[] = {
        {exact, expected, 1},
        {exact + "z", expected + "z", 2},
        {exact + exact, expected + expected, 3},
    };
    for (const Case &c : cases) {
        DWORD before = Calls();
        notes::ErrorObjectArray errors;
        EXPECT_EQ(notes::LmbcsToUnicode(c.input.data(), static_cast<int>(c.input.size()), false, &errors),
                  c.output);
        EXPECT_EQ(Calls() - before, c.calls) << c.input.size();
        EXPECT_TRUE(errors.empty());
    }
}

TEST_F(LmbcsConvertTest, ASingleByteInputOf0x8000BytesLosesNothing) {
    // 0x8000 UTF-16 units do not fit one call's 16-bit output: the piece is converted again in halves.
    std::string ascii;
    for (std::size_t i = 0; i < 0x8000; ++i) {
        ascii.push_back(static_cast<char>('a' + i % 26));
    }
    EXPECT_EQ(notes::LmbcsToUnicode(ascii.data(), static_cast<int>(ascii.size())), ascii);
}

TEST_F(LmbcsConvertTest, KnownLmbcsAnswersRoundTrip) {
    // Decoding is fixed by the vectors; encoding gives the same bytes except where a character exists
    // in more than one group (ICU writes U+2013 from the Hebrew group as 03 96): it round-trips.
    struct Case {
        std::string lmbcs;
        std::string utf8;
        bool sameBytes = true;
    } cases[] = {
        {"a", "a"},
        {Bytes({0x01, 0x29}), "\xE2\x80\x93", false},                       // U+2013
        {Bytes({0x81}), "\xC3\xBC"},                                        // U+00FC
        {Bytes({0xA0}), "\xC3\xA1"},                                        // U+00E1
        {Bytes({0x0F, 0x27}), "\x07"},                                      // U+0007
        {Bytes({0x0F, 0x91}), "\xC2\x91"},                                  // U+0091
        {Bytes({0x14, 0x0A, 0x74}), "\xE0\xA9\xB4"},                        // U+0A74
        {Bytes({0x14, 0xF6, 0x02}), "\xC8\x80"},                            // U+0200
        {Bytes({0x14, 0xD8, 0x4D, 0x14, 0xDC, 0x56}), "\xF0\xA3\x91\x96"},  // U+23456
        {Bytes({0x10, 0x88, 0xA0}), "\xE5\x94\x96"},                        // U+5516
        {Bytes({0x0B, 0xA3}), "\xE0\xB8\x83"},                              // U+0E03
        {Bytes({0x03, 0xE0}), "\xD7\x90"},                                  // U+05D0
        {Bytes({0x14, 0x09, 0x10}), "\xE0\xA4\x90"},                        // U+0910
        {Bytes({0x69, 0x14, 0x03, 0x07}), "i\xCC\x87"},                     // i U+0307
    };
    for (const Case &c : cases) {
        EXPECT_EQ(notes::LmbcsToUnicode(c.lmbcs.data(), static_cast<int>(c.lmbcs.size())), c.utf8);
        std::string encoded = notes::UnicodeToLmbcs(c.utf8);
        EXPECT_EQ(notes::LmbcsToUnicode(encoded.data(), static_cast<int>(encoded.size())), c.utf8);
        if (c.sameBytes) {
            EXPECT_EQ(encoded, c.lmbcs) << c.utf8;
        }
    }
}

TEST_F(LmbcsConvertTest, NulToLineFeedGivesOneValuePerLine) {
    std::string value("one\0two\0three", 13);
    EXPECT_EQ(notes::LmbcsToUnicode(value.data(), static_cast<int>(value.size()), true), "one\ntwo\nthree");
    EXPECT_EQ(notes::LmbcsToUnicode(value.data(), static_cast<int>(value.size()), false), value);
    EXPECT_EQ(notes::LmbcsToUnicode("until the NUL", -1), "until the NUL");
}

TEST_F(LmbcsConvertTest, FailuresAreRecordedOrShown) {
    std::string text = "ab" + Repeat(Bytes({0x14, 0x09, 0x10}), 11000);
    struct Case {
        const char *entryPoint;
        int code;
        const char *message;
        const char *detail;
    } cases[] = {
        {"NLS_goto_prev", 9, "LmbcsToUnicodeSpecific get previous character failed.",
         "Get previous character failed."},
        {"OSTranslate", 10, "LmbcsToUnicodeSpecific OSTranslate failed.", "OSTranslate failed."},
    };
    for (const Case &c : cases) {
        Standin::Get().SetFault(c.entryPoint, 1, 0x3E09, true);
        notes::ErrorObjectArray errors;
        std::string out;
        EXPECT_FALSE(
            notes::ConvertLmbcsToUnicode(text.data(), static_cast<int>(text.size()), false, &errors, out));
        ASSERT_EQ(errors.size(), 1u) << c.entryPoint;
        EXPECT_EQ(errors[0].code, c.code);
        EXPECT_EQ(errors[0].title, "LmbcsToUnicodeSpecific failed.");
        EXPECT_EQ(errors[0].detail, c.detail);
        EXPECT_TRUE(m_ui.messages.empty());

        EXPECT_FALSE(
            notes::ConvertLmbcsToUnicode(text.data(), static_cast<int>(text.size()), false, nullptr, out));
        ASSERT_EQ(m_ui.messages.size(), 1u);
        EXPECT_EQ(m_ui.messages[0], c.message);
        m_ui.messages.clear();
        Standin::Get().ClearFaults();
    }
}

TEST_F(LmbcsConvertTest, ReleasesBefore5GoThroughTheNativeCodePage) {
    notes::Api().version.major = 4;
    DWORD native = Standin::Get().CallCount("OSTranslate");
    EXPECT_EQ(notes::UnicodeToLmbcs("M\xC3\xBCller"), "M\x81ller");
    EXPECT_EQ(notes::LmbcsToUnicode("M\x81ller", -1), "M\xC3\xBCller");
    EXPECT_EQ(Standin::Get().CallCount("OSTranslate"), native + 2);

    std::string longText(0x8001, 'x');
    notes::ErrorObjectArray errors;
    std::string out;
    EXPECT_FALSE(notes::ConvertLmbcsToUnicode(longText.data(), static_cast<int>(longText.size()), false,
                                              &errors, out));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].code, 8);
    EXPECT_EQ(errors[0].detail,
              "Input string is 32769 characters long but must not be over 32768 characters long");
    EXPECT_FALSE(notes::ConvertLmbcsToUnicode(longText.data(), static_cast<int>(longText.size()), false,
                                              nullptr, out));
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(
        m_ui.messages[0],
        "LmbcsToUnicodeSpecific failed. Input string is 32769 characters long but must not be over 32768 "
        "characters long");
    // A long text still converts in full on the way in.
    std::string wide(70000, 'y');
    EXPECT_EQ(notes::UnicodeToLmbcs(wide), wide);
}

}  // namespace
