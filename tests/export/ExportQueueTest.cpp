// The multiple-database queue: where each database's files go, a queue with a missing database,
// processed entries, and cancel across the queue.
#include <filesystem>

#include "ExportTestSupport.h"
#include "export/ExportQueue.h"

namespace exporttest {
namespace {

namespace fs = std::filesystem;

struct LocationCase {
    const char *name;
    const char *output;
    const char *database;
    bool subdirectory;
    const char *outputPath;
    const char *outputFile;
    const char *summary;
};

class QueueLocationTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(QueueLocationTest, NamesFollowTheDatabaseFile) {
    const LocationCase &c = GetParam();
    const exporter::QueueEntryLocation location =
        exporter::QueueLocation(c.output, exporter::QueueBaseName(c.database), c.subdirectory);
    EXPECT_EQ(location.outputPath, c.outputPath);
    EXPECT_EQ(location.outputFile, c.outputFile);
    EXPECT_EQ(location.summaryFilePath, c.summary);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QueueLocationTest,
    ::testing::Values(
        LocationCase{"TrailingSeparator", "/out/", "archive\\sales.nsf", true, "/out/sales", "sales.csv",
                     "/out/sales/sales.csv"},
        LocationCase{"NoSubdirectory", "/out", "archive/sales.nsf", false, "/out", "sales.csv",
                     "/out/sales.csv"},
        LocationCase{"OnlyLastDotGoes", "/out", "mail/j.smith.v2.nsf", true, "/out/j.smith.v2",
                     "j.smith.v2.csv", "/out/j.smith.v2/j.smith.v2.csv"},
        LocationCase{"NoExtension", "/out", "names", true, "/out/names", "names.csv", "/out/names/names.csv"},
        // Names that would leave the output directory or hold reserved characters are made safe.
        LocationCase{"DotsOnly", "/out", "...nsf", true, "/out/~~", "~~.csv", "/out/~~/~~.csv"},
        LocationCase{"EmptyBaseName", "/out", "dir\\.nsf", true, "/out/~", "~.csv", "/out/~/~.csv"},
        LocationCase{"ReservedCharacters", "/out", "a:b*c.nsf", true, "/out/a~b~c", "a~b~c.csv",
                     "/out/a~b~c/a~b~c.csv"},
        LocationCase{"RootDirectory", "/", "x.nsf", false, "/", "x.csv", "/x.csv"}),
    [](const ::testing::TestParamInfo<LocationCase> &info) { return std::string(info.param.name); });

class ExportQueueTest : public ExportRunTest {
protected:
    // Three entries: Sales in a/, a database that does not exist, and Sales again in b/ (same file name).
    void SetUp() override {
        ExportRunTest::SetUp();
        fs::create_directories(m_dir.File("a"));
        fs::create_directories(m_dir.File("b"));
        fs::create_directories(m_dir.File("queue"));
        const std::string sales = CopyFixture("Sales.nsf");
        fs::copy_file(sales, m_dir.File("a/Sales.nsf"));
        fs::copy_file(sales, m_dir.File("b/sales.nsf"));
        m_settings = Profile().Settings;
        m_settings.LogFileName.clear();
        for (const std::string &path :
             {m_dir.File("a/Sales.nsf"), m_dir.File("lost/gone.nsf"), m_dir.File("b/sales.nsf")}) {
            config::NotesExportDatabase entry;
            entry.title = fs::path(path).parent_path().filename().string();
            entry.path = path;
            ASSERT_TRUE(m_queue.Add(entry));
        }
    }
    std::size_t RunQueue(bool subdirectory = true) {
        exporter::ExportQueue queue(m_queue, m_settings, m_dir.File("queue") + "/", subdirectory);
        return queue.Run(Session(), m_cancel, [this](std::size_t index) { m_done.push_back(index); });
    }
    std::string Out(const std::string &name) const {
        return testsupport::ReadFile(m_dir.File("queue/" + name));
    }

