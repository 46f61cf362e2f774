// RTF export of notes over the stand-in: the three sources read back as RTF, every failure of the
// runtime's services recorded as its error with nothing left open, and the picture repair.
#include <gtest/gtest.h>

#include <filesystem>

#include "../standin/RtfReader.h"
#include "ExportTestSupport.h"
#include "export/RtfExport.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesErrorText.h"
#include "notes/NotesNote.h"

namespace {

constexpr STATUS kInjected = notes::kErrNoAccess;

// Document 0x100 goes through its form; 0x104 has a body too large for a buffer, so the runtime hands
// it back as a temporary file.
std::string Database() {
    const std::string large(70000, 'x');
    return "<?xml version='1.0'?><database xmlns='http://www.lotus.com/dxl' title='Rtf'>"
           "<form name='Memo'><body><richtext><pardef id='1'/><par def='1'>Subject: <field name='Subject' "
           "type='text'/></par><par def='1'><field name='Body' "
           "type='richtext'/></par></richtext></body></form>"
           "<document form='Memo'><noteinfo noteid='100' unid='0123456789ABCDEF0123456789AB0100'/>"
           "<item name='Subject'><text>Hello</text></item>"
           "<item name='Lines'><text>first line<break/>second line</text></item>"
           "<item name='Body'><richtext><par>Quarterly <run><font style='bold'/>report</run></par></richtext>"
           "</item></document>"
           "<document form='Memo'><noteinfo noteid='104' unid='0123456789ABCDEF0123456789AB0104'/>"
           "<item name='Subject'><text>Large</text></item>"
           "<item name='Body'><richtext><par>" +
           large + "</par></richtext></item></document></database>";
}

class RtfExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        (void)exporttest::Session();
        testsupport::Standin::Get().ClearFaults();
        const std::string path = m_dir.File("rtf.nsf");
        testsupport::WriteFile(path, Database());
        ASSERT_TRUE(m_db.Open("", path)) << m_db.LastError();
    }
    void TearDown() override {
        testsupport::Standin::Get().ClearFaults();
        m_note.Close();
        m_db.Close();
        testsupport::ExpectNothingLeft();
    }

    // Exports the note to out.rtf; the RTF read back, or an empty document when none was written.
    bool Export(NOTEID id, const std::string &field, rtftest::RtfDocument &rtf) {
        EXPECT_TRUE(m_note.Open(m_db.Handle(), id, true));
        const std::string target = m_dir.File("out.rtf");
        std::filesystem::remove(target);
        const bool exported = exporter::ExportNoteToRtf(m_note, field, target);
        EXPECT_EQ(exported, std::filesystem::exists(target))
            << "a file exists exactly when the export succeeds";
        rtf = exported ? rtftest::ReadRtf(testsupport::ReadFile(target)) : rtftest::RtfDocument{};
        return exported;
    }

    testsupport::TempDir m_dir;
    notes::NotesDatabase m_db;
    notes::NotesNote m_note;
};

