// Every way a run can end early: the exact LastError and LastStatus, nothing left open in the runtime,
// and an existing summary file replaced only when the run got as far as opening it.
#include <filesystem>
#include <functional>

#include "ExportTestSupport.h"
#include "notes/NotesWrapperSupport.h"

namespace exporttest {
namespace {

constexpr const char *kOldSummary = "summary of an earlier run\r\n";
constexpr STATUS kInjected = notes::kErrNoAccess;

struct Fault {
    const char *entryPoint;
    DWORD nth;
};

struct FailureCase {
    const char *name;
    std::function<void(config::DatabaseExportProfile &, const std::string &dir)> mutate;
    Fault fault;
    bool scan;
    // The expected text; "{status}" stands for the Notes message of the injected status, "{dir}" for the
    // test directory.
    const char *lastError;
    int lastStatus;
    bool summaryReplaced;
};

std::string Expand(std::string text, const std::string &dir) {
    const auto replace = [&text](const std::string &from, const std::string &to) {
        for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
            text.replace(at, from.size(), to);
        }
    };
    replace("{status}", notes::wrapper::NotesMessage(kInjected));
    replace("{dir}", dir);
    return text;
}

const FailureCase kCases[] = {
    {"source_database_missing",
     [](auto &p, const std::string &dir) { p.Settings.NSFFilePath = dir + "/missing.nsf"; },
     {},
     false,
     "Unable to open database \"{dir}/missing.nsf\" on server \"Local\" for reason:File does not exist: "
     "{dir}/missing.nsf",
     1,
     false},
    {"source_database_refused",
     [](auto &, const std::string &) {},
     {"NSFDbOpen", 1},
     false,
     "Unable to open database \"{dir}/Sales.nsf\" on server \"Local\" for reason:{status}",
     1,
     false},
    {"source_database_on_server",
     [](auto &p, const std::string &) { p.Settings.NSFSever = "CN=Nowhere/O=Test"; },
     {"NSFDbOpen", 1},
     false,
     "Unable to open database \"{dir}/Sales.nsf\" on server \"CN=Nowhere/O=Test\" for reason:{status}",
     1,
     false},
    {"move_without_folder_name",
     [](auto &p, const std::string &) { p.Settings.MoveToFolder = true; },
     {},
     false,
     "MoveToFolder Specified but not folder name was specified in MoveToFolderName.",
     0,
     false},
    {"move_to_unknown_folder",
     [](auto &p, const std::string &) {
         p.Settings.MoveToFolder = true;
         p.Settings.MoveToFolderName = "Nowhere";
     },
     {},
     false,
     "Unable to get MoveToFolder folder 'Nowhere'.",
     0,
     false},
    {"move_to_a_view",
     [](auto &p, const std::string &) {
         p.Settings.MoveToFolder = true;
         p.Settings.MoveToFolderName = "All";
     },
     {},
     false,
     "Unable to get MoveToFolder folder 'All'.",
     0,
     false},
    {"no_view_named",
     [](auto &p, const std::string &) { p.Settings.ViewName = ""; },
     {},
     false,
     "No Views or Folders to export",
     2,
     false},
    {"no_view_named_in_scan",
     [](auto &p, const std::string &) { p.Settings.ViewName = ""; },
     {},
     true,
     "Please select a view or folder to scan before continuing.",
     2,
     false},
    {"include_list_matches_nothing",
     [](auto &p, const std::string &) {
         p.Settings.SelectMethod = config::kSelectViews;
         p.Settings.IncludeViewFolderNames = {"archive*", "*All"};
     },
     {},
     false,
     "No Views or Folders to export",
     2,
     false},
    {"pdf_with_all_docs",
     [](auto &p, const std::string &) {
         p.Settings.SelectMethod = config::kSelectQuery;
         p.Settings.QueryAllDocs = true;
         p.Settings.CreatePdfs = true;
     },
     {},
     false,
     "PDF export not supported in 'Query' mode or 'All Docs' mode. Please choose a Selection Method of "
     "'View/Fld' or 'View(s)/Fld(s)'.",
     0,
     false},
    {"copy_database_missing",
     [](auto &p, const std::string &dir) {
         p.Settings.CopyDataToDb = true;
         p.Settings.CopyDataToDbFilename = dir + "/nothere.nsf";
     },
     {},
     false,
     "Unable to open 'Copy To' database. Error: File does not exist: {dir}/nothere.nsf",
     0,
     false},
    {"summary_directory_missing",
     [](auto &p, const std::string &dir) { p.Settings.SummaryFilePath = dir + "/no/such/dir/summary.csv"; },
     {},
     false,
     "Unable to create or open output file \"{dir}/no/such/dir/summary.csv\"",
     0,
     false},
    {"log_directory_missing",
     [](auto &p, const std::string &dir) {
         p.Settings.LogExport = true;
         p.Settings.LogFileName = dir + "/no/such/dir/export.log";
     },
     {},
     false,
     "Unable to create or open log file \"{dir}/no/such/dir/export.log\"",
     0,
     true},
    {"attachment_formula_missing",
     [](auto &p, const std::string &) {
         p.Settings.ExtractAttachments = true;
         p.Settings.DetachMethod = config::kDetachToFormulaDirectory;
     },
     {},
     false,
     "Error with Attachment Path Lotus Notes Formula",
     0,
     true},
    {"attachment_formula_does_not_compile",
     [](auto &p, const std::string &) {
         p.Settings.ExtractOle = true;
         p.Settings.DetachMethod = config::kDetachToFormulaDirectory;
         p.Settings.DetachMethodEvalString = "@Left(Subject;";
     },
     {},
     false,
     "Compile Error for Attachment Path Lotus Notes Formula",
     0,
     true},
    {"move_table_not_created",
     [](auto &p, const std::string &) {
         p.Settings.MoveToFolder = true;
         p.Settings.MoveToFolderName = "Done";
     },
     {"IDCreateTable", 1},
     false,
     "Unable to create id for Move to Folder options. Error: {status}",
     0,
     true},
    {"view_does_not_open",
     [](auto &, const std::string &) {},
     {"NIFOpenCollection", 1},
     false,
     "{status}",
     0,
     true},
    {"second_view_does_not_open",
     [](auto &p, const std::string &) {
         p.Settings.SelectMethod = config::kSelectViews;
         p.Settings.IncludeViewFolderNames = {"Archive", "Archive 2008"};
     },
     {"NIFOpenCollection", 2},
     false,
     "{status}",
     0,
     true},
    {"view_read_fails",
     [](auto &, const std::string &) {},
     {"NIFReadEntries", 1},
     false,
     "{status}",
     0,
     true},
    {"search_fails",
     [](auto &p, const std::string &) {
         p.Settings.SelectMethod = config::kSelectQuery;
         p.Settings.Query = "SELECT @All";
     },
     {"NSFSearch", 1},
     false,
     "{status}",
     0,
     true},
    {"note_not_added_to_move_table",
     [](auto &p, const std::string &) {
         p.Settings.MoveToFolder = true;
         p.Settings.MoveToFolderName = "Done";
     },
     {"IDInsert", 2},
     false,
     "Unable to add note to id table for MoveToFolder.",
     0,
     true},
    // The attachment-path formula gives nothing for the first document: its error, or a reason of its own.
    {"attachment_formula_gives_nothing",
     [](auto &p, const std::string &) {
         p.Settings.ExtractAttachments = true;
         p.Settings.DetachMethod = config::kDetachToFormulaDirectory;
         p.Settings.DetachMethodEvalString = "NoSuchField";
     },
     {},
     false,
     "The Attachment Path Lotus Notes Formula gave no directory for document 1",
     0,
     true},
    {"attachment_formula_fails",
     [](auto &p, const std::string &) {
         p.Settings.ExtractAttachments = true;
         p.Settings.DetachMethod = config::kDetachToFormulaDirectory;
         p.Settings.DetachMethodEvalString = "Subject";
     },
     {"NSFComputeEvaluate", 1},
     false,
     "Unable to evaluate formula:Subject",
     0,
     true},
    {"nothing_supplied",
     [](auto &p, const std::string &) { p.Settings.SelectMethod = config::kSelectIdTable; },
     {},
     false,
     "No documents were supplied to export.",
     0,
     false},
    {"full_text_search_refused",
     [](auto &p, const std::string &) {
         p.Settings.SelectMethod = config::kSelectFtSearch;
         p.Settings.FTSearch = "acme";
     },
     {},
     false,
     "Full text search is not supported as a Selection Method. Please choose a Selection Method of "
     "'View/Fld', 'View(s)/Fld(s)' or 'Query'.",
     0,
     false},
};

class ExportRunFailureTest : public ExportRunTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExportRunFailureTest, EndsWithItsTextAndReleasesEverything) {
    const FailureCase &c = GetParam();
    testsupport::WriteFile(OutPath("summary.csv"), kOldSummary);
    auto profile = Profile();
    profile.LastStatus = 0;
    c.mutate(profile, m_dir.Path());
    if (c.fault.entryPoint != nullptr) {
        testsupport::Standin::Get().SetFault(c.fault.entryPoint, c.fault.nth, kInjected);
    }
    ScriptedUi ui;
    EXPECT_FALSE(Run(profile, c.scan));
    testsupport::Standin::Get().ClearFaults();
    EXPECT_EQ(m_run->LastError(), Expand(c.lastError, m_dir.Path()));
    EXPECT_EQ(profile.LastError(), m_run->LastError());
    EXPECT_EQ(m_run->LastStatus(), c.lastStatus);
    EXPECT_EQ(profile.LastStatus, c.lastStatus);
    EXPECT_EQ(profile.SourceDatabase, nullptr);
    if (c.summaryReplaced) {
        EXPECT_NE(Summary(), kOldSummary);
    } else {
        EXPECT_EQ(Summary(), kOldSummary);
    }
    testsupport::ExpectNothingLeft();
}

