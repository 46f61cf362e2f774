// Composite data made by the runtime (compound text through a form, text items as paragraphs, a body
// written to a file), Notes bitmaps to GIF, fault injection on each of these entry points, and the RTF
// export filter read back with the tests' own RTF reader.
#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "DbFixture.h"
#include "RtfReader.h"
#include "cd/Image.h"
#include "cd/Records.h"
#include "dxl/Base64.h"
#include "notes/capi/CompositeRecords.h"
#include "notes/capi/RtfExportFilter.h"

namespace {

using dbtest::DbFixture;
using testsupport::Standin;
namespace nc = notes::cd;

std::string Gif() {
    standin::cd::Image image;
    image.width = 2;
    image.height = 2;
    image.pixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    std::string gif;
    EXPECT_TRUE(standin::cd::EncodeGif(image, gif));
    return gif;
}

// The start of a structured-storage file, as an OLE object's $FILE holds it.
std::string OleStorage() {
    return std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0') + "storage";
}

std::string Database() {
    std::string gif = standin::dxl::EncodeBase64(Gif());
    return "<?xml version='1.0'?><database xmlns='http://www.lotus.com/dxl' title='Rich'>"
           "<form name='Memo|memo'><body><richtext><pardef id='1'/><par def='1'>Subject: <field "
           "name='Subject'"
           " type='text'/></par><par def='1'><field name='Body' "
           "type='richtext'/></par></richtext></body></form>"
           "<document form='Memo'><noteinfo noteid='64'/><item name='Subject'><text>Hello</text></item>"
           "<item name='Body'><richtext><pardef id='1'/><par def='1'><run><font style='bold' "
           "size='14pt'/>Quarterly"
           " report</run></par><par def='1'>Plain, <run><font style='italic'/>italic</run> and a"
           " <urllink href='https://example.org/'><run>link</run></urllink>.</par>"
           "<table><tablecolumn width='2in'/><tablecolumn width='2in'/><tablerow><tablecell "
           "bgcolor='yellow'><par>"
           "Region</par></tablecell><tablecell><par>Sales</par></tablecell></tablerow><tablerow>"
           "<tablecell columnspan='2'><par>All</par></tablecell></tablerow></table>"
           "<section expanded='true'><sectiontitle><text>Details</text></sectiontitle><par>Inside</par>"
           "<par><picture width='2' height='2'><gif>" +
           gif +
           "</gif></picture></par></section><par><doclink database='85257EF7006D0765'"
           " view='96DE510EB262D380852585B200471CB2' document='F41F9DD65559E93B852585B30059F787'"
           " description='Other doc'/></par><par>The end.</par></richtext></item>"
           "<item name='Lines'><text>one</text></item><item name='Count'><number>3</number></item>"
           "<item name='$FILE'><object><file hosttype='bytearrayext' compression='none' encoding='none'"
           " name='EXT41250'><filedata>" +
           standin::dxl::EncodeBase64(OleStorage()) +
           "</filedata></file></object></item></document>"
           "<document form='Missing'><noteinfo noteid='68'/><item name='Subject'><text>Bye</text></item>"
           "<item name='Body'><richtext><par>Body text</par></richtext></item></document></database>";
}

bool FileExists(const std::string &path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

std::size_t Entries(const std::string &dir) {
    std::size_t n = 0;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d)) {
            n += e->d_name[0] != '.' ? 1 : 0;
        }
        closedir(d);
    }
    return n;
}

// Expects the counters as they were: every failure released what it took.
void ExpectCounters(const StandinCounters &before) {
    StandinCounters now = Standin::Get().Counters();
    EXPECT_EQ(now.databases, before.databases);
    EXPECT_EQ(now.notes, before.notes);
    EXPECT_EQ(now.memory, before.memory);
    EXPECT_EQ(now.locks, before.locks);
}

