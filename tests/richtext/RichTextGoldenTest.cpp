// Golden tests of the rich-text renderers: composite records built in memory, rendered to HTML and to
// text and compared with the exact expected output (the record trace is printed on a mismatch).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "RichTextFixture.h"
#include "support/TestSupport.h"

namespace {

using richtext::NotesRtfAdvancedSettings;

using testsupport::CellSpec;
using testsupport::CompositeBuilder;
using testsupport::Font;
using testsupport::PabSpec;

constexpr char kDefaultDiv[] =
    "<div style=\"text-align: left; min-height: 1em; margin-left: 96px; margin-right: 96px\">";
constexpr char kCellDiv[] = "<div style=\"text-align: left; min-height: 1em\">";

constexpr char kPlainTable[] =
    "\n<table style=\"border-collapse:collapse; border-style: solid; border-width: 0px\">";
constexpr char kLinkUrl[] =
    "NOTES://Server/0000000200000001/00000004000000030000000600000005/00000008000000070000000A00000009";

// A 100-pixel cell holding one run in the cell's paragraph.
std::string CellTd(const std::string &text, const std::string &padding = "",
                   const std::string &background = "") {
    return "\n<td valign=\"top\" style=\"width: 100px" + padding +
           "; border-style: solid; border-width: 0px 0px 0px 0px; border-color: #C0C0C0" + background +
           ";\">" + kCellDiv + richtexttest::Run(text) + "</div></td>";
}

// One tab of a tabbed table without colours, its label in the standard tab-label font.
std::string Tab(const std::string &bottomColor, int bottomWidth, int row, const std::string &label) {
    return "\n<td style=\"border-style: solid; white-space:nowrap; border-color:#C0C0C0; "
           "border-bottom-color: #" +
           bottomColor + "; border-width: 1px 1px " + std::to_string(bottomWidth) +
           "px 1px; background-color: #FFFFFF; width: 1%\" onClick=\"ShowRow('id1', " + std::to_string(row) +
           ")\"><span style=\"font-family: Times Roman; color: #000000; font-size: 10pt;\">" + label +
           "</span></td>";
}

// A section with a bold red 12pt Arial title (the builder's) and one run in its body.
std::string Section(int n, bool expanded, const std::string &title, const std::string &text) {
    const std::string id = "id" + std::to_string(n);
    return "<!--Section " + id + " start--><div onClick=\"ToggleSection('" + id + "')\"><span id=\"" + id +
           "_t\" style=\"font-family: Wingdings; font-size: 18; color: #000000\">&#" +
           (expanded ? "218" : "216") +
           "</span> <span style=\"font-family: Arial; color: #FF0000; font-size: 12pt;; font-weight: "
           "bold;\">" +
           title + "</span></div>\n<div id=\"" + id + "_d\"" + (expanded ? "" : " style=\"display: none\"") +
           "><div style=\"text-align: left; min-height: 1em; margin-left: 0px\">" + richtexttest::Run(text) +
           "</div></div><!--Section " + id + " end-->\n";
}

struct GoldenCase {
    const char *name;
    std::function<void(CompositeBuilder &)> build;
    std::function<void(NotesRtfAdvancedSettings &)> options;
    std::string html;
    std::string text;
};

PabSpec Style(std::uint16_t id) {
    PabSpec s;
    s.id = id;
    return s;
}

CellSpec At(std::uint8_t row, std::uint8_t column) {
    CellSpec c;
    c.row = row;
    c.column = column;
    return c;
}

void NoOptions(NotesRtfAdvancedSettings &) {}

const std::vector<GoldenCase> &Cases() {
    static const std::vector<GoldenCase> cases = {
        {"DefaultStyleBreakThenDiv",
         [](CompositeBuilder &b) { b.Paragraph().Text("one").Paragraph().Text("two"); }, NoOptions,
         std::string("<br />\n") + kDefaultDiv + richtexttest::Run("one") + "<br />\n" +
             richtexttest::Run("two") + "</div>",
         "\none\ntwo"},
        {"SpacingDivInsteadOfBreak",
         [](CompositeBuilder &b) {
             PabSpec s = Style(1);
             s.spaceBefore = 1;
             s.spaceAfter = 1;
             b.PabDefinition(s).PabReference(1).Text("a").Paragraph().Text("b");
         },
         NoOptions,
         "<div style=\"text-align: left; min-height: 1em; margin-left: 96px; margin-right: 96px; margin-top: "
         "0.5em; "
         "margin-bottom: 0.5em\">" +
             richtexttest::Run("a") + "\n<div style=\"height: 1.0em\"></div>" + richtexttest::Run("b") +
             "</div>",
         "a\nb"},
        {"BulletedList",
         [](CompositeBuilder &b) {
             PabSpec s = Style(1);
             s.flags = 0x0400;
             b.PabDefinition(s).PabReference(1).Text("a").Paragraph().Text("b").Paragraph();
         },
         NoOptions,
         "<div style=\"text-align: left; min-height: 1em; margin-left: 66px; margin-right: 96px\"><ul><li>" +
             richtexttest::Run("a") + "</li><li>" + richtexttest::Run("b") + "</li></ul></div>",
         "a\nb\n"},
        {"SingleSpaceAndEntities", [](CompositeBuilder &b) { b.Text(" ").Text("a<b & \"c\"\tx\ny"); },
         NoOptions,
         kDefaultDiv + richtexttest::Run("&nbsp;") +
             richtexttest::Run("a&lt;b &amp; &quot;c&quot;&nbsp;&nbsp;&nbsp;&nbsp;x<br />y") + "</div>",
         " a<b & \"c\"\tx\ny"},
        {"RightAlignedTwoSemicolons",
         [](CompositeBuilder &b) {
             PabSpec s = Style(1);
             s.alignment = 1;
             b.PabDefinition(s).PabReference(1).Text("r");
         },
         NoOptions,
         "<div style=\"text-align: right;; min-height: 1em; margin-left: 96px; margin-right: 96px\">" +
             richtexttest::Run("r") + "</div>",
         "r"},
        {"ZeroPointRunButTenPointTitle",
         [](CompositeBuilder &b) {
             b.Text("z", Font(4, 0x01 | 0x04 | 0x08 | 0x10, 2, 0));
             b.HotspotBegin(12, 0, "").SectionBar(0, Font(0, 0x02, 0, 0), "T").SectionEnd();
         },
         [](NotesRtfAdvancedSettings &o) { o.RtfAdvancedJavascriptAsLibrary = true; },
         std::string(kDefaultDiv) +
             "<span style=\"font-family: Courier; font-size: 0pt; color: #FF0000; font-weight: bold;; "
             "text-decoration: underline line-through;\"><sup>z</sup></span>"
             "<!--Section id1 start--><div onClick=\"ToggleSection('id1')\">"
             "<span id=\"id1_t\" style=\"font-family: Wingdings; font-size: 18; color: "
             "#000000\">&#216</span> "
             "<span style=\"font-family: Times Roman; color: #000000; font-size: 10pt;; font-style: "
             "italic;\">T</span>"
             "</div>\n<div id=\"id1_d\" style=\"display: none\"></div><!--Section id1 end-->\n</div>",
         "zT"},

        {"CollapsedAndExpandedSections",
         [](CompositeBuilder &b) {
             b.SectionBegin(true, "A").Text("x").SectionEnd();
             b.SectionBegin(false, "B").Text("y").SectionEnd();
         },
         [](NotesRtfAdvancedSettings &o) { o.RtfAdvancedJavascriptAsLibrary = true; },
         std::string(kDefaultDiv) + Section(1, true, "A", "x") + Section(2, false, "B", "y") + "</div>",
         "AxBy"},
        {"TwoByTwoTable",
         [](CompositeBuilder &b) {
             b.TableBegin().Cell(At(0, 0)).Text("a").Cell(At(0, 1)).Text("b");
             b.Cell(At(1, 0)).Text("c").Cell(At(1, 1)).Text("d").TableEnd();
         },
         [](NotesRtfAdvancedSettings &o) { o.RtfAdvancedIncludeTableMarks = true; },
         std::string(kDefaultDiv) + kPlainTable + "\n<tr>" + CellTd("a") + CellTd("b") + "\n</tr>\n" +
             "\n<tr>" + CellTd("c") + CellTd("d") + "\n</tr>\n" + "</table></div>",
         "\n{table}\n{tr}{td}a{td}b\n{tr}{td}c{td}d\n{/table}"},
        {"TwoRowTabbedTable",
         [](CompositeBuilder &b) {
             b.PreTableBegin(0x80, "000000", "000000").TableBegin();
             b.Cell(At(0, 0))
                 .TableLabel("One")
                 .Text("a")
                 .Cell(At(1, 0))
                 .TableLabel("Two")
                 .Text("b")
                 .TableEnd();
         },
         [](NotesRtfAdvancedSettings &o) { o.RtfAdvancedJavascriptAsLibrary = true; },
         std::string(kDefaultDiv) +
             "\n<table id=\"id1_tabs\" Cellpadding=3 Width=100 style=\"border-collapse:collapse; "
             "border-style: solid; "
             "border-width: 0px\">\n<tr>" +
             Tab("FFFFFF", 0, 0, "One") + Tab("C0C0C0", 1, 1, "Two") +
             "<td style=\"border-style: solid; border-color:#C0C0C0; border-width: 0px 0px 1px 0px; "
             "width=100%\">"
             "</td>\n</tr>\n\n</table>"
             "\n<table id=\"id1_data\" style=\"border-collapse:collapse; border-style: solid; border-width: "
             "0px\">"
             "\n<tr>" +
             CellTd("a") + "\n</tr>\n" + "\n<tr style=\"display:none\">" + CellTd("b") + "\n</tr>\n" +
             "\n<tr><td style=\"border-style: solid; border-color: #C0C0C0; border-width: 0px 1px 1px "
             "1px;\"></td>"
             "\n</tr>\n</table></div>",
         "ab"},
        {"PercentWidthOfAFullWidthTable",
         [](CompositeBuilder &b) {
             CellSpec c = At(0, 0);
             c.width = 2880;
             b.TableBegin(0x0001).Cell(c).Text("p").TableEnd();
         },
         NoOptions,
         std::string(kDefaultDiv) +
             "\n<table style=\"border-collapse:collapse; border-style: solid; border-width: 0px; width: "
             "100%\">"
             "\n<tr>\n<td valign=\"top\" style=\"width: 10.0%; border-style: solid; border-width: 0px 0px "
             "0px 0px; "
             "border-color: #C0C0C0;\">" +
             kCellDiv + richtexttest::Run("p") + "</div></td>\n</tr>\n</table></div>",
         "p"},
        {"FirstOfTwoSameIdDefinitionsWins",
         [](CompositeBuilder &b) {
             PabSpec right = Style(7);
             right.alignment = 1;
             PabSpec centre = Style(7);
             centre.alignment = 3;
             b.PabDefinition(right).PabDefinition(centre).PabReference(7).Text("w");
         },
         NoOptions,
         "<div style=\"text-align: right;; min-height: 1em; margin-left: 96px; margin-right: 96px\">" +
             richtexttest::Run("w") + "</div>",
         "w"},
        {"CellWithoutATable", [](CompositeBuilder &b) { b.Cell(At(0, 0)).Text("a").TableEnd(); },
         [](NotesRtfAdvancedSettings &o) { o.RtfAdvancedIncludeTableMarks = true; },
         std::string(kDefaultDiv) + kPlainTable + "\n<tr>" + CellTd("a") + "\n</tr>\n</table></div>",
         "\n{tr}{td}a\n{/table}"},
        {"ExtensionColoursAndBeginWidths",
         [](CompositeBuilder &b) {
             b.PreTableBegin(0, "FF0000", "00FF00").TableBegin(0x0800 | 0x1000, 150, 0);
             b.Cell(At(0, 0)).Text("r").Cell(At(1, 0)).Text("g").TableEnd();
         },
         NoOptions,
         std::string(kDefaultDiv) +
             "\n<table style=\"border-collapse:collapse; border-style: solid; border-width: 0px; "
             "margin-left: auto; "
             "margin-right: auto\">\n<tr>" +
             CellTd("r", "; padding: 0px 10px", "; background-color: #FF0000") + "\n</tr>\n\n<tr>" +
             CellTd("g", "; padding: 0px 10px", "; background-color: #00FF00") + "\n</tr>\n</table></div>",
         "rg"},
        {"TextEffectFontOnce",
         [](CompositeBuilder &b) { b.TextEffect(Font(4, 0, 9, 8)).Text("a").Text("b"); }, NoOptions,
         std::string(kDefaultDiv) +
             "<span style=\"font-family: Courier; font-size: 8pt; color: #008000\">a</span>" +
             richtexttest::Run("b") + "</div>",
         "ab"},
        {"NotesLinkWithServerHint",
         [](CompositeBuilder &b) {
             const std::uint32_t words[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
             b.Text("see").LinkExport2(words, "c", "CN=Server/O=Org");
         },
         [](NotesRtfAdvancedSettings &o) {
             o.RtfAdvancedIncludeNotesLinks = true;
             o.RtfAdvancedEnableNotesLinks = true;
         },
         std::string(kDefaultDiv) + richtexttest::Run("see") + "<a href=\"" + kLinkUrl + "\">" + kLinkUrl +
             "</a></div>",
         std::string("see {link: ") + kLinkUrl + "}"},
        {"DocumentTextEscapedInAttributesAndElements",
         [](CompositeBuilder &b) {
             b.HotspotBegin(11, 0x1000, "http://x/?a=1&b=\"><script>").Text("u").HotspotEnd();
             b.HotspotBegin(4, 0, std::string("int<1>") + '\0' + "f\"1.txt" + '\0').HotspotEnd();
             b.HotspotBegin(12, 0, "").SectionBar(0x2, Font(1, 0, 0, 10), "<b>").SectionEnd();
         },
         [](NotesRtfAdvancedSettings &o) {
             o.RtfAdvancedEnableUrlLinks = true;
             o.RtfAdvancedEnableAttLinks = true;
             o.RtfAdvancedIncludeAttMarkers = true;
             o.RtfAdvancedJavascriptAsLibrary = true;
         },
         std::string("<a href=\"http://x/?a=1&amp;b=&quot;&gt;&lt;script&gt;\">") + kDefaultDiv +
             richtexttest::Run("u") +
             "</a><a title=\"\">{attachment: f&quot;1.txt}</a>"
             "<!--Section id1 start--><div onClick=\"ToggleSection('id1')\"><span id=\"id1_t\" "
             "style=\"font-family: "
             "Wingdings; font-size: 18; color: #000000\">&#218</span> <span style=\"font-family: Arial; "
             "color: "
             "#000000; font-size: 10pt;\">&lt;b&gt;</span></div>\n<div id=\"id1_d\"></div><!--Section id1 "
             "end-->\n"
             "</div>",
         "u{attachment: f\"1.txt}<b>"},
    };
    return cases;
}

TEST(RichTextGolden, EdgeCasesRenderExactly) {
    for (const GoldenCase &c : Cases()) {
        CompositeBuilder records;
        c.build(records);
        NotesRtfAdvancedSettings options;
        c.options(options);
        const richtexttest::Rendered out = richtexttest::RenderBoth(records, options);
        EXPECT_EQ(out.html, c.html) << c.name << "\n" << out.trace;
        EXPECT_EQ(out.text, c.text) << c.name << "\n" << out.trace;
    }
}

}  // namespace

namespace {

TEST(RichTextGolden, DocumentElementsOnlyWhenAskedFor) {
    CompositeBuilder records;
    records.Text("t");
    struct Case {
        bool docElements;
        int charset;
        bool library;
        std::string html;
    };
    const std::string body = std::string(kDefaultDiv) + richtexttest::Run("t") + "</div>";
    const std::string start =
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
        "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n<html "
        "xmlns=\"http://www.w3.org/1999/xhtml\">\n<head><title>Lotus Notes data</title>\n";
    const std::vector<Case> cases = {
        {false, richtext::kCharsetMarkUtf8, true, body},
        {true, richtext::kCharsetMarkNone, false, start + "</head>\n<body>\n" + body + "</body>\n</html>"},
        {true, richtext::kCharsetMarkUtf16, false,
         start +
             "<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-16\">\n</head>\n<body>\n" +
             body + "</body>\n</html>"},
        {true, richtext::kCharsetMarkUtf8, true,
         start + "<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\" />" +
             "<script language=\"javascript\" type=\"text/javascript\" src=\"/scriptlib.js\">\n</script>\n"
             "</head>\n<body>\n" +
             body + "</body>\n</html>"},
    };
    for (const Case &c : cases) {
        NotesRtfAdvancedSettings options;
        options.RtfAdvancedIncludeDocElements = c.docElements;
        options.RtfAdvancedJavascriptAsLibrary = c.library;
        richtext::RenderState state;
        state.CharsetMark = c.charset;
        const richtexttest::Rendered out = richtexttest::RenderBoth(records, options, state);
        EXPECT_EQ(out.html, c.html) << c.docElements << c.charset << c.library;
        EXPECT_EQ(out.text, "t") << "the text form has no document elements";
    }
}

// Sections and tabbed tables take their numbers from the run's state in the order they are met, so
// element ids stay unique across the documents of a run; each one carries its script unless the
// scripts come from the library.
TEST(RichTextGolden, SectionsAndTabbedTablesNumberedAcrossDocuments) {
    CompositeBuilder first;
    first.SectionBegin(true, "A").Text("x").SectionEnd().SectionBegin(false, "B").Text("y").SectionEnd();
    CompositeBuilder second;
    second.PreTableBegin(0x80, "000000", "000000").TableBegin().Cell(At(0, 0)).Text("t").TableEnd();
    NotesRtfAdvancedSettings options;
    options.RtfAdvancedOutputFormat = richtext::kOutputFormatHtml;
    richtext::RenderState state;
    richtexttest::FakeServices services;
    const std::string one = richtexttest::RenderOne(first, options, state, services);
    const std::string two = richtexttest::RenderOne(second, options, state, services);
    EXPECT_EQ(state.SectionNumber, 3);
    EXPECT_NE(one.find("ToggleSection('id1')"), std::string::npos) << one;
    EXPECT_NE(one.find("ToggleSection('id2')"), std::string::npos) << one;
    EXPECT_NE(two.find("id=\"id3_tabs\""), std::string::npos) << two;
    EXPECT_NE(two.find("id=\"id3_data\""), std::string::npos) << two;
    const auto count = [](const std::string &text, const std::string &what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(count(one, "function ToggleSection(BaseId) {\n"), 2u);
    EXPECT_EQ(count(two, "function ShowRow(TableId, Row)\n{\n"), 1u);
    EXPECT_EQ(two.rfind(std::string(kDefaultDiv) + "<script language=\"javascript\"", 0), 0u) << two;
}

// A record whose length fields reach past its end ends the walk; what came before it stays.
TEST(RichTextGolden, DamagedRecordEndsTheWalk) {
    struct Case {
        const char *name;
        std::function<void(CompositeBuilder &)> damage;
    };
    const std::vector<Case> cases = {
        {"hotspot data",
         [](CompositeBuilder &b) {
             b.Whole(0xFFA9, std::string("\xA9\xFF\x0C\x00\x04\x00\0\0\0\0\x50\x00", 12));
         }},
        {"short text",
         [](CompositeBuilder &b) { b.Whole(0xFF85, std::string("\x85\xFF\x06\x00\x01\x00", 6)); }},
        {"image segment",
         [](CompositeBuilder &b) {
             b.Graphic(15, 15, false).ImageHeader(1, 1);
             b.Whole(0x007C, std::string("\x7C\x00\x0C\x00\x00\x00\xFF\x00\x00\x00\x41\x42", 12));
         }},
        {"short paragraph definition",
         [](CompositeBuilder &b) { b.Whole(0xFF82, std::string("\x82\xFF\x08\x00\x01\x00\x00\x00", 8)); }},
        {"section title colour",
         [](CompositeBuilder &b) {
             b.Whole(0xFFAC, std::string("\xAC\xFF\x0C\x00\x00\x00\x00\x04\0\0\0\0", 12));
         }},
    };
    for (const Case &c : cases) {
        CompositeBuilder records;
        records.Text("kept");
        c.damage(records);
        records.Text("lost");
        NotesRtfAdvancedSettings options;
        options.RtfAdvancedExportImages = true;
        const richtexttest::Rendered out = richtexttest::RenderBoth(records, options);
        EXPECT_FALSE(out.sound) << c.name;
        EXPECT_EQ(out.text, "kept") << c.name;
        EXPECT_EQ(out.html.find("lost"), std::string::npos) << c.name;
    }
}

TEST(RichTextGolden, NoteLinksAttachmentsAndFormulaTitles) {
    richtexttest::FakeServices services;
    richtext::NotesLink link;
    link.replica[0] = 0x11;
    link.view[0] = 0x22;
    link.note[0] = 0x33;
    services.links = {link};
    services.attachments = {"ATT1"};
    services.extracted = {{"ATT1", "/out/a.txt"}};
    services.formulas = {{"@Subject", "Computed"}};
    services.fonts = {"Verdana"};
    CompositeBuilder records;
    records.Link2(0, "c", "plain/x").Link2(1, "no such entry", "");
    records.HotspotBegin(4, 0, std::string("ATT1") + '\0' + "a.txt" + '\0')
        .Text("f", Font(5, 0, 0, 9))
        .HotspotEnd();
    records.HotspotBegin(12, 0, "").SectionBar(0x2000 | 0x2, Font(6, 0, 0, 10), "@Subject").SectionEnd();
    NotesRtfAdvancedSettings options;
    options.RtfAdvancedExportNotesLinks = true;
    options.RtfAdvancedIncludeNotesLinks = true;
    options.RtfAdvancedEnableAttLinks = true;
    options.RtfAdvancedJavascriptAsLibrary = true;
    const richtexttest::Rendered out = richtexttest::RenderBoth(records, options, {}, services);
    const std::string url =
        "NOTES://plain/x/0000000000000011/00000000000000220000000000000000/"
        "00000000000000330000000000000000";
    EXPECT_EQ(out.text, " {link: " + url + "}fComputed") << out.trace;
    EXPECT_EQ(out.html,
              url + "<a href=\"/out/a.txt\" title=\"a.txt\">" + kDefaultDiv +
                  "<span style=\"font-family: Verdana; font-size: 9pt; color: #000000\">f</span></a>"
                  "<!--Section id1 start--><div onClick=\"ToggleSection('id1')\"><span id=\"id1_t\" "
                  "style=\"font-family: Wingdings; font-size: 18; color: #000000\">&#218</span> <span "
                  "style=\"font-family: Arial; color: #000000; font-size: 10pt;\">Computed</span></div>\n"
                  "<div id=\"id1_d\"></div><!--Section id1 end-->\n</div>")
        << out.trace;
}

}  // namespace

namespace {

// The third document's first JPEG with the count prefix: its file is written segment by segment and
// named in the image element and the marker.
TEST(RichTextGolden, ImageFileNamedByPrefixAndCounter) {
    testsupport::TempDir dir;
    CompositeBuilder records;
    records.Graphic(1500, 3000, true)
        .ImageHeader(2, 2)
        .ImageSegment("JF")
        .ImageSegment("IF")
        .ImageSegment("XX");
    records.AltText("a\"b").Text("after");
    NotesRtfAdvancedSettings options;
    options.RtfAdvancedExportImages = true;
    options.RtfAdvancedIncludeImageMarkers = true;
    richtext::RenderState state;
    state.ImageDirectory = dir.File("0000003");
    state.ImagePrefix = "0000003_";
    const std::string path = dir.File("0000003/0000003_0000001.jpg");
    const richtexttest::Rendered out = richtexttest::RenderBoth(records, options, state);
    EXPECT_EQ(out.html, std::string(kDefaultDiv) + "<img src=\"" + path +
                            "\" style=\"border-width: 0\" height=\"200\" width=\"100\" alt=\"a&quot;b\" />" +
                            richtexttest::Run("after") + "</div>");
    EXPECT_EQ(out.text, "{image: " + path + "}after");
    EXPECT_EQ(testsupport::ReadFile(path), "JFIF") << "segments beyond the header's count are dropped";
}

}  // namespace
