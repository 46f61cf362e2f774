// The stand-in runtime's core entry points through the C API: translation limits, character
// boundaries, memory handles, ID tables, messages, times, numbers and start-up from notes.ini.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <cstring>
#include <set>
#include <vector>

#include "notes/capi/NotesCApi.h"
#include "support/TestSupport.h"

namespace {

using testsupport::Standin;

template <typename F>
F Fn(const char *name) {
    return Standin::Get().Fn<F>(name);
}

#define NOTES_FN(name) Fn<decltype(&::name)>(#name)

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) {
        s.push_back(static_cast<char>(v));
    }
    return s;
}

class StandinCoreTest : public ::testing::Test {
protected:
    void TearDown() override {
        Standin::Get().ClearFaults();
        NOTES_FN(NotesTerm)();
        unsetenv("TZ");
        tzset();
        testsupport::ExpectNothingLeft();
    }
    void SetZone(const char *zone) {
        setenv("TZ", zone, 1);
        tzset();
    }
};

TEST_F(StandinCoreTest, TranslateNeverWritesPastTheOutputAndCutsAtACharacter) {
    auto translate = NOTES_FN(OSTranslate);
    std::u16string devanagari = u"a\u0910";  // LMBCS 61 14 09 10
    std::u16string pair = u"\U00023456";     // LMBCS 14 D8 4D 14 DC 56
    std::string lmbcsPair = Bytes({0x14, 0xD8, 0x4D, 0x14, 0xDC, 0x56});
    struct Case {
        WORD mode;
        std::string input;
        WORD outLen;
        std::string output;
    } cases[] = {
        {notes::kTranslateUnicodeToLmbcs, std::string(reinterpret_cast<const char *>(devanagari.data()), 4),
         3, "a"},
        {notes::kTranslateUnicodeToLmbcs, std::string(reinterpret_cast<const char *>(devanagari.data()), 4),
         4, Bytes({0x61, 0x14, 0x09, 0x10})},
        {notes::kTranslateUnicodeToLmbcs, std::string(reinterpret_cast<const char *>(devanagari.data()), 3),
         9, "a"},
        {notes::kTranslateLmbcsToUnicode, "abc", 5, std::string("a\0b\0", 4)},
        {notes::kTranslateLmbcsToUnicode, lmbcsPair, 3, ""},
        {notes::kTranslateLmbcsToUnicode, lmbcsPair, 4,
         std::string(reinterpret_cast<const char *>(pair.data()), 4)},
        {notes::kTranslateLmbcsToUtf8, Bytes({0x81, 0x81}), 3, "\xC3\xBC"},
        {notes::kTranslateUtf8ToLmbcs, "\xC3\xBC\xE0\xA4\x90", 3, "\x81"},
        {notes::kTranslateNativeToLmbcs, "\xC3\xBC", 8, "\x81"},
        {notes::kTranslateLmbcsToNative, "\x81z", 8, "\xC3\xBCz"},
        {notes::kTranslateLowerToUpper, "abc\x81", 8, "ABC\x9A"},
        {notes::kTranslateUpperToLower, "ABC\x9A", 8, "abc\x81"},
        {notes::kTranslateUnaccent, "\x81\xA0x", 8, "uax"},
        {99, "abc", 8, ""},
        {notes::kTranslateLmbcsToUtf8, "abc", 0, ""},
    };
    for (const Case &c : cases) {
        std::string out(c.outLen + 4, '#');
        WORD n = translate(c.mode, c.input.data(), static_cast<WORD>(c.input.size()), out.data(), c.outLen);
        EXPECT_EQ(std::string(out.data(), n), c.output) << "mode " << c.mode << " outLen " << c.outLen;
        EXPECT_EQ(out.substr(c.outLen), "####") << "mode " << c.mode << " wrote past its output";
    }
    EXPECT_EQ(translate(notes::kTranslateLmbcsToUtf8, nullptr, 3, nullptr, 8), 0);
}

