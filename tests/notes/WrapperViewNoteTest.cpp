// Views walked in batches past categories, folders, notes with sealing and open failures, formulas
// with their result types, and server browsing over the stand-in.
#include <algorithm>

#include "WrapperFixture.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesFormula.h"
#include "notes/NotesNote.h"
#include "notes/NotesServerBrowser.h"

namespace wrappertest {
namespace {

using notes::NotesDatabase;

std::vector<NOTEID> Walk(notes::NotesView &view) {
    std::vector<NOTEID> ids;
    for (NOTEID id = view.First(); id != 0; id = view.Next())
        ids.push_back(id);
    return ids;
}

TEST_F(WrapperTest, ViewsYieldOnlyDocumentsAcrossBatches) {
    NotesDatabase db("", "Wrappers.nsf");
    ASSERT_TRUE(db.IsOpen());
    struct Case {
        std::string view;
        std::vector<NOTEID> ids;
        DWORD entries;  // categories included
    };
    // The runtime returns two entries per read, so every walk here takes several reads.
    const Case cases[] = {
        {"By Category", {kApple, kCherry, kLeek}, 5},
        {"All", {kCherry, kApple, kLeek, kBread, kSealedLacking, kSealedHeld}, 6},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.view);
        auto view = db.OpenView(c.view);
        ASSERT_TRUE(view) << db.LastError();
        const DWORD readsBefore = Calls("NIFReadEntries");
        std::vector<NOTEID> ids = Walk(*view);
        ASSERT_FALSE(ids.empty());
        const NOTEID firstInView = ids.front();
        if (c.view == "All")
            std::sort(ids.begin(), ids.end());
        EXPECT_EQ(ids, c.ids);
        EXPECT_EQ(view->EntriesRead(), c.entries);
        EXPECT_GE(Calls("NIFReadEntries") - readsBefore, (c.entries + 1) / 2);
        EXPECT_EQ(view->Next(), 0u);
        // A second walk starts again from the top.
        EXPECT_EQ(view->First(), firstInView);
    }
}

TEST_F(WrapperTest, FoldersAreToldFromViewsAndFindOnlyOpensNoCollection) {
    NotesDatabase db("", "Wrappers.nsf");
    ASSERT_TRUE(db.IsOpen());
    struct Case {
        std::string name;
        bool folder;
    };
    for (const Case &c : {Case{"Archive", true}, Case{"All", false}, Case{"Mine", false}}) {
        SCOPED_TRACE(c.name);
        notes::NotesView view;
        ASSERT_TRUE(view.FindOnly(db.Handle(), c.name)) << view.LastError();
        EXPECT_FALSE(view.IsOpen());
        EXPECT_EQ(testsupport::Standin::Get().Counters().collections, 0u);
        bool folder = !c.folder;
        ASSERT_TRUE(view.IsFolder(folder)) << view.LastError();
        EXPECT_EQ(folder, c.folder);
    }
    notes::NotesView archive;
    ASSERT_TRUE(db.OpenViewInto(archive, "Archive"));
    EXPECT_EQ(archive.ViewNoteId(), kArchiveFolder);
    std::vector<NOTEID> members = Walk(archive);
    std::sort(members.begin(), members.end());
    EXPECT_EQ(members, (std::vector<NOTEID>{kApple, kLeek}));
}

TEST_F(WrapperTest, AViewThatCannotBeFoundGivesItsNotesMessage) {
    NotesDatabase db("", "Wrappers.nsf");
    ASSERT_TRUE(db.IsOpen());
    EXPECT_FALSE(db.OpenView("No Such View"));
    EXPECT_NE(db.LastStatus(), 0);
    EXPECT_EQ(db.LastError(), Message(db.LastStatus()));

    notes::NotesView view;
    ASSERT_TRUE(view.FindOnly(db.Handle(), "All"));
    testsupport::Standin::Get().SetFault("NSFNoteOpen", 1, kInjected);
    bool folder = true;
    EXPECT_FALSE(view.IsFolder(folder));
    EXPECT_FALSE(folder);
    EXPECT_EQ(view.LastError(), "Fatal error opening view note.");
}

TEST_F(WrapperTest, SealedNotesOpenAndSayWhetherTheyWereDecrypted) {
    NotesDatabase db("", "Wrappers.nsf");
    ASSERT_TRUE(db.IsOpen());
    struct Case {
        NOTEID id;
        bool decrypt;
        bool sealed;
        bool decrypted;
        std::string error;
    };
    const Case cases[] = {
        {kSealedLacking, true, true, false, "Unable to decrypt with current ID"},
        {kSealedHeld, true, true, true, ""},
        {kSealedLacking, false, true, false, ""},
        {kApple, true, false, false, ""},
    };
    notes::NotesNote note;  // reused: each Open starts afresh
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id);
        ASSERT_TRUE(note.Open(db.Handle(), c.id, c.decrypt));
        EXPECT_TRUE(note.IsOpen());
        EXPECT_EQ(note.SignedOrSealed(), c.sealed);
        EXPECT_EQ(note.Decrypted(), c.decrypted);
        EXPECT_EQ(note.ErrorText(), c.error);
        EXPECT_TRUE(note.ErrorRecords().empty());
        EXPECT_EQ(note.NoteId(), c.id);
    }
    ASSERT_TRUE(note.Open(db.Handle(), kApple, true));
    EXPECT_EQ(note.UniversalId(), "0000000000000000000000000000A014");
    EXPECT_EQ(note.NoteClass(), notes::kNoteClassDocument);
}

