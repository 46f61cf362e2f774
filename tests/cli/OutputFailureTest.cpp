// A summary file or log that cannot be written ends the run with exit code 100 and a message naming
// the file and the system's reason, from the real executable (a file-size limit stands in for a full
// disk; without SIGXFSZ ignored the process would die of the signal instead).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ProgramRun.h"
#include "support/TestSupport.h"

namespace {

using clitest::ProgramRun;
using clitest::RunResult;

struct WriteFailureCase {
    const char *name;
    const char *extraKeys;    // profile lines; "{dir}" is the program directory
    unsigned long sizeLimit;  // bytes, 0 for none
    const char *message;      // after "Export Status: "; "{dir}" as above
    bool partialLeft;         // out.csv.partial stays and out.csv is never made
};

std::string Expand(std::string text, const std::string &dir) {
    for (auto at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}")) {
        text.replace(at, 5, dir);
    }
    return text;
}

const WriteFailureCase kCases[] = {
    {"summary_over_the_size_limit", "SummaryFilePath={dir}/out.csv\r\n", 200,
     "Unable to write to output file \"{dir}/out.csv\": File too large", true},
    {"log_over_the_size_limit",
     "CreateCSV=0\r\nLogExport=1\r\nLogLevel=2\r\nLogFileName={dir}/export.log\r\n", 250,
     "Unable to write to log file \"{dir}/export.log\": File too large", false},
    {"summary_on_dev_full", "SummaryFilePath=/dev/full\r\n", 0,
     "Unable to create or open output file \"/dev/full\": not a regular file", false},
};

class OutputFailureTest : public ::testing::TestWithParam<WriteFailureCase> {};

TEST_P(OutputFailureTest, ExitsWithOneHundredAndSaysWhy) {
    const WriteFailureCase &c = GetParam();
    ProgramRun program;
    program.AddDatabase(testsupport::SourcePath("tests/cli/data/orders.nsf"), "orders.nsf");
    const std::string profile = program.File("p.xpp");
    testsupport::WriteFile(profile,
                           "ProductName=Vorlix\r\nProductVersion=6.0.15\r\nFileType=ExportProfile\r\n"
                           "NSFFilePath=orders.nsf\r\nSelectMethod=1\r\nViewName=Orders\r\n"
                           "OutputItems=OrderNumber,Subject,Customer,Amount\r\nOutputPath=" +
                               program.Dir() + "\r\n" + Expand(c.extraKeys, program.Dir()));
    program.SetFileSizeLimit(c.sizeLimit);
    const RunResult r = program.Run({profile});
    EXPECT_EQ(r.exitCode, 100) << r.err;
    EXPECT_EQ(r.err, "Export Status: " + Expand(c.message, program.Dir()) + "\n");
    if (c.partialLeft) {
        EXPECT_FALSE(std::filesystem::exists(program.File("out.csv")));
        EXPECT_TRUE(std::filesystem::exists(program.File("out.csv.partial")));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, OutputFailureTest, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
