// Fault injection: every entry point a wrapper calls fails on its first call, then on each later
// call, and the wrapper must report the exact text, leave its open flag clear and release everything.
#include <functional>

#include "WrapperFixture.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesFormula.h"
#include "notes/NotesNote.h"
#include "notes/NotesServerBrowser.h"

namespace wrappertest {
namespace {

using notes::NotesDatabase;
using testsupport::Standin;

struct Outcome {
    bool ok = false;
    std::string error;
    bool open = false;  // the failing object's open flag afterwards
};

struct FaultCase {
    const char *operation;
    const char *entryPoint;
    std::function<Outcome(NotesDatabase &db)> run;
    std::string expected;  // "@" stands for the Notes message of the injected status
    bool openAfterFailure = false;
};

std::string Expand(const std::string &pattern, const std::string &message) {
    std::string text = pattern;
    const std::size_t at = text.find('@');
    if (at != std::string::npos)
        text.replace(at, 1, message);
    return text;
}

void ExpectSameCounters(const StandinCounters &before, const StandinCounters &after) {
    EXPECT_EQ(after.databases, before.databases);
    EXPECT_EQ(after.notes, before.notes);
    EXPECT_EQ(after.collections, before.collections);
    EXPECT_EQ(after.memory, before.memory);
    EXPECT_EQ(after.locks, before.locks);
    EXPECT_EQ(after.computes, before.computes);
}

Outcome OpenDatabase(NotesDatabase &) {
    NotesDatabase db("", "Wrappers.nsf");
    return {db.IsOpen(), db.LastError(), db.IsOpen()};
}

Outcome Search(NotesDatabase &db) {
    auto collection = db.SearchToCollection("SELECT Form = \"Memo\"");
    if (!collection)
        return {false, db.LastError(), false};
    return {collection->Count() == 3, collection->LastError(), true};
}

Outcome WalkView(NotesDatabase &db) {
    notes::NotesView view;
    if (!db.OpenViewInto(view, "All"))
        return {false, db.LastError(), view.IsOpen()};
    std::size_t count = 0;
    for (NOTEID id = view.First(); id != 0; id = view.Next())
        ++count;
    return {count == 6, view.LastError(), false};
}

Outcome FieldNames(NotesDatabase &db) {
    std::vector<notes::NotesFieldName> names;
    const bool ok = db.FieldNames(true, names);
    return {ok && !names.empty(), db.LastError(), !names.empty() && !ok};
}

Outcome ClassicFieldNames(NotesDatabase &db) {
    auto &slot = notes::Api().fn.NSFDbItemDefTableExt;
    const auto saved = slot;
    slot = nullptr;
    Outcome outcome = FieldNames(db);
    slot = saved;
    return outcome;
}

Outcome DesignList(NotesDatabase &db) {
    notes::NotesDesignColl design;
    const bool ok = db.DesignList(notes::kNoteClassView, 0, false, 2, design);
    if (!ok)
        return {false, design.LastError(), false};
    // A design note that does not open is left out of the list.
    return {design.Size() == 4, std::to_string(design.Size()) + " design notes", false};
}

Outcome OpenNote(NotesDatabase &db) {
    notes::NotesNote note;
    const bool ok = note.Open(db.Handle(), kSealedHeld, true);
    if (!ok)
        return {false, note.ErrorRecords().empty() ? "" : note.ErrorRecords()[0].detail, note.IsOpen()};
    return {note.Decrypted(), note.ErrorText(), note.IsOpen()};
}

Outcome CopyNote(NotesDatabase &db) {
    NotesDatabase target("", "Empty.nsf");
    notes::NotesNote note;
    if (!target.IsOpen() || !note.Open(db.Handle(), kApple, false))
        return {false, "setup failed", false};
    return {target.CopyNote(note), target.LastError(), false};
}

Outcome Evaluate(NotesDatabase &db) {
    notes::NotesNote note;
    notes::NotesFormula formula("Subject");
    if (!note.Open(db.Handle(), kApple, false) || !formula.Compile())
        return {false, "setup failed", false};
    const std::string text = formula.Evaluate(note.Handle(), ";");
    return {text == "Apple", formula.LastError(), false};
}

Outcome Browse(NotesDatabase &) {
    notes::NotesServerBrowser browser;
    std::vector<notes::NotesDirectoryEntry> directories;
    std::vector<notes::NotesDirectoryEntry> databases;
    const bool ok = browser.BrowseServer("", "archive", directories, databases);
    return {ok && databases.size() == 1, browser.LastError(), false};
}

Outcome AddressBooks(NotesDatabase &) {
    notes::NotesServerBrowser browser;
    std::vector<std::string> books;
    const bool ok = browser.AddressBooks(books);
    if (!ok)
        return {false, browser.LastError(), false};
    return {books.size() == 1, std::to_string(books.size()) + " address books", false};
}

const std::string kLockText = "Unable to pfnOSLockObject for table_handle";

const FaultCase kCases[] = {
    {"open", "OSPathNetConstruct", OpenDatabase, "OSPathNetConstruct error"},
    {"open", "NSFDbOpen", OpenDatabase, "@"},
    {"search", "NSFFormulaCompile", Search, "Formula Error: @"},
    {"search", "IDCreateTable", Search, "@"},
    {"search", "NSFSearch", Search, "@"},
    {"search", "IDInsert", Search, "Unable to insert Note"},
    {"view", "NIFFindDesignNote", WalkView, "@"},
    {"view", "NIFOpenCollection", WalkView, "@"},
    {"view", "NIFReadEntries", WalkView, "@"},
    {"fields", "NSFDbItemDefTableExt", FieldNames, "@"},
    {"fields", "NSFItemDefExtLock", FieldNames, "@"},
    {"fields", "NSFItemDefExtEntries", FieldNames, "@"},
    {"fields", "NSFItemDefExtGetEntry", FieldNames, "@"},
    {"fields", "NSFItemDefExtUnlock", FieldNames, "@"},
    {"classic fields", "NSFDbItemDefTable", ClassicFieldNames, "Unable to get a list of fields: @"},
    {"classic fields", "OSLockObject", ClassicFieldNames, kLockText},
    {"design", "NSFDbGetModifiedNoteTable", DesignList, "@"},
    {"design", "NSFNoteOpen", DesignList, "3 design notes"},
    {"note", "NSFNoteOpen", OpenNote, "@"},
    {"note", "NSFNoteDecrypt", OpenNote, "Unable to decrypt with current ID", true},
    {"copy", "NSFDbCopyNote", CopyNote, "@"},
    {"evaluate", "NSFComputeStart", Evaluate, "Unable to compute start."},
    {"evaluate", "NSFComputeEvaluate", Evaluate, "Unable to evaluate formula:Subject"},
    {"browse", "OSPathNetConstruct", Browse, "Unable to construct path from server \", path \"archive"},
    {"browse", "NSFDbOpen", Browse, "Unable to browse server "},
    {"browse", "NSFSearch", Browse, "@"},
    {"address books", "NAMEGetAddressBooks", AddressBooks, "@"},
    {"address books", "OSPathNetParse", AddressBooks, "0 address books"},
};

// Not listed: failures of the runtime's own release calls (NSFItemDefExtFree, NSFDbClose) and of the
// lock of the extended item-definition table. The wrappers report them, but what the runtime then keeps
// cannot be released by any caller, so such a test would leave the runtime's counters dirty.
void RunCases(NotesDatabase &db, const FaultCase *cases, std::size_t count) {
    const std::string message = notes::NotesErrorText(kInjected);
    Standin &standin = Standin::Get();
    for (std::size_t i = 0; i < count; ++i) {
        const FaultCase &c = cases[i];
        int fired = 0;
        for (DWORD nth = 1; nth <= 12; ++nth) {
            SCOPED_TRACE(std::string(c.operation) + ": " + c.entryPoint + " call " + std::to_string(nth));
            const StandinCounters before = standin.Counters();
            const DWORD callsBefore = standin.CallCount(c.entryPoint);
            standin.SetFault(c.entryPoint, nth, kInjected);
            const Outcome outcome = c.run(db);
            standin.ClearFaults();
            ExpectSameCounters(before, standin.Counters());
            if (standin.CallCount(c.entryPoint) - callsBefore < nth) {
                // The operation made fewer calls than that: unhindered, it must succeed.
                EXPECT_TRUE(outcome.ok) << outcome.error;
                break;
            }
            ++fired;
            EXPECT_FALSE(outcome.ok);
            EXPECT_EQ(outcome.error, Expand(c.expected, message));
            EXPECT_EQ(outcome.open, c.openAfterFailure);
        }
        EXPECT_GE(fired, 1) << c.operation << ": " << c.entryPoint << " was never called";
    }
}

TEST_F(WrapperTest, EveryInjectedFailureIsReportedAndReleasesEverything) {
    NotesDatabase db("", "Wrappers.nsf");
    ASSERT_TRUE(db.IsOpen());
    RunCases(db, kCases, std::size(kCases));
}

}  // namespace
}  // namespace wrappertest
