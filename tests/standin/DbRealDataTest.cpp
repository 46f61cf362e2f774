// Every file of the shared real DXL data opens, serves every item it holds with its type, and gives
// the known answers listed with the data.
#include <cstring>

#include "DbFixture.h"

namespace {

using dbtest::DbFixture;
using testsupport::Standin;

const char *const kFiles[] = {
    "domino-jnx/doc_calendar_notice_lists.xml",
    "domino-jnx/doc_certstore_signed.xml",
    "domino-jnx/doc_raw_dollarfonts.xml",
    "domino-jnx/doc_raw_styledtext.xml",
    "domino-jnx/doc_userdata_raw.xml",
    "domino-jnx/doc_xml_richtext_basicnote.xml",
    "domino-jnx/doc_xml_richtext_multiline.xml",
    "domino-jnx/fileresource_filedata_help_vampire.xml",
    "domino-jnx/folder_sorted_column.xml",
    "domino-jnx/form_items_numberlist_rawtime400.xml",
    "domino-jnx/form_v1_1987_raw_body.xml",
    "domino-jnx/form_xml_richtext_tables_texteffects.xml",
    "domino-jnx/imageresource_gif_help_vampire.xml",
    "domino-jnx/view_all_docnumber.xml",
    "domino-jnx/view_categorized_multivalue.xml",
    "domino-jnx/view_three_columns.xml",
    "domino-cert-manager/acme_diag_challenge.dxl",
    "domino-cert-manager/lab_certstore.dxl",
};

std::size_t Count(const std::string &text, const std::string &what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

// The user the readers fields of the real data name, so that every document is visible.
const char kRealUser[] = "CN=Jesse Gallagher/O=IKSG";

class DbRealData : public DbFixture, public ::testing::WithParamInterface<const char *> {
protected:
    std::string InstallReal(const std::string &relative) {
        std::string name = relative.substr(relative.rfind('/') + 1);
        testsupport::WriteFile(m_dir.File(name), testsupport::ReadFile(testsupport::RealDataPath(relative)));
        return name;
    }
};

TEST_P(DbRealData, OpensAndServesEveryItemWithoutSkipping) {
    StartSession({}, kRealUser);
    std::string text = testsupport::ReadFile(testsupport::RealDataPath(GetParam()));
    DBHANDLE db = Open(InstallReal(GetParam()));
    ASSERT_NE(db, 0u);
    std::size_t served = 0;
    for (NOTEID id : Search(db, notes::kNoteClassAll)) {
        NOTEHANDLE note = 0;
        ASSERT_EQ(NOTES_FN(NSFNoteOpen)(db, id, 0, &note), 0);
        auto scan = [](WORD, WORD, char *, WORD, void *value, DWORD len, void *param) -> STATUS {
            EXPECT_GE(len, 2u);
            WORD type = 0;
            std::memcpy(&type, value, 2);
            EXPECT_NE(type, 0x0000 + 0xFFFF);
            ++*static_cast<std::size_t *>(param);
            return 0;
        };
        ASSERT_EQ(NOTES_FN(NSFItemScan)(note, scan, &served), 0);
        EXPECT_EQ(NOTES_FN(NSFNoteClose)(note), 0);
    }
    EXPECT_GE(served, Count(text, "<item "));
    EXPECT_EQ(Standin::Get().Diagnostics().find("skipped"), std::string::npos)
        << Standin::Get().Diagnostics();
    EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
}

INSTANTIATE_TEST_SUITE_P(Files, DbRealData, ::testing::ValuesIn(kFiles));

struct KnownItem {
    const char *file;
    NOTEID note;
    const char *item;
    WORD type;
    std::vector<std::string> contains;  // byte strings the value holds
};

class DbRealDataItems : public DbRealData {};

TEST_F(DbRealDataItems, KnownItemsHaveTheirTypesAndBytes) {
    StartSession({}, kRealUser);
    const KnownItem cases[] = {
        {"domino-jnx/doc_raw_dollarfonts.xml",
         0x57c2,
         "Body",
         notes::kTypeComposite,
         {"Please select one of the ", "following ", "options:"}},
        {"domino-jnx/doc_raw_dollarfonts.xml", 0x57c2, "LinksbarPosition", notes::kTypeNumber, {}},
        {"domino-jnx/doc_raw_dollarfonts.xml", 0x57c2, "OriginalModTime", notes::kTypeTime, {}},
        {"domino-jnx/doc_raw_styledtext.xml",
         0x57c6,
         "Body",
         notes::kTypeComposite,
         {"This is normal text.", "This is monospace text", "This is serif italic bold text"}},
        {"domino-jnx/doc_calendar_notice_lists.xml", 0x8fa, "$REF", notes::kTypeNoteRefList, {}},
        {"domino-jnx/doc_calendar_notice_lists.xml",
         0x8fa,
         "$ICAL_UPDATE_SEQUENCE",
         notes::kTypeNumberRange,
         {}},
        {"domino-jnx/doc_calendar_notice_lists.xml",
         0x8fa,
         "$ICAL_UPDATE_DTSTAMP",
         notes::kTypeTimeRange,
         {}},
        {"domino-jnx/doc_calendar_notice_lists.xml", 0x8fa, "ExcludeFromView", notes::kTypeTextList, {"DA"}},
        {"domino-jnx/doc_userdata_raw.xml",
         0,
         "SomeUserDataItem",
         notes::kTypeUserData,
         {"Format From Agent"}},
        {"domino-jnx/form_v1_1987_raw_body.xml", 0x892, "$WINDOWTITLE", notes::kTypeFormula, {"DEFAULT"}},
        {"domino-cert-manager/acme_diag_challenge.dxl",
         0,
         "ChallengeContent",
         notes::kTypeText,
         {"DOMINO-ACME-PROTOCOL-CHALLANGE-DATA-OK"}},
    };
    for (const KnownItem &c : cases) {
        DBHANDLE db = Open(InstallReal(c.file));
        NOTEID id = c.note != 0 ? c.note : Search(db, notes::kNoteClassDocument).at(0);
        NOTEHANDLE note = 0;
        ASSERT_EQ(NOTES_FN(NSFNoteOpen)(db, id, 0, &note), 0) << c.file;
        std::string value = Value(note, c.item);
        ASSERT_GE(value.size(), 2u) << c.file << " " << c.item;
        WORD type = 0;
        std::memcpy(&type, value.data(), 2);
        EXPECT_EQ(type, c.type) << c.file << " " << c.item;
        for (const std::string &part : c.contains) {
            EXPECT_NE(value.find(part), std::string::npos) << c.file << " " << c.item << " lacks " << part;
        }
        EXPECT_EQ(NOTES_FN(NSFNoteClose)(note), 0);
        EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
    }
}

TEST_F(DbRealDataItems, ResourceFilesExtractToTheOriginalImage) {
    StartSession({}, kRealUser);
    std::string gif = testsupport::ReadFile(testsupport::RealDataPath("domino-jnx/help_vampire.gif"));
    ASSERT_EQ(gif.size(), 42396u);
    const char *files[] = {"domino-jnx/fileresource_filedata_help_vampire.xml",
                           "domino-jnx/imageresource_gif_help_vampire.xml"};
    for (const char *file : files) {
        DBHANDLE db = Open(InstallReal(file));
        std::vector<NOTEID> ids = Search(db, notes::kNoteClassForm);
        ASSERT_EQ(ids.size(), 1u) << file;
        NOTEHANDLE note = 0;
        ASSERT_EQ(NOTES_FN(NSFNoteOpen)(db, ids[0], 0, &note), 0);
        BLOCKID item{};
        ASSERT_EQ(NOTES_FN(NSFItemInfo)(note, "$FILE", 5, &item, nullptr, nullptr, nullptr), 0) << file;
        std::string out = m_dir.File("extracted.gif");
        ASSERT_EQ(NOTES_FN(NSFNoteExtractFile)(note, item, out.c_str(), nullptr), 0);
        EXPECT_TRUE(testsupport::ReadFile(out) == gif) << file;
        EXPECT_EQ(NOTES_FN(NSFNoteClose)(note), 0);
        EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
    }
}

TEST_F(DbRealDataItems, RealViewsAndFoldersOpenAsCollections) {
    StartSession({}, kRealUser);
    const char *files[] = {"domino-jnx/view_three_columns.xml", "domino-jnx/view_categorized_multivalue.xml",
                           "domino-jnx/view_all_docnumber.xml", "domino-jnx/folder_sorted_column.xml"};
    for (const char *file : files) {
        DBHANDLE db = Open(InstallReal(file));
        std::vector<NOTEID> views = Search(db, notes::kNoteClassView);
        ASSERT_EQ(views.size(), 1u) << file;
        EXPECT_TRUE(ReadView(db, views[0], 0xFFFFFFFF).empty()) << file;  // a design without documents
        EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
    }
}

}  // namespace
