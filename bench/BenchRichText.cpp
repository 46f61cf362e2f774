// HTML rendering of a large rich-text item (paragraphs of text runs in several fonts, and tables)
// against the bare EnumCompositeBuffer walk of the same value, both through the stand-in runtime in
// one process, for words that need the runtime's LMBCS conversion and for ASCII words. Throughput is in MB of
// composite data per second (bytes_per_second); the rendering should reach 100 MB/s on one core. Compare the
// two rates:
//   bench/benchrichtext --benchmark_filter='BM_' --benchmark_min_time=2s
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "notes/NotesApi.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesNote.h"
#include "notes/NotesSession.h"
#include "richtext/NotesItem.h"

namespace {

constexpr int kParagraphs = 4000;
constexpr int kTables = 200;

const char *const kAsciiWords[] = {"alpha", "Bravo", "charlie &amp; co", "Delta &lt;d&gt;", "echo", "fox",
                                   "golf",  "hotel"};
const char *const kMixedWords[] = {"alpha", "Bravo", "charlie &amp; co", "Delta &lt;d&gt;", "echo", "Müller",
                                   "Größe", "東京"};

// A document whose Body holds paragraphs of three runs each and a 3 x 3 table every 20 paragraphs;
// with ascii its words are all ASCII, else three of eight need the runtime's LMBCS conversion.
std::string RichTextDocument(const char *noteId, bool ascii) {
    std::string dxl =
        std::string("<document form='Memo'><noteinfo noteid='") + noteId +
        "' unid='85257A0B007788990000000000000" + noteId +
        "'/><item name='Body'><richtext><pardef id='1'/><pardef id='2' align='center' list='bullet'/>";
    const char *const *kWords = ascii ? kAsciiWords : kMixedWords;
    for (int p = 0; p < kParagraphs; ++p) {
        dxl += p % 2 == 0 ? "<par def='1'>" : "<par def='2'>";
        dxl += std::string("<run><font style='bold'/>") + kWords[p % 8] + " </run>";
        dxl += std::string("<run><font name='Courier New' size='12pt'/>") + kWords[(p + 3) % 8] +
               " and more </run>";
        dxl += std::string("<run><font color='#336699' style='italic'/>text of paragraph ") +
               std::to_string(p) + " with several words in it</run></par>";
        if (p % (kParagraphs / kTables) == 0) {
            dxl += "<table><tablecolumn width='1in'/><tablecolumn width='2in'/><tablecolumn width='1in'/>";
            for (int r = 0; r < 3; ++r) {
                dxl += "<tablerow>";
                for (int c = 0; c < 3; ++c) {
                    dxl += "<tablecell><par def='1'>cell " + std::to_string(r) + "," + std::to_string(c) +
                           "</par></tablecell>";
                }
                dxl += "</tablerow>";
            }
            dxl += "</table>";
        }
    }
    dxl += "</richtext></item></document>\n";
    return dxl;
}

std::string RichTextDatabase() {
    return "<?xml version='1.0' encoding='utf-8'?>\n<database xmlns='http://www.lotus.com/dxl' "
           "title='Rich'>\n" +
           RichTextDocument("20a", false) + RichTextDocument("20c", true) + "</database>\n";
}

class Fixture {
public:
    static Fixture &Get() {
        static Fixture fixture;
        return fixture;
    }
    notes::NotesNote &Note(bool ascii) { return ascii ? m_ascii : m_note; }

private:
    Fixture() {
        const char *tmp = std::getenv("TMPDIR");
        m_dir = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vorlix-bench-rt-" +
                std::to_string(::getpid());
        std::filesystem::create_directories(m_dir + "/data");
        Write(m_dir + "/notes.ini", "[Notes]\nDirectory=" + m_dir + "/data\n");
        Write(m_dir + "/data/rich.nsf", RichTextDatabase());
        if (!m_session.Start(false, VORLIX_PROGRAM_DIR, m_dir + "/notes.ini", nullptr)) {
            std::fprintf(stderr, "cannot start the Notes session: %s\n", m_session.ErrorText().c_str());
            std::exit(1);
        }
        if (!m_db.Open("", "rich.nsf") || !m_note.Open(m_db.Handle(), 0x20A, false) ||
            !m_ascii.Open(m_db.Handle(), 0x20C, false)) {
            std::fprintf(stderr, "cannot open the benchmark documents: %s\n", m_db.LastError().c_str());
            std::exit(1);
        }
    }
    ~Fixture() {
        m_note.Close();
        m_ascii.Close();
        m_db.Close();
        m_session.End(false);
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    static void Write(const std::string &path, const std::string &text) {
        std::FILE *file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            std::exit(1);
        }
        std::fclose(file);
    }

    std::string m_dir;
    notes::NotesSession m_session;
    notes::NotesDatabase m_db;
    notes::NotesNote m_note;
    notes::NotesNote m_ascii;
};

// The Body items' values walked with an action that only counts records.
std::size_t WalkBody(const notes::NotesNote &note, std::size_t &records) {
    auto &fn = notes::Api().fn;
    std::size_t bytes = 0;
    BLOCKID item{};
    BLOCKID value{};
    WORD type = 0;
    DWORD length = 0;
    STATUS status = fn.NSFItemInfo(note.Handle(), "Body", 4, &item, &type, &value, &length);
    while (status == 0) {
        auto count = [](char *, WORD, DWORD, void *ctx) -> STATUS {
            ++*static_cast<std::size_t *>(ctx);
            return 0;
        };
        (void)fn.EnumCompositeBuffer(value, length, count, &records);
        bytes += length;
        const BLOCKID after = item;
        status = fn.NSFItemInfoNext(note.Handle(), after, "Body", 4, &item, &type, &value, &length);
    }
    return bytes;
}

void BM_BareWalk(benchmark::State &state) {
    notes::NotesNote &note = Fixture::Get().Note(state.range(0) != 0);
    std::size_t bytes = 0;
    std::size_t records = 0;
    for (auto _ : state) {
        bytes = WalkBody(note, records);
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["value_bytes"] = static_cast<double>(bytes);
}

void BM_RenderHtml(benchmark::State &state) {
    notes::NotesNote &note = Fixture::Get().Note(state.range(0) != 0);
    std::size_t records = 0;
    const std::size_t bytes = WalkBody(note, records);
    richtext::NotesRtfAdvancedSettings options;
    options.RtfAdvancedOutputFormat = richtext::kOutputFormatHtml;
    options.RtfAdvancedIncludeDocElements = true;
    std::size_t out = 0;
    for (auto _ : state) {
        richtext::RenderState renderState;
        const richtext::RenderedItem item =
            richtext::NotesItem::Render(note, "Body", ";", &options, &renderState);
        out = item.text.size();
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["value_bytes"] = static_cast<double>(bytes);
    state.counters["html_bytes"] = static_cast<double>(out);
}

void BM_RenderText(benchmark::State &state) {
    notes::NotesNote &note = Fixture::Get().Note(state.range(0) != 0);
    std::size_t records = 0;
    const std::size_t bytes = WalkBody(note, records);
    richtext::NotesRtfAdvancedSettings options;
    for (auto _ : state) {
        const richtext::RenderedItem item = richtext::NotesItem::Render(note, "Body", ";", &options);
        benchmark::DoNotOptimize(item.text.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

// Argument 0: words needing LMBCS conversion; 1: ASCII words only.
BENCHMARK(BM_BareWalk)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderHtml)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
