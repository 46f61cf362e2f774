// Copy to database and move to folder, checked through the C API after the run.
#include <algorithm>

#include "ExportTestSupport.h"
#include "notes/NotesApi.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesWrapperSupport.h"
#include "richtext/NotesItem.h"

namespace exporttest {
namespace {

using Ids = std::vector<NOTEID>;

// The note IDs a view or folder lists, in its order.
Ids Entries(const std::string &path, const std::string &view) {
    notes::NotesDatabase db;
    EXPECT_TRUE(db.Open("", path)) << db.LastError();
    notes::NotesView walk;
    EXPECT_TRUE(db.OpenViewInto(walk, view)) << db.LastError();
    Ids ids;
    for (NOTEID id = walk.First(); id != 0; id = walk.Next()) {
        ids.push_back(id);
    }
    return ids;
}

// The subjects of every document of a database, sorted.
std::vector<std::string> Subjects(const std::string &path) {
    notes::NotesDatabase db;
    EXPECT_TRUE(db.Open("", path)) << db.LastError();
    auto all = db.SearchToCollection("");
    EXPECT_NE(all, nullptr) << db.LastError();
    std::vector<std::string> subjects;
    if (all == nullptr) {
        return subjects;
    }
    for (bool more = all->First(); more; more = all->Next()) {
        subjects.push_back(richtext::NotesItem::Render(all->Current(), "Subject", ";", nullptr).text);
    }
    std::sort(subjects.begin(), subjects.end());
    return subjects;
}

const std::vector<std::string> kAllSubjects = {
    "An archived memo with a rather long subject line that goes past forty characters", "Order 2",
    "Quote \"A\" for Acme", "Rechnung für Café Zürich — 3"};

class CopyMoveTest : public ExportRunTest {
public:
    config::DatabaseExportProfile CopyProfile() {
        auto profile = Profile();
        profile.Settings.CopyDataToDb = true;
        profile.Settings.CopyDataToDbFilename = CopyFixture("CopyTarget.nsf");
        return profile;
    }
    config::DatabaseExportProfile MoveProfile(const std::string &view, const std::string &folder) {
        auto profile = Profile();
        profile.Settings.ViewName = view;
        profile.Settings.MoveToFolder = true;
        profile.Settings.MoveToFolderName = folder;
        return profile;
    }
    std::string Source() { return CopyFixture("Sales.nsf"); }
};

TEST_F(CopyMoveTest, EveryExportedDocumentIsCopied) {
    auto profile = CopyProfile();
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_EQ(Subjects(profile.Settings.CopyDataToDbFilename), kAllSubjects);
    testsupport::ExpectNothingLeft();
}

TEST_F(CopyMoveTest, AFailedCopyGoesToTheDocumentsErrors) {
    auto profile = CopyProfile();
    SetColumns(profile, {"%Count", "%Errors"});
    testsupport::Standin::Get().SetFault("NSFDbCopyNote", 2, notes::kErrNoAccess);
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    testsupport::Standin::Get().ClearFaults();
    EXPECT_EQ(Summary(), "\"%Count\",\"%Errors\"\r\n\"1\",\"\"\r\n\"2\",\"" +
                             notes::wrapper::NotesMessage(notes::kErrNoAccess) +
                             "\"\r\n\"3\",\"\"\r\n\"4\",\"\"\r\n");
    EXPECT_EQ(Subjects(profile.Settings.CopyDataToDbFilename).size(), 3u);
}

struct MoveCase {
    const char *name;
    const char *view;
    const char *folder;
    Ids expectedDestination;
    Ids expectedActive;  // the folder Projects\Active afterwards
};

class MoveToFolderTest : public CopyMoveTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MoveToFolderTest, MovesOnceTheViewIsExported) {
    const MoveCase &c = GetParam();
    auto profile = MoveProfile(c.view, c.folder);
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    m_run.reset();
    EXPECT_EQ(Entries(Source(), c.folder), c.expectedDestination);
    EXPECT_EQ(Entries(Source(), "Projects\\Active"), c.expectedActive);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, MoveToFolderTest,
    ::testing::Values(
        // From a view nothing is removed; the documents are only added.
        MoveCase{"from_a_view", "By Customer", "Done", {0x100, 0x104, 0x108}, {0x100, 0x108}},
        MoveCase{"from_a_folder", "Projects\\Active", "Done", {0x100, 0x108}, {}},
        MoveCase{
            "folder_into_itself", "Projects\\Active", "Projects\\Active", {0x100, 0x108}, {0x100, 0x108}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CopyMoveTest, CallerSuppliedDocumentsAreAddedButNeverRemoved) {
    notes::NotesDatabase db;
    ASSERT_TRUE(db.Open("", Source())) << db.LastError();
    const auto &fn = notes::Api().fn;
    DHANDLE table = notes::kNullHandle;
    ASSERT_EQ(fn.IDCreateTable(sizeof(NOTEID), &table), 0);
    for (NOTEID id : {0x108u, 0x100u}) {
        ASSERT_EQ(fn.IDInsert(table, id, nullptr), 0);
    }
    auto profile = MoveProfile("Projects\\Active", "Done");
    profile.Settings.SelectMethod = config::kSelectIdTable;
    profile.SuppliedDatabase = db.Handle();
    profile.SuppliedIdTable = table;
    profile.DatabaseSupplied = true;
    SetColumns(profile, {"%Count", "Subject", "%In_Folders"});
    ScriptedUi ui;
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_EQ(Summary(),
              "\"%Count\",\"Subject\",\"%In_Folders\"\r\n"
              "\"1\",\"Quote \"\"A\"\" for Acme\",\"Projects\\Active\"\r\n"
              "\"2\",\"Rechnung für Café Zürich — 3\",\"Projects\\Active\"\r\n");
    EXPECT_NE(std::find(ui.statuses.begin(), ui.statuses.end(), "Exported 2 :Sales Demo"), ui.statuses.end());
    EXPECT_EQ(fn.IDEntries(table), 2u) << "the caller's table is the caller's";
    EXPECT_EQ(fn.IDDestroyTable(table), 0);
    EXPECT_TRUE(db.IsOpen()) << "a supplied database is never closed";
    db.Close();
    m_run.reset();
    EXPECT_EQ(Entries(Source(), "Done"), (Ids{0x100, 0x108}));
    EXPECT_EQ(Entries(Source(), "Projects\\Active"), (Ids{0x100, 0x108}));
}

TEST_F(CopyMoveTest, ACancelledViewMovesNothing) {
    auto profile = MoveProfile("All", "Done");
    ScriptedUi ui;
    ui.onStatus = [this](const std::string &text) {
        if (text == "Exported 3:Sales Demo") {
            m_cancel = true;
        }
    };
    EXPECT_FALSE(Run(profile));
    m_run.reset();
    testsupport::ExpectNothingLeft();
    EXPECT_EQ(Entries(Source(), "Done"), Ids{});
}

TEST_F(CopyMoveTest, AFailedFolderUpdateIsSilent) {
    auto profile = MoveProfile("Projects\\Active", "Done");
    testsupport::Standin::Get().SetFault("FolderDocAdd", 1, notes::kErrNoAccess);
    EXPECT_TRUE(Run(profile)) << m_run->LastError();
    testsupport::Standin::Get().ClearFaults();
    EXPECT_EQ(m_run->LastError(), "");
    m_run.reset();
    testsupport::ExpectNothingLeft();
    EXPECT_EQ(Entries(Source(), "Done"), Ids{});
}

// A document that stops the run at its insert has still been copied and written.
TEST_F(CopyMoveTest, ADocumentStoppedAtItsInsertWasCopiedAndWritten) {
    auto profile = CopyProfile();
    profile.Settings.MoveToFolder = true;
    profile.Settings.MoveToFolderName = "Done";
    testsupport::Standin::Get().SetFault("IDInsert", 1, notes::kErrNoAccess);
    EXPECT_FALSE(Run(profile));
    testsupport::Standin::Get().ClearFaults();
    EXPECT_EQ(m_run->LastError(), "Unable to add note to id table for MoveToFolder.");
    EXPECT_EQ(Summary(), "\"Subject\",\"%Count\"\r\n\"Quote \"\"A\"\" for Acme\",\"1\"\r\n");
    EXPECT_EQ(Subjects(profile.Settings.CopyDataToDbFilename),
              (std::vector<std::string>{"Quote \"A\" for Acme"}));
}

}  // namespace
}  // namespace exporttest

namespace exporttest {
namespace {

// %Errors takes no replacements, so two errors of one document break its row.
TEST_F(CopyMoveTest, TwoErrorsOfOneDocumentAreOnTwoLines) {
    auto profile = Profile("Sealed.nsf");
    profile.Settings.CopyDataToDb = true;
    profile.Settings.CopyDataToDbFilename = CopyFixture("CopyTarget.nsf");
    profile.Settings.ControlCharLineFeedOption = config::kControlCharReplace;
    SetColumns(profile, {"Subject", "%Errors"});
    testsupport::Standin::Get().SetFault("NSFDbCopyNote", 2, notes::kErrNoAccess);
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    testsupport::Standin::Get().ClearFaults();
    EXPECT_EQ(
        Summary(),
        "\"Subject\",\"%Errors\"\r\n\"Plain\",\"\"\r\n\"Sealed\",\"Unable to decrypt with current ID\n" +
            notes::wrapper::NotesMessage(notes::kErrNoAccess) + "\"\r\n");
}

TEST_F(CopyMoveTest, AnOpenSourceDatabaseIsReusedAndKept) {
    auto profile = Profile();
    profile.SourceDatabase = std::make_shared<notes::NotesDatabase>();
    ASSERT_TRUE(profile.SourceDatabase->Open("", profile.Settings.NSFFilePath));
    const notes::NotesDatabase *before = profile.SourceDatabase.get();
    const DWORD opens = testsupport::Standin::Get().CallCount("NSFDbOpen");
    m_run = std::make_unique<exporter::ExportRun>(profile);
    ASSERT_TRUE(m_run->Run(Session(), m_cancel, true, false, false)) << m_run->LastError();
    EXPECT_EQ(testsupport::Standin::Get().CallCount("NSFDbOpen"), opens);
    ASSERT_EQ(profile.SourceDatabase.get(), before);
    EXPECT_TRUE(profile.SourceDatabase->IsOpen());
    profile.SourceDatabase.reset();
}

}  // namespace
}  // namespace exporttest