TEST_F(WrapperTest, ANoteThatFailsToOpenCarriesAnErrorRecord) {
    NotesDatabase db("", "Wrappers.nsf");
    ASSERT_TRUE(db.IsOpen());
    notes::NotesNote note;
    EXPECT_FALSE(note.Open(db.Handle(), 0x7FF0, true));
    EXPECT_FALSE(note.IsOpen());
    ASSERT_EQ(note.ErrorRecords().size(), 1u);
    const notes::ErrorObject &record = note.ErrorRecords()[0];
    EXPECT_EQ(record.title, "Lotus Notes Document Opened Failed");
    EXPECT_EQ(record.code, note.LastStatus());
    EXPECT_NE(record.code, 0);
    EXPECT_EQ(record.detail, Message(note.LastStatus()));
    EXPECT_EQ(note.UniversalId(), "");
    const DWORD closesBefore = Calls("NSFNoteClose");
    note.Close();
    EXPECT_EQ(Calls("NSFNoteClose"), closesBefore);

    // A moved note is closed once, by its new owner.
    ASSERT_TRUE(note.Open(db.Handle(), kApple, true));
    {
        notes::NotesNote moved(std::move(note));
        EXPECT_TRUE(moved.IsOpen());
        EXPECT_FALSE(note.IsOpen());
    }
    EXPECT_EQ(Calls("NSFNoteClose") - closesBefore, 1u);
}

TEST_F(WrapperTest, FormulaResultsBecomeTextByType) {
    NotesDatabase db("", "Wrappers.nsf");
    notes::NotesNote note;
    ASSERT_TRUE(note.Open(db.Handle(), kCherry, true));
    struct Case {
        std::string formula;
        std::string text;
    };
    const Case cases[] = {
        {"Subject", "Cherry"},
        {"Tags", "red|small"},
        {"Count", "42.5"},
        {"Scores", "1|2.5"},
        {"When", "07/28/2020 12:22:40 PM"},
        {"When : When", "07/28/2020 12:22:40 PM|07/28/2020 12:22:40 PM"},
        {"\"one\" + @NewLine + \"two\"", "one\ntwo"},
        {"@Error", "<unsupported formula result type>"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.formula);
        notes::NotesFormula formula(c.formula);
        ASSERT_TRUE(formula.Compile()) << formula.LastError();
        EXPECT_TRUE(formula.IsCompiled());
        EXPECT_FALSE(formula.CompiledBytes().empty());
        EXPECT_EQ(formula.Evaluate(note.Handle(), "|"), c.text);
        // The compiled copy stands on its own.
        notes::NotesFormula copy(formula.CompiledBytes().data(), formula.CompiledLength());
        EXPECT_EQ(copy.Evaluate(note.Handle(), "|"), c.text);
    }
}

TEST_F(WrapperTest, FormulaFailuresSetTheirTexts) {
    notes::NotesFormula bad("Subject + (");
    EXPECT_FALSE(bad.Compile());
    EXPECT_FALSE(bad.IsCompiled());
    EXPECT_NE(bad.CompileStatus(), 0);
    EXPECT_FALSE(bad.LastError().empty());
    EXPECT_EQ(bad.Evaluate(notes::kNullHandle, ";"), "");
    EXPECT_EQ(bad.LastError(), "Unable to compute start.");
}

TEST_F(WrapperTest, BrowsingListsDirectoriesAndDatabases) {
    notes::NotesServerBrowser browser;
    struct Case {
        std::string server;
        std::string directory;
        std::vector<std::string> directories;
        std::vector<std::string> databases;
    };
    const Case cases[] = {
        {"", "", {"alpha", "archive"}, {"Empty.nsf", "names.nsf", "Wrappers.nsf"}},
        {"", "archive", {}, {"Old.nsf"}},
        {kServer, "", {}, {"Wrappers.nsf"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.server + "!!" + c.directory);
        std::vector<notes::NotesDirectoryEntry> directories;
        std::vector<notes::NotesDirectoryEntry> databases;
        ASSERT_TRUE(browser.BrowseServer(c.server, c.directory, directories, databases))
            << browser.LastError();
        std::vector<std::string> dirNames;
        std::vector<std::string> dbNames;
        for (const auto &d : directories)
            dirNames.push_back(d.name);
        for (const auto &d : databases)
            dbNames.push_back(d.name);
        std::sort(dirNames.begin(), dirNames.end());
        std::sort(dbNames.begin(), dbNames.end(), [](const std::string &a, const std::string &b) {
            return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                return std::tolower(x) < std::tolower(y);
            });
        });
        EXPECT_EQ(dirNames, c.directories);
        EXPECT_EQ(dbNames, c.databases);
        for (const auto &d : databases) {
            if (d.name == "Wrappers.nsf") {
                EXPECT_EQ(d.title, "Wrapper Fixture");
            }
        }
    }
    std::vector<notes::NotesDirectoryEntry> directories;
    std::vector<notes::NotesDirectoryEntry> databases;
    EXPECT_FALSE(browser.BrowseServer("CN=Unreachable/O=Acme", "", directories, databases));
    EXPECT_EQ(browser.LastError(), "Unable to browse server CN=Unreachable/O=Acme");
}

TEST_F(WrapperTest, AddressBooksAndSavedServers) {
    notes::NotesServerBrowser browser;
    std::vector<std::string> books;
    ASSERT_TRUE(browser.AddressBooks(books)) << browser.LastError();
    EXPECT_EQ(books, (std::vector<std::string>{"names.nsf"}));
    std::vector<std::string> servers;
    ASSERT_TRUE(browser.SavedServers(servers)) << browser.LastError();
    std::sort(servers.begin(), servers.end());
    EXPECT_EQ(servers, (std::vector<std::string>{"CN=Alpha/O=Acme", "CN=Beta/O=Acme", "CN=Gamma/O=Acme"}));
}

}  // namespace
}  // namespace wrappertest
