// End to end: the real executable starts the stand-in runtime with a password-protected ID file and
// notes.ini naming the add-in, which answers from the executable's settings file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "password/SavedPassword.h"
#include "support/TestSupport.h"

namespace {

using clitest::ProgramRun;
using clitest::RunResult;

class AddinProgramTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(testsupport::ProgramDir() + "/libquorvane.so",
                                   m_program.File("libquorvane.so"));
        m_program.AddDatabase(testsupport::SourcePath("tests/cli/data/orders.nsf"), "orders.nsf");
        testsupport::WriteFile(m_program.Data() + "/user.id",
                               "UserName=CN=Jane Doe/O=Acme\nPassword=Sesame42\n");
        testsupport::WriteNotesIni(m_program.Dir(), {"Directory=" + m_program.Data(), "KeyFilename=user.id",
                                                     "EXTMGR_ADDINS=Quorvane"});
        m_profile = m_program.File("profile.xpp");
        testsupport::WriteFile(m_profile,
                               "ProductName=Vorlix\r\nProductVersion=6.0.15\r\nFileType=ExportProfile\r\n"
                               "NSFFilePath=orders.nsf\r\nSelectMethod=1\r\nViewName=Orders\r\n"
                               "OutputItems=OrderNumber,Subject\r\nSummaryFilePath=" +
                                   m_program.File("out.csv") + "\r\nOutputPath=" + m_program.Dir() + "\r\n");
    }

    // The settings file: the Notes paths and these [Quorvane] lines.
    void WritePasswordSettings(const std::vector<std::string> &lines) {
        m_program.WriteSettings(m_program.DefaultSettings());
        std::string text = testsupport::ReadFile(m_program.File("vorlix.ini")) + "[Quorvane]\n";
        for (const std::string &line : lines) {
            text += line + "\n";
        }
        testsupport::WriteFile(m_program.File("vorlix.ini"), text);
    }

    ProgramRun m_program;
    std::string m_profile;
};

TEST_F(AddinProgramTest, RightStoredPasswordLetsTheRunStart) {
    WritePasswordSettings({"Enabled=1", "Password=" + password::ScramblePassword(u"Sesame42")});
    const RunResult r = m_program.Run({m_profile, "/nomsg"}, 60);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(testsupport::ReadFile(m_program.File("out.csv")).find("Subject"), std::string::npos);
}

// Every state in which the add-in supplies no right password ends the unattended run with 10, without
// waiting for input; shown, the failure is the session start's message.
TEST_F(AddinProgramTest, NoRightPasswordEndsTheRunWithTen) {
    const struct {
        const char *name;
        std::vector<std::string> lines;
    } cases[] = {
        {"wrong password", {"Enabled=1", "Password=" + password::ScramblePassword(u"sesame42")}},
        {"Enabled absent", {"Password=" + password::ScramblePassword(u"Sesame42")}},
        {"Enabled 0", {"Enabled=0", "Password=" + password::ScramblePassword(u"Sesame42")}},
        {"no password stored, no GUI to ask in", {"Enabled=1"}},
        {"damaged password", {"Enabled=1", "Password=Sesame42"}},
    };
    const std::string message =
        "Vorlix: Unable to start a Lotus Notes session with Lotus Notes configuration file: '" +
        m_program.File("notes.ini") + "'.\n";
    for (const auto &c : cases) {
        WritePasswordSettings(c.lines);
        const RunResult quiet = m_program.Run({m_profile, "/nomsg"}, 60);
        EXPECT_EQ(quiet.exitCode, 10) << c.name << ": " << quiet.err;
        EXPECT_EQ(quiet.err, "") << c.name;
        const RunResult shown = m_program.Run({m_profile}, 60);
        EXPECT_EQ(shown.exitCode, 10) << c.name;
        EXPECT_EQ(shown.err, message) << c.name;
        EXPECT_FALSE(std::filesystem::exists(m_program.File("out.csv"))) << c.name;
    }
}

}  // namespace