TEST_F(StandinCoreTest, GotoPrevBacksOverOneCharacter) {
    auto gotoPrev = NOTES_FN(NLS_goto_prev);
    NLS_PINFO info = NOTES_FN(OSGetLMBCSCLS)();
    ASSERT_NE(info, nullptr);
    // a | 14 09 10 | 10 88 A0 | 01 29 | b. Only bytes before the position are read, so a double-byte
    // group cut right after its group byte reports two bytes.
    std::string text = Bytes({0x61, 0x14, 0x09, 0x10, 0x10, 0x88, 0xA0, 0x01, 0x29, 0x62});
    auto *start = reinterpret_cast<BYTE *>(text.data());
    struct Case {
        std::size_t from;
        std::size_t to;
        WORD length;
    } cases[] = {
        {10, 9, 1}, {9, 7, 2}, {8, 7, 2}, {7, 4, 3}, {6, 4, 3}, {5, 4, 2}, {4, 1, 3}, {2, 1, 3}, {1, 0, 1},
    };
    for (const Case &c : cases) {
        BYTE *p = start + c.from;
        EXPECT_EQ(gotoPrev(&p, start, info), c.length) << "from " << c.from;
        EXPECT_EQ(static_cast<std::size_t>(p - start), c.to) << "from " << c.from;
    }
    BYTE *p = start;
    EXPECT_EQ(gotoPrev(&p, start, info), 0) << "nothing before the start";
    EXPECT_EQ(p, start);
    EXPECT_EQ(gotoPrev(nullptr, start, info), 0);
    p = start + 3;
    EXPECT_EQ(gotoPrev(&p, nullptr, info), 0);
}

TEST_F(StandinCoreTest, IdTablesKeepIdsInAscendingOrderAndCountAsMemory) {
    DHANDLE table = 0;
    ASSERT_EQ(NOTES_FN(IDCreateTable)(4, &table), 0);
    EXPECT_EQ(Standin::Get().Counters().memory, 1u);
    for (DWORD id : {0x20u, 0x8u, 0x80000004u, 0x8u}) {
        BOOL inserted = 0;
        EXPECT_EQ(NOTES_FN(IDInsert)(table, id, &inserted), 0);
    }
    BOOL inserted = 1;
    EXPECT_EQ(NOTES_FN(IDInsert)(table, 0x20, &inserted), 0);
    EXPECT_EQ(inserted, 0) << "a duplicate is not inserted";
    EXPECT_EQ(NOTES_FN(IDEntries)(table), 3u);
    std::vector<DWORD> seen;
    DWORD id = 0;
    for (BOOL first = 1; NOTES_FN(IDScan)(table, first, &id); first = 0) {
        seen.push_back(id);
    }
    EXPECT_EQ(seen, (std::vector<DWORD>{0x8, 0x20, 0x80000004}));
    // Thousands of IDs in one 64K range (held as a bitmap from 4,096 on), inserted out of order, and
    // IDs at the edges of ranges: the scan still gives each once, ascending.
    std::set<DWORD> expected(seen.begin(), seen.end());
    std::vector<DWORD> more;
    for (DWORD k = 0; k < 5000; ++k) {
        more.push_back(0x10000 + 4 * ((k * 7919) % 5000));
    }
    more.insert(more.end(), {0xFFFFu, 0x1FFFFu, 0x20000u, 0xFFFFFFFFu, 0x10000u});
    for (DWORD add : more) {
        BOOL fresh = 0;
        EXPECT_EQ(NOTES_FN(IDInsert)(table, add, &fresh), 0);
        EXPECT_EQ(fresh != 0, expected.insert(add).second) << add;
    }
    EXPECT_EQ(NOTES_FN(IDEntries)(table), expected.size());
    seen.clear();
    for (BOOL first = 1; NOTES_FN(IDScan)(table, first, &id); first = 0) {
        seen.push_back(id);
    }
    EXPECT_EQ(seen, std::vector<DWORD>(expected.begin(), expected.end()));
    EXPECT_EQ(NOTES_FN(IDDestroyTable)(table), 0);
    EXPECT_NE(NOTES_FN(IDDestroyTable)(table), 0) << "a destroyed table is gone";
    EXPECT_EQ(NOTES_FN(IDEntries)(table), 0u);
    EXPECT_EQ(NOTES_FN(IDCreateTable)(4, nullptr), 0x3E07);
    // OSMemFree releases an ID table as it releases memory.
    ASSERT_EQ(NOTES_FN(IDCreateTable)(4, &table), 0);
    EXPECT_EQ(NOTES_FN(OSMemFree)(table), 0);
}

TEST_F(StandinCoreTest, LockedMemoryIsCountedAndCannotBeFreed) {
    auto alloc = Standin::Get().Fn<StandinAllocMemoryFn>("StandinAllocMemory");
    DHANDLE h = alloc("abc", 3);
    ASSERT_NE(h, 0u);
    char *p = static_cast<char *>(NOTES_FN(OSLockObject)(h));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::string(p, 3), "abc");
    EXPECT_EQ(Standin::Get().Counters().locks, 1u);
    EXPECT_EQ(NOTES_FN(OSMemFree)(h), 0x3E22);
    EXPECT_EQ(NOTES_FN(OSUnlockObject)(h), 1);
    EXPECT_EQ(NOTES_FN(OSUnlockObject)(h), 0) << "not locked any more";
    EXPECT_EQ(NOTES_FN(OSMemFree)(h), 0);
    EXPECT_EQ(NOTES_FN(OSMemFree)(h), 0x3E03) << "a freed handle is invalid";
    EXPECT_EQ(NOTES_FN(OSLockObject)(h), nullptr);
    DHANDLE empty = alloc(nullptr, 0);
    EXPECT_NE(NOTES_FN(OSLockObject)(empty), nullptr);
    EXPECT_EQ(NOTES_FN(OSUnlockObject)(empty), 1);
    EXPECT_EQ(NOTES_FN(OSMemFree)(empty), 0);
}

