// Per-document Text, HTML and RTF files written by the real executable: contents in the three
// encodings, names (numbered when two documents give the same one), file times, the RTF sources read
// back as RTF, a missing RTF filter, and the picture repair of a crafted RTF.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../standin/RtfReader.h"
#include "ProgramRun.h"
#include "support/DxlBuilder.h"
#include "support/TestSupport.h"

namespace {

using clitest::ProgramRun;

constexpr long kDeliveredSeconds = 1309442709;  // 30 June 2011 14:05:09 GMT
const std::string kUnid1 = "00000000000000000000000000000004";
const std::string kUnid12 = "00000000000000000000000000000030";
const std::string kNoFilter = "Lotus Notes Export document to RTF file.: Unable to load rtf export dll.";

// Twelve documents in the view All, in this order. Documents 11 and 12 share their Title; only 12 has a
// rich-text Body and a DeliveredDate.
std::string Database() {
    testsupport::DxlBuilder dxl("Memos");
    for (int i = 1; i <= 12; ++i) {
        dxl.Document("Memo")
            .Text("Subject", i == 12 ? "Caf\xC3\xA9 12" : "Doc " + std::to_string(i))
            .Number("Index", i)
            .Text("Title", i >= 11 ? "Plan: Q3/Q4" : "Title " + std::to_string(i))
            .Text("Lines", "first line\nsecond line");
        if (i == 12) {
            dxl.DateTime("DeliveredDate", "20110630T140509,00+00")
                .RichText("Body", "<par>Quarterly report</par>");
        }
    }
    dxl.View("All", "SELECT @All", {"Index"});
    return dxl.Build();
}

// ASCII text as UTF-16 LE bytes.
std::string AsciiUtf16(const std::string &text) {
    std::string bytes;
    for (const char c : text) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

std::string Crlf(const std::string &text) {
    std::string result;
    for (const char c : text) {
        result += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return result;
}

long ModifiedSeconds(const std::string &path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<long>(info.st_mtime) : -1;
}

class DocumentFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::WriteFile(m_program.Data() + "/memos.nsf", Database());
        std::filesystem::create_directories(Out(""));
    }

    std::string Out(const std::string &name) const { return m_program.File("out/" + name); }

    // Runs one export of the view All with these profile lines; the CSV's rows without the header.
    std::vector<std::string> Export(const std::vector<std::string> &lines) {
        std::string profile =
            "ProductName=Vorlix\r\nProductVersion=6.0.15\r\nFileType=ExportProfile\r\n"
            "NSFFilePath=memos.nsf\r\nSelectMethod=1\r\nViewName=All\r\nDoubleQuotes=0\r\n"
            "Delimiter=007C\r\nLogExport=1\r\nLogFileName=" +
            m_program.File("export.log") + "\r\nSummaryFilePath=" + m_program.File("out.csv") +
            "\r\nOutputPath=" + m_program.File("out") + "\r\n";
        for (const std::string &line : lines) {
            profile += line + "\r\n";
        }
        testsupport::WriteFile(m_program.File("p.xpp"), profile);
        const clitest::RunResult r = m_program.Run({m_program.File("p.xpp"), "/nomsg"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        std::vector<std::string> rows;
        const std::string csv = testsupport::ReadFile(m_program.File("out.csv"));
        for (std::size_t at = csv.find("\r\n"); at != std::string::npos && at + 2 < csv.size();) {
            const std::size_t end = csv.find("\r\n", at + 2);
            rows.push_back(csv.substr(at + 2, end - at - 2));
            at = end;
        }
        return rows;
    }

    ProgramRun m_program;
};

TEST_F(DocumentFilesTest, TextAndHtmlFilesInTheThreeEncodings) {
    struct Case {
        const char *name;
        std::vector<std::string> lines;
        std::string file;      // of the last document
        std::string expected;  // its bytes
        bool numbered;         // the log tells of a numbered name
    };
    const std::string table =
        "<table width=100% border=1 cellpadding=3 cellspacing=0 style=\"border-collapse: collapse\">\n";
    const Case cases[] = {
        // Counted names, ANSI: a file an earlier run left is replaced.
        {"text_ansi",
         {"CreateDocs=1", "OutputItems=Subject,%Count", "CharacterEncoding=0"},
         "0000012.txt",
         Crlf("Subject: Caf\xE9 12\n%Count: 12\n\n"),
         false},
        // A value of two lines in one HTML cell, UTF-8, named by the universal ID.
        {"html_utf8",
         {"CreateDocs=1", "TextFileFormat=1", "TextFileNameFormat=1", "OutputItems=Subject,Lines",
          "CharacterEncoding=2"},
         kUnid12 + ".htm",
         Crlf(table +
              "<tr>\n<td valign=top><font color=\"#003366\">Subject</font></td><td>Caf\xC3\xA9 12</td>\n"
              "</tr>\n<tr>\n<td valign=top><font color=\"#003366\">Lines</font></td><td>first line<br>\n"
              "second line</td>\n</tr>\n</table>\n"),
         false},
        // Named by a field value with a colon and a slash, UTF-16 without a byte-order mark: the second
        // document of that name is numbered rather than replacing the first.
        {"text_utf16_field",
         {"CreateDocs=1", "TextFileNameFormat=2", "TextFileFieldAppendFieldName=Title", "OutputItems=Index",
          "CharacterEncoding=1"},
         "Plan~ Q3~Q42.txt",
         AsciiUtf16(Crlf("Index: 12\n\n")),
         true},
        // The universal ID with the field value appended.
        {"text_append",
         {"CreateDocs=1", "TextFileNameFormat=1", "TextFileFieldAppendFieldName=Title",
          "TextFileFieldValueAppend=1", "OutputItems=Index", "CharacterEncoding=2"},
         kUnid12 + " Plan~ Q3~Q4.txt",
         Crlf("Index: 12\n\n"),
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(Out(""));
        std::filesystem::create_directories(Out(""));
        testsupport::WriteFile(Out(c.file), std::string(5000, 'x'));
        (void)Export(c.lines);
        EXPECT_EQ(testsupport::ReadFile(Out(c.file)), c.expected);
        EXPECT_EQ(ModifiedSeconds(Out(c.file)), kDeliveredSeconds);
        std::size_t files = 0;
        for (const auto &entry : std::filesystem::directory_iterator(Out(""))) {
            files += entry.path().filename().string().find("partial") == std::string::npos ? 1 : 100;
        }
        EXPECT_EQ(files, 12u) << "one file per document, nothing partial";
        const std::string log = testsupport::ReadFile(m_program.File("export.log"));
        EXPECT_EQ(log.find("......Text file \"" + Out("Plan~ Q3~Q4.txt") +
                           "\" was written for an earlier document of this run: this document's file is \"" +
                           Out("Plan~ Q3~Q42.txt") + "\"") != std::string::npos,
                  c.numbered);
    }
}

// A name that cannot be created (a directory is in its place): that document's row says so, the others
// get their files.
TEST_F(DocumentFilesTest, HtmlFileThatCannotBeCreated) {
    std::filesystem::create_directories(Out("0000003.htm"));
    const std::vector<std::string> rows =
        Export({"CreateDocs=1", "TextFileFormat=1", "OutputItems=%Count,%TF_Name,%Errors"});
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[2], "3||Unable to create or open HTML output file \"" + Out("0000003.htm") + "\"");
    EXPECT_EQ(rows[3], "4|" + Out("0000004.htm") + "|");
}

// %TF_Name and %RTF_Name name the files; the whole document and one field read back as RTF; a document
// without the field gets error 4 and no file (and no %RTF_Name, though an earlier run's file is there).
TEST_F(DocumentFilesTest, RtfOfTheWholeDocumentAndOfOneField) {
    m_program.AddRtfFilter();
    struct Case {
        const char *name;
        std::string source;
        std::vector<std::string> paragraphs;  // in document 12's RTF
        std::string firstRowErrors;
    };
    const Case cases[] = {
        {"document",
         "RtfSource=0",
         {"Subject: Caf? 12", "Quarterly report"},
         ""},  // the reader shows "?" for é
        {"field",
         "RtfSource=1\r\nRtfSourceFieldName=Body",
         {"Quarterly report"},
         "Lotus Notes Export document to RTF file. Get NSF item error: Note item not found"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(Out(""));
        std::filesystem::create_directories(Out(""));
        // A file of an earlier run is replaced by a new one, but never named for a failed export.
        testsupport::WriteFile(Out("0000001.rtf"), "earlier run");
        const std::vector<std::string> rows = Export(
            {"CreateDocs=1", "CreateRTFs=1", c.source, "OutputItems=%Count,%TF_Name,%RTF_Name,%Errors"});
        ASSERT_EQ(rows.size(), 12u);
        EXPECT_EQ(rows[11], "12|" + Out("0000012.txt") + "|" + Out("0000012.rtf") + "|");
        const rtftest::RtfDocument rtf = rtftest::ReadRtf(testsupport::ReadFile(Out("0000012.rtf")));
        EXPECT_TRUE(rtf.balanced);
        for (const std::string &paragraph : c.paragraphs) {
            EXPECT_NE(std::find(rtf.paragraphs.begin(), rtf.paragraphs.end(), paragraph),
                      rtf.paragraphs.end())
                << paragraph;
        }
        EXPECT_EQ(ModifiedSeconds(Out("0000012.rtf")), kDeliveredSeconds);
        const bool firstHasFile = c.firstRowErrors.empty();
        EXPECT_EQ(rows[0], "1|" + Out("0000001.txt") + "|" + (firstHasFile ? Out("0000001.rtf") : "") + "|" +
                               c.firstRowErrors);
        EXPECT_EQ(testsupport::ReadFile(Out("0000001.rtf")) == "earlier run", !firstHasFile);
    }
}

// Without the filter, or with a library that lacks ExportRTF, every document records the error, and
// the CSV and Text files are still written.
TEST_F(DocumentFilesTest, MissingFilterOrEntryPointOnEveryDocument) {
    struct Case {
        std::string library;  // empty: none
        std::string error;
    };
    const Case cases[] = {
        {"", kNoFilter},
        {testsupport::StandinNotesPath(),
         "Lotus Notes Export document to RTF file: Unable to load export to rtf function"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.error);
        if (!c.library.empty()) {
            m_program.AddRtfFilter(c.library);
        }
        const std::vector<std::string> rows =
            Export({"CreateDocs=1", "CreateRTFs=1", "OutputItems=%Count,%RTF_Name,%Errors"});
        ASSERT_EQ(rows.size(), 12u);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i], std::to_string(i + 1) + "||" + c.error);
            char name[32];
            std::snprintf(name, sizeof name, "%07zu.txt", i + 1);
            EXPECT_TRUE(std::filesystem::exists(Out(name))) << name;
        }
    }
}

// A filter that writes damaged picture groups: the file is rewritten without them. The same filter
// failing for the second document is error 6 there, and the run goes on.
TEST_F(DocumentFilesTest, PictureGroupsOfACraftedRtfAreRepaired) {
    m_program.AddRtfFilter(CRAFTED_RTF_FILTER);
    const std::vector<std::string> rows = Export({"CreateRTFs=1", "OutputItems=%Count,%Errors"});
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0], "1|");
    EXPECT_EQ(rows[1],
              "2|Lotus Notes Export document to RTF file. Exporting item to rich text file failed.: Unable "
              "to write "
              "the RTF file");
    EXPECT_FALSE(std::filesystem::exists(Out("0000002.rtf")));
    EXPECT_EQ(rows[2], "3|");
    EXPECT_EQ(testsupport::ReadFile(Out("0000001.rtf")),
              "{\\rtf1\\ansi\r\nkept {\\pict\\wbitmap0\\picw2 }0A before zafter\r\n"
              "open {\\pict\\wbitmap0 unclosed\r\n}\r\n");
}

}  // namespace
