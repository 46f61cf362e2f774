// Shared pieces of the export-run tests: the process session on the stand-in, a fresh data directory
// per test with copies of the fixture databases, profiles built in code, and a scripted seam.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "config/DatabaseExportProfile.h"
#include "export/ExportRun.h"
#include "platform/UserInterface.h"
#include "support/TestSupport.h"

namespace notes {
class NotesSession;
}

namespace exporttest {

// The process-level session on the stand-in runtime, started once for the test program.
notes::NotesSession &Session();

// Records what the run shows and lets a test act on it (set the cancel flag at a chosen point).
class ScriptedUi : public platform::UserInterface {
public:
    ScriptedUi();
    ~ScriptedUi() override;
    platform::MessageAnswer Message(const std::string &text, const std::string &caption,
                                    platform::MessageIcon icon, platform::MessageButtons buttons) override;
    void Progress(long position, long range) override;
    void Status(const std::string &text) override;

    std::vector<std::string> statuses;
    std::vector<std::pair<long, long>> progress;
    std::function<void(const std::string &)> onStatus;
    std::function<void(long, long)> onProgress;

private:
    platform::UserInterface *m_previous;
};

// One test's directory: the fixture databases copied in, an output directory, and profiles that point
// at them.
class ExportRunTest : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    // Copies tests/data/export/<name> into the test directory; returns its full path.
    std::string CopyFixture(const std::string &name);
    // A profile on a copy of the fixture: CSV summary out/summary.csv, output under out/, no log.
    config::DatabaseExportProfile Profile(const std::string &fixture = "Sales.nsf");
    // Replaces the output columns: names beginning with "#" are formulas, "%" computed fields.
    static void SetColumns(config::DatabaseExportProfile &profile, const std::vector<std::string> &columns);

    // Runs the export (or field-name scan) and keeps the run for inspection.
    bool Run(config::DatabaseExportProfile &profile, bool scan = false);

    std::string OutPath(const std::string &name) const { return m_dir.File("out/" + name); }
    std::string Summary() const { return testsupport::ReadFile(OutPath("summary.csv")); }

    testsupport::TempDir m_dir;
    std::atomic<bool> m_cancel{false};
    std::unique_ptr<exporter::ExportRun> m_run;
};

// The golden file tests/data/export/golden/<name>; with VORLIX_UPDATE_GOLDEN=1 in the environment
// the reference is written from actual instead (on purpose only).
void ExpectGolden(const std::string &name, const std::string &actual);

// A log file with the time of the "Begin export at" line replaced by "hh:mm:ss".
std::string WithoutRunTime(std::string log);

}  // namespace exporttest
