// The CSV export of a large view (ten columns) against a bare walk of the same view written against
// the C API alone, timed one after the other in each iteration: the export_ms, bare_walk_ms and ratio
// counters (ratio of the summed times; median_ratio, the median of the iterations' ratios, for a
// shared machine), and the same against a walk that reads only the first item of each name
// (first_item_*); the goal is a ratio of at most 1.10 at 100,000 documents and 1.25 at 10,000. Start-up
// alone is the executable exporting an empty database. Peak memory should not grow with the number of
// documents: run each size in a process of its own to compare the peak_rss_kb counters, e.g.
//   bench/benchexportcsv --benchmark_filter='BM_ExportCsv/10000/'
//   bench/benchexportcsv --benchmark_filter='BM_ExportCsv/100000/'
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "BenchSupportDxl.h"
#include "BenchSupportSession.h"
#include "BenchSupportWalk.h"
#include "config/DatabaseExportProfile.h"
#include "export/ExportRun.h"
#include "notes/NotesApi.h"
#include "notes/NotesSession.h"

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
        if (!bench::WriteLargeDatabase(m_dir + "/data/" + name, documents, kColumns)) {
            std::fprintf(stderr, "cannot write %s\n", name.c_str());
            std::exit(1);
        }
        m_databases[documents] = name;
        return name;
    }

    const std::string &Dir() const { return m_dir; }

    // A program directory of the benchmark's own: the executable and the runtime copied from the build,
    // and the settings file beside them naming it and the benchmark's notes.ini.
    std::string ProgramDirectory() {
        const std::string dir = m_dir + "/program";
        if (!std::filesystem::exists(dir + "/vorlix.ini")) {
            std::filesystem::create_directories(dir);
            for (const char *name : {"vorlix", "libnotes.so"}) {
                std::filesystem::copy_file(std::string(VORLIX_PROGRAM_DIR) + "/" + name, dir + "/" + name,
                                           std::filesystem::copy_options::overwrite_existing);
            }
            std::FILE *file = std::fopen((dir + "/vorlix.ini").c_str(), "w");
            if (file == nullptr) {
                std::exit(1);
            }
            std::fprintf(file, "[Notes]\nProgramPath=%s\nIniFilePath=%s/notes.ini\n", dir.c_str(),
                         m_dir.c_str());
            std::fclose(file);
        }
        return dir;
    }
    notes::NotesSession &Session() { return m_scratch.Session(); }

private:
    Fixture() : m_scratch("vorlix-bench-"), m_dir(m_scratch.Dir()) {}

    bench::ScratchNotes m_scratch;
    const std::string &m_dir;
    std::map<long, std::string> m_databases;
};

std::string ColumnName(int column) {
    return "Field" + std::to_string(column);
}

