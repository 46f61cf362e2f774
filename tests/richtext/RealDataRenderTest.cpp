// Every rich-text item of the real DXL files renders in both forms through the stand-in runtime: the
// words of its XML text appear in the text form in order, the known answers of the data hold, and no
// item is reported damaged.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "notes/NotesApi.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesNote.h"
#include "notes/NotesSession.h"
#include "richtext/NotesItem.h"
#include "support/TestSupport.h"

namespace {

const char *const kFiles[] = {
    "domino-cert-manager/lab_certstore.dxl",
    "domino-jnx/doc_certstore_signed.xml",
    "domino-jnx/doc_raw_dollarfonts.xml",
    "domino-jnx/doc_raw_styledtext.xml",
    "domino-jnx/doc_xml_richtext_basicnote.xml",
    "domino-jnx/doc_xml_richtext_multiline.xml",
    "domino-jnx/form_items_numberlist_rawtime400.xml",
    "domino-jnx/form_v1_1987_raw_body.xml",
    "domino-jnx/form_xml_richtext_tables_texteffects.xml",
};

const char kRealUser[] = "CN=Jesse Gallagher/O=IKSG";

// The words of the XML rich text of every item of the file, item by item in file order: the text
// between tags, leaving out elements whose content is not shown as text.
std::vector<std::vector<std::string>> XmlRichTextWords(const std::string &dxl) {
    std::vector<std::vector<std::string>> items;
    static const std::regex richtext("<richtext>([\\s\\S]*?)</richtext>");
    static const std::regex hidden(
        "<(code|formula|picture|attachmentref|compositedata|computedtext|field|button|actionhotspot|"
        "imageref|notesbitmap|gif|jpeg|png|objectref|region|popup|sectiontitle)\\b[\\s\\S]*?</\\1>");
    static const std::regex tag("<[^>]*>");
    for (std::sregex_iterator it(dxl.begin(), dxl.end(), richtext), end; it != end; ++it) {
        std::string text = std::regex_replace((*it)[1].str(), hidden, " ");
        text = std::regex_replace(text, tag, " ");
        std::vector<std::string> words;
        std::istringstream in(text);
        for (std::string word; in >> word;) {
            if (word.find('&') == std::string::npos) {
                words.push_back(word);
            }
        }
        items.push_back(std::move(words));
    }
    return items;
}

class RealDataRenderTest : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override {
        const std::string relative = GetParam();
        m_name = relative.substr(relative.rfind('/') + 1);
        m_dxl = testsupport::ReadFile(testsupport::RealDataPath(relative));
        testsupport::WriteFile(m_dir.File(m_name), m_dxl);
        testsupport::WriteFile(m_dir.File("user.id"),
                               "UserName=" + std::string(kRealUser) + "\nKey=Secret\n");
        std::string ini =
            testsupport::WriteNotesIni(m_dir.Path(), {"Directory=" + m_dir.Path(), "KeyFilename=user.id"});
        ASSERT_TRUE(m_session.Start(false, testsupport::ProgramDir(), ini)) << m_session.ErrorText();
        ASSERT_TRUE(m_db.Open("", m_name)) << m_db.LastError();
    }
    void TearDown() override {
        m_db.Close();
        m_session.End(true);
        testsupport::ExpectNothingLeft();
    }

    testsupport::TempDir m_dir;
    std::string m_name;
    std::string m_dxl;
    notes::NotesSession m_session;
    notes::NotesDatabase m_db;
};

struct CompositeItems {
    std::vector<std::string> names;
};

STATUS CollectComposite(WORD, WORD, char *name, WORD nameLength, void *value, DWORD valueLength,
                        void *param) {
    const auto *bytes = static_cast<const unsigned char *>(value);
    if (valueLength >= 2 && (bytes[0] | (bytes[1] << 8)) == notes::kTypeComposite) {
        auto &names = static_cast<CompositeItems *>(param)->names;
        const std::string item(name, nameLength);
        if (item != "$Fonts" && (names.empty() || names.back() != item)) {
            names.push_back(item);
        }
    }
    return notes::kNoError;
}

std::vector<NOTEID> AllNotes(DBHANDLE db) {
    std::vector<NOTEID> ids;
    auto collect = [](void *param, SEARCH_MATCH *match, ITEM_TABLE *) -> STATUS {
        SEARCH_MATCH copy = *match;
        if ((copy.SERetFlags & 0x01) != 0) {
            static_cast<std::vector<NOTEID> *>(param)->push_back(copy.ID.NoteID);
        }
        return notes::kNoError;
    };
    (void)notes::Api().fn.NSFSearch(db, 0, nullptr, 0, notes::kNoteClassAll, nullptr, collect, &ids, nullptr);
    return ids;
}

