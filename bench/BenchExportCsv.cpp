// The CSV export of a large view against a plain walk of the same view that opens every note and
// renders the same ten columns through the same wrappers without writing anything. The export should
// cost at most 1.25 times the walk, and peak memory should not grow with the number of documents:
// run each size in a process of its own to compare the peak_rss_kb counters, e.g.
//   bench/benchexportcsv --benchmark_filter='/10000/'
//   bench/benchexportcsv --benchmark_filter='/100000/'
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "BenchSupportDxl.h"
#include "BenchSupportSession.h"
#include "config/DatabaseExportProfile.h"
#include "export/ExportRun.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesNote.h"
#include "notes/NotesSession.h"
#include "notes/NotesView.h"
#include "richtext/NotesItem.h"

namespace {

constexpr int kColumns = 10;

// The benchmark's data directory, databases and the process session, made on first use.
class Fixture {
public:
    static Fixture &Get() {
        static Fixture fixture;
        return fixture;
    }

    // The database of that many documents (file name relative to the data directory).
    std::string Database(long documents) {
        auto found = m_databases.find(documents);
        if (found != m_databases.end()) {
            return found->second;
        }
        const std::string name = "bench-" + std::to_string(documents) + ".nsf";
        if (!bench::WriteLargeDatabase(Dir() + "/data/" + name, documents, kColumns)) {
            std::fprintf(stderr, "cannot write %s\n", name.c_str());
            std::exit(1);
        }
        m_databases[documents] = name;
        return name;
    }

    const std::string &Dir() const { return m_scratch.Dir(); }
    notes::NotesSession &Session() { return m_scratch.Session(); }

private:
    Fixture() : m_scratch("vorlix-bench-") {}

    bench::ScratchNotes m_scratch;
    std::map<long, std::string> m_databases;
};

std::string ColumnName(int column) {
    return "Field" + std::to_string(column);
}

void ReportMemory(benchmark::State &state, long documents) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_kb"] = static_cast<double>(usage.ru_maxrss);
    state.counters["docs_per_s"] =
        benchmark::Counter(static_cast<double>(documents), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ExportCsv(benchmark::State &state) {
    Fixture &fixture = Fixture::Get();
    const long documents = state.range(0);
    const std::string database = fixture.Database(documents);
    std::string columns;
    for (int c = 1; c <= kColumns; ++c) {
        columns += (c > 1 ? "," : "") + ColumnName(c);
    }
    const std::string profilePath = fixture.Dir() + "/bench.xpp";
    std::FILE *file = std::fopen(profilePath.c_str(), "wb");
    std::fprintf(file,
                 "ProductName=Vorlix\r\nNSFFilePath=%s\r\nCreateCSV=1\r\nSelectMethod=1\r\nViewName=All\r\n"
                 "OutputItems=%s\r\nSummaryFilePath=%s/bench.csv\r\nOutputPath=%s/out\r\n",
                 database.c_str(), columns.c_str(), fixture.Dir().c_str(), fixture.Dir().c_str());
    std::fclose(file);
    for (auto _ : state) {
        config::DatabaseExportProfile profile;
        if (!profile.LoadFromFile(profilePath, "Vorlix", "6.0.15")) {
            state.SkipWithError(profile.LastError().c_str());
            return;
        }
        profile.ShowProgress = false;
        std::atomic<bool> cancel{false};
        exporter::ExportRun run(profile, false);
        if (!run.Run(fixture.Session(), cancel, false, true, false) || run.ExportedTotal() != documents) {
            state.SkipWithError(run.LastError().c_str());
            return;
        }
    }
    ReportMemory(state, documents);
}

void BM_PlainWalk(benchmark::State &state) {
    Fixture &fixture = Fixture::Get();
    const long documents = state.range(0);
    const std::string database = fixture.Database(documents);
    for (auto _ : state) {
        notes::NotesDatabase db;
        if (!db.Open("", database)) {
            state.SkipWithError(db.LastError().c_str());
            return;
        }
        std::unique_ptr<notes::NotesView> view = db.OpenView("All");
        if (!view) {
            state.SkipWithError(db.LastError().c_str());
            return;
        }
        long walked = 0;
        std::size_t bytes = 0;
        for (NOTEID id = view->First(); id != 0; id = view->Next()) {
            notes::NotesNote note;
            if (note.Open(db.Handle(), id, true)) {
                for (int c = 1; c <= kColumns; ++c) {
                    bytes += richtext::NotesItem::Render(note, ColumnName(c), ";", nullptr).text.size();
                }
            }
            ++walked;
        }
        benchmark::DoNotOptimize(bytes);
        if (walked != documents) {
            state.SkipWithError("the walk did not see every document");
            return;
        }
    }
    ReportMemory(state, documents);
}

BENCHMARK(BM_ExportCsv)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainWalk)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
