// Memory of the stand-in runtime against the number of documents: NSFSearch over all documents of a
// generated database, opening each note and reading its ten items, and the walk of a view sorted on
// its first of ten columns. Peak RSS should stay flat from 100,000 to 1,000,000 documents (about 90 MB
// and 900 MB of DXL). Run each size in a process of its own and compare the peak_rss_kb counters:
//   bench/standinmemorybench --benchmark_filter='/100000/'
//   bench/standinmemorybench --benchmark_filter='/1000000/'
// The databases are generated once into $TMPDIR (default /tmp) as vorlix-standin-bench/<n>.nsf and
// reused by later runs; delete that folder afterwards. The runtime's note index of each open database
// also goes to an unlinked file in $TMPDIR (about 90 bytes a document).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "notes/NotesDatabase.h"
#include "notes/NotesNote.h"
#include "notes/NotesNoteCollection.h"
#include "notes/NotesSession.h"
#include "notes/NotesView.h"
#include "richtext/NotesItem.h"

namespace {

constexpr int kColumns = 10;

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

// Documents of ten items (text, numbers, a text list) and a view "Sorted" showing the ten items,
// sorted on the first, which is unique per document and out of note ID order.
bool WriteDatabase(const std::string &path, long documents) {
    const std::string partial = path + ".partial";
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(partial.c_str(), "wb"));
    if (!file) {
        return false;
    }
    std::FILE *out = file.get();
    std::fputs(
        "<?xml version='1.0' encoding='utf-8'?>\n<database xmlns='http://www.lotus.com/dxl' "
        "title='Memory' replicaid='85257A0B00BE0C22'>\n<view name='Sorted'><noteinfo noteid='11e' "
        "unid='85257A0B00BE0C22000000000000011E' sequence='1'/><code event='selection'><formula>"
        "SELECT @All</formula></code>",
        out);
    for (int c = 1; c <= kColumns; ++c) {
        std::fprintf(out, "<column itemname='Field%d'%s><columnheader title='Field%d'/></column>", c,
                     c == 1 ? " sort='ascending'" : "", c);
    }
    std::fputs("</view>\n", out);
    for (long i = 0; i < documents; ++i) {
        const unsigned long noteId = 0x8F6 + 4 * static_cast<unsigned long>(i);
        std::fprintf(out,
                     "<document form='Row'><noteinfo noteid='%lx' unid='85257A0B00BE0C22%016lX' sequence='1'>"
                     "<created><datetime>20240105T093000,00+01</datetime></created>"
                     "<modified><datetime>20240106T101500,00+01</datetime></modified></noteinfo>"
                     "<item name='Field1'><text>key %08ld</text></item>",
                     noteId, noteId, (i * 7919) % documents);
        for (int f = 2; f <= kColumns; ++f) {
            if (f == 3) {
                std::fprintf(out,
                             "<item name='Field3'><textlist><text>list %ld</text><text>entry</text>"
                             "</textlist></item>",
                             i);
            } else if (f % 2 == 0) {
                std::fprintf(out, "<item name='Field%d'><number>%ld.%02ld</number></item>", f, i * f,
                             i % 100);
            } else {
                std::fprintf(out, "<item name='Field%d'><text>document %ld, field %d</text></item>", f, i, f);
            }
        }
        std::fputs("</document>\n", out);
    }
    std::fputs("</database>\n", out);
    bool ok = std::ferror(out) == 0;
    file.reset();
    return ok && std::rename(partial.c_str(), path.c_str()) == 0;
}

class Fixture {
public:
    static Fixture &Get() {
        static Fixture fixture;
        return fixture;
    }

    // The database of that many documents, generated on first use (file name in the data directory).
    std::string Database(long documents) {
        const std::string name = std::to_string(documents) + ".nsf";
        struct stat st {};
        if (stat((m_dir + "/" + name).c_str(), &st) != 0 && !WriteDatabase(m_dir + "/" + name, documents)) {
            std::fprintf(stderr, "cannot write %s\n", name.c_str());
            std::exit(1);
        }
        return name;
    }

private:
    Fixture() {
        const char *tmp = std::getenv("TMPDIR");
        m_dir = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vorlix-standin-bench";
        std::filesystem::create_directories(m_dir);
        const std::string ini = m_dir + "/notes.ini";
        std::unique_ptr<std::FILE, FileCloser> file(std::fopen(ini.c_str(), "w"));
        if (file) {
            std::fprintf(file.get(), "[Notes]\nDirectory=%s\n", m_dir.c_str());
        }
        file.reset();
        if (!m_session.Start(false, VORLIX_PROGRAM_DIR, ini, nullptr)) {
            std::fprintf(stderr, "cannot start the Notes session: %s\n", m_session.ErrorText().c_str());
            std::exit(1);
        }
    }
    ~Fixture() { m_session.End(false); }

    std::string m_dir;
    notes::NotesSession m_session;
};

void Report(benchmark::State &state, long documents) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_kb"] = static_cast<double>(usage.ru_maxrss);
    state.counters["docs_per_s"] =
        benchmark::Counter(static_cast<double>(documents), benchmark::Counter::kIsIterationInvariantRate);
}

std::size_t ReadItems(notes::NotesNote &note) {
    std::size_t bytes = 0;
    for (int c = 1; c <= kColumns; ++c) {
        bytes += richtext::NotesItem::Render(note, "Field" + std::to_string(c), ";", nullptr).text.size();
    }
    return bytes;
}

void BM_SearchOpenEveryNote(benchmark::State &state) {
    const long documents = state.range(0);
    const std::string database = Fixture::Get().Database(documents);
    for (auto _ : state) {
        notes::NotesDatabase db;
        if (!db.Open("", database)) {
            state.SkipWithError(db.LastError().c_str());
            return;
        }
        std::unique_ptr<notes::NotesNoteCollection> all = db.SearchToCollection("");
        if (!all) {
            state.SkipWithError(db.LastError().c_str());
            return;
        }
        std::size_t bytes = 0;
        for (bool more = all->First(); more; more = all->Next()) {
            bytes += ReadItems(all->Current());
        }
        benchmark::DoNotOptimize(bytes);
        if (all->Visited() != static_cast<DWORD>(documents)) {
            state.SkipWithError("the search did not find every document");
            return;
        }
    }
    Report(state, documents);
}

void BM_WalkSortedView(benchmark::State &state) {
    const long documents = state.range(0);
    const std::string database = Fixture::Get().Database(documents);
    for (auto _ : state) {
        notes::NotesDatabase db;
        if (!db.Open("", database)) {
            state.SkipWithError(db.LastError().c_str());
            return;
        }
        std::unique_ptr<notes::NotesView> view = db.OpenView("Sorted");
        if (!view) {
            state.SkipWithError(db.LastError().c_str());
            return;
        }
        long walked = 0;
        for (NOTEID id = view->First(); id != 0; id = view->Next()) {
            ++walked;
        }
        if (walked != documents) {
            state.SkipWithError("the walk did not see every document");
            return;
        }
    }
    Report(state, documents);
}

BENCHMARK(BM_SearchOpenEveryNote)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_WalkSortedView)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
