// Whole exports on the sales fixture compared with golden files: selection methods, CSV encodings and
// quoting, control characters, computed columns, the count across views and the log.
#include <functional>

#include "ExportTestSupport.h"

namespace exporttest {
namespace {

using Mutate = std::function<void(config::DatabaseExportProfile &)>;

struct OutputCase {
    const char *name;  // also the golden file's base name
    Mutate mutate;
    long documents;  // documents the loop finished
};

void ViewsAndFolders(config::DatabaseExportProfile &p, std::vector<std::string> includes,
                     std::vector<std::string> excludes) {
    p.Settings.SelectMethod = config::kSelectViews;
    p.Settings.IncludeViewFolderNames = std::move(includes);
    p.Settings.ExcludeViewFolderNames = std::move(excludes);
    ExportRunTest::SetColumns(p, {"%Count", "%View_Folder_Name", "Subject"});
}

const OutputCase kCases[] = {
    {"view_utf8_quoted",
     [](auto &p) {
         ExportRunTest::SetColumns(p, {"Subject", "Customer", "Tags", "Amount", "%Count", "%Universal_ID",
                                       "%Attach_Names", "%View_Folder_Name", "%Errors"});
     },
     4},
    {"view_ansi_unquoted",
     [](auto &p) {
         p.Settings.CharacterEncoding = config::kEncodingAnsi;
         p.Settings.DoubleQuotes = false;
         p.Settings.Delimiter = ",";
         ExportRunTest::SetColumns(p, {"Subject", "Customer", "%Count"});
     },
     4},
    {"view_utf16_semicolon",
     [](auto &p) {
         p.Settings.CharacterEncoding = config::kEncodingUtf16;
         p.Settings.Delimiter = ";";
         p.Settings.MVDelimiter = "|";
         ExportRunTest::SetColumns(p, {"Subject", "Tags", "%Count"});
     },
     4},
    {"no_header_categorised_view",
     [](auto &p) {
         p.Settings.ViewName = "By Customer";
         p.Settings.WriteFieldHeaders = false;
     },
     3},
    {"control_remove_cr_replace_lf",
     [](auto &p) {
         p.Settings.ControlCharCarrigeReturnOption = config::kControlCharRemove;
         p.Settings.ControlCharLineFeedOption = config::kControlCharReplace;
         p.Settings.LineFeedReplaceString = "<br>";
         ExportRunTest::SetColumns(p, {"Comment", "#Comment + \"!\"", "%Count"});
     },
     4},
    {"control_keep",
     [](auto &p) {
         ExportRunTest::SetColumns(p, {"Comment", "%Count"});
     },
     4},
    {"include_prefix_star", [](auto &p) { ViewsAndFolders(p, {"Archive*"}, {}); }, 3},
    {"include_literal_leading_star", [](auto &p) { ViewsAndFolders(p, {"*Archive"}, {}); }, 1},
    {"all_non_excluded", [](auto &p) { ViewsAndFolders(p, {"%All non excluded view/folders%"}, {}); }, 14},
    {"all_but_hidden_and_archives",
     [](auto &p) {
         ViewsAndFolders(p, {"%All non excluded view/folders%"},
                         {"%Exclude all hidden view/folders%", "Archive*"});
     },
     10},
    {"document_in_two_views",
     [](auto &p) {
         ViewsAndFolders(p, {"Archive 2008", "Projects\\Active"}, {});
     },
     3},
    {"query",
     [](auto &p) {
         p.Settings.SelectMethod = config::kSelectQuery;
         p.Settings.Query = "SELECT @All";
         ExportRunTest::SetColumns(p, {"%Count", "%View_Folder_Name", "Subject"});
     },
     4},
    {"query_selects",
     [](auto &p) {
         p.Settings.SelectMethod = config::kSelectQuery;
         p.Settings.Query = "SELECT Customer = \"Bolt\"";
         ExportRunTest::SetColumns(p, {"%Count", "Subject"});
     },
     1},
    {"all_docs",
     [](auto &p) {
         p.Settings.SelectMethod = config::kSelectQuery;
         p.Settings.QueryAllDocs = true;
         p.Settings.Query = "this text is not used";
         ExportRunTest::SetColumns(p, {"%Count", "%View_Folder_Name", "Subject"});
     },
     4},
    {"in_views_and_folders",
     [](auto &p) {
         ExportRunTest::SetColumns(p, {"Subject", "%In_Views", "%In_Folders"});
     },
     4},
    {"shared_column_twice",
     [](auto &p) {
         ExportRunTest::SetColumns(p, {"%Count", "Customer", "%Count", "Customer"});
     },
     4},
};

class ExportRunOutputTest : public ExportRunTest, public ::testing::WithParamInterface<OutputCase> {};

TEST_P(ExportRunOutputTest, WritesTheGoldenSummary) {
    auto profile = Profile();
    GetParam().mutate(profile);
    ScriptedUi ui;
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_EQ(m_run->LastError(), "");
    EXPECT_EQ(m_run->ProcessedTotal(), GetParam().documents);
    EXPECT_EQ(m_run->ExportedTotal(), GetParam().documents);
    ExpectGolden(std::string(GetParam().name) + ".csv", Summary());
    ASSERT_FALSE(ui.statuses.empty());
    EXPECT_EQ(ui.statuses.back(), "Total Exported " + std::to_string(GetParam().documents) + " :Sales Demo");
}

INSTANTIATE_TEST_SUITE_P(Profiles, ExportRunOutputTest, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

struct LogCase {
    const char *name;
    int level;
    int openMode;
    const char *fieldName;
    int runs;
};

class ExportRunLogTest : public ExportRunTest, public ::testing::WithParamInterface<LogCase> {};

TEST_P(ExportRunLogTest, WritesTheGoldenLog) {
    const LogCase &c = GetParam();
    testsupport::WriteFile(OutPath("export.log"), "an older log\r\n");
    for (int i = 0; i < c.runs; ++i) {
        auto profile = Profile();
        profile.Settings.LogExport = true;
        profile.Settings.LogLevel = c.level;
        profile.Settings.LogOpenMode = c.openMode;
        profile.Settings.LogFieldName = c.fieldName;
        ASSERT_TRUE(Run(profile)) << m_run->LastError();
    }
    ExpectGolden(std::string(c.name) + ".log", WithoutRunTime(testsupport::ReadFile(OutPath("export.log"))));
}

INSTANTIATE_TEST_SUITE_P(Levels, ExportRunLogTest,
                         ::testing::Values(LogCase{"log_low_new", 0, 0, "Subject", 2},
                                           LogCase{"log_medium_append", 1, 1, "Customer", 2},
                                           LogCase{"log_high_no_field", 2, 0, "[none]", 1},
                                           LogCase{"log_empty_field_name", 0, 0, "", 1}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ExportRunTest, FieldNameScanCollectsNamesAndWritesNothing) {
    testsupport::WriteFile(OutPath("summary.csv"), "older summary");
    auto profile = Profile();
    profile.Settings.SelectMethod = config::kSelectViews;
    profile.Settings.IncludeViewFolderNames = {"Archive", "Archive 2008"};
    profile.Settings.LogExport = true;
    profile.Settings.LogLevel = config::kLogMedium;
    profile.Settings.CopyDataToDb = true;
    profile.Settings.CopyDataToDbFilename = CopyFixture("CopyTarget.nsf");
    profile.Settings.MoveToFolder = true;
    profile.Settings.MoveToFolderName = "Done";
    // Options whose steps a scan never reaches do not stop it.
    profile.Settings.CreateDocs = true;
    ScriptedUi ui;
    ASSERT_TRUE(Run(profile, true)) << m_run->LastError();
    EXPECT_EQ(m_run->FoundFieldNames(),
              (std::vector<std::string>{"Subject", "Form", "Customer", "Comment", "Tags", "$FILE"}));
    EXPECT_EQ(profile.FoundFieldNames, m_run->FoundFieldNames());
    EXPECT_EQ(Summary(), "older summary");
    EXPECT_EQ(testsupport::ReadFile(profile.Settings.CopyDataToDbFilename),
              testsupport::ReadFile(testsupport::SourcePath("tests/data/export/CopyTarget.nsf")));
    ExpectGolden("scan.log", WithoutRunTime(testsupport::ReadFile(OutPath("export.log"))));
    EXPECT_EQ(ui.statuses.back(), "Total Scanned 2 :Sales Demo");
    EXPECT_NE(std::find(ui.statuses.begin(), ui.statuses.end(), "Scanned 1 :Sales Demo"), ui.statuses.end());
}

TEST_F(ExportRunTest, ExistingSummaryIsReplaced) {
    testsupport::WriteFile(OutPath("summary.csv"), std::string(5000, 'x'));
    auto profile = Profile();
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_EQ(Summary().find('x'), std::string::npos);
    EXPECT_EQ(Summary().substr(0, 17), "\"Subject\",\"%Count");
}

TEST_F(ExportRunTest, ProgressFollowsTheViewAndStatusNamesEachDocument) {
    auto profile = Profile();
    ScriptedUi ui;
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    const std::vector<std::string> expected = {"",
                                               "Sales Demo",
                                               "Exported 1:Sales Demo",
                                               "Exported 2:Sales Demo",
                                               "Exported 3:Sales Demo",
                                               "Exported 4:Sales Demo",
                                               "Total Exported 4 :Sales Demo"};
    EXPECT_EQ(ui.statuses, expected);
    // The runtime hands the view out three entries at a time; the range is the whole view from the
    // start all the same: preparation (0, 1), then (0, 4), (1, 4) ... (4, 4), then the reset.
    const std::vector<std::pair<long, long>> progress = {{0, 1}, {0, 4}, {1, 4}, {2, 4},
                                                         {3, 4}, {4, 4}, {0, 4}};
    EXPECT_EQ(ui.progress, progress);
}

TEST_F(ExportRunTest, NothingIsShownWithoutShowProgress) {
    auto profile = Profile();
    profile.ShowProgress = false;
    ScriptedUi ui;
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_TRUE(ui.statuses.empty());
    EXPECT_TRUE(ui.progress.empty());
    EXPECT_EQ(m_run->FinalStatusText(), "Total Exported 4 :");
}

}  // namespace
}  // namespace exporttest
