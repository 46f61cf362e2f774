// Mistakes in a profile run by the real executable: each warning reaches standard error and the log,
// even with "/nomsg", and the run goes on with the value's meaning.
#include <gtest/gtest.h>

#include <string>

#include "ProgramRun.h"
#include "support/TestSupport.h"

namespace {

TEST(ProfileWarning, WarningsGoToStandardErrorAndTheLog) {
    clitest::ProgramRun program;
    program.AddDatabase(testsupport::SourcePath("tests/cli/data/orders.nsf"), "orders.nsf");
    const std::string profile = program.File("p.xpp");
    testsupport::WriteFile(profile,
                           "ProductName=Vorlix\r\nProductVersion=6.0.15\r\nFileType=ExportProfile\r\n"
                           "NSFFilePath=orders.nsf\r\nSelectMethod=1\r\nViewName=Orders\r\n"
                           "OutputItems=OrderNumber\r\nDoubleQuotes=yes\r\nLogLevel=7\r\n"
                           "SummaryFilePath=" +
                               program.File("out.csv") + "\r\nOutputPath=" + program.Dir() +
                               "\r\nLogExport=1\r\nLogFileName=" + program.File("run.log") + "\r\n");
    const clitest::RunResult r = program.Run({profile, "/nomsg"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string quotes =
        "Warning: profile key DoubleQuotes has the value \"yes\", which is not 0 or 1; it is read as 0.";
    const std::string level =
        "Warning: profile key LogLevel has the value \"7\", which is not one of 0, 1 or 2.";
    EXPECT_EQ(r.err, quotes + "\n" + level + "\n");
    const std::string log = testsupport::ReadFile(program.File("run.log"));
    EXPECT_NE(log.find("\r\n" + quotes + "\r\n" + level + "\r\n"), std::string::npos) << log;
    // DoubleQuotes read as 0: values go out unquoted.
    EXPECT_EQ(testsupport::ReadFile(program.File("out.csv")).rfind("OrderNumber\r\n", 0), 0u);
}

}  // namespace