// The text runs of composite records (a leading type word is skipped).
std::vector<std::string> Runs(std::string_view records) {
    if (records.size() >= 2 && standin::cd::Word(records, 0) == notes::kTypeComposite) {
        records.remove_prefix(2);
    }
    std::vector<std::string> runs;
    (void)standin::cd::WalkRecords(records, [&](const standin::cd::Record &r) {
        if (r.signature == nc::kSigText && r.length > nc::kTextChars) {
            runs.emplace_back(standin::cd::RecordBytes(records, r).substr(nc::kTextChars));
        }
        return true;
    });
    return runs;
}

class CompoundRtf : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        StartSession();
        testsupport::WriteFile(m_dir.File("rich.nsf"), Database());
        m_db = Open("rich.nsf");
    }
    void TearDown() override {
        if (m_note != 0) {
            NOTES_FN(NSFNoteClose)(m_note);
        }
        if (m_db != 0) {
            NOTES_FN(NSFDbClose)(m_db);
        }
        DbFixture::TearDown();
    }
    NOTEHANDLE Note(NOTEID id) {
        if (m_note != 0) {
            NOTES_FN(NSFNoteClose)(m_note);
        }
        EXPECT_EQ(NOTES_FN(NSFNoteOpen)(m_db, id, 0, &m_note), 0);
        return m_note;
    }
    // Renders a note through compound text; the buffer's bytes, or the status that failed.
    STATUS Render(NOTEID id, std::string &data) {
        DHANDLE ct = 0;
        STATUS s = NOTES_FN(CompoundTextCreate)(0, nullptr, &ct);
        if (s != 0) {
            return s;
        }
        s = NOTES_FN(CompoundTextAddRenderedNote)(ct, Note(id), 0, 0);
        DHANDLE buffer = 0;
        DWORD size = 0;
        char file[256] = {};
        if (s == 0) {
            s = NOTES_FN(CompoundTextClose)(ct, &buffer, &size, file, sizeof file);
        }
        if (s != 0) {
            NOTES_FN(CompoundTextDiscard)(ct);
            return s;
        }
        data.assign(static_cast<char *>(NOTES_FN(OSLockObject)(buffer)), size);
        NOTES_FN(OSUnlockObject)(buffer);
        NOTES_FN(OSMemFree)(buffer);
        return 0;
    }
    DBHANDLE m_db = 0;
    NOTEHANDLE m_note = 0;
};

TEST_F(CompoundRtf, NotesRenderThroughTheirFormOrAsNamedValues) {
    std::string data;
    ASSERT_EQ(Render(100, data), 0);
    std::vector<std::string> runs = Runs(data);
    ASSERT_GE(runs.size(), 3u);
    EXPECT_EQ(runs[0], "Subject: ");
    EXPECT_EQ(runs[1], "Hello");  // the field filled with the item
    EXPECT_EQ(runs[2], "Quarterly report");
    ASSERT_EQ(Render(104, data), 0);  // its form is not in the database
    runs = Runs(data);
    ASSERT_GE(runs.size(), 3u);
    EXPECT_EQ(runs[0], "Subject: Bye");
    EXPECT_EQ(runs[1], "Form: Missing");
    EXPECT_EQ(runs.back(), "Body text");
}

