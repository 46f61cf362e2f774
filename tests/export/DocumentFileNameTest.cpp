// Names of per-document files: the four name formats, the appended value, and evaluate strings with
// their time format and error texts, over one stand-in note.
#include <gtest/gtest.h>

#include "../platform/ScopedEnv.h"
#include "ExportTestSupport.h"
#include "export/DocumentFileName.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesNote.h"

namespace {

constexpr const char *kUnid = "0123456789ABCDEF0123456789AB0200";

const char *const kDxl = R"(<?xml version='1.0' encoding='utf-8'?>
<database xmlns='http://www.lotus.com/dxl' title='Naming'>
<document form='Memo'>
<noteinfo noteid='100' unid='0123456789ABCDEF0123456789AB0200' sequence='2'>
<created><datetime>20100101T120000,00+00</datetime></created>
<modified><datetime>20110630T190509,00+00</datetime></modified>
</noteinfo>
<item name='Subject'><text>  Q3 report: a/b  </text></item>
<item name='Tags'><textlist><text>red</text><text>green</text></textlist></item>
<item name='Dots'><text>..</text></item>
<item name='Greek'><text>Καλημέρα κόσμε</text></item>
</document>
</database>
)";

struct NamingCase {
    int format;
    const char *field;
    int maxLength;
    bool append;
    const char *evaluate;
    const char *expectedName;  // inside the base path
    const char *expectedError;
};

class DocumentFileNameTest : public ::testing::TestWithParam<NamingCase> {
protected:
    void SetUp() override {
        (void)exporttest::Session();
        const std::string path = m_dir.File("naming.nsf");
        testsupport::WriteFile(path, kDxl);
        ASSERT_TRUE(m_db.Open("", path)) << m_db.LastError();
        ASSERT_TRUE(m_note.Open(m_db.Handle(), 0x100, true));
    }
    void TearDown() override {
        m_note.Close();
        m_db.Close();
    }

    // Five hours west of GMT without daylight saving: the modification time reads 14:05:09.
    platformtest::ScopedEnv m_zone{"TZ", "EST5"};
    testsupport::TempDir m_dir;
    notes::NotesDatabase m_db;
    notes::NotesNote m_note;
};

TEST_P(DocumentFileNameTest, NamesTheFileInsideTheBasePath) {
    tzset();
    const NamingCase &c = GetParam();
    const exporter::DocumentFileNaming naming{c.format, c.field, c.maxLength, c.append, c.evaluate, ".txt"};
    std::string error = "stale";
    EXPECT_EQ(exporter::DocumentFileName(m_note, naming, "/out/base", 12, &error),
              std::string("/out/base/") + c.expectedName);
    EXPECT_EQ(error, c.expectedError);
}

const std::string kU = kUnid;
const std::string kUnidTxt = kU + ".txt";
const std::string kUnidSubjectTxt = kU + " Q3 report~ a~b.txt";
const std::string kUnidTimeTxt = kU + "_2011-06-30_1405_09.txt";

INSTANTIATE_TEST_SUITE_P(
    Formats, DocumentFileNameTest,
    ::testing::Values(NamingCase{0, "Subject", 20, false, "", "0000012.txt", ""},
                      NamingCase{1, "Subject", 20, false, "", kUnidTxt.c_str(), ""},
                      NamingCase{1, "Subject", 20, true, "", kUnidSubjectTxt.c_str(), ""},
                      NamingCase{2, "Subject", 20, false, "", "Q3 report~ a~b.txt", ""},
                      NamingCase{2, "Subject", 6, true, "", "Q3 r Q3 r.txt", ""},  // cut before trimming
                      NamingCase{2, "Tags", 20, false, "", "red green.txt", ""},
                      NamingCase{2, "Greek", 4, false, "", "Καλη.txt", ""},
                      NamingCase{2, "Missing", 20, false, "", ".txt", ""},
                      NamingCase{2, "Dots", 20, false, "", "~~.txt", ""},
                      NamingCase{7, "", 20, false, "", "0000012.txt", ""},
                      // Evaluate strings.
                      NamingCase{3, "", 20, false, "", "{Evaluate Error}.txt", ""},
                      NamingCase{3, "", 20, false, "UNID + \"_\" + MTime", kUnidTimeTxt.c_str(), ""},
                      NamingCase{3, "", 20, false, "MTime(\"d.m.y h:n\")", "30.06.2011 14~05.txt", ""},
                      NamingCase{3, "", 20, false, "Left(Text(Subject), 4) 2024 Text(\"Tags\")",
                                 "Q32024red;green.txt", ""},
                      NamingCase{3, "", 20, false, "Left(UNID,4)+Nothing(1, 2)+\"\\..\"", "0123~...txt", ""},
                      NamingCase{3, "", 20, false, "\".\" \".\"", "~~.txt", ""},
                      NamingCase{3, "", 20, false, "\"a\" \"b", "{Evaluate Error}.txt",
                                 "Invalid Evaluate String Error: \"a\" \"b"},
                      NamingCase{3, "", 20, false, "UNID + Left(UNID) + \"x\"", "{Evaluate Error}.txt",
                                 "Invalid Evaluate String Error: UNID + Left(UNID)"},
                      NamingCase{3, "", 20, false, "Text(Subject", "{Evaluate Error}.txt",
                                 "Invalid Evaluate String Error: Text(Subject"},
                      NamingCase{3, "", 20, false, "UNID - 1", "{Evaluate Error}.txt",
                                 "Invalid Evaluate String Error: UNID -"},
                      NamingCase{3, "", 20, false, "mtime unid", "{Evaluate Error}.txt", ""}));

// A note that is not open has no time to give.
TEST(EvaluateStringTest, ClosedNoteFailsToGetTime) {
    const notes::NotesNote closed;
    const exporter::DocumentFileNaming naming{3, "", 20, false, "MTime \"-\" UNID", ".rtf"};
    EXPECT_EQ(exporter::DocumentFileName(closed, naming, "base", 1), "base/(Failed to Get Time)-.rtf");
}

}  // namespace
