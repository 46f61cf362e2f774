// Databases over the stand-in: opening and its failures, ownership of the handle, search selections,
// field names by both item-definition tables, design lists and copying notes.
#include <algorithm>

#include "WrapperFixture.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesNote.h"

namespace wrappertest {
namespace {

using notes::NotesDatabase;

std::vector<NOTEID> Walk(notes::NotesNoteCollection &collection) {
    std::vector<NOTEID> ids;
    for (bool more = collection.First(); more; more = collection.Next()) {
        EXPECT_TRUE(collection.Current().IsOpen()) << collection.CurrentId();
        ids.push_back(collection.CurrentId());
    }
    return ids;
}

TEST_F(WrapperTest, OpenFailuresLeaveTheDatabaseClosedWithTheirMessage) {
    struct Case {
        std::string server;
        std::string path;
        std::string fixedText;  // empty: the Notes message of the status
    };
    const Case cases[] = {
        {"", "", "Unable to open database. Null filename"},
        {"", "NoSuchFile.nsf", ""},
        {"CN=Unreachable/O=Acme", "Wrappers.nsf", ""},
        {"", std::string(300, 'x') + ".nsf", "OSPathNetConstruct error"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.server + "!!" + c.path.substr(0, 20));
        NotesDatabase db(c.server, c.path);
        EXPECT_FALSE(db.IsOpen());
        if (c.fixedText.empty()) {
            EXPECT_NE(db.LastStatus(), 0);
            EXPECT_EQ(db.LastError(), Message(db.LastStatus()));
        } else {
            EXPECT_EQ(db.LastError(), c.fixedText);
        }
    }
}

TEST_F(WrapperTest, OpensLocallyAndOnAServerAndClosesExactlyOnce) {
    const DWORD closesBefore = Calls("NSFDbClose");
    {
        NotesDatabase local("", "Wrappers.nsf");
        ASSERT_TRUE(local.IsOpen()) << local.LastError();
        EXPECT_EQ(local.Title(), "Wrapper Fixture");
        NotesDatabase remote(kServer, "Wrappers.nsf");
        ASSERT_TRUE(remote.IsOpen()) << remote.LastError();
        EXPECT_EQ(remote.Server(), kServer);
        NotesDatabase moved(std::move(remote));
        EXPECT_TRUE(moved.IsOpen());
        local.Close();
        local.Close();
        EXPECT_FALSE(local.IsOpen());
        EXPECT_EQ(local.Title(), "");
    }
    EXPECT_EQ(Calls("NSFDbClose") - closesBefore, 2u);
}

TEST_F(WrapperTest, ABorrowedHandleIsNeverClosed) {
    NotesDatabase owner("", "Wrappers.nsf");
    ASSERT_TRUE(owner.IsOpen());
    const DWORD closesBefore = Calls("NSFDbClose");
    {
        NotesDatabase borrower;
        borrower.Adopt(owner.Handle());
        EXPECT_TRUE(borrower.IsOpen());
        EXPECT_TRUE(borrower.Borrowed());
        EXPECT_EQ(borrower.Title(), "Wrapper Fixture");
    }
    EXPECT_EQ(Calls("NSFDbClose"), closesBefore);
    EXPECT_EQ(owner.Title(), "Wrapper Fixture");
}

TEST_F(WrapperTest, SearchSelectsByFormulaAndEmptyTextSelectsEveryDocument) {
    NotesDatabase db("", "Wrappers.nsf");
    ASSERT_TRUE(db.IsOpen());
    struct Case {
        std::string formula;
        std::vector<NOTEID> ids;
    };
    const Case cases[] = {
        {"", {kCherry, kApple, kLeek, kBread, kSealedLacking, kSealedHeld}},
        {"SELECT Form = \"Memo\"", {kCherry, kApple, kLeek}},
        {"SELECT Subject = \"Nothing like this\"", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.formula);
        auto collection = db.SearchToCollection(c.formula);
        ASSERT_TRUE(collection) << db.LastError();
        EXPECT_EQ(collection->Count(), c.ids.size());
        EXPECT_EQ(Walk(*collection), c.ids);
        EXPECT_EQ(collection->Visited(), c.ids.size());
        EXPECT_FALSE(collection->Next());
    }
}

TEST_F(WrapperTest, SearchFailuresSayWhy) {
    NotesDatabase closed;
    EXPECT_FALSE(closed.SearchToCollection(""));
    EXPECT_EQ(closed.LastError(), "Database is not open.");

    NotesDatabase db("", "Wrappers.nsf");
    EXPECT_FALSE(db.SearchToCollection("SELECT ((("));
    EXPECT_EQ(db.LastError().rfind("Formula Error: ", 0), 0u) << db.LastError();
    EXPECT_GT(db.LastError().size(), std::string("Formula Error: ").size());
}

TEST_F(WrapperTest, FieldNamesListSystemNamesOnlyWhenAskedByEitherTable) {
    NotesDatabase db("", "Wrappers.nsf");
    ASSERT_TRUE(db.IsOpen());
    auto &slot = notes::Api().fn.NSFDbItemDefTableExt;
    const auto saved = slot;
    for (bool extended : {true, false}) {
        slot = extended ? saved : nullptr;
        for (bool system : {false, true}) {
            SCOPED_TRACE(std::string(extended ? "extended" : "classic") + (system ? " with $" : ""));
            const DWORD classicBefore = Calls("NSFDbItemDefTable");
            std::vector<notes::NotesFieldName> names;
            ASSERT_TRUE(db.FieldNames(system, names)) << db.LastError();
            EXPECT_EQ(Calls("NSFDbItemDefTable") - classicBefore, extended ? 0u : 1u);
            auto has = [&](const std::string &name) {
                return std::any_of(names.begin(), names.end(),
                                   [&](const notes::NotesFieldName &f) { return f.name == name; });
            };
            EXPECT_TRUE(has("Subject"));
            EXPECT_TRUE(has("Tags"));
            EXPECT_EQ(has("$Owner"), system);
            for (const auto &f : names) {
                EXPECT_FALSE(f.name.empty());
                if (f.name == "Tags") {
                    EXPECT_EQ(f.type, notes::kTypeTextList);
                }
            }
        }
    }
    slot = saved;
}

TEST_F(WrapperTest, MissingExtendedTableFunctionsAreNamedInOrder) {
    NotesDatabase db("", "Wrappers.nsf");
    ASSERT_TRUE(db.IsOpen());
    notes::NotesApiTable &fn = notes::Api().fn;
    const notes::NotesApiTable saved = fn;
    // Removing the functions from the last to the first names the first missing one each time.
    fn.NSFItemDefExtGetEntry = nullptr;
    std::vector<notes::NotesFieldName> names;
    EXPECT_FALSE(db.FieldNames(true, names));
    EXPECT_EQ(db.LastError(), "Unable to get NSFItemDefExtGetEntry");
    fn.NSFItemDefExtEntries = nullptr;
    EXPECT_FALSE(db.FieldNames(true, names));
    EXPECT_EQ(db.LastError(), "Unable to get NSFItemDefExtEntries");
    fn.NSFItemDefExtFree = nullptr;
    EXPECT_FALSE(db.FieldNames(true, names));
    EXPECT_EQ(db.LastError(), "Unable to get NSFItemDefExtFree");
    fn.NSFItemDefExtUnlock = nullptr;
    EXPECT_FALSE(db.FieldNames(true, names));
    EXPECT_EQ(db.LastError(), "Unable to get NSFItemDefExtUnlock");
    fn.NSFItemDefExtLock = nullptr;
    EXPECT_FALSE(db.FieldNames(true, names));
    EXPECT_EQ(db.LastError(), "Unable to get NSFItemDefExtLock");
    EXPECT_TRUE(names.empty());
    fn = saved;
}

TEST_F(WrapperTest, DesignListFiltersByFlagAndScope) {
    NotesDatabase db("", "Wrappers.nsf");
    ASSERT_TRUE(db.IsOpen());
    struct Case {
        char flag;
        bool required;
        int scope;
        std::vector<std::string> titles;
    };
    const Case cases[] = {
        {0, false, 2, {"By Category", "All", "Mine", "Archive"}},
        {'F', true, 2, {"Archive"}},
        {'F', false, 2, {"By Category", "All", "Mine"}},
        {0, false, 0, {"By Category", "All", "Archive"}},
        {0, false, 1, {"Mine"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(1, c.flag ? c.flag : '-') + (c.required ? "+" : "-") +
                     std::to_string(c.scope));
        notes::NotesDesignColl design;
        ASSERT_TRUE(db.DesignList(notes::kNoteClassView, c.flag, c.required, c.scope, design))
            << design.LastError();
        std::vector<std::string> titles;
        for (const auto &element : design) {
            titles.push_back(element.Title());
            EXPECT_EQ(element.NoteClass(), notes::kNoteClassView);
            EXPECT_EQ(element.IsFolder(), element.Title() == "Archive");
        }
        EXPECT_EQ(titles, c.titles);
    }
}

TEST_F(WrapperTest, CopyNoteAddsTheDocumentToTheTarget) {
    NotesDatabase source("", "Wrappers.nsf");
    NotesDatabase target("", "Empty.nsf");
    ASSERT_TRUE(source.IsOpen() && target.IsOpen());
    notes::NotesNote note;
    EXPECT_FALSE(target.CopyNote(note));
    EXPECT_EQ(target.LastError(), "Document is not open.");
    ASSERT_TRUE(note.Open(source.Handle(), kApple, true));
    ASSERT_TRUE(target.CopyNote(note)) << target.LastError();
    note.Close();
    auto copied = target.SearchToCollection("SELECT Subject = \"Apple\"");
    ASSERT_TRUE(copied) << target.LastError();
    EXPECT_EQ(copied->Count(), 1u);
}

}  // namespace
}  // namespace wrappertest