TEST_F(StandinCoreTest, MessagesAreCutToTheBufferWithTheirNul) {
    auto load = NOTES_FN(OSLoadString);
    char buf[64];
    EXPECT_EQ(load(0, notes::kErrNotFound, buf, sizeof buf), std::strlen("Entry not found in index"));
    EXPECT_STREQ(buf, "Entry not found in index");
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(load(0, notes::kErrNotFound, buf, 6), 5);
    EXPECT_STREQ(buf, "Entry");
    EXPECT_EQ(buf[6], '#');
    EXPECT_EQ(load(0, 0x3DFF, buf, sizeof buf), 0);
    EXPECT_EQ(load(0, notes::kErrNotFound, buf, 0), 0);
    EXPECT_EQ(load(0, 1, buf, sizeof buf), std::strlen("Release 9.0.1FP10|November 11, 2017"));
}

TEST_F(StandinCoreTest, TimesAsAUsClientWritesThem) {
    auto convert = NOTES_FN(ConvertTIMEDATEToText);
    const TIMEDATE example{{0x006CDCC0, 0x852563FC}};  // 10 Dec 1996 2:49:04 PM EST
    struct Case {
        const char *zone;
        TIMEDATE time;
        TFMT format;
        const char *text;
    } cases[] = {
        {"EST5EDT", example, {0, 0, 0, 2}, "12/10/96 02:49:04 PM"},
        {"UTC", example, {0, 0, 0, 2}, "12/10/96 07:49:04 PM"},
        {"UTC", example, {0, 0, 2, 2}, "12/10/96 02:49:04 PM EST"},
        {"EST5EDT", example, {0, 0, 1, 2}, "12/10/96 02:49:04 PM"},
        {"UTC", example, {4, 1, 0, 2}, "12/10/1996 07:49 PM"},
        {"UTC", example, {0, 0, 0, 0}, "12/10/96"},
        {"UTC", example, {0, 2, 0, 1}, "07 PM"},
        {"UTC", {{0, 0x002585B3}}, {0, 0, 0, 2}, "07/28/2020 12:00:00 AM"},
        {"UTC", {{0xFFFFFFFF, 0x002585B3}}, {0, 0, 0, 2}, "07/28/2020"},
        {"UTC", {{4440000, 0x00FFFFFF}}, {0, 0, 0, 2}, "12:20:00 PM"},
    };
    for (const Case &c : cases) {
        SetZone(c.zone);
        char buf[81];
        WORD len = 0;
        ASSERT_EQ(convert(nullptr, &c.format, &c.time, buf, 80, &len), 0) << c.text;
        EXPECT_EQ(std::string(buf, len), c.text);
    }
    SetZone("UTC");
    char buf[81];
    WORD len = 0;
    ASSERT_EQ(convert(nullptr, nullptr, &example, buf, 80, &len), 0);
    EXPECT_EQ(std::string(buf, len), "12/10/96 07:49:04 PM") << "null format: date and time in full";
    const TIMEDATE badTicks{{9000000, 0x002563FC}};
    EXPECT_EQ(convert(nullptr, nullptr, &badTicks, buf, 80, &len), 0x3E23);
    ASSERT_EQ(convert(nullptr, nullptr, &example, buf, 5, &len), 0);
    EXPECT_EQ(len, 5);
}

TEST_F(StandinCoreTest, NumbersAsAUsClientWritesThem) {
    struct Case {
        double value;
        NFMT format;
        const char *text;
    } cases[] = {
        {3.5, {0, 0, 0, 0}, "3.5"},
        {-1234567, {0, 0, 0, 0}, "-1234567"},
        {1234567.891, {2, 1, 1, 0}, "1,234,567.89"},
        {0.125, {1, 1, 4, 0}, "12.5%"},
        {-42, {2, 3, 2, 0}, "($42.00)"},
        {1500, {2, 2, 0, 0}, "1.50E+03"},
        {1e20, {0, 0, 0, 0}, "1E+20"},
        {0, {0, 0, 0, 0}, "0"},
    };
    auto convert = NOTES_FN(ConvertFLOATToText);
    for (const Case &c : cases) {
        double value = c.value;
        char buf[41];
        WORD len = 0;
        ASSERT_EQ(convert(nullptr, &c.format, &value, buf, 40, &len), 0);
        EXPECT_EQ(std::string(buf, len), c.text);
    }
}

