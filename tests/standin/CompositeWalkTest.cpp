// The composite-data walk through the runtime's EnumCompositeBuffer (header kinds, padding, damaged
// and truncated values) and the packed-structure services ODSLength and ODSReadMemory.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "notes/capi/CompositeRecords.h"
#include "notes/capi/NotesCApi.h"
#include "support/TestSupport.h"

namespace {

using testsupport::Standin;
namespace nc = notes::cd;

#define NOTES_FN(name) (Standin::Get().Fn<decltype(&::name)>(#name))

std::string Hex(const char *hex) {
    std::string out;
    for (const char *p = hex; p[0] != '\0' && p[1] != '\0'; p += 2) {
        if (*p == ' ') {
            --p;
            continue;
        }
        unsigned v = 0;
        std::sscanf(p, "%2x", &v);
        out.push_back(static_cast<char>(v));
    }
    return out;
}

struct WalkResult {
    STATUS status = 0;
    std::string trace;
};

// Walks a value (type word first) held in a memory handle; the trace lists "sig/len" per record.
WalkResult Walk(const std::string &value, STATUS stopAt = 0) {
    WalkResult result;
    struct Ctx {
        std::string *trace;
        STATUS stopAt;
    } ctx{&result.trace, stopAt};
    DHANDLE h = Standin::Get().Fn<StandinAllocMemoryFn>("StandinAllocMemory")(
        value.data(), static_cast<DWORD>(value.size()));
    auto action = [](char *, WORD sig, DWORD len, void *p) -> STATUS {
        Ctx *c = static_cast<Ctx *>(p);
        char line[32];
        std::snprintf(line, sizeof line, "%04X/%u ", sig, len);
        *c->trace += line;
        return c->trace->size() > 30 ? c->stopAt : 0;
    };
    result.status =
        NOTES_FN(EnumCompositeBuffer)(BLOCKID{h, 0}, static_cast<DWORD>(value.size()), action, &ctx);
    EXPECT_EQ(NOTES_FN(OSMemFree)(h), 0);
    return result;
}

class CompositeWalk : public ::testing::Test {
protected:
    void TearDown() override {
        Standin::Get().ClearFaults();
        testsupport::ExpectNothingLeft();
    }
};

TEST_F(CompositeWalk, HeaderKindsPaddingAndDamagedValues) {
    struct Case {
        const char *name;
        std::string hex;  // the value, type word first
        STATUS status;
        const char *trace;
    } cases[] = {
        {"byte, word and long records", "0100 8102 85ff0800 0100000a 7d001c000000" + std::string(44, '0'), 0,
         "0081/2 FF85/8 007D/28 "},
        {"odd word record is padded", "0100 85ff0900 0100000a 41 00 8102", 0, "FF85/9 0081/2 "},
        {"odd last record without its pad byte", "0100 8102 85ff0900 0100000a 41", 0, "0081/2 FF85/9 "},
        {"empty value", "0100", 0, ""},
        {"header cut short", "0100 8102 85ff08", 0x3E60, "0081/2 "},
        {"record runs past the value", "0100 8102 85ff2000 0100000a", 0x3E60, "0081/2 "},
        {"long record runs past the value", "0100 99000000 0100", 0x3E60, ""},
        {"zero-length word record", "0100 8102 85ff0000 8102", 0x3E61, "0081/2 "},
        {"byte record shorter than its header", "0100 8101", 0x3E61, ""},
        {"not a composite value", "0005 4142", notes::kErrDataType, ""},
    };
    for (const Case &c : cases) {
        WalkResult r = Walk(Hex(c.hex.c_str()));
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.trace, c.trace) << c.name;
    }
}

TEST_F(CompositeWalk, ActionStatusStopsTheWalk) {
    std::string value = Hex("0100");
    for (int i = 0; i < 10; ++i) {
        value += Hex("8102");
    }
    WalkResult r = Walk(value, 0x1234);
    EXPECT_EQ(r.status, 0x1234);
    EXPECT_EQ(r.trace, "0081/2 0081/2 0081/2 0081/2 0081/2 ");
}

