// Runs that must fail rather than report success: output paths that would overwrite a database or
// the other output, links and FIFOs planted at an output name, outputs held by another run, databases
// that cannot be saved; and what a killed run leaves behind.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "ExportTestSupport.h"
#include "notes/NotesWrapperSupport.h"
#include "platform/OutputFile.h"
#include "support/DxlBuilder.h"

namespace exporttest {
namespace {

constexpr const char *kVictim = "a file the run must not touch\r\n";

struct RefusalCase {
    const char *name;
    // Sets the run up; returns the file that must keep its content ("" when none).
    std::function<std::string(config::DatabaseExportProfile &, ExportRunTest &)> arrange;
    // "{path}" stands for the refused output path.
    const char *lastError;
};

std::string Planted(const std::string &path, bool fifo, ExportRunTest &test) {
    const std::string victim = test.m_dir.File("victim.txt");
    testsupport::WriteFile(victim, kVictim);
    if (fifo) {
        EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
    } else {
        std::filesystem::create_symlink(victim, path);
    }
    return victim;
}

// Holds a file as another run would: open and locked.
platform::OutputFile &OtherRun() {
    static platform::OutputFile file;
    return file;
}

const RefusalCase kRefusals[] = {
    {"summary_is_the_source_database",
     [](auto &p, auto &) {
         p.Settings.SummaryFilePath = p.Settings.NSFFilePath;
         return p.Settings.NSFFilePath;
     },
     "Unable to create or open output file \"{path}\": it is the source database"},
    {"summary_is_the_copy_database",
     [](auto &p, auto &t) {
         p.Settings.CopyDataToDb = true;
         p.Settings.CopyDataToDbFilename = t.CopyFixture("CopyTarget.nsf");
         p.Settings.SummaryFilePath = p.Settings.CopyDataToDbFilename;
         return p.Settings.CopyDataToDbFilename;
     },
     "Unable to create or open output file \"{path}\": it is the 'Copy To' database"},
    {"log_is_the_source_database",
     [](auto &p, auto &) {
         p.Settings.LogExport = true;
         p.Settings.LogFileName = p.Settings.NSFFilePath;
         return p.Settings.NSFFilePath;
     },
     "Unable to create or open log file \"{path}\": it is the source database"},
    {"log_is_the_summary",
     [](auto &p, auto &) {
         p.Settings.LogExport = true;
         p.Settings.LogFileName = p.Settings.SummaryFilePath;
         return std::string();
     },
     "Unable to create or open log file \"{path}\": it is the summary file"},
    {"summary_is_a_planted_link",
     [](auto &p, auto &t) { return Planted(p.Settings.SummaryFilePath, false, t); },
     "Unable to create or open output file \"{path}\": not a regular file"},
    {"log_is_a_planted_link",
     [](auto &p, auto &t) {
         p.Settings.LogExport = true;
         return Planted(p.Settings.LogFileName, false, t);
     },
     "Unable to create or open log file \"{path}\": not a regular file"},
    {"summary_is_a_fifo", [](auto &p, auto &t) { return Planted(p.Settings.SummaryFilePath, true, t); },
     "Unable to create or open output file \"{path}\": not a regular file"},
    {"log_is_a_fifo",
     [](auto &p, auto &t) {
         p.Settings.LogExport = true;
         return Planted(p.Settings.LogFileName, true, t);
     },
     "Unable to create or open log file \"{path}\": not a regular file"},
    {"summary_written_by_another_run",
     [](auto &p, auto &) {
         EXPECT_TRUE(OtherRun().Open(p.Settings.SummaryFilePath, platform::OutputMode::kReplace));
         EXPECT_TRUE(OtherRun().Write(kVictim));
         return std::string();
     },
     "Unable to create or open output file \"{path}\": in use by another export run"},
    {"log_written_by_another_run",
     [](auto &p, auto &) {
         p.Settings.LogExport = true;
         EXPECT_TRUE(OtherRun().Open(p.Settings.LogFileName, platform::OutputMode::kAppend));
         EXPECT_TRUE(OtherRun().Write(kVictim));
         return p.Settings.LogFileName;
     },
     "Unable to create or open log file \"{path}\": in use by another export run"},
};

class RefusedOutputTest : public ExportRunTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusedOutputTest, FailsAtPreparationAndTouchesNothing) {
    const RefusalCase &c = GetParam();
    auto profile = Profile();
    const std::string kept = c.arrange(profile, *this);
    const std::string before = kept.empty() ? "" : testsupport::ReadFile(kept);
    const bool log = std::string(c.lastError).find("log file") != std::string::npos;
    std::string expected = c.lastError;
    expected.replace(expected.find("{path}"), 6,
                     log ? profile.Settings.LogFileName : profile.Settings.SummaryFilePath);
    EXPECT_FALSE(Run(profile));
    EXPECT_EQ(m_run->LastError(), expected);
    EXPECT_EQ(m_run->ProcessedTotal(), 0);
    if (!kept.empty()) {
        EXPECT_EQ(testsupport::ReadFile(kept), before);
    }
    if (OtherRun().IsOpen()) {
        EXPECT_TRUE(OtherRun().Commit());
        EXPECT_EQ(
            testsupport::ReadFile(log ? profile.Settings.LogFileName : profile.Settings.SummaryFilePath),
            kVictim)
            << "the other run's output is whole";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedOutputTest, ::testing::ValuesIn(kRefusals),
                         [](const auto &info) { return std::string(info.param.name); });

// A run killed after two documents leaves its partial file and nothing under the final name.
TEST_F(ExportRunTest, KilledRunLeavesNoFinalNamedSummary) {
    auto profile = Profile();
    const pid_t child = fork();
    if (child == 0) {
        ScriptedUi ui;
        ui.onStatus = [](const std::string &text) {
            if (text == "Exported 2:Sales Demo") {
                raise(SIGKILL);
            }
        };
        (void)Run(profile);
        _exit(0);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_FALSE(std::filesystem::exists(OutPath("summary.csv")));
    EXPECT_TRUE(std::filesystem::exists(OutPath("summary.csv.partial")));
}

// A database the run changed cannot be saved because another program changed its file meanwhile:
// the copies (or the folder moves) are lost, so the run fails with the runtime's reason.
struct UnsavedCase {
    const char *name;
    bool copy;
    const char *prefix;
};

class UnsavedDatabaseTest : public ExportRunTest, public ::testing::WithParamInterface<UnsavedCase> {};

TEST_P(UnsavedDatabaseTest, EndsTheRunAsFailed) {
    auto profile = Profile();
    std::string changed = profile.Settings.NSFFilePath;
    if (GetParam().copy) {
        profile.Settings.CopyDataToDb = true;
        profile.Settings.CopyDataToDbFilename = changed = CopyFixture("CopyTarget.nsf");
    } else {
        profile.Settings.MoveToFolder = true;
        profile.Settings.MoveToFolderName = "Done";
    }
    ScriptedUi ui;
    ui.onStatus = [&changed](const std::string &text) {
        if (text == "Exported 1:Sales Demo") {
            testsupport::WriteFile(changed, testsupport::ReadFile(changed) + "\n");
        }
    };
    EXPECT_FALSE(Run(profile));
    const std::string prefix =
        std::string(GetParam().prefix) + (GetParam().copy ? "" : changed + "\". Error: ");
    EXPECT_EQ(m_run->LastError().substr(0, prefix.size()), prefix) << m_run->LastError();
    EXPECT_NE(m_run->LastError().find("changed by another program"), std::string::npos) << m_run->LastError();
    EXPECT_EQ(m_run->ProcessedTotal(), 4);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnsavedDatabaseTest,
    ::testing::Values(UnsavedCase{"copy_to", true, "Unable to save 'Copy To' database. Error: "},
                      UnsavedCase{"move_to_folder", false, "Unable to save database \""}),
    [](const auto &info) { return std::string(info.param.name); });

// A folder that does not take the documents is reported in the log and in each row's %Errors.
TEST_F(ExportRunTest, FailedFolderAddReachesTheLogAndTheRows) {
    auto profile = Profile();
    SetColumns(profile, {"%Count", "%Errors"});
    profile.Settings.MoveToFolder = true;
    profile.Settings.MoveToFolderName = "Done";
    profile.Settings.LogExport = true;
    testsupport::Standin::Get().SetFault("FolderDocAdd", 1, notes::kErrNoAccess);
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    const std::string error = "Unable to add the documents to folder 'Done'. Error: " +
                              notes::wrapper::NotesMessage(notes::kErrNoAccess);
    std::string expected = "\"%Count\",\"%Errors\"\r\n";
    for (int i = 1; i <= 4; ++i) {
        expected += "\"" + std::to_string(i) + "\",\"" + error + "\"\r\n";
    }
    EXPECT_EQ(Summary(), expected);
    EXPECT_NE(testsupport::ReadFile(OutPath("export.log")).find("\r\n" + error + "\r\n"), std::string::npos);
}

// Three views whose names agree in their first 150 bytes: each is exported once, under its whole name.
TEST_F(ExportRunTest, LongViewNamesAreReadWholeAndOpenedByNoteId) {
    const std::string common(150, 'V');
    testsupport::DxlBuilder dxl("Long names");
    dxl.Documents(3);
    for (int i = 1; i <= 3; ++i) {
        dxl.View(common + std::to_string(i), "SELECT Index = " + std::to_string(i));
    }
    const std::string path = m_dir.File("long.nsf");
    testsupport::WriteFile(path, dxl.Build());
    auto profile = Profile();
    profile.Settings.NSFFilePath = path;
    profile.Settings.SelectMethod = config::kSelectViews;
    profile.Settings.IncludeViewFolderNames = {"V*"};
    SetColumns(profile, {"Subject", "%View_Folder_Name"});
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    std::string expected = "\"Subject\",\"%View_Folder_Name\"\r\n";
    for (int i = 1; i <= 3; ++i) {
        expected += "\"Doc " + std::to_string(i) + "\",\"" + common + std::to_string(i) + "\"\r\n";
    }
    EXPECT_EQ(Summary(), expected);
}

}  // namespace
}  // namespace exporttest