TEST_F(CompoundRtf, TextItemsBecomeParagraphsAndBodiesFiles) {
    NOTEHANDLE note = Note(100);
    std::string text = std::string("\x00\x05", 2) + "one\r\ntwo\r\nthree";
    DHANDLE value = Standin::Get().Fn<StandinAllocMemoryFn>("StandinAllocMemory")(
        text.data(), static_cast<DWORD>(text.size()));
    DHANDLE buffer = 0;
    DWORD len = 0;
    char crlf[] = "\r\n";
    ASSERT_EQ(NOTES_FN(ConvertItemToComposite)(BLOCKID{value, 0}, static_cast<DWORD>(text.size()), 0x0A000001,
                                               crlf, 0, &buffer, &len),
              0);
    std::string records(static_cast<char *>(NOTES_FN(OSLockObject)(buffer)), len);
    NOTES_FN(OSUnlockObject)(buffer);
    EXPECT_EQ(Runs(records), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(NOTES_FN(OSMemFree)(buffer), 0);
    std::string number = std::string("\x00\x03", 2) + std::string(8, '\0');
    DHANDLE numberValue = Standin::Get().Fn<StandinAllocMemoryFn>("StandinAllocMemory")(number.data(), 10);
    EXPECT_EQ(NOTES_FN(ConvertItemToCompositeExt)(BLOCKID{numberValue, 0}, 10, 0x0A000001, crlf, 0, &buffer,
                                                  &len, nullptr, 0, 0),
              0x3E68);
    EXPECT_EQ(NOTES_FN(OSMemFree)(value), 0);
    EXPECT_EQ(NOTES_FN(OSMemFree)(numberValue), 0);

    std::string cd = m_dir.File("body.cd");
    DWORD size = 0;
    ASSERT_EQ(NOTES_FN(MailGetMessageBodyComposite)(note, nullptr, cd.data(), &size), 0);
    std::string file = testsupport::ReadFile(cd);
    EXPECT_EQ(file.size(), size);
    EXPECT_EQ(Runs(file)[0], "Quarterly report");
    char lines[] = "Lines";
    ASSERT_EQ(NOTES_FN(MailGetMessageBodyComposite)(note, lines, cd.data(), &size), 0);
    EXPECT_EQ(Runs(testsupport::ReadFile(cd)), (std::vector<std::string>{"one"}));
    char missing[] = "Nothing";
    std::string none = m_dir.File("none.cd");
    EXPECT_EQ(NOTES_FN(MailGetMessageBodyComposite)(note, missing, none.data(), &size),
              notes::kErrItemNotFound);
    EXPECT_FALSE(FileExists(none));
}

TEST_F(CompoundRtf, LargeCompoundTextComesBackInAPrivateFile) {
    std::string big(70000, 'x');
    testsupport::WriteFile(m_dir.File("big.nsf"),
                           "<database xmlns='http://www.lotus.com/dxl'><document><noteinfo noteid='64'/>"
                           "<item name='Body'><richtext><par>" +
                               big + "</par></richtext></item></document></database>");
    DBHANDLE db = Open("big.nsf");
    NOTEHANDLE note = 0;
    ASSERT_EQ(NOTES_FN(NSFNoteOpen)(db, 100, 0, &note), 0);
    DHANDLE ct = 0;
    ASSERT_EQ(NOTES_FN(CompoundTextCreate)(0, nullptr, &ct), 0);
    ASSERT_EQ(NOTES_FN(CompoundTextAddRenderedNote)(ct, note, 0, 0), 0);
    DHANDLE buffer = 1;
    DWORD size = 0;
    char file[256] = {};
    ASSERT_EQ(NOTES_FN(CompoundTextClose)(ct, &buffer, &size, file, sizeof file), 0);
    EXPECT_EQ(buffer, 0u);
    struct stat st {};
    ASSERT_EQ(stat(file, &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    std::string data = testsupport::ReadFile(file);
    EXPECT_EQ(data.size(), size);
    EXPECT_EQ(data.substr(0, 2), std::string("\x01\x00", 2));
    std::remove(file);
    NOTES_FN(NSFNoteClose)(note);
    NOTES_FN(NSFDbClose)(db);
}

// Bitmap records built by hand: header, transparency, colour table and one segment.
std::vector<std::string> BitmapRecords(WORD bitsPerPixel, const std::string &colors,
                                       const std::string &segment, WORD scanlines, bool whiteIsClear) {
    auto record = [](BYTE sig, const std::string &body) {
        std::string r(1, static_cast<char>(sig));
        r.push_back('\0');
        DWORD len = static_cast<DWORD>(6 + body.size());
        for (int i = 0; i < 4; ++i) {
            r.push_back(static_cast<char>(len >> (8 * i)));
        }
        return r + body;
    };
    auto word = [](WORD v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; };
    std::string header = word(3) + word(2) + std::string(12, '\0') + word(3) + word(2) + word(bitsPerPixel) +
                         word(bitsPerPixel == 16 ? 3 : 1) + word(bitsPerPixel == 16 ? 5 : bitsPerPixel) +
                         word(1) + word(static_cast<WORD>(colors.size() / 3)) + word(0);
    std::vector<std::string> out = {record(0x95, header)};
    if (whiteIsClear) {
        out.push_back(record(0xC5, word(0) + word(1) + "\xff\xff\xff"));
    }
    if (!colors.empty()) {
        out.push_back(record(0x97, colors));
    }
    out.push_back(record(
        0x96, std::string(8, '\0') + word(scanlines) + word(static_cast<WORD>(segment.size())) + segment));
    return out;
}

TEST_F(CompoundRtf, NotesBitmapsBecomeGifsOfTheirPixels) {
    const std::string colors(
        "\xff\0\0"
        "\0\xff\0"
        "\0\0\xff"
        "\xff\xff\xff",
        12);
    struct Case {
        const char *name;
        std::vector<std::string> records;
        std::vector<std::uint32_t> pixels;  // 3 x 2, rows from the top
    } cases[] = {
        {"8 bits: raw pels, then a run; white clear",
         BitmapRecords(8, colors, std::string("\x03\x00\x01\x02\xc3\x03", 6), 2, true),
         {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0, 0, 0}},
        {"1 bit: word-padded lines",
         BitmapRecords(1, std::string(), std::string("\x02\xa0\x00\x02\x40\x00", 6), 2, false),
         {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000}},
        {"16 bits: 5-5-5 colours",
         BitmapRecords(16, std::string(), std::string("\xc3\x00\x7c\xc3\x1f\x00", 6), 2, false),
         {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF}},
    };
    for (const Case &c : cases) {
        MEMHANDLE ctx = 0;
        for (const std::string &r : c.records) {
            std::string copy = r;
            ASSERT_EQ(NOTES_FN(ConvertNotesBitmapRead)(&ctx, static_cast<WORD>(static_cast<BYTE>(r[0])),
                                                       copy.data(), static_cast<DWORD>(r.size())),
                      0)
                << c.name;
        }
        struct Sink {
            std::string gif;
            DWORD largest = 0;
        } sink;
        auto writer = [](void *p, BYTE *bytes, DWORD count, DWORD) -> STATUS {
            Sink *s = static_cast<Sink *>(p);
            s->gif.append(reinterpret_cast<char *>(bytes), count);
            s->largest = std::max(s->largest, count);
            return 0;
        };
        ASSERT_EQ(NOTES_FN(ConvertNotesBitmap)(ctx, 0, 16, writer, &sink), 0) << c.name;
        EXPECT_LE(sink.largest, 16u) << c.name;
        standin::cd::Image image;
        ASSERT_TRUE(standin::cd::DecodeGif(sink.gif, image)) << c.name;
        EXPECT_EQ(image.width, 3) << c.name;
        EXPECT_EQ(image.pixels, c.pixels) << c.name;
        EXPECT_EQ(NOTES_FN(ConvertNotesBitmapFree)(&ctx), 0);
        EXPECT_EQ(ctx, 0u);
    }
}

TEST_F(CompoundRtf, EveryEntryPointCanFailAndReleasesWhatItTook) {
    auto fault = Standin::Get().Fn<StandinSetFaultFn>("StandinSetFault");
    Note(100);
    StandinCounters before = Standin::Get().Counters();
    const char *const kCompound[] = {"CompoundTextCreate", "CompoundTextAddRenderedNote",
                                     "CompoundTextClose"};
    for (const char *name : kCompound) {
        fault(name, 1, 0x0401, 0);
        std::string data;
        EXPECT_EQ(Render(100, data), 0x0401) << name;
        ExpectCounters(before);
    }
    NOTEHANDLE note = Note(100);
    std::string cd = m_dir.File("f.cd");
    fault("MailGetMessageBodyComposite", 1, 0x0402, 0);
    EXPECT_EQ(NOTES_FN(MailGetMessageBodyComposite)(note, nullptr, cd.data(), nullptr), 0x0402);
    EXPECT_FALSE(FileExists(cd));
    std::string text = std::string("\x00\x05", 2) + "a";
    DHANDLE value = Standin::Get().Fn<StandinAllocMemoryFn>("StandinAllocMemory")(text.data(), 3);
    DHANDLE buffer = 0;
    DWORD len = 0;
    const char *const kConvert[] = {"ConvertItemToComposite", "ConvertItemToCompositeExt"};
    for (const char *name : kConvert) {
        fault(name, 1, 0x0403, 0);
        EXPECT_EQ(NOTES_FN(ConvertItemToComposite)(BLOCKID{value, 0}, 3, 0, nullptr, 0, &buffer, &len),
                  0x0403);
    }
    EXPECT_EQ(NOTES_FN(OSMemFree)(value), 0);
    std::vector<std::string> records =
        BitmapRecords(8, std::string("\0\0\0", 3), std::string("\xc3\x00\xc3\x00", 4), 2, false);
    const char *const kBitmap[] = {"ConvertNotesBitmapRead", "ConvertNotesBitmap", "ConvertNotesBitmapFree",
                                   ""};
    for (const char *name : kBitmap) {
        fault(name, 1, 0x0404, 0);
        MEMHANDLE ctx = 0;
        STATUS s = 0;
        for (const std::string &r : records) {
            std::string copy = r;
            s = s != 0 ? s
                       : NOTES_FN(ConvertNotesBitmapRead)(&ctx, static_cast<BYTE>(r[0]), copy.data(),
                                                          static_cast<DWORD>(r.size()));
        }
        auto failing = [](void *, BYTE *, DWORD, DWORD) -> STATUS { return 0x0405; };
        s = s != 0 ? s : NOTES_FN(ConvertNotesBitmap)(ctx, 0, 0, failing, nullptr);
        bool readOrConvert =
            std::string(name) == "ConvertNotesBitmapRead" || std::string(name) == "ConvertNotesBitmap";
        EXPECT_EQ(s, readOrConvert ? 0x0404 : 0x0405) << name;
        if (ctx != 0 && NOTES_FN(ConvertNotesBitmapFree)(&ctx) != 0) {
            EXPECT_EQ(NOTES_FN(ConvertNotesBitmapFree)(&ctx), 0) << name;  // the injected failure came first
        }
        ExpectCounters(before);
    }
    fault("EnumCompositeBuffer", 1, 0x0406, 0);
    auto action = [](char *, WORD, DWORD, void *) -> STATUS { return 0; };
    EXPECT_EQ(NOTES_FN(EnumCompositeBuffer)(BLOCKID{0, 0}, 0, action, nullptr), 0x0406);
}

TEST_F(CompoundRtf, OleObjectsAreWrittenByTheirStoredName) {
    NOTEHANDLE note = Note(100);
    std::string path = m_dir.File("object.ole");
    char name[] = "EXT41250";
    char other[] = "EXT99999";
    ASSERT_EQ(NOTES_FN(NSFNoteExtractOLE2Object)(note, name, path.data(), nullptr, 1, 0), 0);
    EXPECT_EQ(testsupport::ReadFile(path), OleStorage());
    EXPECT_EQ(NOTES_FN(NSFNoteExtractOLE2Object)(note, name, path.data(), nullptr, 0, 0),
              0x3E37);  // no overwrite
    EXPECT_EQ(NOTES_FN(NSFNoteExtractOLE2Object)(note, other, path.data(), nullptr, 1, 0), 0x3E39);
    std::string fresh = m_dir.File("fresh.ole");
    Standin::Get().Fn<StandinSetFaultFn>("StandinSetFault")("NSFNoteExtractOLE2Object", 1, 0x0407, 0);
    EXPECT_EQ(NOTES_FN(NSFNoteExtractOLE2Object)(note, name, fresh.data(), nullptr, 1, 0), 0x0407);
    EXPECT_FALSE(FileExists(fresh));
}

ExportRtfFn LoadExportRtf() {
    static void *lib = dlopen((testsupport::ProgramDir() + "/libnxrtf.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    return lib == nullptr ? nullptr : reinterpret_cast<ExportRtfFn>(dlsym(lib, notes::kExportRtfName));
}

TEST_F(CompoundRtf, RtfOfTableSectionImageAndStyledText) {
    ExportRtfFn exportRtf = LoadExportRtf();
    ASSERT_NE(exportRtf, nullptr) << dlerror();
    std::string cd = m_dir.File("~rtf.cd");
    std::string rtfPath = m_dir.File("doc.rtf");
    ASSERT_EQ(NOTES_FN(MailGetMessageBodyComposite)(Note(100), nullptr, cd.data(), nullptr), 0);
    char empty[] = "";
    ASSERT_EQ(exportRtf(cd.data(), 2, nullptr, empty, rtfPath.data()), 0);
    rtftest::RtfDocument doc = rtftest::ReadRtf(testsupport::ReadFile(rtfPath));
    EXPECT_TRUE(doc.balanced);
    ASSERT_GE(doc.paragraphs.size(), 8u);
    EXPECT_EQ(doc.paragraphs[0], "Quarterly report");
    EXPECT_EQ(doc.paragraphs[1], "Plain, italic and a link.");
    EXPECT_EQ(doc.rows, 2);
    EXPECT_EQ(doc.cells, 3);  // two cells, then one spanning both columns
    EXPECT_EQ(doc.paragraphs[2], "Region");
    EXPECT_EQ(doc.paragraphs[4], "All");
    EXPECT_EQ(doc.paragraphs[5], "Details");  // the section's title, then its body
    EXPECT_EQ(doc.paragraphs[6], "Inside");
    EXPECT_EQ(doc.pictures, (std::vector<std::string>{"pngblip"}));
    // The document link leaves the note as an exported link, so the RTF names its target.
    EXPECT_EQ(doc.links, (std::vector<std::string>{
                             "HYPERLINK \"https://example.org/\"",
                             "HYPERLINK \"notes:///85257EF7006D0765/96DE510EB262D380852585B200471CB2/"
                             "F41F9DD65559E93B852585B30059F787\""}));
    EXPECT_EQ(doc.paragraphs[doc.paragraphs.size() - 2], "Other doc");
    EXPECT_NE(doc.boldText.find("Quarterly report"), std::string::npos);
    EXPECT_EQ(doc.paragraphs.back(), "The end.");
}

TEST_F(CompoundRtf, RtfFailuresLeaveNoFileBehind) {
    ExportRtfFn exportRtf = LoadExportRtf();
    ASSERT_NE(exportRtf, nullptr);
    std::string damaged = m_dir.File("damaged.cd");
    testsupport::WriteFile(damaged, std::string("\x01\x00\x85\xff\x40\x00\x01\x00", 8));
    std::string existing = m_dir.File("existing.rtf");
    testsupport::WriteFile(existing, "old");
    std::string absent = m_dir.File("absent.cd");
    std::string noDir = m_dir.File("no/such/dir/out.rtf");
    std::string good = m_dir.File("good.cd");
    testsupport::WriteFile(good, std::string("\x01\x00\x81\x02", 4));
    std::string fresh = m_dir.File("fresh.rtf");
    struct Case {
        std::string cd;
        std::string rtf;
        STATUS status;
    } cases[] = {
        {damaged, existing, 0x3E60},
        {damaged, fresh, 0x3E60},
        {absent, fresh, 0x3E66},
        {good, noDir, 0x3E67},
    };
    for (Case &c : cases) {
        EXPECT_EQ(exportRtf(c.cd.data(), 2, nullptr, nullptr, c.rtf.data()), c.status)
            << c.cd << " " << c.rtf;
    }
    EXPECT_EQ(testsupport::ReadFile(existing), "old");
    EXPECT_FALSE(FileExists(fresh));
    EXPECT_EQ(Entries(m_dir.Path()),
              6u);  // no partial files: notes.ini, user.id, rich.nsf, three files above
}

}  // namespace
