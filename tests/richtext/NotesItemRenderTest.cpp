// Rendering the items of a stand-in document: every simple type, several items of one name, the
// separator, rich text in its text form and the found flag.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "notes/NotesDatabase.h"
#include "notes/NotesNote.h"
#include "notes/NotesSession.h"
#include "richtext/NotesItem.h"
#include "support/TestSupport.h"

namespace {

constexpr NOTEID kDocument = 0x20A;

class NotesItemRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(testsupport::SourcePath("tests/data/config/RenderItems.nsf"),
                                   m_dir.File("RenderItems.nsf"));
        std::string ini = testsupport::WriteNotesIni(m_dir.Path(), {"Directory=" + m_dir.Path()});
        ASSERT_TRUE(m_session.Start(false, testsupport::ProgramDir(), ini)) << m_session.ErrorText();
        ASSERT_TRUE(m_db.Open("", "RenderItems.nsf"));
        ASSERT_TRUE(m_note.Open(m_db.Handle(), kDocument, false));
    }
    void TearDown() override {
        m_note.Close();
        m_db.Close();
        m_session.End(true);
        testsupport::ExpectNothingLeft();
    }

    std::string Render(const std::string &name, const std::string &separator, bool *found = nullptr) {
        richtext::RenderedItem item = richtext::NotesItem::Render(m_note, name, separator, nullptr);
        if (found != nullptr) {
            *found = item.found;
        }
        return item.text;
    }

    testsupport::TempDir m_dir;
    notes::NotesSession m_session;
    notes::NotesDatabase m_db;
    notes::NotesNote m_note;
};

TEST_F(NotesItemRenderTest, SimpleTypes) {
    struct Case {
        const char *item;
        const char *separator;
        std::string text;
        bool found;
    };
    const std::vector<Case> cases = {
        {"Subject", ";", "Hello", true},
        {"subject", ";", "Hello", true},  // item names match without regard to case
        {"Tags", ", ", "a, b, c", true},
        {"Tags", "", "abc", true},
        {"Price", ";", "12", true},
        {"Prices", ", ", "1, 2.5, 3", true},
        {"Prices", "", "12.53", true},
        {"Multi", "/", "onetwo/three", true},
        {"Html", ";", "Hi\nthere\r\nA\r\nB amp; \r\nc1\r\nc2", true},
        {"Mime", ";", "Body text", true},
        {"Ref", ";", "22222222111111114444444433333333", true},
        {"Body", ";", "Rich text comes with the record walk.", true},
        {"Empty", ";", "", true},
        {"NoSuchItem", ";", "", false},
    };
    for (const Case &c : cases) {
        bool found = false;
        EXPECT_EQ(Render(c.item, c.separator, &found), c.text) << c.item << " with '" << c.separator << "'";
        EXPECT_EQ(found, c.found) << c.item;
    }
}

TEST_F(NotesItemRenderTest, TimesAndTimeLists) {
    std::string one = Render("When", ";");
    ASSERT_FALSE(one.empty());
    EXPECT_NE(one, "Invalid Date Time");
    EXPECT_NE(one.find("2024"), std::string::npos) << one;
    std::string list = Render("Times", " | ");
    std::size_t cut = list.find(" | ");
    ASSERT_NE(cut, std::string::npos) << list;
    EXPECT_EQ(list.substr(0, cut), one) << "the first entry is the same time as the single item";
    EXPECT_EQ(list.find(" | ", cut + 1), std::string::npos);
    EXPECT_FALSE(list.substr(cut + 3).empty());
}

TEST_F(NotesItemRenderTest, StateKeepsTheNoteBeingRendered) {
    richtext::NotesRtfAdvancedSettings options;
    richtext::RenderState state;
    richtext::RenderedItem item = richtext::NotesItem::Render(m_note, "Subject", ";", &options, &state);
    EXPECT_EQ(item.text, "Hello");
    EXPECT_EQ(state.Note, &m_note);
}

// A failing Notes call ends the item loop without leaving anything locked or open (the note's pool,
// once locked, stays locked until the note closes: each case opens the note afresh).
TEST_F(NotesItemRenderTest, FailingCallsEndTheLoop) {
    const STATUS kFailure = notes::kErrItemNotFound;
    struct Case {
        const char *entryPoint;
        std::string text;
        bool found;
    };
    const std::vector<Case> cases = {
        {"NSFItemInfo", "", false},
        {"NSFItemInfoNext", "one", true},     // the second item of the name is not reached
        {"OSLockObject", "two/three", true},  // the first item's value cannot be read
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(m_note.Open(m_db.Handle(), kDocument, false));
        testsupport::Standin::Get().SetFault(c.entryPoint, 1, kFailure);
        bool found = false;
        EXPECT_EQ(Render("Multi", "/", &found), c.text) << c.entryPoint;
        EXPECT_EQ(found, c.found) << c.entryPoint;
        testsupport::Standin::Get().ClearFaults();
    }
    EXPECT_EQ(Render("Multi", "/"), "onetwo/three");
}

}  // namespace