INSTANTIATE_TEST_SUITE_P(Rows, ExportRunFailureTest, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ExportRunTest, FormulaColumnsThatDoNotCompileAreListed) {
    auto profile = Profile();
    SetColumns(profile, {"Subject", "#@Left(Subject;", "%Count", "#Subject +"});
    EXPECT_FALSE(Run(profile));
    const std::string &error = m_run->LastError();
    const std::string head = "Export cancelled. Error found in formula(s)\n\nOutput Item [1]: ";
    ASSERT_EQ(error.substr(0, head.size()), head);
    const auto second = error.find("\nOutput Item [3]: ");
    ASSERT_NE(second, std::string::npos) << error;
    EXPECT_GT(second, head.size()) << "the first column's compile error is missing";
    EXPECT_EQ(error.find("...."), std::string::npos);
    EXPECT_EQ(Summary(), "") << "nothing is written before the formulas compile";
}

TEST_F(ExportRunTest, AtMostTenFormulaErrorsAreListed) {
    auto profile = Profile();
    std::vector<std::string> columns;
    for (int i = 0; i < 12; ++i) {
        columns.push_back("#@Left(Subject" + std::string(static_cast<std::size_t>(i), ' ') + ";");
    }
    SetColumns(profile, columns);
    EXPECT_FALSE(Run(profile));
    const std::string &error = m_run->LastError();
    EXPECT_NE(error.find("Output Item [9]: "), std::string::npos);
    EXPECT_EQ(error.find("Output Item [10]: "), std::string::npos);
    ASSERT_GE(error.size(), 5u);
    EXPECT_EQ(error.substr(error.size() - 5), "\n....");
}

