// Profile reading with the Notes runtime loaded: item names pass through the Notes character set and
// keep their characters.
#include <gtest/gtest.h>

#include "config/DatabaseExportProfile.h"
#include "notes/NotesSession.h"
#include "support/TestSupport.h"

namespace {

class ProfileWithNotesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string ini = testsupport::WriteNotesIni(m_dir.Path(), {"Directory=" + m_dir.Path()});
        ASSERT_TRUE(m_session.Start(false, testsupport::ProgramDir(), ini)) << m_session.ErrorText();
    }
    void TearDown() override {
        m_session.End(true);
        testsupport::ExpectNothingLeft();
    }

    testsupport::TempDir m_dir;
    notes::NotesSession m_session;
};

TEST_F(ProfileWithNotesTest, ItemNamesKeepTheirCharacters) {
    // An ANSI file (windows-1252 bytes) and a UTF-16 one with the same names.
    const std::string ansi =
        "ProductName=Vorlix\r\nDetachByFieldName=Gr\xF6\xDF"
        "e\r\nTextFileFieldAppendFieldName=Caf\xE9\r\n"
        "RtfFileFieldAppendFieldName=Subject\r\nPdfFormatAppendFieldName=\x80uro\r\n";
    config::DatabaseExportProfile profile;
    ASSERT_TRUE(profile.LoadFromBytes(ansi, "p.xpp", "Vorlix", "6.0.15")) << profile.LastError();
    EXPECT_EQ(profile.Settings.DetachByFieldName,
              "Gr\xC3\xB6\xC3\x9F"
              "e");
    EXPECT_EQ(profile.Settings.TextFileFieldAppendFieldName, "Caf\xC3\xA9");
    EXPECT_EQ(profile.Settings.RtfFileFieldAppendFieldName, "Subject");
    EXPECT_EQ(profile.Settings.PdfFormatAppendFieldName,
              "\xE2\x82\xAC"
              "uro");

    config::DatabaseExportProfile written;
    written.Settings.CharacterEncoding = config::kEncodingUtf16;
    written.Settings.CreateRTFs = true;
    written.Settings.RtfSourceFieldName = "\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB";  // Cyrillic
    config::DatabaseExportProfile read;
    ASSERT_TRUE(
        read.LoadFromBytes(written.SaveToBytes("Vorlix", "6.0.15", false), "p.xpp", "Vorlix", "6.0.15"));
    EXPECT_EQ(read.Settings.RtfSourceFieldName, written.Settings.RtfSourceFieldName);
}

}  // namespace
