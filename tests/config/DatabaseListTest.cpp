// The multiple-database queue: duplicates, removal, reset, the list file's round trip and malformed
// list files, and the profile key that names a list file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/DatabaseExportProfile.h"
#include "config/NotesDatabaseList.h"

namespace {

using config::NotesDatabaseList;
using config::NotesExportDatabase;

NotesExportDatabase Entry(const std::string &title, const std::string &server, const std::string &path) {
    NotesExportDatabase entry;
    entry.title = title;
    entry.server = server;
    entry.path = path;
    return entry;
}

std::vector<std::string> Titles(const NotesDatabaseList &list) {
    std::vector<std::string> titles;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        titles.push_back(list.Entry(i).title);
    }
    return titles;
}

TEST(DatabaseListTest, SameServerAndPathIsRefusedWhateverTheCaseOrTitle) {
    NotesDatabaseList list;
    ASSERT_TRUE(list.Add(Entry("Sales", "Hub/Acme", "archive\\sales.nsf")));
    EXPECT_FALSE(list.Add(Entry("Other title", "HUB/acme", "Archive\\Sales.NSF")));
    EXPECT_TRUE(list.Add(Entry("Sales", "", "archive\\sales.nsf"))) << "a local copy is another database";
    EXPECT_TRUE(list.Add(Entry("Sales", "Hub/Acme", "sales.nsf")));
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.Find("hub/acme", "ARCHIVE\\SALES.NSF")->title, "Sales");
}

TEST(DatabaseListTest, RemoveTakesAnyOrderOfRowsAndRenumbers) {
    NotesDatabaseList list;
    for (const char *name : {"a", "b", "c", "d", "e"}) {
        ASSERT_TRUE(list.Add(Entry(name, "", std::string(name) + ".nsf")));
    }
    list.Remove({3, 0, 3, 42});
    EXPECT_EQ(Titles(list), (std::vector<std::string>{"b", "c", "e"}));
    for (std::size_t i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.Entry(i).row, static_cast<int>(i));
    }
}

TEST(DatabaseListTest, ResetFlagsMakesEveryEntryPendingAgain) {
    NotesDatabaseList list;
    ASSERT_TRUE(list.Add(Entry("a", "", "a.nsf")));
    NotesExportDatabase &done = list.Entry(0);
    done.processed = true;
    done.exported = 7;
    done.total = 9;
    done.status = "OK";
    done.image = config::kQueueImageSucceeded;
    EXPECT_EQ(list.ProcessedCount(), 1u);
    list.ResetFlags();
    EXPECT_EQ(list.ProcessedCount(), 0u);
    EXPECT_EQ(list.Entry(0).exported + list.Entry(0).total, 0);
    EXPECT_EQ(list.Entry(0).status, "");
    EXPECT_EQ(list.Entry(0).image, config::kQueueImagePending);
    EXPECT_EQ(list.Entry(0).title, "a");
}

