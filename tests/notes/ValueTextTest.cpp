// Display text of item values: any value through NSFItemConvertValueToText with the caller's
// separator, time lists with unconvertible entries, text lists and text.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <cstring>

#include "notes/NotesApi.h"
#include "notes/NotesSession.h"
#include "notes/ValueText.h"
#include "support/TestSupport.h"

namespace {

using testsupport::Standin;

// Little-endian value bytes, as items hold them.
class Value {
public:
    explicit Value(WORD type) { Word(type); }
    Value &Word(WORD v) {
        m_bytes.push_back(static_cast<char>(v & 0xFF));
        m_bytes.push_back(static_cast<char>(v >> 8));
        return *this;
    }
    Value &Dword(DWORD v) { return Word(static_cast<WORD>(v & 0xFFFF)).Word(static_cast<WORD>(v >> 16)); }
    Value &Time(DWORD ticks, DWORD day) { return Dword(ticks).Dword(day); }
    Value &Number(double d) {
        char raw[8];
        std::memcpy(raw, &d, 8);
        m_bytes.append(raw, 8);
        return *this;
    }
    Value &Text(const std::string &s) {
        m_bytes += s;
        return *this;
    }
    const std::string &Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// 10 December 1996 19:49:04 GMT, recorded in EST.
constexpr DWORD kTicks = 0x006CDCC0;
constexpr DWORD kDay = 0x852563FC;

Value TextList(const std::vector<std::string> &entries) {
    Value v(notes::kTypeTextList);
    v.Word(static_cast<WORD>(entries.size()));
    for (const std::string &e : entries) {
        v.Word(static_cast<WORD>(e.size()));
    }
    for (const std::string &e : entries) {
        v.Text(e);
    }
    return v;
}

class ValueTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        std::string ini = testsupport::WriteNotesIni(m_dir.Path(), {"Directory=" + m_dir.Path()});
        ASSERT_TRUE(m_session.Start(false, testsupport::ProgramDir(), ini)) << m_session.ErrorText();
    }
    void TearDown() override {
        m_session.End(true);
        unsetenv("TZ");
        tzset();
        testsupport::ExpectNothingLeft();
    }
    // The value through NSFItemConvertValueToText from a memory block of the runtime, the value
    // placed after a few bytes so that the block offset counts.
    std::string AnyValue(const Value &value, const std::string &separator, const std::string &before = "") {
        std::string block = "pad" + value.Bytes();
        DHANDLE pool = Standin::Get().Fn<StandinAllocMemoryFn>("StandinAllocMemory")(
            block.data(), static_cast<DWORD>(block.size()));
        EXPECT_NE(pool, 0u);
        std::string text = before;
        WORD type = static_cast<WORD>(static_cast<unsigned char>(value.Bytes()[0]) |
                                      (static_cast<unsigned char>(value.Bytes()[1]) << 8));
        notes::AppendAnyValueText(type, BLOCKID{pool, 3}, static_cast<DWORD>(value.Bytes().size()), separator,
                                  text);
        EXPECT_EQ(Standin::Get().Fn<STATUS (*)(DHANDLE)>("OSMemFree")(pool), 0);
        return text;
    }

    testsupport::TempDir m_dir;
    notes::NotesSession m_session;
};