TEST_F(StandinCoreTest, ZonesAndCalendarFields) {
    SetZone("EST5EDT");
    int zone = -1, dst = -1;
    NOTES_FN(OSCurrentTimeZone)(&zone, &dst);
    EXPECT_EQ(zone, 5);
    EXPECT_EQ(dst, 1);
    SetZone("IST-5:30");
    NOTES_FN(OSCurrentTimeZone)(&zone, &dst);
    EXPECT_EQ(zone, -205) << "east of GMT is negative, quarter hours count by 100";
    EXPECT_EQ(dst, 0);

    TIME t{};
    t.GM = TIMEDATE{{0x006CDCC0, 0x852563FC}};
    EXPECT_EQ(NOTES_FN(TimeGMToLocalZone)(&t), 0);
    EXPECT_EQ(std::tie(t.year, t.month, t.day, t.weekday, t.hour, t.minute, t.second),
              std::make_tuple(1996, 12, 10, 3, 19, 49, 4));
    t.zone = 5;
    EXPECT_EQ(NOTES_FN(TimeGMToLocalZone)(&t), 0);
    EXPECT_EQ(t.hour, 14);
    EXPECT_NE(NOTES_FN(TimeGMToLocalZone)(nullptr), 0);

    TIMEDATE built{};
    NOTES_FN(TimeConstruct)(2450428, 7134400, &built);
    EXPECT_EQ(built.Innards[0], 0x006CDCC0u);
    EXPECT_EQ(built.Innards[1], 0x002563FCu);
}

TEST_F(StandinCoreTest, StartUpReadsNotesIniAndTheIdFile) {
    testsupport::TempDir dir;
    testsupport::WriteFile(dir.File("user.id"), "UserName=CN=Jo/O=Acme\nKey=Sales\n");
    testsupport::WriteFile(dir.File("nameless.id"), "Password=x\n");
    auto initIni = NOTES_FN(NotesInitIni);
    struct Case {
        std::vector<std::string> lines;
        STATUS status;
    } cases[] = {
        {{"Directory=" + dir.Path()}, 0},
        {{"Directory=" + dir.Path(), "KeyFilename=user.id"}, 0},
        {{"Directory=" + dir.Path(), "KeyFilename=" + dir.File("user.id")}, 0},
        {{"Directory=" + dir.Path(), "KeyFilename=missing.id"}, 0x3E05},
        {{"Directory=" + dir.Path(), "KeyFilename=nameless.id"}, 0x3E21},
    };
    for (const Case &c : cases) {
        std::string ini = testsupport::WriteNotesIni(dir.Path(), c.lines);
        EXPECT_EQ(initIni(ini.data()), c.status) << c.lines.back();
        EXPECT_EQ(NOTES_FN(NotesInitThread)(), c.status == 0 ? 0 : 0x3E02)
            << "threads need a started process";
        NOTES_FN(NotesTermThread)();
        NOTES_FN(NotesTerm)();
    }
    std::string missing = dir.File("absent.ini");
    EXPECT_EQ(initIni(missing.data()), 0x3E04);

    std::string ini = testsupport::WriteNotesIni(dir.Path(), {"Directory=" + dir.Path()});
    std::string program = "vorlix", other = "-x", select = "=" + ini;
    char *argv[] = {program.data(), other.data(), select.data(), nullptr};
    EXPECT_EQ(NOTES_FN(NotesInitExtended)(3, argv), 0)
        << "the =path argument after the first selects the ini";
    NOTES_FN(NotesTerm)();
    char *onlyProgram[] = {program.data(), nullptr};
    setenv("NOTES_INI", missing.c_str(), 1);
    EXPECT_EQ(NOTES_FN(NotesInitExtended)(1, onlyProgram), 0x3E04) << "the default comes from NOTES_INI";
    unsetenv("NOTES_INI");
}

TEST_F(StandinCoreTest, FaultInjectionReachesTheCoreEntryPoints) {
    Standin::Get().SetFault("IDCreateTable", 1, 0x3E09);
    DHANDLE table = 0;
    EXPECT_EQ(NOTES_FN(IDCreateTable)(4, &table), 0x3E09);
    EXPECT_EQ(NOTES_FN(IDCreateTable)(4, &table), 0);
    EXPECT_EQ(NOTES_FN(IDDestroyTable)(table), 0);
    Standin::Get().SetFault("OSTranslate", 1, 0x3E09);
    char out[8];
    EXPECT_EQ(NOTES_FN(OSTranslate)(notes::kTranslateLmbcsToUtf8, "abc", 3, out, 8), 0);
}

}  // namespace
