// Column values for stand-in documents: fields through item rendering and the note-computed fields
// (universal ID, OLE objects, mail time).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "config/ComputedFieldCatalogue.h"
#include "config/OutputItems.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesNote.h"
#include "notes/NotesSession.h"
#include "richtext/NotesItem.h"
#include "support/TestSupport.h"

namespace {

class ColumnValuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(testsupport::SourcePath("tests/data/config/RenderItems.nsf"),
                                   m_dir.File("RenderItems.nsf"));
        std::string ini = testsupport::WriteNotesIni(m_dir.Path(), {"Directory=" + m_dir.Path()});
        ASSERT_TRUE(m_session.Start(false, testsupport::ProgramDir(), ini)) << m_session.ErrorText();
        ASSERT_TRUE(m_db.Open("", "RenderItems.nsf"));
    }
    void TearDown() override {
        m_db.Close();
        m_session.End(true);
        testsupport::ExpectNothingLeft();
    }
    std::string ItemText(const notes::NotesNote &note, const char *name) {
        return richtext::NotesItem::Render(note, name, ";", nullptr).text;
    }

    testsupport::TempDir m_dir;
    notes::NotesSession m_session;
    notes::NotesDatabase m_db;
};

TEST_F(ColumnValuesTest, NoteComputedFields) {
    struct Case {
        NOTEID id;
        std::string universalId;
        std::string hasOle;
        const char *mailTimeItem;  // the item whose time is the mail time; null: the creation time
    };
    const std::vector<Case> cases = {
        {0x20A, "0123456789ABCDEF852563FC006CDCC0", "0", nullptr},
        {0x20E, "00000000000000000000000000000001", "1", "DeliveredDate"},
        {0x212, "00000000000000000000000000000002", "0", "PostedDate"},
    };
    for (const Case &c : cases) {
        notes::NotesNote note;
        ASSERT_TRUE(note.Open(m_db.Handle(), c.id, false)) << c.id;
        config::OutputItems items;
        items.Add("%Universal_ID", config::kItemLookup, 0);
        items.Add("%Has_OLE", config::kItemLookup, 0);
        items.Add("%Mail_Time", config::kItemLookup, 0);
        EXPECT_EQ(items.Item(0).Evaluate(note, ";", nullptr), c.universalId) << c.id;
        EXPECT_EQ(items.Item(0).Value(), c.universalId) << "a computed value becomes the column's value";
        EXPECT_EQ(items.Item(1).Evaluate(note, ";", nullptr), c.hasOle) << c.id;
        std::string mailTime = items.Item(2).Evaluate(note, ";", nullptr);
        if (c.mailTimeItem != nullptr) {
            EXPECT_EQ(mailTime, ItemText(note, c.mailTimeItem)) << c.id;
        } else {
            EXPECT_EQ(mailTime, "12/10/96 07:49:04 PM") << "the time of the universal ID's note part";
        }
        note.Close();
    }
}

TEST_F(ColumnValuesTest, FieldColumnsRenderWithTheSeparator) {
    notes::NotesNote note;
    ASSERT_TRUE(note.Open(m_db.Handle(), 0x20A, false));
    config::OutputItems items;
    items.Add("Tags", config::kItemField, 0);
    items.Add("Tags", config::kItemField, 1);
    richtext::NotesRtfAdvancedSettings options;
    options.RtfAdvancedOutputFormat = richtext::kOutputFormatHtml;
    richtext::RenderState state;
    EXPECT_EQ(items.Item(0).Evaluate(note, " + ", &options, &state), "a + b + c")
        << "an unmarked column renders as text, without the column's options";
    EXPECT_EQ(state.Note, &note) << "the run's render state is used";
    EXPECT_EQ(items.Item(1).Evaluate(note, " + ", &options, &state), "a + b + c");
    note.Close();
}

TEST_F(ColumnValuesTest, FormulaColumnsCompiledOnce) {
    notes::NotesNote note;
    ASSERT_TRUE(note.Open(m_db.Handle(), 0x20A, false));
    config::OutputItems items;
    items.Add("Subject", config::kItemFormula, 0);
    items.Add("@If(", config::kItemFormula, 0);
    EXPECT_FALSE(items.PrepareFormulas());
    EXPECT_TRUE(items.Item(0).IsFormulaCompiled()) << items.Item(0).FormulaError();
    EXPECT_FALSE(items.Item(1).IsFormulaCompiled());
    EXPECT_FALSE(items.Item(1).FormulaError().empty());
    EXPECT_EQ(items.Item(0).Evaluate(note, ";", nullptr), "Hello");
    EXPECT_EQ(items.Item(1).Evaluate(note, ";", nullptr), "");
    note.Close();
}

}  // namespace