TEST_F(ValueTextTest, AnyValueJoinsEntriesWithTheCallersSeparator) {
    Value numbers(notes::kTypeNumberRange);
    numbers.Word(3).Word(0).Number(1).Number(2.5).Number(-1234567);
    Value times(notes::kTypeTimeRange);
    times.Word(2).Word(0).Time(kTicks, kDay).Time(0, 0x002563FD);
    struct Case {
        Value value;
        std::string separator;
        std::string text;
    } cases[] = {
        {Value(notes::kTypeText).Text("plain;semicolon"), ", ", "plain, semicolon"},
        {TextList({"red", "green", "blue"}), "\r\n", "red\r\ngreen\r\nblue"},
        {TextList({"M\x81ller"}), ";", "M\xC3\xBCller"},
        {Value(notes::kTypeNumber).Number(3.5), ";", "3.5"},
        {numbers, " | ", "1 | 2.5 | -1234567"},
        {Value(notes::kTypeTime).Time(kTicks, kDay), ";", "12/10/96 07:49:04 PM"},
        {times, "/", "12/10/96 07:49:04 PM/12/11/96 12:00:00 AM"},
        {Value(notes::kTypeComposite).Text("rich"), ";", ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(AnyValue(c.value, c.separator), c.text) << c.text;
    }
    // Text already in the buffer keeps its own semicolons.
    EXPECT_EQ(AnyValue(TextList({"a", "b"}), "+", "x;y="), "x;y=a+b");
}

TEST_F(ValueTextTest, TimeListLeavesOutEntriesThatDoNotConvert) {
    Value list(notes::kTypeTimeRange);
    list.Word(3).Word(0).Time(kTicks, kDay).Time(9000000, kDay).Time(0, 0x00257E90);
    std::string text;
    notes::AppendTimeListText(list.Bytes().data(), list.Bytes().size(), ", ", text);
    EXPECT_EQ(text, "12/10/96 07:49:04 PM, 07/28/2015 12:00:00 AM");

    Value firstBad(notes::kTypeTimeRange);
    firstBad.Word(2).Word(0).Time(9000000, kDay).Time(kTicks, kDay);
    text.clear();
    notes::AppendTimeListText(firstBad.Bytes().data(), firstBad.Bytes().size(), ", ", text);
    EXPECT_EQ(text, ", 12/10/96 07:49:04 PM") << "the separator goes before every entry but the list's first";

    // A list that claims more entries than it holds stops at its end.
    Value truncated(notes::kTypeTimeRange);
    truncated.Word(5).Word(0).Time(kTicks, kDay);
    text.clear();
    notes::AppendTimeListText(truncated.Bytes().data(), truncated.Bytes().size(), ", ", text);
    EXPECT_EQ(text, "12/10/96 07:49:04 PM");
}

TEST_F(ValueTextTest, TextListsAndTextFromTheirBytes) {
    struct Case {
        std::string bytes;
        std::string text;
    } cases[] = {
        {TextList({"one", "two", "three"}).Bytes(), "one / two / three"},
        {TextList({}).Bytes(), ""},
        {TextList({"one", "two"}).Bytes().substr(0, 12), "one"},  // cut inside the second entry
        {TextList({"one"}).Bytes().substr(0, 3), ""},
        // Notes keeps a line break inside text as a NUL byte: it comes out as a line feed.
        {TextList({std::string("a\0b", 3), std::string("\0", 1)}).Bytes(), "a\nb / \n"},
    };
    for (const Case &c : cases) {
        std::string text;
        notes::AppendTextListText(c.bytes.data(), c.bytes.size(), " / ", text);
        EXPECT_EQ(text, c.text);
    }
    std::string text = "Subject: ";
    Value plain(notes::kTypeText);
    plain.Text(
        "Gr\x81\xE1"
        "e");
    notes::AppendTextText(plain.Bytes().data(), plain.Bytes().size(), text);
    EXPECT_EQ(text,
              "Subject: Gr\xC3\xBC\xC3\x9F"
              "e");

    text.clear();
    Value lines(notes::kTypeText);
    lines.Text(std::string("first\0second\r\nthird\0", 20));
    notes::AppendTextText(lines.Bytes().data(), lines.Bytes().size(), text);
    EXPECT_EQ(text, "first\nsecond\r\nthird\n");
}

TEST_F(ValueTextTest, TimeItemsAndSignaturesOfANote) {
    testsupport::WriteFile(m_dir.File("times.nsf"), R"(<?xml version='1.0' encoding='utf-8'?>
<database xmlns='http://www.lotus.com/dxl' xmlns:vx='urn:vorlix:standin-dxl' title='Times'>
<document form='Memo'>
<noteinfo noteid='10' unid='00000000000000000000000000000010'/>
<vx:signature signer='CN=Signer One/O=Acme' time='20210203T040506,07+00'/>
<item name='When'><datetime>20200728T122240,71-04</datetime></item>
<item name='Subject'><text>not a time</text></item>
</document>
<document form='Memo'>
<noteinfo noteid='14' unid='00000000000000000000000000000014'/>
<item name='Subject'><text>unsigned</text></item>
</document>
</database>
)");
    notes::NotesApiTable &fn = notes::Api().fn;
    DBHANDLE db = 0;
    std::string path = m_dir.File("times.nsf");
    ASSERT_EQ(fn.NSFDbOpen(path.c_str(), &db), 0);
    NOTEHANDLE signedNote = 0, unsignedNote = 0;
    ASSERT_EQ(fn.NSFNoteOpen(db, 0x10, 0, &signedNote), 0);
    ASSERT_EQ(fn.NSFNoteOpen(db, 0x14, 0, &unsignedNote), 0);
    struct Case {
        const char *item;
        const char *text;
    } cases[] = {
        {"When", "07/28/2020 04:22:40 PM"},
        {"Subject", "Invalid Date Time"},
        {"Missing", "Invalid Date Time"},
    };
    for (const Case &c : cases) {
        std::string text = "at ";
        notes::AppendTimeItemText(signedNote, c.item, text);
        EXPECT_EQ(text, std::string("at ") + c.text) << c.item;
    }
    std::string signature;
    notes::AppendSignatureText(signedNote, signature);
    EXPECT_EQ(signature, "Signed by CN=Signer One/O=Acme on 02/03/2021 04:05:06 AM");
    std::string none;
    notes::AppendSignatureText(unsignedNote, none);
    EXPECT_EQ(none, "");
    EXPECT_EQ(fn.NSFNoteClose(signedNote), 0);
    EXPECT_EQ(fn.NSFNoteClose(unsignedNote), 0);
    EXPECT_EQ(fn.NSFDbClose(db), 0);
}

}  // namespace
