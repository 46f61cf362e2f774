// The image-directory step: the directory, prefix and counter each extract method and prefix method
// give a document, and the sanitising of a field value that names the directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "export/ImageDirectory.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesNote.h"
#include "notes/NotesSession.h"
#include "support/TestSupport.h"

namespace {

constexpr char kUnid[] = "0123456789ABCDEF852563FC006CDCC0";

TEST(ImageDirectoryName, CutTrimmedAndSanitised) {
    struct Case {
        std::string value;
        int maxLength;
        std::string name;
    };
    const std::vector<Case> cases = {
        {"  Report  ", 40, "Report"},
        {"a\\b/c:d*e?f\"g<h>i|j", 40, "a~b~c~d~e~f~g~h~i~j"},
        {"line\nbreak\ttab", 40, "line~break~tab"},
        {"Größe über alles", 5, "Größe"},  // characters, not bytes
        {"abc  def", 4, "abc"},            // cut, then trimmed
        {"\x01name\x02", 40, "~name~"},
        {" .. ", 40, "~~"},  // never the parent of the output directory
        {"a..b", 40, "a..b"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(exporter::ImageDirectoryName(c.value, c.maxLength), c.name) << c.value;
    }
}

class ImageDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(testsupport::SourcePath("tests/data/config/RenderItems.nsf"),
                                   m_dir.File("RenderItems.nsf"));
        std::string ini = testsupport::WriteNotesIni(m_dir.Path(), {"Directory=" + m_dir.Path()});
        ASSERT_TRUE(m_session.Start(false, testsupport::ProgramDir(), ini)) << m_session.ErrorText();
        ASSERT_TRUE(m_db.Open("", "RenderItems.nsf"));
        ASSERT_TRUE(m_note.Open(m_db.Handle(), 0x20A, false));
    }
    void TearDown() override {
        m_note.Close();
        m_db.Close();
        m_session.End(true);
        testsupport::ExpectNothingLeft();
    }

    testsupport::TempDir m_dir;
    notes::NotesSession m_session;
    notes::NotesDatabase m_db;
    notes::NotesNote m_note;
};

TEST_F(ImageDirectoryTest, MethodsAndPrefixes) {
    struct Case {
        int method;
        int prefixMethod;
        bool processed;
        std::string directory;
        std::string prefix;
        int counter;
    };
    const std::vector<Case> cases = {
        {0, 1, true, "/out/0000003", "0000003_", 0},
        {1, 2, true, std::string("/out/") + kUnid, std::string(kUnid) + "_", 0},
        {2, 0, true, "/out", "", 7},        // the counter runs on in one directory
        {3, 0, true, "/out/Hello", "", 0},  // named by the field's value
        {5, 0, true, "/chosen", "", 7},     // the folder chosen on the options page
        {9, 0, true, "/before", "", 0},     // unknown: the directory stays
        {4, 0, false, "/before", "", 0},    // formula: not supported, document not processed
    };
    for (const Case &c : cases) {
        config::ExportSettings settings;
        settings.RtfAdvanced.RtfAdvancedExportImages = true;
        settings.RtfAdvanced.RtfAdvancedExtractMethod = c.method;
        settings.RtfAdvanced.RtfAdvancedImageFilePrefixMethod = c.prefixMethod;
        settings.RtfAdvanced.RtfAdvancedValueFieldName = "Subject";
        settings.RtfAdvanced.RtfAdvancedExtractPath = "/chosen";
        richtext::RenderState state;
        state.ImageDirectory = "/before";
        state.ImageCounter = 7;
        EXPECT_EQ(exporter::PrepareImageDirectory(settings, "/out", 3, m_note, state), c.processed)
            << c.method;
        EXPECT_EQ(state.ImageDirectory, c.directory) << c.method;
        EXPECT_EQ(state.ImagePrefix, c.prefix) << c.method;
        EXPECT_EQ(state.ImageCounter, c.counter) << c.method;
    }
}

TEST_F(ImageDirectoryTest, NothingChangesWithoutImagesButTheCharsetLine) {
    config::ExportSettings settings;
    settings.CharacterEncoding = config::kEncodingUtf8;
    richtext::RenderState state;
    state.ImageDirectory = "/before";
    state.ImageCounter = 4;
    EXPECT_TRUE(exporter::PrepareImageDirectory(settings, "/out", 1, m_note, state));
    EXPECT_EQ(state.ImageDirectory, "/before");
    EXPECT_EQ(state.ImageCounter, 4);
    EXPECT_EQ(state.CharsetMark, richtext::kCharsetMarkUtf8);
}

}  // namespace