TEST(DatabaseListTest, ListFileRoundTripKeepsEveryTitle) {
    const std::vector<NotesExportDatabase> entries = {
        Entry("Plain", "", "plain.nsf"),
        Entry("Sales, Europe", "Hub/Acme", "sales\\europe.nsf"),
        Entry("The \"Big\" One", "", "big.nsf"),
        Entry("\"", "", "quote.nsf"),
        Entry("Ventes – Société Générale", "Srv/Paris", "fr\\ventes.nsf"),
        Entry("販売データベース", "東京/Acme", "jp\\販売.nsf"),
        Entry("Два\r\nlines", "", "two.nsf"),
        Entry("", "", "untitled.nsf"),
        Entry(" padded ", " Srv ", "pad,ded.nsf"),
    };
    NotesDatabaseList list;
    for (const NotesExportDatabase &entry : entries) {
        ASSERT_TRUE(list.Add(entry));
    }
    list.Entry(0).processed = true;
    NotesDatabaseList read;
    ASSERT_TRUE(read.FromCsv(list.ToCsv())) << read.LastError();
    ASSERT_EQ(read.Count(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(read.Entry(i).title, entries[i].title);
        EXPECT_EQ(read.Entry(i).server, entries[i].server);
        EXPECT_EQ(read.Entry(i).path, entries[i].path);
    }
    EXPECT_FALSE(read.Entry(0).processed) << "a list file holds no run state";
    const std::string head =
        "\xEF\xBB\xBFPlain,,plain.nsf\r\n\"Sales, Europe\",Hub/Acme,sales\\europe.nsf\r\n"
        "\"The \"\"Big\"\" One\",,big.nsf\r\n";
    EXPECT_EQ(list.ToCsv().substr(0, head.size()), head);
}

struct ReadCase {
    const char *name;
    std::string bytes;
    std::vector<std::string> paths;  // empty with an error
    std::string error;
};

class DatabaseListReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(DatabaseListReadTest, ReadsOrRefuses) {
    const ReadCase &c = GetParam();
    NotesDatabaseList list;
    ASSERT_TRUE(list.Add(Entry("kept", "", "kept.nsf")));
    const bool read = list.FromCsv(c.bytes);
    EXPECT_EQ(read, c.error.empty()) << list.LastError();
    EXPECT_EQ(list.LastError(), c.error);
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        paths.push_back(list.Entry(i).path);
    }
    EXPECT_EQ(paths, c.error.empty() ? c.paths : std::vector<std::string>{"kept.nsf"});
}

INSTANTIATE_TEST_SUITE_P(
    Files, DatabaseListReadTest,
    ::testing::Values(
        ReadCase{"LineFeedsNoMarkNoFinalNewline", "a,,a.nsf\nb,s,b.nsf", {"a.nsf", "b.nsf"}, ""},
        ReadCase{"BlankLinesSkipped", "\xEF\xBB\xBF\r\na,,a.nsf\r\n\r\n\r\n", {"a.nsf"}, ""},
        ReadCase{"DuplicatesDropped", "a,,a.nsf\r\nA,,A.NSF\r\n", {"a.nsf"}, ""},
        ReadCase{"ExtraFieldsIgnored", "a,,a.nsf,12,OK\r\n", {"a.nsf"}, ""},
        ReadCase{"EmptyFile", "", {}, ""},
        ReadCase{
            "NoPath", "a,,a.nsf\r\ntitle only\r\n", {}, "No database path in entry 2 of the database list"},
        ReadCase{"UnclosedQuote",
                 "a,,a.nsf\r\n\"b,,b.nsf\r\n",
                 {},
                 "Malformed quoted field in line 2 of the database list"},
        ReadCase{"TextAfterClosingQuote",
                 "\"a\"x,,a.nsf\r\n",
                 {},
                 "Malformed quoted field in line 1 of the database list"}),
    [](const ::testing::TestParamInfo<ReadCase> &info) { return std::string(info.param.name); });

// The list-file key is written only into profiles that name a list, and read back; a template never
// carries it, and the profile's other lines are those of a profile without it.
TEST(DatabaseListTest, ProfileKeyIsWrittenOnlyWhenSet) {
    config::DatabaseExportProfile profile;
    const std::string without = profile.SaveToBytes("Vorlix", "6.0.15", false);
    profile.Settings.VorlixDatabaseList = "lists/all.csv";
    const std::string with = profile.SaveToBytes("Vorlix", "6.0.15", false);
    EXPECT_EQ(profile.SaveToBytes("Vorlix", "6.0.15", true),
              config::DatabaseExportProfile().SaveToBytes("Vorlix", "6.0.15", true));
    EXPECT_NE(with, without);
    config::DatabaseExportProfile read;
    ASSERT_TRUE(read.LoadFromBytes(with, "p.xpp", "Vorlix", "6.0.15")) << read.LastError();
    EXPECT_EQ(read.Settings.VorlixDatabaseList, "lists/all.csv");
    ASSERT_TRUE(read.LoadFromBytes(without, "p.xpp", "Vorlix", "6.0.15"));
    EXPECT_EQ(read.Settings.VorlixDatabaseList, "");
}

}  // namespace
