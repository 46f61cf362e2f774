// A multiple-database queue of 200 small databases. Run with 50 documents each and with one document
// each: the one-document queue is almost all start-up of the queue entries (opening the database,
// resolving the view, opening the CSV file, closing everything), so its time per database against the
// 50-document queue's gives the share of start-up in a small database's export. Time is per queue of
// 200 databases; db_per_s its rate.
//   bench/benchexportqueue
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchSupportDxl.h"
#include "BenchSupportSession.h"
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
        std::filesystem::create_directories(Dir() + "/data/" + directory);
        for (int i = 0; i < kDatabases; ++i) {
            config::NotesExportDatabase entry;
            entry.title = "Database " + std::to_string(i);
            entry.path = directory + "/db" + std::to_string(i) + ".nsf";
            const std::string file = Dir() + "/data/" + entry.path;
            if (!std::filesystem::exists(file) && !bench::WriteLargeDatabase(file, documents, kColumns)) {
                std::fprintf(stderr, "cannot write %s\n", file.c_str());
                std::exit(1);
            }
            (void)queue.Add(entry);
        }
        return queue;
    }
    const std::string &Dir() const { return m_scratch.Dir(); }
    notes::NotesSession &Session() { return m_scratch.Session(); }

private:
    Fixture() : m_scratch("vorlix-bench-queue-") {}

    bench::ScratchNotes m_scratch;
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
    // Wall-clock time: the exports write files, and the share of start-up includes that waiting.
    state.counters["db_per_s"] =
        benchmark::Counter(static_cast<double>(kDatabases), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_ExportQueue)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