    config::ExportSettings m_settings;
    config::NotesDatabaseList m_queue;
    std::vector<std::size_t> m_done;
};

TEST_F(ExportQueueTest, AMissingDatabaseFailsAloneAndTheQueueGoesOn) {
    ScriptedUi ui;
    EXPECT_EQ(RunQueue(), 1u);
    EXPECT_EQ(m_done, (std::vector<std::size_t>{0, 1, 2}));
    const config::NotesExportDatabase &first = m_queue.Entry(0);
    const config::NotesExportDatabase &lost = m_queue.Entry(1);
    const config::NotesExportDatabase &last = m_queue.Entry(2);
    EXPECT_EQ(first.status, "OK");
    EXPECT_EQ(first.image, config::kQueueImageSucceeded);
    EXPECT_EQ(first.exported, 4);
    EXPECT_EQ(first.total, 4);
    EXPECT_EQ(last.status, "OK");
    EXPECT_EQ(lost.image, config::kQueueImageFailed);
    EXPECT_NE(lost.status.find("gone.nsf"), std::string::npos) << lost.status;
    EXPECT_EQ(lost.exported, 0);
    EXPECT_EQ(m_queue.ProcessedCount(), 3u);
    // Same file name in two directories: the second database gets files of its own.
    const std::string a = Out("Sales/Sales.csv");
    EXPECT_NE(a, "");
    EXPECT_EQ(Out("sales_2/sales_2.csv"), a);
    EXPECT_FALSE(fs::exists(m_dir.File("queue/gone/gone.csv")));
}

// A log that each export would begin afresh keeps every database of the queue.
TEST_F(ExportQueueTest, OneLogForTheWholeQueue) {
    ScriptedUi ui;
    m_settings.LogExport = true;
    m_settings.LogOpenMode = config::kLogOpenNew;
    m_settings.LogFileName = m_dir.File("queue/queue.log");
    testsupport::WriteFile(m_settings.LogFileName, "from an earlier run\n");
    (void)RunQueue();
    const std::string log = Out("queue.log");
    EXPECT_EQ(log.find("from an earlier run"), std::string::npos);
    std::size_t begins = 0;
    for (auto at = log.find("Begin export at"); at != std::string::npos;
         at = log.find("Begin export at", at + 1)) {
        ++begins;
    }
    EXPECT_GE(begins, 2u) << log;
}

TEST_F(ExportQueueTest, ProcessedEntriesWaitForAReset) {
    ScriptedUi ui;
    (void)RunQueue(false);
    EXPECT_TRUE(fs::exists(m_dir.File("queue/Sales.csv")));
    fs::remove(m_dir.File("queue/Sales.csv"));
    m_done.clear();
    EXPECT_EQ(RunQueue(false), 0u);
    EXPECT_TRUE(m_done.empty());
    EXPECT_FALSE(fs::exists(m_dir.File("queue/Sales.csv")));
    m_queue.ResetFlags();
    EXPECT_EQ(RunQueue(false), 1u);
    EXPECT_EQ(m_done.size(), 3u);
    EXPECT_TRUE(fs::exists(m_dir.File("queue/Sales.csv")));
}

// The flag set during one export stops that export and every later one of the same queue; the
// entries not reached stay pending for the next run.
TEST_F(ExportQueueTest, CancelReachesAcrossTheQueue) {
    ScriptedUi ui;
    ui.onStatus = [this](const std::string &text) {
        if (text.rfind("Exported 2:", 0) == 0) {
            m_cancel = true;
        }
    };
    EXPECT_EQ(RunQueue(), 1u);
    EXPECT_EQ(m_done, (std::vector<std::size_t>{0}));
    EXPECT_EQ(m_queue.Entry(0).status, "Export cancelled by user");
    EXPECT_EQ(m_queue.Entry(0).total, 2);
    EXPECT_FALSE(m_queue.Entry(1).processed);
    EXPECT_FALSE(m_queue.Entry(2).processed);

    // A flag already set before the queue starts runs nothing.
    m_done.clear();
    m_queue.ResetFlags();
    EXPECT_EQ(RunQueue(), 0u);
    EXPECT_TRUE(m_done.empty());
}

}  // namespace
}  // namespace exporttest
