// A whole export by the real executable of a document whose rich text holds a table, a section, a
// document link and two images: the CSV gets the HTML and the text form, the images their files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ProgramRun.h"
#include "support/TestSupport.h"

namespace {

using clitest::ProgramRun;
using clitest::RunResult;

constexpr char kGif[] =
    "GIF89a\x02\x00\x03\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff,"
    "\x00\x00\x00\x00\x02\x00\x03\x00\x00\x02\x03\x84\x0f\x05\x00;";
constexpr char kJpeg[] = "\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xd9";

const char kDatabase[] =
    "<?xml version='1.0' encoding='utf-8'?>\n"
    "<database xmlns='http://www.lotus.com/dxl' title='Rich' replicaid='85257A0B00778899'>\n"
    "<view name='All'><noteinfo noteid='11e' unid='85257A0B00778899000000000000011E' sequence='1'/>"
    "<code event='selection'><formula>SELECT @All</formula></code>"
    "<column><columnheader title='Subject'/><code "
    "event='value'><formula>Subject</formula></code></column></view>\n"
    "<document form='Memo'><noteinfo noteid='20a' unid='85257A0B0077889900000000000020AA' sequence='1'/>"
    "<item name='Subject'><text>Report</text></item>"
    "<item name='Body'><richtext><pardef id='1'/><par def='1'>Intro &amp; summary</par>"
    "<table><tablerow><tablecell><par>north</par></tablecell><tablecell><par>south</par></tablecell></"
    "tablerow>"
    "</table>"
    "<section expanded='false'><sectiontitle><text>Details</text></sectiontitle><par>hidden "
    "words</par></section>"
    "<par>See <doclink database='85257EF7006D0765' view='96DE510EB262D380852585B200471CB2'"
    " document='F41F9DD65559E93B852585B30059F787' description='Doc'/></par>"
    "<par><picture width='2' height='3' "
    "alttext='dot'><gif>R0lGODlhAgADAIAAAAAAAP///ywAAAAAAgADAAACA4QPBQA7</gif>"
    "</picture>between<picture><jpeg>/9j/4AAQSkZJRgABAQAAAQABAAD/2Q==</jpeg></picture>end</par>"
    "</richtext></item></document>\n"
    "</database>\n";

TEST(RichTextExport, CsvHoldsHtmlAndTextAndImagesAreWritten) {
    ProgramRun program;
    testsupport::WriteFile(program.File("rich.xml"), kDatabase);
    program.AddDatabase(program.File("rich.xml"), "rich.nsf");
    const std::string out = program.File("out");
    testsupport::WriteFile(
        program.File("p.xpp"),
        "ProductName=Vorlix\r\nNSFFilePath=rich.nsf\r\nSelectMethod=1\r\nViewName=All\r\n"
        "OutputItems=Subject,Body:1,Body\r\nDoubleQuotes=0\r\nRtfAdvancedOutputFormat=1\r\n"
        "RtfAdvancedExportImages=1\r\nRtfAdvancedIncludeImageMarkers=1\r\n"
        "RtfAdvancedExportNotesLinks=1\r\nRtfAdvancedIncludeNotesLinks=1\r\n"
        "RtfAdvancedJavascriptAsLibrary=1\r\nRtfAdvancedExtractMethod=0\r\n"
        "RtfAdvancedImageFilePrefixMethod=1\r\nSummaryFilePath=" +
            program.File("out.csv") + "\r\nOutputPath=" + out + "\r\n");
    const RunResult r = program.Run({program.File("p.xpp"), "/nomsg"});
    ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
    const std::string csv = testsupport::ReadFile(program.File("out.csv"));
    const std::string gif = out + "/0000001/0000001_0000001.gif";
    const std::string jpeg = out + "/0000001/0000001_0000002.jpg";
    for (const std::string &part :
         {std::string("Report,"), std::string("Intro &amp; summary</span>"), std::string("<table"),
          std::string(">north</span>"), std::string("<!--Section id1 start-->"),
          std::string("<div id=\"id1_d\" style=\"display: none\">"), std::string(">hidden words</span>"),
          std::string("NOTES://"), std::string("<img src=\"" + gif + "\""),
          std::string("<img src=\"" + jpeg + "\""), std::string("Intro & summary"), std::string("north"),
          std::string("south"), std::string("Details"), std::string("betweenend")}) {
        EXPECT_NE(csv.find(part), std::string::npos) << part << "\n" << csv;
    }
    if (std::getenv("VORLIX_SHOW_RENDER") != nullptr) {
        std::printf("%s\n", csv.c_str());
    }
    EXPECT_EQ(testsupport::ReadFile(gif), std::string(kGif, sizeof kGif - 1));
    EXPECT_EQ(testsupport::ReadFile(jpeg), std::string(kJpeg, sizeof kJpeg - 1));
}

}  // namespace
