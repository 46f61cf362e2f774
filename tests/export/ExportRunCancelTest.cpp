// Cancelling a run at each point where it looks at the cancel flag.
#include "ExportTestSupport.h"

namespace exporttest {
namespace {

bool StartsWith(const std::string &text, const std::string &prefix) {
    return text.rfind(prefix, 0) == 0;
}

std::size_t Rows(const std::string &csv) {
    std::size_t rows = 0;
    for (auto at = csv.find("\r\n"); at != std::string::npos; at = csv.find("\r\n", at + 2)) {
        ++rows;
    }
    return rows;
}

TEST_F(ExportRunTest, CancelAfterADocumentEndsTheRunThere) {
    auto profile = Profile();
    profile.Settings.LogExport = true;
    profile.Settings.LogFileName = OutPath("export.log");
    ScriptedUi ui;
    ui.onStatus = [this](const std::string &text) {
        if (text == "Exported 2:Sales Demo") {
            m_cancel = true;
        }
    };
    EXPECT_FALSE(Run(profile));
    EXPECT_EQ(m_run->LastError(), "Export cancelled by user");
    EXPECT_EQ(m_run->LastStatus(), exporter::kStatusNothingToExport);
    EXPECT_EQ(m_run->ProcessedTotal(), 2);
    EXPECT_EQ(Rows(Summary()), 3u) << "the header and two documents, under the final name";
    const std::string log = testsupport::ReadFile(OutPath("export.log"));
    const std::string last = "\r\nExport cancelled by user\r\n";
    EXPECT_TRUE(log.size() > last.size() && log.substr(log.size() - last.size()) == last) << log;
    // After a failure the status line keeps the last document's text.
    EXPECT_EQ(ui.statuses.back(), "Exported 2:Sales Demo");
}

TEST_F(ExportRunTest, CancelDuringAFieldNameScan) {
    auto profile = Profile();
    ScriptedUi ui;
    ui.onStatus = [this](const std::string &text) {
        if (text == "Scanned 1 :Sales Demo") {
            m_cancel = true;
        }
    };
    EXPECT_FALSE(Run(profile, true));
    EXPECT_EQ(m_run->LastError(), "Scan cancelled by user");
    EXPECT_EQ(m_run->LastStatus(), exporter::kStatusNothingToExport);
    EXPECT_EQ(m_run->FoundFieldNames().front(), "Subject");
}

// A cancel noticed between views lets the run end as a success with what it exported so far.
TEST_F(ExportRunTest, CancelBetweenViewsEndsTheRunSuccessfully) {
    auto profile = Profile();
    profile.Settings.SelectMethod = config::kSelectViews;
    profile.Settings.IncludeViewFolderNames = {"Archive", "Archive Empty", "Archive\\Old"};
    ScriptedUi ui;
    // The empty view shows an empty range and has no document after which the flag is read.
    ui.onProgress = [this](long, long range) {
        if (range == 0) {
            m_cancel = true;
        }
    };
    EXPECT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_EQ(m_run->LastError(), "");
    EXPECT_EQ(m_run->ProcessedTotal(), 1);
    EXPECT_EQ(m_run->CurrentViewName(), "Archive Empty");
    EXPECT_EQ(ui.statuses.back(), "Total Exported 1 :Sales Demo");
}

struct ScanCancelCase {
    const char *column;
    const char *statusPrefix;
    const char *lastError;
};

class ExportRunScanCancelTest : public ExportRunTest, public ::testing::WithParamInterface<ScanCancelCase> {};

TEST_P(ExportRunScanCancelTest, EndsTheRunWithItsText) {
    auto profile = Profile();
    SetColumns(profile, {"Subject", GetParam().column});
    profile.LastStatus = 0;
    ScriptedUi ui;
    ui.onStatus = [this](const std::string &text) {
        if (StartsWith(text, GetParam().statusPrefix)) {
            m_cancel = true;
        }
    };
    EXPECT_FALSE(Run(profile));
    EXPECT_EQ(m_run->LastError(), GetParam().lastError);
    EXPECT_EQ(m_run->LastStatus(), 0);
    EXPECT_EQ(m_run->ProcessedTotal(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Scans, ExportRunScanCancelTest,
    ::testing::Values(ScanCancelCase{"%In_Views", "Scanning Views. View:", "Export cancelled by user"},
                      ScanCancelCase{"%In_Folders",
                                     "Scanning Folders. Folder:", "Export cancelled by user"}));

TEST_F(ExportRunTest, ScanStatusNamesEachViewAndFolder) {
    auto profile = Profile();
    SetColumns(profile, {"%In_Views", "%In_Folders"});
    profile.Settings.LogExport = true;
    ScriptedUi ui;
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_EQ(ui.statuses[2], "Scanning Views. View:All");
    EXPECT_NE(std::find(ui.statuses.begin(), ui.statuses.end(), "Scanning Folders. Folder:Projects\\Active"),
              ui.statuses.end());
    const std::string log = testsupport::ReadFile(OutPath("export.log"));
    EXPECT_NE(log.find("Scanning Views. View: (Lookup)\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Scanning Folders. Folder: Done\r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("Scanning Views. View: Done"), std::string::npos) << "a folder is not a view";
}

TEST_F(ExportRunTest, AFlagSetBeforeTheRunIsCleared) {
    auto profile = Profile();
    m_cancel = true;
    EXPECT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_EQ(m_run->ProcessedTotal(), 4);
    EXPECT_FALSE(m_cancel.load());
}

}  // namespace
}  // namespace exporttest
