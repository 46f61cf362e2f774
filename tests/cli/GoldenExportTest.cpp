// Whole exports by the real executable compared with golden files: the CSV summary in its encodings
// and quoting modes, control characters, view selection, the log at its levels and open modes.
// VORLIX_UPDATE_GOLDEN=1 rewrites the references (only on purpose, after checking the difference).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GoldenFile.h"
#include "ProgramRun.h"
#include "support/TestSupport.h"

namespace {

using clitest::ExpectGolden;
using clitest::ProgramRun;
using clitest::RunResult;
using clitest::WithoutRunTimes;

struct GoldenCase {
    const char *name;
    std::vector<std::string> profileLines;  // after ProductName and the source database
    int runs;                               // the same profile run this many times
    int exitCode;
    bool hasCsv;
    bool hasLog;
};

class GoldenExportTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenExportTest, OutputMatchesTheGoldenFiles) {
    const GoldenCase c = GetParam();
    ProgramRun program;
    program.AddDatabase(testsupport::SourcePath("tests/cli/data/orders.nsf"), "orders.nsf");
    std::string profile =
        "ProductName=Vorlix\r\nProductVersion=6.0.15\r\nFileType=ExportProfile\r\n"
        "NSFFilePath=orders.nsf\r\nSummaryFilePath=" +
        program.File("out.csv") + "\r\nOutputPath=" + program.File("out") +
        "\r\nLogFileName=" + program.File("export.log") + "\r\n";
    for (const std::string &line : c.profileLines) {
        profile += line + "\r\n";
    }
    testsupport::WriteFile(program.File("p.xpp"), profile);
    for (int run = 0; run < c.runs; ++run) {
        const RunResult r = program.Run({program.File("p.xpp"), "/nomsg"});
        ASSERT_EQ(r.exitCode, c.exitCode) << c.name << ": " << r.err;
        EXPECT_EQ(r.err, "");
    }
    if (c.hasCsv) {
        ExpectGolden(testsupport::ReadFile(program.File("out.csv")), std::string(c.name) + ".csv");
    } else {
        EXPECT_FALSE(testsupport::ReadFile(program.File("out.csv")).size() > 0) << "a CSV was written";
    }
    if (c.hasLog) {
        ExpectGolden(WithoutRunTimes(testsupport::ReadFile(program.File("export.log"))),
                     std::string(c.name) + ".log");
    }
}

const std::string kColumns =
    "OutputItems=OrderNumber,Subject,Customer,Amount,Products,%Count,%Universal_ID,%View_Folder_Name";

INSTANTIATE_TEST_SUITE_P(
    Exports, GoldenExportTest,
    ::testing::Values(
        // Encodings: ANSI with quotes, UTF-16 with its byte-order mark, UTF-8 without quotes and with ";".
        GoldenCase{"ansi_quoted",
                   {"SelectMethod=1", "ViewName=Orders", kColumns, "CharacterEncoding=0"},
                   1,
                   0,
                   true,
                   false},
        GoldenCase{"utf16_quoted",
                   {"SelectMethod=1", "ViewName=Orders", kColumns, "CharacterEncoding=1"},
                   1,
                   0,
                   true,
                   false},
        GoldenCase{"utf8_unquoted",
                   {"SelectMethod=1", "ViewName=Orders", kColumns, "CharacterEncoding=2", "DoubleQuotes=0",
                    "Delimiter=003B", "MVDelimiter=007C"},
                   1,
                   0,
                   true,
                   false},
        GoldenCase{"no_header",
                   {"SelectMethod=1", "ViewName=Urgent", "OutputItems=Subject", "WriteFieldHeaders=0"},
                   1,
                   0,
                   true,
                   false},
        // Line breaks: carriage returns removed, line feeds replaced, in field columns only.
        GoldenCase{
            "control_chars",
            {"SelectMethod=1", "ViewName=Orders", "OutputItems=Subject,%Errors",
             "ControlCharCarrigeReturnOption=1", "ControlCharLineFeedOption=2", "LineFeedReplaceString=<br>"},
            1,
            0,
            true,
            false},
        // Two views: the urgent order comes twice, and the count runs on across the views.
        GoldenCase{"two_views",
                   {"SelectMethod=2", "IncludeViewFolderNames=Orders,Urgent",
                    "OutputItems=%Count,OrderNumber,%View_Folder_Name", "LogExport=1", "LogLevel=1"},
                   1,
                   0,
                   true,
                   true},
        // Every view and folder but the hidden ones.
        GoldenCase{"all_but_hidden",
                   {"SelectMethod=2", "IncludeViewFolderNames=%All non excluded view/folders%",
                    "ExcludeViewFolderNames=%Exclude all hidden view/folders%",
                    "OutputItems=%Count,OrderNumber,%View_Folder_Name"},
                   1,
                   0,
                   true,
                   false},
        GoldenCase{"prefix_star",
                   {"SelectMethod=2", "IncludeViewFolderNames=Ur*,(Look*",
                    "OutputItems=%Count,OrderNumber,%View_Folder_Name"},
                   1,
                   0,
                   true,
                   false},
        // A leading star is literal: nothing matches and the run fails before any file is written.
        GoldenCase{"leading_star",
                   {"SelectMethod=2", "IncludeViewFolderNames=*Orders", "OutputItems=Subject"},
                   1,
                   100,
                   false,
                   false},
        // All documents through the query method.
        GoldenCase{
            "all_docs",
            {"SelectMethod=3", "Query=SELECT @All", "QueryAllDocs=1", "OutputItems=OrderNumber,Subject"},
            1,
            0,
            true,
            false},
        // The log: level 0 keeps the begin and processed lines; append mode accumulates two runs;
        // "[none]" leaves the field out; an empty field name gives empty brackets.
        GoldenCase{"log_low_new",
                   {"SelectMethod=1", "ViewName=Urgent", "OutputItems=Subject", "LogExport=1", "LogLevel=0",
                    "LogOpenMode=0"},
                   2,
                   0,
                   true,
                   true},
        GoldenCase{"log_high_append",
                   {"SelectMethod=1", "ViewName=Orders", "OutputItems=Subject", "LogExport=1", "LogLevel=2",
                    "LogOpenMode=1"},
                   2,
                   0,
                   true,
                   true},
        GoldenCase{"log_no_field",
                   {"SelectMethod=1", "ViewName=Urgent", "OutputItems=Subject", "LogExport=1", "LogLevel=1",
                    "LogFieldName=[none]"},
                   1,
                   0,
                   true,
                   true},
        GoldenCase{
            "log_empty_field",
            {"SelectMethod=1", "ViewName=Urgent", "OutputItems=Subject", "LogExport=1", "LogFieldName="},
            1,
            0,
            true,
            true}),
    [](const auto &info) { return std::string(info.param.name); });

}  // namespace
