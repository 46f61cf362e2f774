// A profile that names a database list runs the whole queue unattended, from the real executable.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ProgramRun.h"
#include "support/TestSupport.h"

namespace {

using clitest::ProgramRun;
using clitest::RunResult;

class QueueRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_program.AddDatabase(testsupport::SourcePath("tests/cli/data/orders.nsf"), "orders.nsf");
        m_program.AddDatabase(testsupport::SourcePath("tests/cli/data/orders.nsf"), "west.nsf");
        // The list sits beside the profile and is named relatively; the middle database does not exist.
        testsupport::WriteFile(m_program.File("list.csv"),
                               "\"Orders, East\",,orders.nsf\r\nLost,,missing.nsf\r\nWest,,west.nsf\r\n");
        testsupport::WriteFile(m_program.File("queue.xpp"),
                               "ProductName=Vorlix\r\nProductVersion=6.0.15\r\nFileType=ExportProfile\r\n"
                               "SelectMethod=1\r\nViewName=Orders\r\nOutputItems=OrderNumber,Subject\r\n"
                               "OutputPath=" +
                                   m_program.File("out") + "\r\nVorlixDatabaseList=list.csv\r\n");
    }
    std::string Out(const std::string &name) const {
        return testsupport::ReadFile(m_program.File("out/" + name));
    }
    ProgramRun m_program;
};

TEST_F(QueueRunTest, EachDatabaseGetsItsOwnDirectoryAndTheFailureSetsTheExitCode) {
    const RunResult r = m_program.Run({m_program.File("queue.xpp"), "/nomsg"});
    EXPECT_EQ(r.exitCode, 100);
    EXPECT_EQ(r.err, "");
    const std::string east = Out("orders/orders.csv");
    EXPECT_NE(east.find("OrderNumber"), std::string::npos) << east;
    EXPECT_EQ(Out("west/west.csv"), east);
    EXPECT_FALSE(std::filesystem::exists(m_program.File("out/missing/missing.csv")));
    // The unattended run leaves the outcome of every database beside their directories.
    const std::string status = Out("list-status.csv");
    EXPECT_EQ(
        status.rfind("\xEF\xBB\xBFTitle,Server,Path,Exp,Tot,Status,RC\r\n\"Orders, East\",,orders.nsf,", 0),
        0u)
        << status;
    EXPECT_NE(status.find("\r\nLost,,missing.nsf,0,0,"), std::string::npos) << status;
    EXPECT_NE(status.find("\r\nWest,,west.nsf,"), std::string::npos) << status;
}

TEST_F(QueueRunTest, WithoutNoMessagesTheFailureNamesItsDatabase) {
    const RunResult r = m_program.Run({m_program.File("queue.xpp")});
    EXPECT_EQ(r.exitCode, 100);
    EXPECT_EQ(r.err.rfind("Export Status: Lost (Local, missing.nsf): ", 0), 0u) << r.err;
    EXPECT_EQ(r.err.find("orders.nsf"), std::string::npos) << "only the failure is reported";
}

TEST_F(QueueRunTest, AllDatabasesExportedGivesZero) {
    testsupport::WriteFile(m_program.File("list.csv"), "East,,orders.nsf\nWest,,west.nsf\n");
    const RunResult r = m_program.Run({m_program.File("queue.xpp"), "/nomsg"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(Out("west/west.csv"), "");
}

TEST_F(QueueRunTest, AListThatCannotBeReadGivesFifty) {
    testsupport::WriteFile(m_program.File("list.csv"), "East,,orders.nsf\n\"West,,west.nsf\n");
    const RunResult r = m_program.Run({m_program.File("queue.xpp")});
    EXPECT_EQ(r.exitCode, 50);
    EXPECT_EQ(r.err, "Export Profile Open Error: Unable to Open Database List \"" +
                         m_program.File("list.csv") +
                         "\". Malformed quoted field in line 2 of the database list\n");
    EXPECT_FALSE(std::filesystem::exists(m_program.File("out")));
}

}  // namespace
