// A multiple-database queue of 200 small databases. Run with 50 documents each and with one document
// each: the one-document queue is almost all start-up of the queue entries (opening the database,
// resolving the view, opening the CSV file, closing everything), so its time per database against the
// 50-document queue's gives the share of start-up in a small database's export.
//   bench/benchexportqueue
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchSupportDxl.h"
#include "config/DatabaseExportProfile.h"
#include "config/NotesDatabaseList.h"
#include "export/ExportQueue.h"
#include "notes/NotesSession.h"

namespace {

constexpr int kDatabases = 200;
constexpr int kColumns = 10;

class Fixture {
public:
    static Fixture &Get() {
        static Fixture fixture;
        return fixture;
    }
    // The queue of kDatabases databases of that many documents each, written on first use.
    config::NotesDatabaseList Queue(long documents) {
        config::NotesDatabaseList queue;
        const std::string directory = "queue-" + std::to_string(documents);
        std::filesystem::create_directories(m_dir + "/data/" + directory);
        for (int i = 0; i < kDatabases; ++i) {
            config::NotesExportDatabase entry;
            entry.title = "Database " + std::to_string(i);
            entry.path = directory + "/db" + std::to_string(i) + ".nsf";
            const std::string file = m_dir + "/data/" + entry.path;
            if (!std::filesystem::exists(file) && !bench::WriteLargeDatabase(file, documents, kColumns)) {
                std::fprintf(stderr, "cannot write %s\n", file.c_str());
                std::exit(1);
            }
            (void)queue.Add(entry);
        }
        return queue;
    }
    const std::string &Dir() const { return m_dir; }
    notes::NotesSession &Session() { return m_session; }

private:
    Fixture() {
        const char *tmp = std::getenv("TMPDIR");
        m_dir = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vorlix-bench-queue-" +
                std::to_string(::getpid());
        std::filesystem::create_directories(m_dir + "/data");
        const std::string ini = m_dir + "/notes.ini";
        std::FILE *file = std::fopen(ini.c_str(), "w");
        if (file != nullptr) {
            std::fprintf(file, "[Notes]\nDirectory=%s/data\n", m_dir.c_str());
            std::fclose(file);
        }
        if (!m_session.Start(false, VORLIX_PROGRAM_DIR, ini, nullptr)) {
            std::fprintf(stderr, "cannot start the Notes session: %s\n", m_session.ErrorText().c_str());
            std::exit(1);
        }
    }
    ~Fixture() {
        m_session.End(false);
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    std::string m_dir;
    notes::NotesSession m_session;
};

void BM_ExportQueue(benchmark::State &state) {
    Fixture &fixture = Fixture::Get();
    const long documents = state.range(0);
    config::NotesDatabaseList queue = fixture.Queue(documents);
    config::ExportSettings settings;
    settings.SelectMethod = config::kSelectView;
    settings.ViewName = "All";
    settings.CreateCSV = true;
    for (int c = 1; c <= kColumns; ++c) {
        settings.OutputItems.Add("Field" + std::to_string(c), config::kItemField, 0);
    }
    const std::string out = fixture.Dir() + "/out-" + std::to_string(documents);
    std::filesystem::create_directories(out);
    for (auto _ : state) {
        queue.ResetFlags();
        std::atomic<bool> cancel{false};
        exporter::ExportQueue run(queue, settings, out, true, false);
        if (run.Run(fixture.Session(), cancel) != 0) {
            state.SkipWithError(queue.Entry(static_cast<std::size_t>(run.FirstFailure())).status.c_str());
            return;
        }
    }
    state.counters["ms_per_db"] =
        benchmark::Counter(static_cast<double>(kDatabases) * 1e-3,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_ExportQueue)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
