// A database written back as DXL reads again with the same item bytes: markup characters, and every
// real DXL file both held in memory and indexed (unchanged notes copied from the source, changed ones
// written from memory).
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "dxl/Database.h"
#include "dxl/DxlReader.h"
#include "dxl/DxlWriter.h"
#include "dxl/NoteSource.h"
#include "dxl/NoteTable.h"
#include "support/TestSupport.h"

namespace {

using standin::dxl::Database;
using standin::dxl::DxlReader;
using standin::dxl::DxlWriter;
using standin::dxl::MemorySource;
using standin::dxl::Note;

const char kDatabase[] =
    "<?xml version='1.0' encoding='utf-8'?>\n"
    "<database xmlns='http://www.lotus.com/dxl' title='Write back'>\n"
    "<document form='Memo'>\n"
    "<item name='Body'><text>line one&#13;&#10;line two\tand a tab</text></item>\n"
    "<item name='Subject'><text>quotes \" and ' &amp; &lt;angles&gt;</text></item>\n"
    "</document>\n"
    "</database>\n";

TEST(DxlWriteBack, LineEndsTabsAndMarkupCharactersSurviveARoundTrip) {
    Database first;
    DxlReader reader;
    ASSERT_TRUE(reader.Read(kDatabase, "writeback.nsf", first)) << reader.LastError();
    ASSERT_EQ(first.notes.size(), 1u);

    const std::string written = DxlWriter::Write(first);
    Database second;
    DxlReader again;
    ASSERT_TRUE(again.Read(written, "writeback.nsf", second)) << again.LastError() << "\n" << written;
    ASSERT_EQ(second.notes.size(), 1u);

    for (const char *name : {"Body", "Subject"}) {
        const long a = first.notes[0].FindItem(name);
        const long b = second.notes[0].FindItem(name);
        ASSERT_GE(a, 0) << name;
        ASSERT_GE(b, 0) << name;
        EXPECT_EQ(first.notes[0].ItemValue(static_cast<std::size_t>(a)),
                  second.notes[0].ItemValue(static_cast<std::size_t>(b)))
            << name;
    }
    const long body = first.notes[0].FindItem("Body");
    EXPECT_NE(first.notes[0].ItemValue(static_cast<std::size_t>(body)).find("one\r\nline"),
              std::string::npos);
}

// Every note by ID: its class, UNID and items (name, flags, value bytes), read in full.
using Items = std::vector<std::tuple<std::string, unsigned, std::string>>;
std::map<NOTEID, std::tuple<unsigned, std::string, Items>> Snapshot(const Database &db) {
    std::map<NOTEID, std::tuple<unsigned, std::string, Items>> out;
    for (const Note &header : db.notes) {
        Note loaded;
        std::string error;
        const Note *n = db.Load(header, loaded, error);
        EXPECT_NE(n, nullptr) << error;
        if (n == nullptr) {
            continue;
        }
        Items items;
        for (std::size_t i = 0; i < n->items.size(); ++i) {
            items.emplace_back(std::string(n->ItemName(i)), n->items[i].flags, std::string(n->ItemValue(i)));
        }
        out[n->noteId] = {n->noteClass, std::string(reinterpret_cast<const char *>(&n->unid), sizeof(UNID)),
                          items};
    }
    return out;
}

// A database of many notes whose index lives in a temporary file: IDs ascending, or descending with
// a duplicate and notes without IDs, and a note kept for its Readers item. Held in memory or indexed,
// it has the same notes; a note changed after indexing is found changed and written back.
TEST(DxlWriteBack, AnIndexInATemporaryFileFindsAndWritesTheSameNotes) {
    struct Threshold {
        Threshold() { standin::dxl::RecordStore::SetSpillThreshold(64); }
        ~Threshold() { standin::dxl::RecordStore::SetSpillThreshold(65536); }
    } lowered;
    for (bool ascending : {true, false}) {
        std::string bytes =
            "<?xml version='1.0' encoding='utf-8'?>\n<database xmlns='http://www.lotus.com/dxl'>\n";
        for (int i = 0; i < 300; ++i) {
            // Descending: every seventh note has no identity, and note 150 repeats note 0's ID.
            const int id = 0x900 + 4 * (ascending ? i : i == 150 ? 299 : 299 - i);
            char info[128] = "";
            if (ascending || i % 7 != 0) {
                std::snprintf(info, sizeof info, "<noteinfo noteid='%x' unid='%032X' sequence='2'/>", id,
                              0xABC00 + i);
            }
            bytes += std::string("<document form='Row'>") + info + "<item name='N'><number>" +
                     std::to_string(i) + "</number></item>" +
                     (i == 42 ? "<item name='R' readers='true'><text>[Admin]</text></item>" : "") +
                     "</document>\n";
        }
        bytes += "</database>\n";
        Database held;
        Database indexed;
        DxlReader reader;
        ASSERT_TRUE(reader.Read(bytes, "many.nsf", held)) << reader.LastError();
        ASSERT_TRUE(reader.Index(bytes, "many.nsf", std::make_shared<MemorySource>(bytes), indexed))
            << reader.LastError();
        EXPECT_EQ(Snapshot(held), Snapshot(indexed));
        ASSERT_EQ(indexed.notes.size(), 300u);
        for (const Note &n : held.notes) {
            const Note *found = indexed.Find(n.noteId);
            ASSERT_NE(found, nullptr) << n.noteId;
            EXPECT_EQ(std::string(reinterpret_cast<const char *>(&found->unid), sizeof(UNID)),
                      std::string(reinterpret_cast<const char *>(&n.unid), sizeof(UNID)));
            const Note *byUnid = indexed.FindByUnid(n.unid);
            ASSERT_NE(byUnid, nullptr);
            EXPECT_EQ(byUnid->noteId, n.noteId);
            EXPECT_EQ(indexed.Find(n.noteId + 2), nullptr);
        }
        EXPECT_EQ(indexed.NextNoteId(), held.NextNoteId());
        const NOTEID changedId = held.notes[200].noteId;
        Note *changed = indexed.FindToChange(changedId);
        ASSERT_NE(changed, nullptr);
        changed->AddItem("Added", 0, std::string("\x00\x05", 2) + "x");
        ASSERT_NE(indexed.Find(changedId)->FindItem("Added"), -1);
        Database again;
        ASSERT_TRUE(reader.Read(DxlWriter::Write(indexed), "many.nsf", again)) << reader.LastError();
        EXPECT_EQ(Snapshot(indexed), Snapshot(again)) << (ascending ? "ascending" : "descending");
    }
}

class DxlRealWriteBack : public ::testing::TestWithParam<const char *> {};

TEST_P(DxlRealWriteBack, ReadsBackToTheSameNotesHeldInMemoryOrIndexed) {
    const std::string bytes = testsupport::ReadFile(testsupport::RealDataPath(GetParam()));
    for (bool indexed : {false, true}) {
        Database first;
        DxlReader reader;
        ASSERT_TRUE(
            reader.Index(bytes, "real.nsf", indexed ? std::make_shared<MemorySource>(bytes) : nullptr, first))
            << reader.LastError();
        // A changed note is held in memory and written from it; the others stream from the source.
        ASSERT_FALSE(first.notes.empty());
        std::string error;
        ASSERT_NE(first.MakeResident(first.notes.size() - 1, error), nullptr) << error;
        const std::string written = DxlWriter::Write(first);
        Database second;
        DxlReader again;
        ASSERT_TRUE(again.Read(written, "real.nsf", second)) << again.LastError();
        EXPECT_EQ(Snapshot(first), Snapshot(second)) << GetParam() << (indexed ? " indexed" : " in memory");
        EXPECT_EQ(first.notes.size(), second.notes.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DxlRealWriteBack,
    ::testing::Values(
        "domino-jnx/doc_calendar_notice_lists.xml", "domino-jnx/doc_certstore_signed.xml",
        "domino-jnx/doc_raw_dollarfonts.xml", "domino-jnx/doc_raw_styledtext.xml",
        "domino-jnx/doc_userdata_raw.xml", "domino-jnx/doc_xml_richtext_basicnote.xml",
        "domino-jnx/doc_xml_richtext_multiline.xml", "domino-jnx/fileresource_filedata_help_vampire.xml",
        "domino-jnx/folder_sorted_column.xml", "domino-jnx/form_items_numberlist_rawtime400.xml",
        "domino-jnx/form_v1_1987_raw_body.xml", "domino-jnx/form_xml_richtext_tables_texteffects.xml",
        "domino-jnx/imageresource_gif_help_vampire.xml", "domino-jnx/view_all_docnumber.xml",
        "domino-jnx/view_categorized_multivalue.xml", "domino-jnx/view_three_columns.xml",
        "domino-cert-manager/acme_diag_challenge.dxl", "domino-cert-manager/lab_certstore.dxl"));

}  // namespace
