// Generated databases: many documents read in small batches, and notes whose items outgrow one
// 64 KB memory pool.
#include "DbFixture.h"
#include "support/DxlBuilder.h"

namespace {

using dbtest::DbFixture;
using testsupport::DxlBuilder;

class DbGenerated : public DbFixture {};

TEST_F(DbGenerated, SmallBatchesReadTheSameEntriesAsOneRead) {
    struct Case {
        const char *batch;
        int reads;
    };
    const Case cases[] = {{"7", 72}, {"0", 1}, {"500", 1}, {"499", 2}};
    DxlBuilder builder;
    builder.Documents(500).View("All", "SELECT @All", {"Index"});
    for (const Case &c : cases) {
        StartSession({std::string("StandinReadEntriesBatch=") + c.batch});
        testsupport::WriteFile(m_dir.File("gen.nsf"), builder.Build());
        DBHANDLE db = Open("gen.nsf");
        int reads = 0;
        std::vector<NOTEID> ids = ReadView(db, Find(db, "All"), 0xFFFFFFFF, &reads);
        EXPECT_EQ(ids, Search(db, notes::kNoteClassDocument)) << c.batch;
        EXPECT_EQ(ids.size(), 500u);
        EXPECT_EQ(reads, c.reads) << c.batch;
        EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
        NOTES_FN(NotesTerm)();
        m_started = false;
    }
}

TEST_F(DbGenerated, ItemsBeyondOnePoolKeepTheirBytes) {
    DxlBuilder builder;
    builder.Document();
    for (int i = 0; i < 40; ++i) {
        builder.Text("Big" + std::to_string(i), std::string(3000, static_cast<char>('a' + i % 26)));
    }
    StartSession();
    testsupport::WriteFile(m_dir.File("big.nsf"), builder.Build());
    DBHANDLE db = Open("big.nsf");
    NOTEHANDLE note = 0;
    ASSERT_EQ(NOTES_FN(NSFNoteOpen)(db, builder.LastNoteId(), 0, &note), 0);
    for (int i = 0; i < 40; ++i) {
        std::string name = "Big" + std::to_string(i);
        EXPECT_EQ(Value(note, name.c_str()),
                  std::string("\x00\x05", 2) + std::string(3000, static_cast<char>('a' + i % 26)))
            << name;
    }
    EXPECT_EQ(NOTES_FN(NSFNoteClose)(note), 0);
    EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
}

}  // namespace
