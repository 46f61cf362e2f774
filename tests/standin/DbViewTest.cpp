// Views, folders and persistence through the C API: categorised and explicit entries, batches,
// navigation, folder membership that survives reopening, copies, deletions and other writers.
#include <cstring>

#include "DbFixture.h"

namespace {

using dbtest::DbFixture;
using testsupport::Standin;

constexpr NOTEID kCategory = notes::kNoteIdCategory;

class DbView : public DbFixture {
protected:
    DHANDLE Table(std::initializer_list<NOTEID> ids) {
        DHANDLE table = 0;
        EXPECT_EQ(NOTES_FN(IDCreateTable)(4, &table), 0);
        for (NOTEID id : ids) {
            BOOL inserted = 0;
            EXPECT_EQ(NOTES_FN(IDInsert)(table, id, &inserted), 0);
        }
        return table;
    }
};

TEST_F(DbView, DesignNotesAreFoundByNameOrAliasAndCarryTitleAndFlags) {
    StartSession();
    DBHANDLE db = Open(Install("Sample.dxl"));
    EXPECT_EQ(Find(db, "By Category"), 0x100u);
    EXPECT_EQ(Find(db, "BYCAT"), 0x100u);
    EXPECT_EQ(Find(db, "(Hidden Plain)"), 0x104u);
    NOTEID id = 0;
    EXPECT_EQ(NOTES_FN(NIFFindDesignNote)(db, "No Such View", notes::kNoteClassView, &id),
              notes::kErrNotFound);
    struct Case {
        NOTEID id;
        const char *title;
        const char *flags;
    };
    const Case cases[] = {{0x100, "By Category|bycat", ""}, {0x10c, "Done", "F"}};
    for (const Case &c : cases) {
        NOTEHANDLE note = 0;
        ASSERT_EQ(NOTES_FN(NSFNoteOpen)(db, c.id, 0, &note), 0);
        EXPECT_EQ(Text(note, "$TITLE"), c.title);
        EXPECT_EQ(Text(note, "$Flags"), c.flags);
        EXPECT_EQ(NOTES_FN(NSFNoteClose)(note), 0);
    }
    EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
}

TEST_F(DbView, EntriesComeInViewOrderWithCategoriesBeforeTheirDocuments) {
    StartSession();
    DBHANDLE db = Open(Install("Sample.dxl"));
    struct Case {
        const char *view;
        std::vector<NOTEID> ids;
    };
    const Case cases[] = {
        // Categorised by Category, then sorted by Subject.
        {"By Category", {kCategory | 1, 0x10, 0x18, kCategory | 2, 0x14}},
        // No selection and no sorted column: every readable document by note ID.
        {"(Hidden Plain)", {0x10, 0x14, 0x18, 0x1c, 0x20, 0x28}},
        // Explicit entries of our namespace, in their order.
        {"Ordered", {kCategory | 1, 0x18, 0x10, 0x14}},
        // A folder sorted descending by Subject.
        {"Done", {0x10, 0x14}},
        {"Empty Folder", {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ReadView(db, Find(db, c.view), 0xFFFFFFFF), c.ids) << c.view;
    }
    EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
}

TEST_F(DbView, BatchesOfTwoGiveTheSameEntriesAsOneRead) {
    StartSession({"StandinReadEntriesBatch=2"});
    DBHANDLE db = Open(Install("Sample.dxl"));
    NOTEID view = Find(db, "(Hidden Plain)");
    int reads = 0;
    std::vector<NOTEID> batched = ReadView(db, view, 0xFFFFFFFF, &reads);
    EXPECT_EQ(reads, 3);
    std::vector<NOTEID> small = ReadView(db, view, 1);  // the caller's count bounds a read too
    EXPECT_EQ(batched, (std::vector<NOTEID>{0x10, 0x14, 0x18, 0x1c, 0x20, 0x28}));
    EXPECT_EQ(small.size(), 1u);
    EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
}

TEST_F(DbView, NavigatorsWalkCategoriesAndPositionsAreReturned) {
    StartSession();
    DBHANDLE db = Open(Install("Sample.dxl"));
    HCOLLECTION coll = 0;
    ASSERT_EQ(NOTES_FN(NIFOpenCollection)(db, db, Find(db, "By Category"), 0, 0, &coll, nullptr, nullptr,
                                          nullptr, nullptr),
              0);
    struct Case {
        WORD nav;
        std::vector<NOTEID> ids;
    };
    const Case cases[] = {
        {notes::kNavigateNextCategory, {kCategory | 1, kCategory | 2}},
        {notes::kNavigateNextNonCategory, {0x10, 0x18, 0x14}},
        {notes::kNavigateNextPeer, {kCategory | 1, kCategory | 2}},
    };
    for (const Case &c : cases) {
        COLLECTIONPOSITION pos{};
        DHANDLE buffer = 0;
        DWORD returned = 0;
        WORD signal = 0;
        ASSERT_EQ(NOTES_FN(NIFReadEntries)(coll, &pos, c.nav, 1, c.nav, 0xFFFFFFFF, notes::kReadMaskNoteId,
                                           &buffer, nullptr, nullptr, &returned, &signal),
                  0);
        std::vector<NOTEID> ids;
        if (buffer != 0) {
            auto *p = static_cast<NOTEID *>(NOTES_FN(OSLockObject)(buffer));
            ids.assign(p, p + returned);
            NOTES_FN(OSUnlockObject)(buffer);
            NOTES_FN(OSMemFree)(buffer);
        }
        EXPECT_EQ(ids, c.ids) << c.nav;
    }
    // Position data: the second document of the first category is at 1.2.
    COLLECTIONPOSITION pos{};
    pos.Level = 1;
    pos.Tumbler[0] = 1;
    pos.Tumbler[1] = 2;
    DHANDLE buffer = 0;
    DWORD returned = 0;
    ASSERT_EQ(NOTES_FN(NIFReadEntries)(coll, &pos, notes::kNavigateNext, 0, notes::kNavigateNext, 1,
                                       notes::kReadMaskNoteId | notes::kReadMaskIndexPosition, &buffer,
                                       nullptr, nullptr, &returned, nullptr),
              0);
    ASSERT_EQ(returned, 1u);
    auto *p = static_cast<unsigned char *>(NOTES_FN(OSLockObject)(buffer));
    NOTEID id = 0;
    std::memcpy(&id, p, 4);
    EXPECT_EQ(id, 0x18u);
    EXPECT_EQ(p[4], 1);  // level
    NOTES_FN(OSUnlockObject)(buffer);
    NOTES_FN(OSMemFree)(buffer);
    EXPECT_EQ(NOTES_FN(NIFCloseCollection)(coll), 0);
    EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
}

TEST_F(DbView, FolderChangesSurviveClosingAndReopening) {
    StartSession();
    std::string name = Install("Sample.dxl");
    DBHANDLE db = Open(name);
    NOTEID folder = Find(db, "Done");
    DHANDLE add = Table({0x18, 0x1c});
    DHANDLE remove = Table({0x10});
    ASSERT_EQ(NOTES_FN(FolderDocAdd)(db, 0, folder, add, 0), 0);
    ASSERT_EQ(NOTES_FN(FolderDocRemove)(db, 0, folder, remove, 0), 0);
    EXPECT_NE(NOTES_FN(FolderDocAdd)(db, 0, Find(db, "By Category"), add, 0), 0);  // not a folder
    NOTES_FN(IDDestroyTable)(add);
    NOTES_FN(IDDestroyTable)(remove);
    EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
    db = Open(name);
    EXPECT_EQ(ReadView(db, Find(db, "Done"), 0xFFFFFFFF), (std::vector<NOTEID>{0x1c, 0x18, 0x14}));
    // Everything else reads back the same after the rewrite.
    NOTEHANDLE note = 0;
    ASSERT_EQ(NOTES_FN(NSFNoteOpen)(db, 0x10, 0, &note), 0);
    EXPECT_EQ(Text(note, "Subject"), "Beta");
    EXPECT_EQ(Value(note, "Lines"), std::string("\x00\x05one\0two", 9));
    EXPECT_EQ(NOTES_FN(NSFItemGetTextListEntries)(note, "Tags"), 2);
    EXPECT_EQ(NOTES_FN(NSFNoteClose)(note), 0);
    EXPECT_EQ(ReadView(db, Find(db, "Ordered"), 0xFFFFFFFF),
              (std::vector<NOTEID>{kCategory | 1, 0x18, 0x10, 0x14}));
    EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
}

TEST_F(DbView, CopiesKeepTheUnidUnderANewNoteIdAndDeletionsPersist) {
    StartSession();
    std::string source = Install("Sample.dxl");
    std::string target = Install("ShiftJisNote.dxl", "target.nsf");
    DBHANDLE src = Open(source);
    DBHANDLE dst = Open(target);
    NOTEID copied = 0;
    WORD cls = 0;
    ASSERT_EQ(NOTES_FN(NSFDbCopyNote)(src, nullptr, nullptr, 0x10, dst, nullptr, nullptr, &copied, &cls), 0);
    EXPECT_EQ(cls, notes::kNoteClassDocument);
    ASSERT_EQ(NOTES_FN(NSFNoteDelete)(src, 0x14, 0), 0);
    EXPECT_EQ(NOTES_FN(NSFNoteDelete)(src, 0x14, 0), notes::kErrNoteDeleted);
    EXPECT_EQ(NOTES_FN(NSFDbClose)(src), 0);
    EXPECT_EQ(NOTES_FN(NSFDbClose)(dst), 0);

    src = Open(source);
    dst = Open(target);
    NOTEHANDLE note = 0;
    EXPECT_NE(NOTES_FN(NSFNoteOpen)(src, 0x14, 0, &note), 0);
    ASSERT_EQ(NOTES_FN(NSFNoteOpen)(dst, copied, 0, &note), 0);
    ORIGINATORID oid{};
    NOTES_FN(NSFNoteGetInfo)(note, notes::kNoteOid, &oid);
    EXPECT_EQ(oid.Note.Innards[0], 0x10u);
    EXPECT_EQ(Text(note, "Subject"), "Beta");
    std::string out = m_dir.File("copied.txt");
    BLOCKID item{};
    ASSERT_EQ(NOTES_FN(NSFItemInfo)(note, "$FILE", 5, &item, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(NOTES_FN(NSFNoteExtractFile)(note, item, out.c_str(), nullptr), 0);
    EXPECT_EQ(testsupport::ReadFile(out), "hello world");
    EXPECT_EQ(NOTES_FN(NSFNoteClose)(note), 0);
    EXPECT_EQ(Search(dst, notes::kNoteClassDocument).size(), 2u);
    EXPECT_EQ(NOTES_FN(NSFDbClose)(src), 0);
    EXPECT_EQ(NOTES_FN(NSFDbClose)(dst), 0);
}

TEST_F(DbView, ADatabaseChangedOnDiskIsNotOverwritten) {
    StartSession();
    std::string name = Install("Sample.dxl");
    DBHANDLE db = Open(name);
    ASSERT_EQ(NOTES_FN(NSFNoteDelete)(db, 0x14, 0), 0);
    std::string other = testsupport::ReadFile(m_dir.File(name)) + "\n<!-- written by another program -->\n";
    testsupport::WriteFile(m_dir.File(name), other);
    STATUS s = NOTES_FN(NSFDbClose)(db);
    EXPECT_NE(s, 0);
    EXPECT_NE(Message(s).find("changed"), std::string::npos) << Message(s);
    EXPECT_EQ(testsupport::ReadFile(m_dir.File(name)), other);
}

TEST_F(DbView, ModifiedNoteTablesListNotesByClassAndMarkDeletions) {
    StartSession();
    DBHANDLE db = Open(Install("Sample.dxl"));
    ASSERT_EQ(NOTES_FN(NSFNoteDelete)(db, 0x18, 0), 0);
    TIMEDATE since{};
    NOTES_FN(TimeConstruct)(2, 2, &since);
    DHANDLE table = 0;
    ASSERT_EQ(NOTES_FN(NSFDbGetModifiedNoteTable)(db, notes::kNoteClassView, since, nullptr, &table), 0);
    std::vector<DWORD> views;
    DWORD id = 0;
    for (BOOL first = 1; NOTES_FN(IDScan)(table, first, &id); first = 0) {
        views.push_back(id);
    }
    EXPECT_EQ(views, (std::vector<DWORD>{0x100, 0x104, 0x108, 0x10c, 0x110}));
    NOTES_FN(IDDestroyTable)(table);
    ASSERT_EQ(NOTES_FN(NSFDbGetModifiedNoteTable)(db, notes::kNoteClassDocument, since, nullptr, &table), 0);
    EXPECT_EQ(NOTES_FN(IDEntries)(table), 6u);  // five readable documents and one deletion
    BOOL found = 0;
    DWORD scan = 0;
    for (BOOL first = 1; NOTES_FN(IDScan)(table, first, &scan); first = 0) {
        found = found || scan == (0x18 | notes::kNoteIdCategory);
    }
    EXPECT_TRUE(found);
    NOTES_FN(IDDestroyTable)(table);
    EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
}

TEST_F(DbView, DirectoriesAreBrowsedWithFileTypeSearches) {
    testsupport::WriteFile(m_dir.File("apps/one.nsf"),
                           testsupport::ReadFile(testsupport::SourcePath("tests/data/dxl/Sample.dxl")));
    testsupport::WriteFile(m_dir.File("apps/readme.txt"), "not a database");
    testsupport::WriteFile(m_dir.File("apps/sub/two.nsf"),
                           testsupport::ReadFile(testsupport::SourcePath("tests/data/dxl/ShiftJisNote.dxl")));
    StartSession();
    DBHANDLE dir = Open("apps");
    struct Entry {
        std::string title;
        std::string path;
        std::string type;
    };
    std::vector<Entry> entries;
    auto proc = [](void *param, SEARCH_MATCH *, ITEM_TABLE *summary) -> STATUS {
        auto *b = reinterpret_cast<const unsigned char *>(summary);
        WORD items = static_cast<WORD>(b[2] | (b[3] << 8));
        std::size_t at = 4 + 4u * items;
        Entry e;
        for (WORD i = 0; i < items; ++i) {
            WORD nameLen = static_cast<WORD>(b[4 + 4 * i] | (b[5 + 4 * i] << 8));
            WORD valueLen = static_cast<WORD>(b[6 + 4 * i] | (b[7 + 4 * i] << 8));
            std::string name(reinterpret_cast<const char *>(b) + at, nameLen);
            std::string value(reinterpret_cast<const char *>(b) + at + nameLen + 2, valueLen - 2u);
            at += nameLen + valueLen;
            (name == "$TITLE" ? e.title : name == "$Path" ? e.path : name == "$Type" ? e.type : name) = value;
        }
        static_cast<std::vector<Entry> *>(param)->push_back(e);
        return 0;
    };
    ASSERT_EQ(NOTES_FN(NSFSearch)(dir, 0, nullptr, 6, 0xC004, nullptr, proc, &entries, nullptr), 0);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].title, "Sample Database");
    EXPECT_EQ(entries[0].path, "apps/one.nsf");
    EXPECT_EQ(entries[0].type, "$NOTEFILE");
    EXPECT_EQ(entries[1].path, "apps/sub");
    EXPECT_EQ(entries[1].type, "$DIR");
    EXPECT_EQ(NOTES_FN(NSFDbClose)(dir), 0);
}

}  // namespace