TEST_P(RealDataRenderTest, RendersEveryRichTextItemInBothForms) {
    const std::vector<std::vector<std::string>> xmlWords = XmlRichTextWords(m_dxl);
    std::size_t xmlItem = 0;
    std::size_t rendered = 0;
    std::string allText;
    for (NOTEID id : AllNotes(m_db.Handle())) {
        notes::NotesNote note;
        ASSERT_TRUE(note.Open(m_db.Handle(), id, false));
        CompositeItems items;
        ASSERT_EQ(notes::Api().fn.NSFItemScan(note.Handle(), CollectComposite, &items), notes::kNoError);
        for (const std::string &name : items.names) {
            richtext::NotesRtfAdvancedSettings options;
            options.RtfAdvancedIncludeTableMarks = true;
            const richtext::RenderedItem text = richtext::NotesItem::Render(note, name, ";", &options);
            options.RtfAdvancedOutputFormat = richtext::kOutputFormatHtml;
            options.RtfAdvancedIncludeDocElements = true;
            const richtext::RenderedItem html = richtext::NotesItem::Render(note, name, ";", &options);
            EXPECT_TRUE(text.found && html.found) << name;
            EXPECT_EQ(text.error, "") << m_name << " " << name;
            EXPECT_EQ(html.error, "") << m_name << " " << name;
            EXPECT_NE(html.text.find("<body>\n"), std::string::npos);
            EXPECT_EQ(html.text.size() >= 15 ? html.text.substr(html.text.size() - 15) : "",
                      "</body>\n</html>");
            allText += text.text + "\n";
            ++rendered;
        }
        note.Close();
    }
    EXPECT_GT(rendered, 0u) << m_name;
    if (std::getenv("VORLIX_SHOW_RENDER") != nullptr) {
        std::printf("%s\n", allText.c_str());
    }
    // The words of all XML rich text appear in the text forms in file order.
    std::size_t at = 0;
    for (; xmlItem < xmlWords.size(); ++xmlItem) {
        for (const std::string &word : xmlWords[xmlItem]) {
            const std::size_t found = allText.find(word, at);
            ASSERT_NE(found, std::string::npos) << m_name << ": '" << word << "' after offset " << at << "\n"
                                                << allText;
            at = found + word.size();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, RealDataRenderTest, ::testing::ValuesIn(kFiles));

// The known answers of the data: the fonts of the styled runs and the three runs of the font-table
// document, read through its $Fonts.
class RealDataKnownAnswers : public RealDataRenderTest {};

TEST_P(RealDataKnownAnswers, Hold) {
    const std::vector<NOTEID> ids = AllNotes(m_db.Handle());
    ASSERT_FALSE(ids.empty());
    notes::NotesNote note;
    ASSERT_TRUE(note.Open(m_db.Handle(), ids.front(), false));
    richtext::NotesRtfAdvancedSettings options;
    const std::string text = richtext::NotesItem::Render(note, "Body", ";", &options).text;
    options.RtfAdvancedOutputFormat = richtext::kOutputFormatHtml;
    const std::string html = richtext::NotesItem::Render(note, "Body", ";", &options).text;
    if (m_name == "doc_raw_styledtext.xml") {
        EXPECT_EQ(text, "This is normal text.\n\nThis is monospace text\n\nThis is serif italic bold text");
        EXPECT_NE(
            html.find("font-family: Arial; font-size: 10pt; color: #000000\">This is normal text.</span>"),
            std::string::npos)
            << html;
        EXPECT_NE(
            html.find(
                "font-family: Courier; font-size: 10pt; color: #000000\">This is monospace text</span>"),
            std::string::npos)
            << html;
        EXPECT_NE(
            html.find("font-weight: bold;; font-style: italic;\">This is serif italic bold text</span>"),
            std::string::npos)
            << html;
    } else {
        EXPECT_NE(text.find("Please select one of the following options:"), std::string::npos) << text;
    }
    note.Close();
}

INSTANTIATE_TEST_SUITE_P(Files, RealDataKnownAnswers,
                         ::testing::Values("domino-jnx/doc_raw_styledtext.xml",
                                           "domino-jnx/doc_raw_dollarfonts.xml"));

}  // namespace
