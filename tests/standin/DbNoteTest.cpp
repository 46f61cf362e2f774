// Notes and items through the C API: canonical bytes of every value type, items of one name in
// order, note information, file extraction, sealing, signatures and readers.
#include <cstring>

#include "DbFixture.h"

namespace {

using dbtest::DbFixture;
using testsupport::Standin;

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) {
        out.push_back(static_cast<char>(v));
    }
    return out;
}

std::string Double(double d) {
    std::string out(8, '\0');
    std::memcpy(out.data(), &d, 8);
    return out;
}

class DbNote : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        StartSession();
        m_db = Open(Install("Sample.dxl", "sample.nsf"));
    }
    void TearDown() override {
        if (m_note != 0) {
            EXPECT_EQ(NOTES_FN(NSFNoteClose)(m_note), 0);
        }
        EXPECT_EQ(NOTES_FN(NSFDbClose)(m_db), 0);
        DbFixture::TearDown();
    }
    NOTEHANDLE OpenNote(NOTEID id) {
        EXPECT_EQ(NOTES_FN(NSFNoteOpen)(m_db, id, 0, &m_note), 0);
        return m_note;
    }
    DBHANDLE m_db = 0;
    NOTEHANDLE m_note = 0;
};

struct Expected {
    const char *item;
    std::string bytes;  // type word first
};

TEST_F(DbNote, ItemsCarryTheirCanonicalBytes) {
    NOTEHANDLE note = OpenNote(0x10);
    const Expected cases[] = {
        {"Subject", Bytes({0x00, 0x05}) + "Beta"},
        {"Lines", Bytes({0x00, 0x05}) + std::string("one\0two", 7)},
        {"Tags", Bytes({0x01, 0x05, 2, 0, 1, 0, 2, 0}) + "abc"},
        {"Count", Bytes({0x00, 0x03}) + Double(42.5)},
        {"Scores", Bytes({0x01, 0x03, 2, 0, 0, 0}) + Double(1) + Double(2)},
    };
    for (const Expected &c : cases) {
        EXPECT_EQ(Value(note, c.item), c.bytes) << c.item;
    }
    // XML rich text is served as its records: the last is the text run, padded to an even length.
    std::string body = Value(note, "Body");
    EXPECT_EQ(body.substr(0, 2), Bytes({0x01, 0x00}));
    EXPECT_EQ(body.substr(body.size() - 14),
              Bytes({0x85, 0xFF, 13, 0, 1, 0, 0, 10}) + "Hello" + std::string(1, '\0'));
    // 28 Jul 2020 12:22:40.71 at UTC-4 is 16:22:40.71 GMT; the zone word records 4 hours west.
    std::string when = Value(note, "When");
    ASSERT_EQ(when.size(), 10u);
    DWORD ticks = 0;
    DWORD day = 0;
    std::memcpy(&ticks, when.data() + 2, 4);
    std::memcpy(&day, when.data() + 6, 4);
    EXPECT_EQ(ticks, ((16u * 60 + 22) * 60 + 40) * 100 + 71);
    EXPECT_EQ(day & 0xFFFFFF, 2459059u);
    EXPECT_EQ((day >> 24) & 0xF, 4u);
    EXPECT_EQ(day & 0x40000000u, 0u);
    std::string dates = Value(note, "Dates");
    ASSERT_EQ(dates.size(), 2u + 4 + 8 + 16);
    EXPECT_EQ(dates.substr(0, 6), Bytes({0x01, 0x04, 1, 0, 1, 0}));
}

TEST_F(DbNote, ItemsOfOneNameComeInOrderAndScanSeesEveryItem) {
    NOTEHANDLE note = OpenNote(0x10);
    BLOCKID item{};
    BLOCKID value{};
    WORD type = 0;
    DWORD len = 0;
    ASSERT_EQ(NOTES_FN(NSFItemInfo)(note, "Note", 4, &item, &type, &value, &len), 0);
    char *p = static_cast<char *>(NOTES_FN(OSLockObject)(value.pool));
    EXPECT_EQ(std::string(p + value.block + 2, len - 2), "first");
    NOTES_FN(OSUnlockObject)(value.pool);
    BLOCKID next{};
    ASSERT_EQ(NOTES_FN(NSFItemInfoNext)(note, item, "Note", 4, &next, &type, &value, &len), 0);
    p = static_cast<char *>(NOTES_FN(OSLockObject)(value.pool));
    EXPECT_EQ(std::string(p + value.block + 2, len - 2), "second");
    NOTES_FN(OSUnlockObject)(value.pool);
    EXPECT_EQ(NOTES_FN(NSFItemInfoNext)(note, next, "Note", 4, &next, &type, &value, &len),
              notes::kErrItemNotFound);

    std::vector<std::string> names;
    auto scan = [](WORD, WORD, char *name, WORD nameLen, void *, DWORD, void *param) -> STATUS {
        static_cast<std::vector<std::string> *>(param)->emplace_back(name, nameLen);
        return 0;
    };
    ASSERT_EQ(NOTES_FN(NSFItemScan)(note, scan, &names), 0);
    std::vector<std::string> expected = {"Subject", "Category", "Lines", "Tags", "Count", "Scores", "When",
                                         "Dates",   "Body",     "Note",  "Note", "$FILE", "Form"};
    EXPECT_EQ(names, expected);
}

