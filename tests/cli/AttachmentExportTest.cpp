// Attachments and OLE objects written by the real executable over the stand-in runtime, compared with
// golden files that hold the output tree (each file's path, size and bytes), the CSV summary and the
// log. VORLIX_UPDATE_GOLDEN=1 rewrites the references (only on purpose, after checking the difference).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "GoldenFile.h"
#include "ProgramRun.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using clitest::ExpectGolden;
using clitest::ProgramRun;
using clitest::RunResult;
using clitest::WithoutRunTimes;

// Every file below dir, sorted by path: "path (size bytes): content", non-printable bytes as \xNN.
std::string Tree(const std::string &dir) {
    std::vector<std::string> lines;
    for (const auto &entry : fs::recursive_directory_iterator(dir)) {
        const std::string relative = fs::relative(entry.path(), dir).generic_string();
        if (!entry.is_regular_file()) {
            lines.push_back(relative + "/");
            continue;
        }
        const std::string bytes = testsupport::ReadFile(entry.path().string());
        std::string shown;
        for (unsigned char c : bytes) {
            if (c >= 32 && c < 127 && c != '\\') {
                shown += static_cast<char>(c);
            } else {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                shown += hex;
            }
        }
        lines.push_back(relative + " (" + std::to_string(bytes.size()) + " bytes): " + shown);
    }
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const std::string &line : lines) {
        text += line + "\n";
    }
    return text;
}

struct AttachmentCase {
    const char *name;
    std::vector<std::string> profileLines;  // after the source, the view, the columns and the log
    int runs;                               // the same profile run this many times
};

class AttachmentExportTest : public ::testing::TestWithParam<AttachmentCase> {};

TEST_P(AttachmentExportTest, OutputMatchesTheGoldenFile) {
    const AttachmentCase &c = GetParam();
    ProgramRun program;
    program.AddDatabase(testsupport::SourcePath("tests/data/export/Attachments.nsf"), "att.nsf");
    const std::string out = program.File("out");
    std::string profile =
        "ProductName=Vorlix\r\nProductVersion=6.0.15\r\nFileType=ExportProfile\r\nNSFFilePath=att.nsf\r\n"
        "SelectMethod=1\r\nViewName=All\r\nSummaryFilePath=" +
        program.File("summary.csv") + "\r\nOutputPath=" + out +
        "\r\nLogExport=1\r\nLogLevel=1\r\nLogFileName=" + program.File("export.log") +
        "\r\nOutputItems=%Count,Subject,%Attach_Names,%Extr_Att_Names,%Has_OLE,%Errors\r\n"
        "ExtractAttachments=1\r\nExtractOle=1\r\n";
    for (const std::string &line : c.profileLines) {
        profile += line + "\r\n";
    }
    testsupport::WriteFile(program.File("p.xpp"), profile);
    for (int run = 0; run < c.runs; ++run) {
        const RunResult r = program.Run({program.File("p.xpp"), "/nomsg"});
        ASSERT_EQ(r.exitCode, 0) << c.name << ": " << r.err;
    }
    // Paths in the CSV and the log are shown relative to the output directory.
    const auto relative = [&out](std::string text) {
        for (std::size_t at = text.find(out); at != std::string::npos; at = text.find(out, at)) {
            text.replace(at, out.size(), "<out>");
        }
        return text;
    };
    ExpectGolden("-- files\n" + Tree(out) + "-- summary.csv\n" +
                     relative(testsupport::ReadFile(program.File("summary.csv"))) + "-- export.log\n" +
                     relative(WithoutRunTimes(testsupport::ReadFile(program.File("export.log")))),
                 std::string("attachments_") + c.name + ".txt");
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, AttachmentExportTest,
    ::testing::Values(
        // A directory per document: the three Scan.pdf in hotspot order, the attachment no hotspot
        // shows under its stored name, the two OLE objects.
        AttachmentCase{"count_subdirs", {"DetachMethod=0"}, 1},
        // Prefixes: document 12's files begin with its count, or with its universal ID.
        AttachmentCase{"prefix_count", {"DetachMethod=0", "AttPrefixOption=1"}, 1},
        AttachmentCase{"prefix_unid", {"DetachMethod=1", "AttPrefixOption=2"}, 1},
        // One directory for all: the second report.doc is numbered, with a log line; a second run
        // replaces the first run's files instead of numbering them again.
        AttachmentCase{"base_directory", {"DetachMethod=2"}, 2},
        // A field's value cut to ten characters, its backslash made harmless.
        AttachmentCase{"field_value",
                       {"DetachMethod=3", "DetachByFieldName=Customer", "DetachByFieldNameValueMaxLength=10"},
                       1},
        // A formula's result with and without subdirectories.
        AttachmentCase{"formula_subdirs",
                       {"DetachMethod=4", "DetachMethodEvalString=Customer", "AttCreateSubDirs=1"},
                       1},
        AttachmentCase{"formula_flat", {"DetachMethod=4", "DetachMethodEvalString=Customer"}, 1}),
    [](const auto &info) { return std::string(info.param.name); });

}  // namespace
