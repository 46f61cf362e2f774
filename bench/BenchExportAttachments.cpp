// The attachment export of a view of 10,000 documents with two attachments each, one directory per
// document (DetachMethod 0), a Text file per document and a CSV of three columns, against a bare walk of
// the same view written against the C API alone that writes the same attachments and a Text file of the
// subject per document, timed one after the other in each iteration:
// export_ms, bare_walk_ms, their ratio and cpu_ratio, and export_mb_s, the attachment data the export
// writes per second. Run from a release build:
//   bench/benchexportattachments
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
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

const std::vector<std::size_t> kAttachmentSizes = {6 * 1024, 26 * 1024};

class Fixture {
public:
    static Fixture &Get() {
        static Fixture fixture;
        return fixture;
    }

    // The database of that many documents (file name relative to the data directory).
    std::string Database(long documents) {
        const std::string name = "attachments-" + std::to_string(documents) + ".nsf";
        if (m_documents != documents) {
            if (!bench::WriteAttachmentDatabase(m_dir + "/data/" + name, documents, kAttachmentSizes,
                                                m_bytes)) {
                std::fprintf(stderr, "cannot write %s\n", name.c_str());
                std::exit(1);
            }
            m_documents = documents;
        }
        return name;
    }
    std::size_t AttachmentBytes() const { return m_bytes; }
    const std::string &Dir() const { return m_dir; }
    notes::NotesSession &Session() { return m_scratch.Session(); }

private:
    Fixture() : m_scratch("vorlix-bench-att-"), m_dir(m_scratch.Dir()) {}

    bench::ScratchNotes m_scratch;
    const std::string &m_dir;
    long m_documents = -1;
    std::size_t m_bytes = 0;
};

std::string WriteProfile(const std::string &database, const std::string &out) {
    const std::string profilePath = Fixture::Get().Dir() + "/" + database + ".xpp";
    std::FILE *file = std::fopen(profilePath.c_str(), "wb");
    if (file == nullptr) {
        std::exit(1);
    }
    std::fprintf(file,
                 "ProductName=Vorlix\r\nNSFFilePath=%s\r\nCreateCSV=1\r\nSelectMethod=1\r\nViewName=All\r\n"
                 "OutputItems=%%Count,Subject,%%Extr_Att_Names\r\nSummaryFilePath=%s/summary.csv\r\n"
                 "OutputPath=%s\r\nExtractAttachments=1\r\nDetachMethod=0\r\nCreateDocs=1\r\n",
                 database.c_str(), out.c_str(), out.c_str());
    std::fclose(file);
    return profilePath;
}

// The floor: the view walked with the C API alone, every note opened and each "$FILE" item extracted
// under its stored name into a directory per document named by the count, beside it a Text file of the
// subject; no names looked up, no CSV.
long BareWalk(const std::string &database, const std::string &out) {
    const notes::NotesApiTable &fn = notes::Api().fn;
    long count = 0;
    bool failed = false;
    const long walked = bench::WalkViewNotes(database, "All", [&](NOTEHANDLE note) {
        char dir[64];
        std::snprintf(dir, sizeof dir, "/%07ld", ++count);
        const std::string directory = out + dir;
        failed = mkdir(directory.c_str(), 0777) != 0 || failed;
        char subject[256];
        const WORD subjectLength = fn.NSFItemGetText(note, "Subject", subject, sizeof subject);
        std::FILE *text = std::fopen((directory + ".txt").c_str(), "wb");
        failed = text == nullptr || failed;
        if (text != nullptr) {
            std::fputs("Subject: ", text);
            std::fwrite(subject, 1, subjectLength, text);
            failed = std::fclose(text) != 0 || failed;
        }
        BLOCKID item{};
        BLOCKID value{};
        WORD type = 0;
        DWORD length = 0;
        STATUS status = fn.NSFItemInfo(note, "$FILE", 5, &item, &type, &value, &length);
        while (status == 0) {
            const char *bytes = static_cast<const char *>(fn.OSLockObject(value.pool)) + value.block;
            WORD nameLength = 0;
            std::memcpy(&nameLength, bytes + 2 + 6, sizeof nameLength);  // the file object's name length
            const std::string path = directory + "/" + std::string(bytes + 2 + 36, nameLength);
            fn.OSUnlockObject(value.pool);
            failed = fn.NSFNoteExtractFile(note, item, path.c_str(), nullptr) != 0 || failed;
            const BLOCKID after = item;
            status = fn.NSFItemInfoNext(note, after, "$FILE", 5, &item, &type, &value, &length);
        }
    });
    return failed ? -1 : walked;
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void BM_AttachmentExportAgainstBareWalk(benchmark::State &state) {
    Fixture &fixture = Fixture::Get();
    const long documents = state.range(0);
    const std::string database = fixture.Database(documents);
    const std::string exportOut = fixture.Dir() + "/out-export";
    const std::string walkOut = fixture.Dir() + "/out-walk";
    const std::string profilePath = WriteProfile(database, exportOut);
    double exportSeconds = 0;
    double walkSeconds = 0;
    double exportCpu = 0;
    double walkCpu = 0;
    bool exportFirst = true;  // the two take turns in going first
    for (auto _ : state) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool exporting = (turn == 0) == exportFirst;
            const std::string &out = exporting ? exportOut : walkOut;
            // Each run writes into an empty directory, removed outside the timing.
            std::filesystem::remove_all(out);
            std::filesystem::create_directories(out);
            const auto start = std::chrono::steady_clock::now();
            const double startCpu = ThreadCpuSeconds();
            std::string error;
            if (exporting && !bench::ExportOnce(Fixture::Get().Session(), profilePath, documents, error)) {
                state.SkipWithError(error.c_str());
                return;
            }
            if (!exporting && BareWalk(database, walkOut) != documents) {
                state.SkipWithError("the bare walk did not write every document's files");
                return;
            }
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            (exporting ? exportSeconds : walkSeconds) += seconds;
            (exporting ? exportCpu : walkCpu) += ThreadCpuSeconds() - startCpu;
        }
        exportFirst = !exportFirst;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["export_ms"] = 1000 * exportSeconds / n;
    state.counters["bare_walk_ms"] = 1000 * walkSeconds / n;
    state.counters["ratio"] = exportSeconds / walkSeconds;
    state.counters["cpu_ratio"] = exportCpu / walkCpu;
    state.counters["export_mb_s"] =
        static_cast<double>(fixture.AttachmentBytes()) / 1e6 / (exportSeconds / n);
    std::filesystem::remove_all(exportOut);
    std::filesystem::remove_all(walkOut);
}

BENCHMARK(BM_AttachmentExportAgainstBareWalk)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