TEST_F(DbNote, TextListEntriesAndTimes) {
    NOTEHANDLE note = OpenNote(0x10);
    EXPECT_EQ(NOTES_FN(NSFItemGetTextListEntries)(note, "Tags"), 2);
    char buf[16] = {};
    EXPECT_EQ(NOTES_FN(NSFItemGetTextListEntry)(note, "Tags", 1, buf, sizeof buf), 2);
    EXPECT_STREQ(buf, "bc");
    EXPECT_EQ(NOTES_FN(NSFItemGetTextListEntry)(note, "Tags", 2, buf, sizeof buf), 0);
    EXPECT_EQ(NOTES_FN(NSFItemGetText)(note, "Subject", buf, 3), 2);  // cut to the buffer
    EXPECT_STREQ(buf, "Be");
    TIMEDATE t{};
    EXPECT_TRUE(NOTES_FN(NSFItemGetTime)(note, "When", &t));
    EXPECT_FALSE(NOTES_FN(NSFItemGetTime)(note, "Subject", &t));
}

TEST_F(DbNote, NoteInformationComesFromNoteinfo) {
    NOTEHANDLE note = OpenNote(0x10);
    NOTEID id = 0;
    WORD cls = 0;
    ORIGINATORID oid{};
    NOTES_FN(NSFNoteGetInfo)(note, notes::kNoteId, &id);
    NOTES_FN(NSFNoteGetInfo)(note, notes::kNoteClass, &cls);
    NOTES_FN(NSFNoteGetInfo)(note, notes::kNoteOid, &oid);
    EXPECT_EQ(id, 0x10u);
    EXPECT_EQ(cls, notes::kNoteClassDocument);
    EXPECT_EQ(oid.Sequence, 3u);
    EXPECT_EQ(oid.Note.Innards[0], 0x10u);
}

TEST_F(DbNote, ExtractFileWritesTheAttachmentAndAnUncreatablePathWritesNothing) {
    NOTEHANDLE note = OpenNote(0x10);
    BLOCKID item{};
    BLOCKID value{};
    WORD type = 0;
    DWORD len = 0;
    ASSERT_EQ(NOTES_FN(NSFItemInfo)(note, "$FILE", 5, &item, &type, &value, &len), 0);
    EXPECT_EQ(type, notes::kTypeObject);
    char *p = static_cast<char *>(NOTES_FN(OSLockObject)(value.pool)) + value.block;
    WORD nameLength = 0;
    DWORD size = 0;
    std::memcpy(&nameLength, p + 2 + 6, 2);
    std::memcpy(&size, p + 2 + 16, 4);
    EXPECT_EQ(std::string(p + 2 + 36, nameLength), "hello.txt");
    EXPECT_EQ(size, 11u);
    NOTES_FN(OSUnlockObject)(value.pool);
    std::string out = m_dir.File("hello.txt");
    ASSERT_EQ(NOTES_FN(NSFNoteExtractFile)(note, item, out.c_str(), nullptr), 0);
    EXPECT_EQ(testsupport::ReadFile(out), "hello world");
    std::string bad = m_dir.File("no/such/dir/hello.txt");
    STATUS s = NOTES_FN(NSFNoteExtractFile)(note, item, bad.c_str(), nullptr);
    EXPECT_NE(s, 0);
    EXPECT_NE(Message(s).find("no/such/dir"), std::string::npos);
    BLOCKID subject{};
    ASSERT_EQ(NOTES_FN(NSFItemInfo)(note, "Subject", 7, &subject, &type, &value, &len), 0);
    EXPECT_NE(NOTES_FN(NSFNoteExtractFile)(note, subject, out.c_str(), nullptr), 0);
}

TEST_F(DbNote, SealedItemsOpenOnlyWithAKeyTheIdHolds) {
    struct Case {
        NOTEID id;
        bool decrypts;
        const char *hidden;
    };
    const Case cases[] = {{0x1c, true, "open sesame"}, {0x20, false, nullptr}};
    for (const Case &c : cases) {
        NOTEHANDLE note = 0;
        ASSERT_EQ(NOTES_FN(NSFNoteOpen)(m_db, c.id, 0, &note), 0);
        BOOL isSigned = 0;
        BOOL isSealed = 0;
        EXPECT_TRUE(NOTES_FN(NSFNoteIsSignedOrSealed)(note, &isSigned, &isSealed));
        EXPECT_TRUE(isSealed);
        EXPECT_EQ(Text(note, "Hidden"), "") << "sealed data must not be readable before decryption";
        STATUS s = NOTES_FN(NSFNoteDecrypt)(note, 0, nullptr);
        if (c.decrypts) {
            EXPECT_EQ(s, 0);
            EXPECT_EQ(Text(note, "Hidden"), c.hidden);
        } else {
            EXPECT_NE(s, 0);
            EXPECT_NE(Message(s).find("decrypt"), std::string::npos) << Message(s);
            EXPECT_EQ(Text(note, "Hidden"), "");
        }
        EXPECT_EQ(NOTES_FN(NSFNoteClose)(note), 0);
    }
}

