// The export-run tests' session, directories, profiles, scripted seam and golden files.
#include "ExportTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "config/OutputItem.h"
#include "notes/NotesSession.h"

namespace exporttest {

namespace {

// The data directory of the session; every test database lives in a test directory of its own and is
// named by its full path.
testsupport::TempDir &DataDirectory() {
    static testsupport::TempDir dir;
    return dir;
}

}  // namespace

notes::NotesSession &Session() {
    static notes::NotesSession *session = [] {
        const std::string ini =
            testsupport::WriteNotesIni(DataDirectory().Path(), {"Directory=" + DataDirectory().Path(),
                                                                // views come in several reads
                                                                "StandinReadEntriesBatch=3"});
        auto *started = new notes::NotesSession();
        if (!started->Start(false, testsupport::ProgramDir(), ini)) {
            ADD_FAILURE() << "the Notes session did not start: " << started->ErrorText();
        }
        return started;
    }();
    return *session;
}

ScriptedUi::ScriptedUi() : m_previous(platform::SetUi(this)) {}

ScriptedUi::~ScriptedUi() {
    platform::SetUi(m_previous);
}

platform::MessageAnswer ScriptedUi::Message(const std::string &text, const std::string &,
                                            platform::MessageIcon, platform::MessageButtons) {
    ADD_FAILURE() << "the run showed a message box: " << text;
    return platform::MessageAnswer::Cancel;
}

void ScriptedUi::Progress(long position, long range) {
    progress.emplace_back(position, range);
    if (onProgress) {
        onProgress(position, range);
    }
}

void ScriptedUi::Status(const std::string &text) {
    statuses.push_back(text);
    if (onStatus) {
        onStatus(text);
    }
}

void ExportRunTest::SetUp() {
    (void)Session();
    testsupport::Standin::Get().ClearFaults();
    std::filesystem::create_directories(m_dir.File("out"));
}

void ExportRunTest::TearDown() {
    testsupport::Standin::Get().ClearFaults();
    m_run.reset();
    testsupport::ExpectNothingLeft();
}

std::string ExportRunTest::CopyFixture(const std::string &name) {
    const std::string target = m_dir.File(name);
    if (!std::filesystem::exists(target)) {
        std::filesystem::copy_file(testsupport::SourcePath("tests/data/export/" + name), target);
    }
    return target;
}

config::DatabaseExportProfile ExportRunTest::Profile(const std::string &fixture) {
    config::DatabaseExportProfile profile;
    auto &s = profile.Settings;
    s.NSFFilePath = CopyFixture(fixture);
    s.SelectMethod = config::kSelectView;
    s.ViewName = "All";
    s.CreateCSV = true;
    s.SummaryFilePath = OutPath("summary.csv");
    s.OutputPath = m_dir.File("out");
    s.CharacterEncoding = config::kEncodingUtf8;
    s.LogFileName = OutPath("export.log");
    SetColumns(profile, {"Subject", "%Count"});
    profile.ShowProgress = true;
    return profile;
}

void ExportRunTest::SetColumns(config::DatabaseExportProfile &profile,
                               const std::vector<std::string> &columns) {
    auto &items = profile.Settings.OutputItems;
    items.Clear();
    for (const auto &column : columns) {
        if (column.rfind("#", 0) == 0) {
            items.Add(column.substr(1), config::kItemFormula, 0);
        } else if (column.rfind("%", 0) == 0) {
            items.Add(column, config::kItemLookup, 0);
        } else {
            items.Add(column, config::kItemField, 0);
        }
    }
}

bool ExportRunTest::Run(config::DatabaseExportProfile &profile, bool scan) {
    m_run = std::make_unique<exporter::ExportRun>(profile);
    return m_run->Run(Session(), m_cancel, false, true, scan);
}

void ExpectGolden(const std::string &name, const std::string &actual) {
    const std::string path = testsupport::SourcePath("tests/data/export/golden/" + name);
    const char *update = std::getenv("VORLIX_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        testsupport::WriteFile(path, actual);
        return;
    }
    ASSERT_TRUE(std::filesystem::exists(path)) << "no golden file " << path;
    EXPECT_EQ(testsupport::ReadFile(path), actual) << "differs from " << path;
}

std::string WithoutRunTime(std::string log) {
    static const std::regex kBegin("Begin export at [ 0-9]{2}:[ 0-9]{2}:[ 0-9]{2}");
    return std::regex_replace(log, kBegin, "Begin export at hh:mm:ss");
}

}  // namespace exporttest