// A note that cannot be opened still counts, and its row carries the reason.
TEST_F(ExportRunTest, NoteThatDoesNotOpenIsCountedAndReported) {
    auto profile = Profile();
    SetColumns(profile, {"%Count", "Subject", "%Universal_ID", "%Errors"});
    testsupport::Standin::Get().SetFault("NSFNoteOpen", 2, kInjected);
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_EQ(m_run->ProcessedTotal(), 4);
    const std::string expected =
        "\"%Count\",\"Subject\",\"%Universal_ID\",\"%Errors\"\r\n"
        "\"1\",\"Quote \"\"A\"\" for Acme\",\"0123456789ABCDEF0123456789AB0100\",\"\"\r\n"
        "\"2\",\"\",\"\",\"Lotus Notes Document Opened Failed: " +
        notes::wrapper::NotesMessage(kInjected) +
        "\"\r\n"
        "\"3\",\"Rechnung für Café Zürich — 3\",\"0123456789ABCDEF0123456789AB0108\",\"\"\r\n"
        "\"4\",\"An archived memo with a rather long subject line that goes past forty characters\","
        "\"0123456789ABCDEF0123456789AB010C\",\"\"\r\n";
    EXPECT_EQ(Summary(), expected);
}

// Failing each Notes call the run makes, one at a time, never crashes, never leaks, and either ends
// with a reason or finishes the export.
TEST_F(ExportRunTest, FailingAnyNotesCallLeavesNothingBehind) {
    const char *entryPoints[] = {"NSFDbOpen",         "NSFDbInfoGet",      "NSFDbGetModifiedNoteTable",
                                 "NIFFindDesignNote", "NIFOpenCollection", "NIFReadEntries",
                                 "NSFNoteOpen",       "NSFItemScan",       "NSFItemInfo",
                                 "NSFDbCopyNote",     "IDCreateTable",     "IDInsert",
                                 "FolderDocAdd",      "FolderDocRemove",   "OSLockObject"};
    for (const char *entryPoint : entryPoints) {
        DWORD failedCalls = 0;
        for (DWORD nth = 1; nth < 60; ++nth) {
            SCOPED_TRACE(std::string(entryPoint) + " call " + std::to_string(nth));
            testsupport::TempDir dir;
            auto profile = Profile();
            profile.Settings.SelectMethod = config::kSelectViews;
            profile.Settings.IncludeViewFolderNames = {"Projects\\Active", "Archive*"};
            profile.Settings.MoveToFolder = true;
            profile.Settings.MoveToFolderName = "Done";
            profile.Settings.CopyDataToDb = true;
            std::filesystem::copy_file(testsupport::SourcePath("tests/data/export/CopyTarget.nsf"),
                                       dir.File("CopyTarget.nsf"));
            profile.Settings.CopyDataToDbFilename = dir.File("CopyTarget.nsf");
            profile.Settings.NSFFilePath = dir.File("Sales.nsf");
            std::filesystem::copy_file(testsupport::SourcePath("tests/data/export/Sales.nsf"),
                                       dir.File("Sales.nsf"));
            SetColumns(profile,
                       {"%Count", "Subject", "%In_Views", "%In_Folders", "%Attach_Names", "%Errors"});
            const DWORD before = testsupport::Standin::Get().CallCount(entryPoint);
            testsupport::Standin::Get().SetFault(entryPoint, nth, kInjected);
            const bool finished = Run(profile);
            const bool faultHit = testsupport::Standin::Get().CallCount(entryPoint) - before >= nth;
            testsupport::Standin::Get().ClearFaults();
            const std::string error = m_run->LastError();
            if (!finished) {
                EXPECT_NE(error, "");
            }
            m_run.reset();
            testsupport::ExpectNothingLeft();
            if (!faultHit) {
                EXPECT_TRUE(finished) << error;
                break;
            }
            ++failedCalls;
        }
        EXPECT_GT(failedCalls, 0u) << entryPoint << " is never called by the run";
    }
}

}  // namespace
}  // namespace exporttest
