// Opening a generated 100,000-document DXL database and reading every note's items: the goal is under
// 3 seconds on one core with memory within 3 times the file size. Two measures: the DXL reader alone
// on the file's bytes, and the whole road through the stand-in's C API (NSFDbOpen, NSFSearch, then
// NSFNoteOpen, NSFItemScan and NSFNoteClose for every document). The counters peak_over_file and
// kept_over_file give peak and retained memory growth as multiples of the file size; run one
// benchmark per process for clean peaks, e.g. bench/benchdxlopen --benchmark_filter=Api
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BenchSupportDxl.h"
#include "dxl/DxlReader.h"
#include "notes/capi/NotesCApi.h"

namespace {

constexpr long kDocuments = 100000;
constexpr int kFields = 10;

long StatusKb(const char *key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::strtol(line.c_str() + std::strlen(key), nullptr, 10);
        }
    }
    return 0;
}

void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct Data {
    std::string dir;
    std::string file;
    std::size_t size = 0;
    static Data &Get() {
        static Data data;
        return data;
    }

private:
    Data() {
        const char *tmp = std::getenv("TMPDIR");
        dir = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vorlix-benchdxl-" +
              std::to_string(getpid());
        std::filesystem::create_directories(dir);
        file = dir + "/large.nsf";
        if (!bench::WriteLargeDatabase(file, kDocuments, kFields)) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            std::exit(1);
        }
        size = std::filesystem::file_size(file);
        std::ofstream(dir + "/notes.ini") << "[Notes]\nDirectory=" << dir << "\n";
    }
};

void BM_DxlReader(benchmark::State &state) {
    Data &data = Data::Get();
    std::ifstream in(data.file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    std::string bytes = s.str();
    double peak = 0;
    double kept = 0;
    for (auto _ : state) {
        ResetPeak();
        long before = StatusKb("VmRSS:");
        standin::dxl::Database db;
        standin::dxl::DxlReader reader;
        if (!reader.Read(bytes, data.file, db)) {
            state.SkipWithError(reader.LastError().c_str());
            return;
        }
        std::size_t values = 0;
        for (const auto &note : db.notes) {
            for (std::size_t i = 0; i < note.items.size(); ++i) {
                values += note.ItemValue(i).size();
            }
        }
        benchmark::DoNotOptimize(values);
        peak = static_cast<double>(StatusKb("VmHWM:") - before) * 1024.0 / static_cast<double>(data.size);
        kept = static_cast<double>(StatusKb("VmRSS:") - before) * 1024.0 / static_cast<double>(data.size);
    }
    state.counters["file_mb"] = static_cast<double>(data.size) / 1e6;
    state.counters["peak_over_file"] = peak;
    state.counters["kept_over_file"] = kept;
}
BENCHMARK(BM_DxlReader)->Unit(benchmark::kMillisecond)->Iterations(1);

template <typename F>
F Fn(void *lib, const char *name) {
    return reinterpret_cast<F>(dlsym(lib, name));
}

void BM_ApiOpenAndReadEveryItem(benchmark::State &state) {
    Data &data = Data::Get();
    void *lib = dlopen((std::string(VORLIX_PROGRAM_DIR) + "/libnotes.so").c_str(), RTLD_NOW);
    if (lib == nullptr) {
        state.SkipWithError("cannot load libnotes.so");
        return;
    }
    std::string ini = data.dir + "/notes.ini";
    if (Fn<decltype(&NotesInitIni)>(lib, "NotesInitIni")(ini.data()) != 0) {
        state.SkipWithError("NotesInitIni failed");
        return;
    }
    auto open = Fn<decltype(&NSFDbOpen)>(lib, "NSFDbOpen");
    auto close = Fn<decltype(&NSFDbClose)>(lib, "NSFDbClose");
    auto search = Fn<decltype(&NSFSearch)>(lib, "NSFSearch");
    auto noteOpen = Fn<decltype(&NSFNoteOpen)>(lib, "NSFNoteOpen");
    auto noteClose = Fn<decltype(&NSFNoteClose)>(lib, "NSFNoteClose");
    auto scan = Fn<decltype(&NSFItemScan)>(lib, "NSFItemScan");
    double peak = 0;
    double kept = 0;
    for (auto _ : state) {
        ResetPeak();
        long before = StatusKb("VmRSS:");
        DBHANDLE db = 0;
        if (open("large.nsf", &db) != 0) {
            state.SkipWithError("NSFDbOpen failed");
            return;
        }
        std::vector<NOTEID> ids;
        auto collect = [](void *param, SEARCH_MATCH *match, ITEM_TABLE *) -> STATUS {
            static_cast<std::vector<NOTEID> *>(param)->push_back(match->ID.NoteID);
            return 0;
        };
        search(db, 0, nullptr, 0, 1, nullptr, collect, &ids, nullptr);
        std::size_t bytes = 0;
        auto count = [](WORD, WORD, char *, WORD, void *, DWORD len, void *param) -> STATUS {
            *static_cast<std::size_t *>(param) += len;
            return 0;
        };
        for (NOTEID id : ids) {
            NOTEHANDLE note = 0;
            if (noteOpen(db, id, 0, &note) == 0) {
                scan(note, count, &bytes);
                noteClose(note);
            }
        }
        benchmark::DoNotOptimize(bytes);
        peak = static_cast<double>(StatusKb("VmHWM:") - before) * 1024.0 / static_cast<double>(data.size);
        kept = static_cast<double>(StatusKb("VmRSS:") - before) * 1024.0 / static_cast<double>(data.size);
        close(db);
        state.counters["notes"] = static_cast<double>(ids.size());
    }
    Fn<decltype(&NotesTerm)>(lib, "NotesTerm")();
    state.counters["file_mb"] = static_cast<double>(data.size) / 1e6;
    state.counters["peak_over_file"] = peak;
    state.counters["kept_over_file"] = kept;
}
BENCHMARK(BM_ApiOpenAndReadEveryItem)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