bool HasParagraph(const rtftest::RtfDocument &rtf, const std::string &text) {
    for (const auto &paragraph : rtf.paragraphs) {
        if (paragraph.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST_F(RtfExportTest, WholeDocumentTextFieldAndRichTextField) {
    struct Case {
        NOTEID id;
        const char *field;
        std::vector<std::string> paragraphs;
    };
    const Case cases[] = {
        {0x100, "", {"Subject: Hello", "Quarterly report"}},
        {0x100, "Lines", {"first line", "second line"}},
        {0x100, "Body", {"Quarterly report"}},
        // After a small document, a large one comes back as a file that replaces the CD file's content.
        {0x104, "", {"Subject: Large", std::string(70000, 'x')}},
    };
    for (const Case &c : cases) {
        rtftest::RtfDocument rtf;
        ASSERT_TRUE(Export(c.id, c.field, rtf)) << c.field;
        EXPECT_TRUE(rtf.balanced) << c.field;
        for (const auto &paragraph : c.paragraphs) {
            EXPECT_TRUE(HasParagraph(rtf, paragraph)) << c.field << ": " << paragraph.substr(0, 40);
        }
        EXPECT_TRUE(m_note.ErrorRecords().empty()) << c.field;
        m_note.Close();
    }
}

// Each service failing once: the failure is recorded as its error, no file is written, and every
// handle is released (checked in TearDown); a second export of the same note then succeeds.
TEST_F(RtfExportTest, EachServiceFailureIsRecorded) {
    const std::string message = notes::NotesErrorText(kInjected);
    struct Case {
        const char *entryPoint;
        const char *field;
        int code;  // -1: the note's error text instead of a record
        std::string expected;
    };
    const Case cases[] = {
        {"CompoundTextCreate", "", -1, "Error Creating Compound Text: " + message},
        {"CompoundTextAddRenderedNote", "", -1, "Error Rendering Note: " + message},
        {"CompoundTextClose", "", -1, "Error with CompoundTextClose: " + message},
        {"NSFItemInfo", "Lines", 4, exporter::kRtfTitleItem},
        {"ConvertItemToComposite", "Lines", 5, exporter::kRtfTitleConvert},
        {"MailGetMessageBodyComposite", "Body", 5, exporter::kRtfTitleConvert},
    };
    for (const Case &c : cases) {
        testsupport::Standin::Get().SetFault(c.entryPoint, 1, kInjected);
        rtftest::RtfDocument rtf;
        EXPECT_FALSE(Export(0x100, c.field, rtf)) << c.entryPoint;
        if (c.code < 0) {
            EXPECT_EQ(m_note.ErrorText(), c.expected) << c.entryPoint;
        } else {
            ASSERT_EQ(m_note.ErrorRecords().size(), 1u) << c.entryPoint;
            EXPECT_EQ(m_note.ErrorRecords()[0].code, c.code);
            EXPECT_EQ(m_note.ErrorRecords()[0].title, c.expected);
            EXPECT_EQ(m_note.ErrorRecords()[0].detail, message);
        }
        m_note.Close();
        EXPECT_TRUE(Export(0x100, c.field, rtf)) << c.entryPoint << " again";
        m_note.Close();
    }
}

TEST_F(RtfExportTest, MissingFieldIsErrorFour) {
    rtftest::RtfDocument rtf;
    EXPECT_FALSE(Export(0x100, "Missing", rtf));
    ASSERT_EQ(m_note.ErrorRecords().size(), 1u);
    EXPECT_EQ(m_note.ErrorRecords()[0].code, 4);
    EXPECT_EQ(m_note.ErrorRecords()[0].title, "Lotus Notes Export document to RTF file. Get NSF item error");
}

TEST(PictureRepairTest, DropsGroupsNotFollowedByAHexDigit) {
    struct Case {
        const char *rtf;
        const char *repaired;  // null: nothing dropped
    };
    const Case cases[] = {
        {"{\\rtf1 plain}\r\n", nullptr},
        {"a{\\pict\\wbitmap0 x}0b\r\n", nullptr},
        {"a{\\pict\\wbitmap0 x}zb\r\nnext\n", "azb\r\nnext\n"},
        {"a{\\pict\\wbitmap1}F {\\pict\\wbitmap2}g{\\pict\\wbitmap3}x", "a{\\pict\\wbitmap1}F gx"},
        // A group not closed on its line ends the scan; the rest of the line stays as it is.
        {"{\\pict\\wbitmap1}q {\\pict\\wbitmap2 open\r\n}\r\n", "q {\\pict\\wbitmap2 open\r\n}\r\n"},
    };
    for (const Case &c : cases) {
        std::string repaired = "unchanged";
        EXPECT_EQ(exporter::RepairPictureGroups(c.rtf, repaired), c.repaired != nullptr) << c.rtf;
        EXPECT_EQ(repaired, c.repaired != nullptr ? c.repaired : "unchanged") << c.rtf;
    }
}

}  // namespace

namespace exporttest {
namespace {

// A service failing for the second document of a run: that document's row names the failure, the
// others have their RTF files, and nothing is left open (TearDown).
TEST_F(ExportRunTest, RtfServiceFailureStaysWithItsDocument) {
    const std::string message = notes::NotesErrorText(kInjected);
    struct Case {
        const char *entryPoint;
        const char *field;
        std::string error;
    };
    const Case cases[] = {
        {"CompoundTextCreate", "", "Error Creating Compound Text: " + message},
        {"CompoundTextClose", "", "Error with CompoundTextClose: " + message},
        {"ConvertItemToComposite", "Subject", std::string(exporter::kRtfTitleConvert) + ": " + message},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.entryPoint);
        auto profile = Profile();
        SetColumns(profile, {"%Count", "%Errors"});
        profile.Settings.CreateRTFs = true;
        profile.Settings.RtfSource = *c.field == '\0' ? config::kRtfSourceDocument : config::kRtfSourceField;
        profile.Settings.RtfSourceFieldName = c.field;
        testsupport::Standin::Get().SetFault(c.entryPoint, 2, kInjected);
        ASSERT_TRUE(Run(profile)) << m_run->LastError();
        EXPECT_EQ(Summary(), "\"%Count\",\"%Errors\"\r\n\"1\",\"\"\r\n\"2\",\"" + c.error +
                                 "\"\r\n\"3\",\"\"\r\n\"4\",\"\"\r\n");
        for (const char *name : {"0000001.rtf", "0000003.rtf", "0000004.rtf"}) {
            EXPECT_TRUE(std::filesystem::exists(OutPath(name))) << name;
        }
        EXPECT_FALSE(std::filesystem::exists(OutPath("0000002.rtf")));
        std::filesystem::remove_all(m_dir.File("out"));
        std::filesystem::create_directories(m_dir.File("out"));
        testsupport::Standin::Get().ClearFaults();
    }
}

}  // namespace
}  // namespace exporttest
