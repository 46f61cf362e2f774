// XML rich text read from DXL as composite records: the record walk of fixtures of each element, the
// fields that matter in them, the raw records Domino wrote for the same content, and golden walks of
// every real DXL file with rich text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cd/Records.h"
#include "cd/WalkPrinter.h"
#include "dxl/Base64.h"
#include "dxl/DxlReader.h"
#include "support/TestSupport.h"

namespace {

namespace nc = notes::cd;
using standin::cd::Byte;
using standin::cd::Dword;
using standin::cd::PrintWalk;
using standin::cd::Word;

// The notes of a DXL text; every note must read.
standin::dxl::Database Read(const std::string &dxl) {
    standin::dxl::Database db;
    standin::dxl::DxlReader reader;
    EXPECT_TRUE(reader.Read(dxl, "test.nsf", db)) << reader.LastError();
    return db;
}

// The records (without the type word) of the first item of that name.
std::string Records(const standin::dxl::Note &note, const char *item) {
    long i = note.FindItem(item);
    EXPECT_GE(i, 0) << item;
    return i < 0 ? std::string() : std::string(note.ItemValue(static_cast<std::size_t>(i)).substr(2));
}

std::string Document(const std::string &items) {
    return "<?xml version='1.0'?><document xmlns='http://www.lotus.com/dxl' form='Memo'>" + items +
           "</document>";
}

std::string RichItem(const std::string &body, const char *name = "Body") {
    return std::string("<item name='") + name + "'><richtext>" + body + "</richtext></item>";
}

// The n-th record of a signature.
std::string_view Nth(std::string_view records, WORD signature, int n = 0) {
    std::string_view found;
    (void)standin::cd::WalkRecords(records, [&](const standin::cd::Record &r) {
        if (r.signature == signature && n-- == 0) {
            found = standin::cd::RecordBytes(records, r);
            return false;
        }
        return true;
    });
    return found;
}

// Only the record names of a trace, one line each, without lengths and indentation.
std::string Names(const std::string &trace) {
    std::string out;
    std::size_t at = 0;
    while (at < trace.size()) {
        std::size_t end = trace.find('\n', at);
        std::string line = trace.substr(at, end - at);
        std::size_t first = line.find(' ', line.find_first_not_of(' '));
        std::size_t last = line.rfind(' ');
        out += line.substr(first + 1, last - first - 1) + " ";
        at = end + 1;
    }
    return out;
}

const char kGifBytes[] =
    "GIF89a\x02\x00\x03\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff,\x00\x00\x00\x00"
    "\x02\x00\x03\x00\x00\x02\x03\x84\x0f\x05\x00;";
const std::string kGif(kGifBytes, sizeof kGifBytes - 1);

TEST(RichTextRecords, EachElementWalksAsDominoWritesIt) {
    std::string gif64 = standin::dxl::EncodeBase64(kGif);
    std::string jpeg64 = standin::dxl::EncodeBase64(
        std::string("\xFF\xD8\xFF\xC0\x00\x0B\x08\x00\x02\x00\x03\x01\x01\x11\x00\xFF\xD9", 17));
    std::string png64 = standin::dxl::EncodeBase64(
        std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x03\0\0\0\x02\x08\x06\0\0\0", 29));
    // A 1 x 1 bitmap: header, a colour table of one entry, one segment of one run.
    std::string bitmap = std::string("\x95\0\x26\0\0\0", 6) + std::string(16, '\0') +
                         std::string("\x01\0\x01\0\x08\0\x01\0\x08\0\x01\0\x01\0\0\0", 16) +
                         std::string("\x97\0\x09\0\0\0\xff\0\0\0", 10) + std::string("\x96\0\x14\0\0\0", 6) +
                         std::string(8, '\0') + std::string("\x01\0\x02\0\xc1\0", 6);
    std::string bitmap64 = standin::dxl::EncodeBase64(bitmap);
    struct Case {
        const char *name;
        std::string body;
        const char *records;  // record names in walk order
    } cases[] = {
        {"paragraphs, runs and a break",
         "<pardef id='1'/><par def='1'>a<run><font style='bold'/>b<break/>c</run></par>",
         "PABDEFINITION PABREFERENCE TEXT TEXT TEXT TEXT "},
        {"a paragraph without a definition", "<par>x</par><par/>",
         "PABDEFINITION PABREFERENCE TEXT PARAGRAPH PABREFERENCE TEXT "},
        {"coloured run", "<par><run><font color='#123456'/>c</run></par>",
         "PABDEFINITION PABREFERENCE BEGIN TEXT COLOR END "},
        {"table with a span",
         "<par>t</par><table><tablecolumn width='1in'/><tablecolumn width='2in'/>"
         "<tablerow><tablecell columnspan='2'><par>a</par></tablecell></tablerow>"
         "<tablerow><tablecell/><tablecell><par>b</par></tablecell></tablerow></table><par>u</par>",
         "PABDEFINITION PABREFERENCE TEXT PARAGRAPH PABREFERENCE PRETABLEBEGIN TABLEBEGIN TABLECELL "
         "PARAGRAPH "
         "PABREFERENCE TEXT TABLECELL PARAGRAPH PABREFERENCE TEXT TABLECELL PARAGRAPH PABREFERENCE TEXT "
         "TABLEEND "
         "PARAGRAPH PABREFERENCE TEXT "},
        {"tabbed table",
         "<table rowdisplay='tabs'><tablerow tablabel='One'><tablecell><par>1</par></tablecell>"
         "</tablerow><tablerow tablabel='Two'><tablecell><par>2</par></tablecell></tablerow></table>",
         "PABDEFINITION PABREFERENCE PRETABLEBEGIN TABLEBEGIN TABLECELL TABLELABEL PARAGRAPH PABREFERENCE "
         "TEXT "
         "TABLECELL TABLELABEL PARAGRAPH PABREFERENCE TEXT TABLEEND "},
        {"nested table",
         "<table><tablerow><tablecell><table><tablerow><tablecell><par>n</par></tablecell>"
         "</tablerow></table></tablecell></tablerow></table>",
         "PABDEFINITION PABREFERENCE PRETABLEBEGIN TABLEBEGIN TABLECELL PARAGRAPH PABREFERENCE PRETABLEBEGIN "
         "NESTEDTABLEBEGIN NESTEDTABLECELL PARAGRAPH PABREFERENCE TEXT NESTEDTABLEEND TABLEEND "},
        {"section",
         "<section expanded='true'><sectiontitle><text>Title</text></sectiontitle><par>body</par></section>",
         "PABDEFINITION PABREFERENCE BAR V4HOTSPOTBEGIN PARAGRAPH PABREFERENCE TEXT V4HOTSPOTEND "},
        {"links",
         "<par><urllink href='http://x.org/'><run>site</run></urllink>"
         "<doclink database='85257EF7006D0765' view='96DE510EB262D380852585B200471CB2'"
         " document='F41F9DD65559E93B852585B30059F787' description='Doc'/>"
         "<viewlink database='85257EF7006D0765' view='96DE510EB262D380852585B200471CB2'/>"
         "<databaselink database='85257EF7006D0765'/></par>",
         "PABDEFINITION PABREFERENCE V4HOTSPOTBEGIN TEXT V4HOTSPOTEND LINK2 LINK2 LINK2 "},
        {"attachment",
         "<par><attachmentref name='ATT1' displayname='report.pdf'><run>report.pdf</run>"
         "</attachmentref></par>",
         "PABDEFINITION PABREFERENCE V4HOTSPOTBEGIN TEXT V4HOTSPOTEND "},
        {"gif with caption and alternate text",
         "<par><picture width='2' height='3' alttext='dot'><gif>" + gif64 +
             "</gif><caption>cap</caption></picture></par>",
         "PABDEFINITION PABREFERENCE GRAPHIC IMAGEHEADER IMAGESEGMENT ALTTEXT CAPTION "},
        {"jpeg and png",
         "<par><picture><jpeg>" + jpeg64 + "</jpeg></picture><picture><png>" + png64 +
             "</png></picture></par>",
         "PABDEFINITION PABREFERENCE GRAPHIC IMAGEHEADER IMAGESEGMENT GRAPHIC IMAGEHEADER IMAGESEGMENT "},
        {"notes bitmap, its records as they are",
         "<par><picture><notesbitmap>" + bitmap64 + "</notesbitmap></picture></par>",
         "PABDEFINITION PABREFERENCE GRAPHIC BITMAPHEADER COLORTABLE BITMAPSEGMENT "},
        {"image reference", "<par><picture><imageref name='logo.gif'/></picture></par>",
         "PABDEFINITION PABREFERENCE GRAPHIC STORAGELINK "},
        {"raw fragment", "<par><compositedata type='1'>gQI=</compositedata></par>",
         "PABDEFINITION PABREFERENCE PARAGRAPH "},
        {"damaged raw fragment is left out", "<par><compositedata>hf8gAA==</compositedata></par>",
         "PABDEFINITION PABREFERENCE TEXT "},
    };
    for (const Case &c : cases) {
        standin::dxl::Database db = Read(Document(RichItem(c.body)));
        ASSERT_EQ(db.notes.size(), 1u);
        std::string trace = PrintWalk(Records(db.notes[0], "Body"));
        EXPECT_EQ(Names(trace), c.records) << c.name << "\n" << trace;
    }
}

TEST(RichTextRecords, FieldsOfDefinitionsRunsTablesLinksAndPictures) {
    std::string body =
        "<pardef id='7' align='center' leftmargin='2in' rightmargin='0.5in' list='bullet' keepwithnext='true'"
        " hide='print web' tabs='L0.5in D1in'/><par def='7'><run><font name='Verdana' size='12pt' "
        "color='blue'"
        " style='italic underline strikethrough superscript'/>v</run><run><font name='Default "
        "Monospace'/>m</run></par>"
        "<table widthtype='fitwindow' colorstyle='altrows' bgcolor='#ff0000' altbgcolor='#00ff00'>"
        "<tablecolumn width='1in'/><tablecolumn width='3in'/><tablerow><tablecell bgcolor='yellow'"
        " borderwidth='2px 0px 1px 3px'/><tablecell "
        "rowspan='2'/></tablerow><tablerow><tablecell/></tablerow></table>"
        "<par><doclink database='85257EF7006D0765' view='96DE510EB262D380852585B200471CB2'"
        " document='F41F9DD65559E93B852585B30059F787' description='Doc' server='CN=Srv/O=Acme'/>"
        "<doclink database='85257EF7006D0765' view='96DE510EB262D380852585B200471CB2'"
        " document='F41F9DD65559E93B852585B30059F787'/><attachmentref name='ATT1' displayname='r.pdf'/></par>"
        "<section><sectiontitle color='red'><font style='bold'/><code "
        "event='value'><formula>\"T\"</formula></code>"
        "</sectiontitle></section>";
    standin::dxl::Database db = Read(Document(RichItem(body)));
    const standin::dxl::Note &note = db.notes[0];
    std::string records = Records(note, "Body");

    std::string_view pab = Nth(records, nc::kSigPabDefinition);
    ASSERT_EQ(pab.size(), nc::kPabExtendedSize);
    EXPECT_EQ(Word(pab, nc::kPabId), 7);
    EXPECT_EQ(Word(pab, nc::kPabJustify), nc::kJustifyCenter);
    EXPECT_EQ(Word(pab, nc::kPabLeftMargin), 2880);
    EXPECT_EQ(Word(pab, nc::kPabRightMargin), 720);
    EXPECT_EQ(Word(pab, nc::kPabFirstLineMargin), 2880);
    EXPECT_EQ(Word(pab, nc::kPabTabs), 2);
    EXPECT_EQ(static_cast<short>(Word(pab, nc::kPabTab + 2)), -1440);  // decimal tab
    EXPECT_EQ(Dword(pab, nc::kPabTabTypes), 2u << 2);
    EXPECT_EQ(
        Word(pab, nc::kPabFlags) & (nc::kPabFlagBullet | nc::kPabFlagKeepWithNext | nc::kPabFlagHidePrint),
        nc::kPabFlagBullet | nc::kPabFlagKeepWithNext | nc::kPabFlagHidePrint);
    WORD flags2 = Word(pab, nc::kPabFlags2);
    EXPECT_EQ(flags2 & (nc::kPabFlag2LmDefault | nc::kPabFlag2LmOffset | nc::kPabFlag2RmDefault), 0);
    EXPECT_NE(flags2 & nc::kPabFlag2HideWeb, 0);

    // Faces 5 and up come from $Fonts; the run's colour is blue (4) with its RGB in a colour record.
    std::string_view run = Nth(records, nc::kSigText);
    EXPECT_EQ(Byte(run, nc::kTextFont + nc::kFontFace), 5);
    EXPECT_EQ(Byte(run, nc::kTextFont + nc::kFontAttrib), 0x02 | 0x04 | 0x08 | 0x10);
    EXPECT_EQ(Byte(run, nc::kTextFont + nc::kFontColor), 4);
    EXPECT_EQ(Byte(run, nc::kTextFont + nc::kFontSize), 12);
    EXPECT_EQ(Byte(Nth(records, nc::kSigText, 1), nc::kTextFont + nc::kFontFace), nc::kFaceTypewriter);
    std::string fonts = Records(note, "$Fonts");
    EXPECT_EQ(PrintWalk(fonts), "FF8B FONTTABLE 40\n");
    EXPECT_EQ(Word(fonts, nc::kFontTableCount), 1);
    EXPECT_EQ(Byte(fonts, nc::kFontTableFaces), 5);
    EXPECT_EQ(fonts.substr(nc::kFontTableFaces + nc::kFaceEntryName, 8), std::string("Verdana\0", 8));

    std::string_view pre = Nth(records, nc::kSigPreTableBegin);
    EXPECT_EQ(pre.substr(nc::kPreTableColor1, 3), std::string("\xff\0\0", 3));
    EXPECT_EQ(pre.substr(nc::kPreTableColor2, 3), std::string("\0\xff\0", 3));
    std::string_view begin = Nth(records, nc::kSigTableBegin);
    EXPECT_EQ(Word(begin, nc::kTableFlags) & (nc::kTableFlagAutoCellWidth | nc::kTableFlagAlternatingRows),
              nc::kTableFlagAutoCellWidth | nc::kTableFlagAlternatingRows);
    std::string_view c00 = Nth(records, nc::kSigTableCell, 0);
    std::string_view c01 = Nth(records, nc::kSigTableCell, 1);
    std::string_view c11 = Nth(records, nc::kSigTableCell, 2);
    EXPECT_EQ(Word(c00, nc::kCellRightMargin) - Word(c00, nc::kCellLeftMargin), 1440);
    EXPECT_EQ(Word(c00, nc::kCellFractionalWidth), 7200);  // a quarter of the table
    EXPECT_EQ(Byte(c00, nc::kCellFlags) & nc::kCellFlagUseBackground, nc::kCellFlagUseBackground);
    EXPECT_EQ(Word(c00, nc::kCellBackground), 6);                             // yellow
    EXPECT_EQ(Word(c00, nc::kCellV42Border), 3 | 0 << 4 | 2 << 8 | 1 << 12);  // left, right, top, bottom
    EXPECT_EQ(Byte(c01, nc::kCellColumn), 1);
    EXPECT_EQ(Byte(c01, nc::kCellRowSpan), 2);
    EXPECT_EQ(Word(c01, nc::kCellLeftMargin), 1440);
    EXPECT_EQ(Byte(c11, nc::kCellRow), 1);
    EXPECT_EQ(Byte(c11, nc::kCellColumn), 0);  // column 1 is covered by the span from above

    // Both links name one $Links entry; the comment and server hint follow the index.
    std::string_view link = Nth(records, nc::kSigLink2);
    EXPECT_EQ(Word(link, nc::kLink2Index), 0);
    EXPECT_EQ(link.substr(nc::kLink2Comment), std::string_view("Doc\0CN=Srv/O=Acme\0", 18));
    EXPECT_EQ(Word(Nth(records, nc::kSigLink2, 1), nc::kLink2Index), 0);
    long links = note.FindItem("$Links");
    ASSERT_GE(links, 0);
    std::string_view linkValue = note.ItemValue(static_cast<std::size_t>(links));
    EXPECT_EQ(linkValue.size(), 4u + 40u);
    EXPECT_EQ(Word(linkValue, 0), notes::kTypeNoteLinkList);
    EXPECT_EQ(Dword(linkValue, 4 + 4), 0x85257EF7u);            // replica id, high DWORD second
    EXPECT_EQ(Dword(linkValue, 4 + 8 + 16 + 4), 0xF41F9DD6u);   // the document UNID, its File high DWORD
    EXPECT_EQ(Dword(linkValue, 4 + 8 + 16 + 12), 0x852585B3u);  // its Note high DWORD

    std::string_view hotspot = Nth(records, nc::kSigV4HotspotBegin);
    EXPECT_EQ(Word(hotspot, nc::kHotspotType), nc::kHotspotFile);
    EXPECT_EQ(hotspot.substr(nc::kHotspotData), std::string_view("ATT1\0r.pdf\0", 11));

    std::string_view bar = Nth(records, nc::kSigBar);
    DWORD barFlags = Dword(bar, nc::kBarFlags);
    EXPECT_EQ(barFlags & (nc::kBarFlagExpanded | nc::kBarFlagIsFormula | nc::kBarFlagHasColor),
              nc::kBarFlagIsFormula | nc::kBarFlagHasColor);
    EXPECT_EQ(Byte(bar, nc::kBarFont + nc::kFontAttrib), nc::kAttribBold);
    EXPECT_EQ(Word(bar, nc::kBarTitle), 2);  // red
    EXPECT_EQ(bar.substr(nc::kBarTitle + 2), "\"T\"");
}

TEST(RichTextRecords, XmlAndRawRecordsOfTheSameContentAreAlike) {
    // The content of the raw Body of doc_raw_styledtext.xml, written as XML rich text.
    std::string xml = RichItem(
        "<pardef id='1'/><par def='1'>This is normal text.</par><par def='1'/>"
        "<par def='1'><run><font name='monospace'/>This is monospace text</run></par>"
        "<par def='1'/><par def='1'><run><font style='bold italic'/>"
        "This is serif italic bold text</run></par>");
    // ... and of doc_raw_dollarfonts.xml, whose face 5 is Verdana.
    std::string fonts = RichItem(
        "<pardef id='2' align='center'/><par def='2'><run><font name='Verdana' size='12pt'"
        " style='bold'/>Please select one of the </run><run><font name='Verdana' size='12pt'"
        " style='bold'/>following </run><run><font name='Verdana' size='12pt' style='bold'/>"
        "options:</run></par><par def='2'><run><font name='Verdana' size='12pt'/></run></par>"
        "<par def='2'><run><font name='Verdana' size='12pt' color='blue'/></run></par>");
    struct Case {
        const char *realFile;
        std::string xmlItem;
    } cases[] = {
        {"domino-jnx/doc_raw_styledtext.xml", xml},
        {"domino-jnx/doc_raw_dollarfonts.xml", fonts},
    };
    for (const Case &c : cases) {
        standin::dxl::Database raw = Read(testsupport::ReadFile(testsupport::RealDataPath(c.realFile)));
        standin::dxl::Database converted = Read(Document(c.xmlItem));
        std::string rawRecords = Records(raw.notes[0], "Body");
        std::string xmlRecords = Records(converted.notes[0], "Body");
        EXPECT_EQ(PrintWalk(xmlRecords), PrintWalk(rawRecords)) << c.realFile;
        EXPECT_EQ(xmlRecords, rawRecords) << c.realFile;  // byte for byte
    }
}

// Known answers of the real data: the styled runs and the dollarfonts runs with their fonts.
TEST(RichTextRecords, KnownAnswersOfTheRealData) {
    struct Case {
        const char *file;
        int run;  // index among the text records
        const char *text;
        DWORD font;  // face, attributes, colour, size
    } cases[] = {
        {"domino-jnx/doc_raw_styledtext.xml", 0, "This is normal text.", 0x0A000001},
        {"domino-jnx/doc_raw_styledtext.xml", 2, "This is monospace text", 0x0A000004},
        {"domino-jnx/doc_raw_styledtext.xml", 4, "This is serif italic bold text", 0x0A000301},
        {"domino-jnx/doc_raw_dollarfonts.xml", 0, "Please select one of the ", 0x0C000105},
        {"domino-jnx/doc_raw_dollarfonts.xml", 1, "following ", 0x0C000105},
        {"domino-jnx/doc_raw_dollarfonts.xml", 2, "options:", 0x0C000105},
        {"domino-jnx/doc_xml_richtext_basicnote.xml", 0, "Render form - d35f528e-8cfc-4d97-9078-428da6673f51",
         0x0A000101},
    };
    for (const Case &c : cases) {
        standin::dxl::Database db = Read(testsupport::ReadFile(testsupport::RealDataPath(c.file)));
        std::string records = Records(db.notes[0], "Body");
        std::string_view run = Nth(records, nc::kSigText, c.run);
        EXPECT_EQ(run.substr(nc::kTextChars), c.text) << c.file << " run " << c.run;
        EXPECT_EQ(Dword(run, nc::kTextFont), c.font) << c.file << " run " << c.run;
    }
}

// Golden walks of every composite item of the real data; set VORLIX_UPDATE_GOLDEN=1 to rewrite them.
TEST(RichTextRecords, RealDataWalksMatchTheirGoldenTraces) {
    const char *const kFiles[] = {
        "domino-jnx/doc_certstore_signed.xml",       "domino-jnx/doc_raw_dollarfonts.xml",
        "domino-jnx/doc_raw_styledtext.xml",         "domino-jnx/doc_xml_richtext_basicnote.xml",
        "domino-jnx/doc_xml_richtext_multiline.xml", "domino-jnx/form_items_numberlist_rawtime400.xml",
        "domino-jnx/form_v1_1987_raw_body.xml",      "domino-jnx/form_xml_richtext_tables_texteffects.xml",
        "domino-cert-manager/lab_certstore.dxl",
    };
    std::string all;
    for (const char *file : kFiles) {
        standin::dxl::Database db = Read(testsupport::ReadFile(testsupport::RealDataPath(file)));
        for (std::size_t n = 0; n < db.notes.size(); ++n) {
            const standin::dxl::Note &note = db.notes[n];
            for (std::size_t i = 0; i < note.items.size(); ++i) {
                if (note.ItemType(i) == notes::kTypeComposite) {
                    all += "== " + std::string(file) + " note " + std::to_string(n + 1) + " " +
                           std::string(note.ItemName(i)) + "\n" + PrintWalk(note.ItemValue(i).substr(2));
                }
            }
        }
    }
    std::string golden = testsupport::SourcePath("tests/standin/golden/realdata_walks.txt");
    if (std::getenv("VORLIX_UPDATE_GOLDEN") != nullptr) {
        testsupport::WriteFile(golden, all);
    }
    EXPECT_EQ(all, testsupport::ReadFile(golden));
}

}  // namespace