// A profile that exports the ten columns of view All of the database to a CSV file.
std::string WriteProfile(const std::string &database) {
    Fixture &fixture = Fixture::Get();
    std::string columns;
    for (int c = 1; c <= kColumns; ++c) {
        // Appended piece by piece: GCC 12 sees a false overlap in "," + a temporary (-Wrestrict).
        if (c > 1) {
            columns += ',';
        }
        columns += ColumnName(c);
    }
    const std::string profilePath = fixture.Dir() + "/" + database + ".xpp";
    std::FILE *file = std::fopen(profilePath.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "cannot write %s\n", profilePath.c_str());
        std::exit(1);
    }
    std::fprintf(file,
                 "ProductName=Vorlix\r\nNSFFilePath=%s\r\nCreateCSV=1\r\nSelectMethod=1\r\nViewName=All\r\n"
                 "OutputItems=%s\r\nSummaryFilePath=%s/%s.csv\r\nOutputPath=%s/out\r\n",
                 database.c_str(), columns.c_str(), fixture.Dir().c_str(), database.c_str(),
                 fixture.Dir().c_str());
    std::fclose(file);
    return profilePath;
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
    const std::string profilePath = WriteProfile(database);
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

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The floor the export is measured against: the view walked with the C API alone (through the
// function table, none of the program's wrappers), every note opened and each of the ten columns' items
// turned into its text and that text into Unicode (UTF-16), nothing written. The export reads every
// item of a column's name (a name may have several), so the floor does too: after each item the next
// of the same name, which the runtime finds by reading on from the item before. With firstItemOnly it
// reads the first item of each name only (the floor before that was counted). Returns the documents
// walked.
long BareWalk(const std::string &database, bool firstItemOnly, std::size_t &characters) {
    const notes::NotesApiTable &fn = notes::Api().fn;
    std::string names[kColumns];
    for (int c = 0; c < kColumns; ++c) {
        names[c] = ColumnName(c + 1);  // plain ASCII: the same bytes in LMBCS
    }
    static char text[0xFFFF];
    static char unicode[0xFFFF];
    return bench::WalkViewNotes(database, "All", [&](NOTEHANDLE note) {
        for (const std::string &name : names) {
            const WORD nameLength = static_cast<WORD>(name.size());
            BLOCKID item{};
            BLOCKID value{};
            WORD type = 0;
            DWORD length = 0;
            STATUS status = fn.NSFItemInfo(note, name.c_str(), nameLength, &item, &type, &value, &length);
            while (status == 0) {
                const WORD textLength =
                    fn.NSFItemConvertValueToText(type, value, length, text, sizeof text, ';');
                characters += fn.OSTranslate(notes::kTranslateLmbcsToUnicode, text, textLength, unicode,
                                             sizeof unicode) /
                              2;
                if (firstItemOnly) {
                    break;
                }
                const BLOCKID after = item;
                status =
                    fn.NSFItemInfoNext(note, after, name.c_str(), nameLength, &item, &type, &value, &length);
            }
        }
    });
}

// The times of one contender over the iterations of a benchmark.
struct Contender {
    double seconds = 0;
    double cpu = 0;
    std::vector<double> ratios;  // the export's time over this one's, in each iteration
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The export, the bare walk and the walk of first items only, one after the other in each iteration,
// and the ratios of their times.
void BM_ExportAgainstBareWalk(benchmark::State &state) {
    const long documents = state.range(0);
    const std::string database = Fixture::Get().Database(documents);
    const std::string profilePath = WriteProfile(database);
    enum { kExport, kWalk, kFirstItemWalk, kContenders };
    Contender contenders[kContenders];
    // Whichever runs later finds the heap already grown by the one before and pays fewer page faults:
    // the three take turns in going first.
    int first = 0;
    for (auto _ : state) {
        double seconds[kContenders] = {0, 0, 0};
        for (int turn = 0; turn < kContenders; ++turn) {
            const int who = (first + turn) % kContenders;
            const auto start = std::chrono::steady_clock::now();
            const double startCpu = ThreadCpuSeconds();
            std::string error;
            std::size_t characters = 0;
            if (who == kExport &&
                !bench::ExportOnce(Fixture::Get().Session(), profilePath, documents, error)) {
                state.SkipWithError(error.c_str());
                return;
            }
            if (who != kExport && BareWalk(database, who == kFirstItemWalk, characters) != documents) {
                state.SkipWithError("the bare walk did not see every document");
                return;
            }
            benchmark::DoNotOptimize(characters);
            seconds[who] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            contenders[who].seconds += seconds[who];
            contenders[who].cpu += ThreadCpuSeconds() - startCpu;
        }
        for (const int walk : {kWalk, kFirstItemWalk}) {
            contenders[walk].ratios.push_back(seconds[kExport] / seconds[walk]);
        }
        first = (first + 1) % kContenders;
    }
    // Wall-clock times and their ratio, the ratio of CPU times, which a busy machine disturbs less, and
    // the median of the iterations' own ratios: a pause of the machine during one turn (a shared host)
    // moves the ratio of the sums, not the median.
    const double n = static_cast<double>(state.iterations());
    const Contender &exported = contenders[kExport];
    const Contender &walk = contenders[kWalk];
    const Contender &firstItems = contenders[kFirstItemWalk];
    state.counters["export_ms"] = 1000 * exported.seconds / n;
    state.counters["bare_walk_ms"] = 1000 * walk.seconds / n;
    state.counters["ratio"] = exported.seconds / walk.seconds;
    state.counters["cpu_ratio"] = exported.cpu / walk.cpu;
    state.counters["median_ratio"] = Median(walk.ratios);
    state.counters["first_item_walk_ms"] = 1000 * firstItems.seconds / n;
    state.counters["first_item_ratio"] = exported.seconds / firstItems.seconds;
    state.counters["first_item_median_ratio"] = Median(firstItems.ratios);
}

// Start-up alone: the executable run on an empty database from the command line, with the re-exec
// that puts the program directory on the loader's path and the session start, as a user runs it.
void BM_StartUpOfAnEmptyExport(benchmark::State &state) {
    Fixture &fixture = Fixture::Get();
    const std::string program = fixture.ProgramDirectory();
    const std::string profilePath = WriteProfile(fixture.Database(0));
    for (auto _ : state) {
        const std::string command = "'" + program + "/vorlix' '" + profilePath + "' /nomsg";
        const int status = std::system(command.c_str());
        if (status != 0) {
            state.SkipWithError(("the empty export failed: " + std::to_string(status)).c_str());
            return;
        }
    }
}

BENCHMARK(BM_ExportCsv)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportAgainstBareWalk)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(BM_StartUpOfAnEmptyExport)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