TEST_F(CompositeWalk, ValueBeyondItsBlockAndFaultsAreRefused) {
    std::string value = Hex("0100 8102");
    DHANDLE h = Standin::Get().Fn<StandinAllocMemoryFn>("StandinAllocMemory")(value.data(), 4);
    auto action = [](char *, WORD, DWORD, void *) -> STATUS { return 0; };
    EXPECT_EQ(NOTES_FN(EnumCompositeBuffer)(BLOCKID{h, 0}, 5, action, nullptr), 0x3E60);
    EXPECT_EQ(NOTES_FN(EnumCompositeBuffer)(BLOCKID{h, 3}, 4, action, nullptr), 0x3E60);
    Standin::Get().Fn<StandinSetFaultFn>("StandinSetFault")("EnumCompositeBuffer", 1, 0x0401, 0);
    EXPECT_EQ(NOTES_FN(EnumCompositeBuffer)(BLOCKID{h, 0}, 4, action, nullptr), 0x0401);
    EXPECT_EQ(NOTES_FN(EnumCompositeBuffer)(BLOCKID{h, 0}, 4, action, nullptr), 0);
    EXPECT_EQ(NOTES_FN(OSMemFree)(h), 0);
}

TEST_F(CompositeWalk, OdsLengthsAreThePackedSizes) {
    struct Case {
        WORD type;
        WORD length;
    } cases[] = {
        {nc::kOdsFileObject, 36},
        {nc::kOdsCdText, 8},
        {nc::kOdsCdPabDefinition, 70},
        {nc::kOdsCdTableCell, 18},
        {nc::kOdsCdTableBegin, 14},
        {nc::kOdsCdTableEnd, 6},
        {nc::kOdsCdGraphic, 28},
        {nc::kOdsCdImageHeader, 28},
        {nc::kOdsCdBitmapHeader, 38},
        {nc::kOdsCdFace, 34},
        {nc::kOdsCdLinkExport2, 44},
        {nc::kOdsCdHotspotBegin, 12},
        {nc::kOdsCdBar, 12},
        {nc::kOdsCdAltText, 12},
        {nc::kOdsCdBitmapSegment, 18},
        {nc::kOdsCdParagraph, 2},
        {nc::kOdsCdPabReference, 4},
        {nc::kOdsCdImageSegment, 10},
        {0x7FFF, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(NOTES_FN(ODSLength)(c.type), c.length) << c.type;
    }
    Standin::Get().Fn<StandinSetFaultFn>("StandinSetFault")("ODSLength", 1, 0x0401, 0);
    EXPECT_EQ(NOTES_FN(ODSLength)(nc::kOdsCdText), 0);  // a failed call has no length
}

TEST_F(CompositeWalk, OdsReadMemoryFillsHostStructuresAndAdvances) {
    std::string packed =
        Hex("0000 01000000 0800 0000 0000 2000 0000 2a000000 11111111 22222222 33333333 44444444"
            "a412 0302 1400 3c00 a005 21 03 4321 02 01 0500");
    const char *p = packed.data();
    FILEOBJECT file{};
    NOTES_FN(ODSReadMemory)(&p, nc::kOdsFileObject, &file, 1);
    EXPECT_EQ(p, packed.data() + 36);
    EXPECT_EQ(file.Header.RRV, 1u);
    EXPECT_EQ(file.FileNameLength, 8);
    EXPECT_EQ(file.FileAttributes, 0x20);
    EXPECT_EQ(file.FileSize, 42u);
    EXPECT_EQ(file.FileModified.Innards[1], 0x44444444u);
    CDTABLECELL cell{};
    NOTES_FN(ODSReadMemory)(&p, nc::kOdsCdTableCell, &cell, 1);
    EXPECT_EQ(cell.Row, 3);
    EXPECT_EQ(cell.Column, 2);
    EXPECT_EQ(cell.RightMargin, 0x3C);
    EXPECT_EQ(cell.FractionalWidth, 0x5A0);
    EXPECT_EQ(cell.Flags, 3);
    EXPECT_EQ(cell.v42Border, 0x2143);
    EXPECT_EQ(cell.ColumnSpan, 1);
    EXPECT_EQ(cell.BackgroundColor, 5);
}

}  // namespace
