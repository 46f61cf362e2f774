// The CSV summary writer: encodings and the byte-order mark, header and value quoting, replacements
// on field and formula columns only, CR LF row ends, the open failure and file replacement.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/CsvSummary.h"
#include "support/TestSupport.h"

namespace {

using exporter::CsvCell;
using exporter::CsvSummary;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

// UTF-16 LE bytes of an ASCII text.
std::string Wide(const std::string &ascii) {
    std::string out;
    for (const char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

struct EncodingCase {
    const char *name;
    int encoding;
    std::string expected;
};

class CsvEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

// "Grüße" and the euro sign in the header and in a value: the whole file is compared.
TEST_P(CsvEncodingTest, WholeFileInTheChosenEncoding) {
    const EncodingCase c = GetParam();
    TempDir dir;
    CsvSummary csv(c.encoding);
    ASSERT_TRUE(csv.Open(dir.File("summary.csv")));
    ASSERT_TRUE(csv.WriteHeader({"Gr\xC3\xBC\xC3\x9F"
                                 "e",
                                 "%Count"},
                                ",", true));
    EXPECT_TRUE(csv.WriteRow({{"5 \xE2\x82\xAC", true}, {"1", false}}, ",", true));
    EXPECT_TRUE(csv.Close());
    EXPECT_EQ(ReadFile(dir.File("summary.csv")), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Encodings, CsvEncodingTest,
                         ::testing::Values(EncodingCase{"ansi", exporter::kEncodingAnsi,
                                                        "\"Gr\xFC\xDF"
                                                        "e\",\"%Count\"\r\n\"5 \x80\",\"1\"\r\n"},
                                           EncodingCase{
                                               "utf16", exporter::kEncodingUtf16,
                                               "\xFF\xFE" + Wide("\"Gr") + std::string("\xFC\0\xDF\0", 4) +
                                                   Wide("e\",\"%Count\"\r\n\"5 ") +
                                                   std::string("\xAC\x20", 2) + Wide("\",\"1\"\r\n")},
                                           EncodingCase{"utf8", exporter::kEncodingUtf8,
                                                        "\"Gr\xC3\xBC\xC3\x9F"
                                                        "e\",\"%Count\"\r\n\"5 \xE2\x82\xAC\",\"1\"\r\n"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CsvSummary, ByteOrderMarkOnlyForUtf16EvenWithoutRows) {
    for (const int encoding : {exporter::kEncodingAnsi, exporter::kEncodingUtf16, exporter::kEncodingUtf8}) {
        TempDir dir;
        CsvSummary csv(encoding);
        ASSERT_TRUE(csv.Open(dir.File("s.csv")));
        EXPECT_TRUE(csv.Close());
        EXPECT_EQ(ReadFile(dir.File("s.csv")), encoding == exporter::kEncodingUtf16 ? "\xFF\xFE" : "")
            << encoding;
    }
}

struct QuoteCase {
    std::vector<std::string> titles;
    std::vector<CsvCell> cells;
    std::string delimiter;
    bool doubleQuotes;
    std::string header;
    std::string row;
};

TEST(CsvSummary, HeaderAndValueQuoting) {
    const QuoteCase cases[] = {
        // A title's quote is doubled with or without DoubleQuotes; with it the title is also enclosed.
        {{"Say \"hi\"", "B"}, {{"x", true}, {"y", false}}, ",", false, "Say \"\"hi\"\",B", "x,y"},
        {{"Say \"hi\"", "B"},
         {{"x", true}, {"y", false}},
         ",",
         true,
         "\"Say \"\"hi\"\"\",\"B\"",
         "\"x\",\"y\""},
        // Two quotes in a value become four inside the enclosing pair; every column is quoted, computed too.
        {{"A", "%Errors"},
         {{"a\"b\"c", true}, {"e\"", false}},
         ";",
         true,
         "\"A\";\"%Errors\"",
         "\"a\"\"b\"\"c\";\"e\"\"\""},
        // Without DoubleQuotes a value holding the delimiter or a quote goes out as it is.
        {{"A", "B"}, {{"1,5", true}, {"q\"", false}}, ",", false, "A,B", "1,5,q\""},
        // A delimiter of several characters; an empty value; no delimiter after the last value.
        {{"A", "B", "C"}, {{"", true}, {"2", true}, {"", false}}, " | ", false, "A | B | C", " | 2 | "},
        {{}, {}, ",", true, "", ""},
    };
    for (const QuoteCase &c : cases) {
        CsvSummary csv;
        EXPECT_EQ(CsvSummary::HeaderText(c.titles, c.delimiter, c.doubleQuotes), c.header);
        EXPECT_EQ(csv.RowText(c.cells, c.delimiter, c.doubleQuotes), c.row);
    }
}

struct ReplaceCase {
    const char *name;
    std::vector<std::pair<std::string, std::string>> pairs;
    bool doubleQuotes;
    std::string row;
};

class CsvReplacementTest : public ::testing::TestWithParam<ReplaceCase> {};

// A multi-line field value and a multi-line %Errors value: only the field column takes the rules.
TEST_P(CsvReplacementTest, AppliesToFieldAndFormulaColumnsOnly) {
    const ReplaceCase c = GetParam();
    CsvSummary csv;
    csv.SetReplacements(c.pairs);
    const std::vector<CsvCell> cells = {{"one\r\ntwo\r\n", true}, {"=\"\r\n\"", true}, {"e1\ne2", false}};
    EXPECT_EQ(csv.RowText(cells, ",", c.doubleQuotes), c.row) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CsvReplacementTest,
    ::testing::Values(
        ReplaceCase{"none", {}, false, "one\r\ntwo\r\n,=\"\r\n\",e1\ne2"},
        ReplaceCase{"removeCrReplaceLf",
                    {{"\r", ""}, {"\n", "{[LF]}"}},
                    false,
                    "one{[LF]}two{[LF]},=\"{[LF]}\",e1\ne2"},
        ReplaceCase{"replaceBoth",
                    {{"\r", "{[CR]}"}, {"\n", "{[LF]}"}},
                    false,
                    "one{[CR]}{[LF]}two{[CR]}{[LF]},=\"{[CR]}{[LF]}\",e1\ne2"},
        // Replacements come before quoting: a replacement holding a quote is doubled too.
        ReplaceCase{
            "beforeQuoting", {{"\r\n", "\""}}, true, "\"one\"\"two\"\"\",\"=\"\"\"\"\"\"\",\"e1\ne2\""},
        // Registration order: the second rule sees the first one's output.
        ReplaceCase{"inOrder", {{"o", "0"}, {"0", "#"}}, false, "#ne\r\ntw#\r\n,=\"\r\n\",e1\ne2"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CsvSummary, RefusesAnEmptyFindText) {
    CsvSummary csv;
    EXPECT_FALSE(csv.AddReplacement("", "x"));
    EXPECT_EQ(csv.LastError(), "Invalid Null Replace Value");
    EXPECT_TRUE(csv.Replacements().empty());
    EXPECT_TRUE(csv.AddReplacement("\r", ""));
    EXPECT_EQ(csv.Replacements().size(), 1u);
}

TEST(CsvSummary, OpenFailureNamesThePathAndWritesNothing) {
    TempDir dir;
    // A directory is no regular file: that reason follows the usual text.
    for (const std::string &path : {dir.File("missing/summary.csv"), dir.Path(), std::string()}) {
        CsvSummary csv(exporter::kEncodingUtf16);
        EXPECT_FALSE(csv.Open(path));
        EXPECT_FALSE(csv.IsOpen());
        EXPECT_EQ(csv.LastError(), "Unable to create or open output file \"" + path + "\"" +
                                       (path == dir.Path() ? ": not a regular file" : ""));
        EXPECT_FALSE(csv.WriteRow({{"x", true}}, ",", false));
    }
}

TEST(CsvSummary, ReplacesAnExistingFile) {
    TempDir dir;
    const std::string path = dir.File("summary.csv");
    WriteFile(path, "an older and much longer summary\r\n");
    CsvSummary csv(exporter::kEncodingUtf8);
    ASSERT_TRUE(csv.Open(path));
    ASSERT_TRUE(csv.WriteHeader({"Subject"}, ",", false));
    EXPECT_TRUE(csv.WriteRow({{"New", true}}, ",", false));
    EXPECT_TRUE(csv.Close());
    EXPECT_EQ(ReadFile(path), "Subject\r\nNew\r\n");
}

TEST(CsvSummary, ReopeningClosesThePreviousFile) {
    TempDir dir;
    CsvSummary csv(exporter::kEncodingUtf8);
    ASSERT_TRUE(csv.Open(dir.File("a.csv")));
    EXPECT_TRUE(csv.WriteRow({{"a", true}}, ",", false));
    ASSERT_TRUE(csv.Open(dir.File("b.csv")));
    EXPECT_TRUE(csv.WriteRow({{"b", true}}, ",", false));
    EXPECT_TRUE(csv.Close());
    EXPECT_EQ(ReadFile(dir.File("a.csv")), "a\r\n");
    EXPECT_EQ(ReadFile(dir.File("b.csv")), "b\r\n");
}

}  // namespace