TEST_F(DbNote, SignaturesAreReportedAndUnsignedNotesSaySo) {
    NOTEHANDLE note = OpenNote(0x20);
    char signer[notes::kMaxUserName] = {};
    char certifier[notes::kMaxUserName] = {};
    TIMEDATE when{};
    ASSERT_EQ(NOTES_FN(NSFNoteVerifySignature)(note, nullptr, &when, signer, certifier), 0);
    EXPECT_STREQ(signer, "CN=Signer One/O=Acme");
    EXPECT_STREQ(certifier, "O=Acme");
    NOTEHANDLE plain = 0;
    ASSERT_EQ(NOTES_FN(NSFNoteOpen)(m_db, 0x14, 0, &plain), 0);
    EXPECT_EQ(NOTES_FN(NSFNoteVerifySignature)(plain, nullptr, &when, signer, certifier),
              notes::kErrNoteNotSigned);
    EXPECT_EQ(NOTES_FN(NSFNoteClose)(plain), 0);
}

TEST_F(DbNote, ReadersFieldsHideDocumentsFromUsersNotNamed) {
    NOTEHANDLE note = 0;
    EXPECT_EQ(NOTES_FN(NSFNoteOpen)(m_db, 0x24, 0, &note), notes::kErrNoAccess);
    EXPECT_EQ(note, 0u);
    ASSERT_EQ(NOTES_FN(NSFNoteOpen)(m_db, 0x28, 0, &note), 0);  // named in abbreviated form
    EXPECT_EQ(NOTES_FN(NSFNoteClose)(note), 0);
    EXPECT_EQ(NOTES_FN(NSFNoteOpen)(m_db, 0x999, 0, &note) != 0, true);
}

TEST_F(DbNote, ItemDefinitionTablesListEveryNameWithItsType) {
    ITEMDEFTABLEHANDLE h = 0;
    ASSERT_EQ(NOTES_FN(NSFDbItemDefTable)(m_db, &h), 0);
    auto *b = static_cast<unsigned char *>(NOTES_FN(OSLockObject)(h));
    WORD count = static_cast<WORD>(b[2] | (b[3] << 8));
    std::vector<std::pair<std::string, WORD>> simple;
    std::size_t names = 4 + 6u * count;
    for (WORD i = 0; i < count; ++i) {
        WORD type = static_cast<WORD>(b[4 + 6 * i + 2] | (b[4 + 6 * i + 3] << 8));
        WORD len = static_cast<WORD>(b[4 + 6 * i + 4] | (b[4 + 6 * i + 5] << 8));
        simple.emplace_back(std::string(reinterpret_cast<char *>(b) + names, len), type);
        names += len;
    }
    NOTES_FN(OSUnlockObject)(h);
    NOTES_FN(OSMemFree)(h);
    EXPECT_NE(
        std::find(simple.begin(), simple.end(), std::make_pair(std::string("Count"), notes::kTypeNumber)),
        simple.end());
    EXPECT_NE(
        std::find(simple.begin(), simple.end(), std::make_pair(std::string("$FILE"), notes::kTypeObject)),
        simple.end());

    ITEMDEFTABLEEXTHANDLE ext = 0;
    ASSERT_EQ(NOTES_FN(NSFDbItemDefTableExt)(m_db, &ext), 0);
    auto *table = static_cast<ITEM_DEFINITION_TABLE_EXT *>(NOTES_FN(OSLockObject)(ext));
    ITEM_DEFINITION_TABLE_LOCK lock{};
    ASSERT_EQ(NOTES_FN(NSFItemDefExtLock)(table, &lock), 0);
    DWORD entries = 0;
    ASSERT_EQ(NOTES_FN(NSFItemDefExtEntries)(&lock, &entries), 0);
    std::vector<std::pair<std::string, WORD>> extended;
    for (DWORD i = 0; i < entries; ++i) {
        WORD type = 0;
        WORD len = 0;
        char *name = nullptr;
        ASSERT_EQ(NOTES_FN(NSFItemDefExtGetEntry)(&lock, i, &type, &len, &name), 0);
        extended.emplace_back(std::string(name, len), type);
    }
    EXPECT_EQ(NOTES_FN(NSFItemDefExtUnlock)(table, &lock), 0);
    EXPECT_EQ(NOTES_FN(NSFItemDefExtFree)(table), 0);
    NOTES_FN(OSUnlockObject)(ext);
    NOTES_FN(OSMemFree)(ext);
    EXPECT_EQ(extended, simple);
}

}  // namespace
