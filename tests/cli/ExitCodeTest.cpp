// The exit codes and messages of command-line mode, from the real executable.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProgramRun.h"
#include "support/TestSupport.h"

namespace {

using clitest::ProgramRun;
using clitest::RunResult;

// A profile of the fixture database that exports view Orders to the program directory.
std::string WriteProfile(const ProgramRun &program, const std::string &name) {
    const std::string path = program.File(name);
    testsupport::WriteFile(path,
                           "ProductName=Vorlix\r\nProductVersion=6.0.15\r\nFileType=ExportProfile\r\n"
                           "NSFFilePath=orders.nsf\r\nSelectMethod=1\r\nViewName=Orders\r\n"
                           "OutputItems=OrderNumber,Subject\r\nSummaryFilePath=" +
                               program.File("out.csv") + "\r\nOutputPath=" + program.Dir() + "\r\n");
    return path;
}

std::string WriteTemplate(const ProgramRun &program) {
    const std::string path = program.File("settings.xpt");
    testsupport::WriteFile(path,
                           "ProductName=Vorlix\r\nProductVersion=6.0.15\r\nFileType=ExportTemplate\r\n"
                           "SelectMethod=1\r\nViewName=Orders\r\nOutputItems=Subject\r\n");
    return path;
}

class ExitCodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_program.AddDatabase(testsupport::SourcePath("tests/cli/data/orders.nsf"), "orders.nsf");
    }
    ProgramRun m_program;
};

TEST_F(ExitCodeTest, ProfileRunsAndExitsWithZero) {
    const RunResult r = m_program.Run({WriteProfile(m_program, "p.xpp"), "/nomsg"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(testsupport::ReadFile(m_program.File("out.csv")), "");
}

// Without a terminal the run's progress and status lines are not written: a successful run is silent.
TEST_F(ExitCodeTest, SuccessfulRunWithoutTerminalPrintsNothing) {
    const RunResult r = m_program.Run({WriteProfile(m_program, "p.xpp")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
}

TEST_F(ExitCodeTest, OtherArgumentsAreIgnored) {
    const RunResult r = m_program.Run({WriteProfile(m_program, "p.xpp"), "--verbose", "/nomsg", "x"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

// "/nomsg" alone is the profile path as well: the session starts, the profile cannot be opened.
TEST_F(ExitCodeTest, NoMessagesAsTheOnlyArgumentGivesFifty) {
    const RunResult r = m_program.Run({"/nomsg"});
    EXPECT_EQ(r.exitCode, 50);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
}

// /NOMSG is not the switch: it is taken as the profile path and the failure is shown.
TEST_F(ExitCodeTest, UpperCaseSwitchIsNotRecognised) {
    const RunResult r = m_program.Run({"/NOMSG"});
    EXPECT_EQ(r.exitCode, 50);
    EXPECT_EQ(
        r.err,
        "Export Profile Open Error: Unable to Open Export Profile. Unable to open input file \"/NOMSG\"\n");
}

TEST_F(ExitCodeTest, ProfileOfAnotherProductGivesFifty) {
    const std::string path = m_program.File("other.xpp");
    testsupport::WriteFile(path, "ProductName=Other\r\nSelectMethod=1\r\n");
    const RunResult r = m_program.Run({path});
    EXPECT_EQ(r.exitCode, 50);
    EXPECT_EQ(r.err,
              "Export Profile Open Error: Unable to Open Export Profile. Invalid file format. Wrong product: "
              "Other\n");
}

TEST_F(ExitCodeTest, MissingProgramPathGivesTenAndPrintsNothing) {
    m_program.WriteSettings({"IniFilePath=" + m_program.File("notes.ini")});
    const RunResult r = m_program.Run({WriteProfile(m_program, "p.xpp"), "/nomsg"});
    EXPECT_EQ(r.exitCode, 10);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(testsupport::ReadFile(m_program.File("out.csv")).size() > 0);
}

TEST_F(ExitCodeTest, SessionFailuresGiveTenWithTheSessionsText) {
    const struct {
        std::vector<std::string> settings;
        std::string message;
    } cases[] = {
        {{}, "Vorlix: Unable to start a Lotus Notes session. No Lotus Notes program path was specificed.\n"},
        {{"ProgramPath=" + m_program.File("nowhere"), "IniFilePath=" + m_program.File("notes.ini")},
         "Vorlix: Unable to initialize Lotus Notes Session. Error: Lotus Notes program path '" +
             m_program.File("nowhere") +
             "' specified in your application settings file Vorlix.ini does not exist.\n"},
        {{"ProgramPath=" + m_program.Dir(), "IniFilePath=" + m_program.File("missing.ini")},
         "Vorlix: Unable to start a Lotus Notes session with Lotus Notes configuration file: '" +
             m_program.File("missing.ini") + "'.\n"},
    };
    for (const auto &c : cases) {
        m_program.WriteSettings(c.settings);
        const std::string profile = WriteProfile(m_program, "p.xpp");
        const RunResult quiet = m_program.Run({profile, "/nomsg"});
        EXPECT_EQ(quiet.exitCode, 10);
        EXPECT_EQ(quiet.err, "");
        const RunResult shown = m_program.Run({profile});
        EXPECT_EQ(shown.exitCode, 10);
        EXPECT_EQ(shown.err, c.message);
    }
}

// A template names no database: opening it fails and the run reports failure.
TEST_F(ExitCodeTest, TemplateNamesNoDatabaseAndGivesHundred) {
    const std::string path = WriteTemplate(m_program);
    const RunResult quiet = m_program.Run({path, "/nomsg"});
    EXPECT_EQ(quiet.exitCode, 100);
    EXPECT_EQ(quiet.err, "");
    const RunResult shown = m_program.Run({path});
    EXPECT_EQ(shown.exitCode, 100);
    EXPECT_NE(shown.err.find("Export Status: Unable to open database \"\" on server \"Local\" for reason:"),
              std::string::npos)
        << shown.err;
}

TEST_F(ExitCodeTest, WithoutArgumentsPrintsHowToUseIt) {
    const RunResult r = m_program.Run({});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("Vorlix - Version 6.0.15\nUsage: vorlix PROFILE [/nomsg]\n", 0), 0u) << r.out;
    EXPECT_EQ(r.err, "");
}

// --help and --version answer on standard output with 0 whatever follows them; were they taken as a
// profile path, the run would end with 50.
TEST_F(ExitCodeTest, HelpAndVersionAnswerOnStandardOutput) {
    const std::string help = "Vorlix - Version 6.0.15\nUsage: vorlix PROFILE [/nomsg]\n";
    const struct {
        std::vector<std::string> arguments;
        std::string start;
    } cases[] = {
        {{"--version"}, "vorlix 6.0.15\n"},
        {{"--version", "/nomsg"}, "vorlix 6.0.15\n"},
        {{"--help"}, help},
        {{"-h", "p.xpp"}, help},
    };
    for (const auto &c : cases) {
        const RunResult r = m_program.Run(c.arguments);
        EXPECT_EQ(r.exitCode, 0) << c.arguments.front();
        EXPECT_EQ(r.out.rfind(c.start, 0), 0u) << r.out;
        EXPECT_EQ(r.err, "");
    }
    EXPECT_EQ(m_program.Run({"--version"}).out, "vorlix 6.0.15\n");
    EXPECT_NE(m_program.Run({"--help"}).out.find("  " + m_program.File("vorlix.ini") + "\n"),
              std::string::npos);
}

}  // namespace
