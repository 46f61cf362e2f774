// HTML item text reduced to plain text.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "richtext/HtmlToText.h"

namespace {

struct Case {
    const char *name;
    std::string html;
    std::string text;
};

void PrintTo(const Case &c, std::ostream *os) {
    *os << c.name;
}

class HtmlToTextTest : public ::testing::TestWithParam<Case> {};

TEST_P(HtmlToTextTest, Reduces) {
    EXPECT_EQ(richtext::HtmlToText::Convert(GetParam().html), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HtmlToTextTest,
    ::testing::Values(Case{"PlainTextUnchanged", "Hello, world", "Hello, world"},
                      Case{"TagsRemoved", "<p class=\"x\">Hello <b>bold</b></p>", "Hello bold"},
                      Case{"CommentWithTag", "a<!-- <b>hidden</b> -->b", "ab"},
                      Case{"CommentWithoutEnd", "a<!-- never closed <b>", "a"},
                      Case{"LineBreakTag", "one<br>two<BR>three", "one\ntwo\nthree"},
                      Case{"SelfClosingBreakIsAnOrdinaryTag", "one<br/>two", "onetwo"},
                      Case{"TableCellsOnNewLines", "<table><tr><td>a</td><TD width=1>b</td></tr></table>",
                           "\r\na\r\nb"},
                      Case{"ListItemsOnNewLines", "<ul><li>x</li><LI>y</ul>", "\r\nx\r\ny"},
                      Case{"NonBreakingSpace", "a&nbsp;b&NBSP;c", "a b c"},
                      Case{"OtherEntitiesLoseTheirAmpersand", "a &lt; b &amp; c", "a lt; b amp; c"},
                      Case{"TabsAndReturnsDropped", "a\tb\r\nc", "ab c"},
                      Case{"LineFeedInsideTagStillSkipped", "<p\nclass=x>t</p>", "t"},
                      Case{"LineFeedSplitsBreakTag", "a<br\n>b", "ab"},
                      Case{"UnclosedTagRunsToTheEnd", "text<b", "text"},
                      Case{"UnicodeCopied",
                           "<i>Gr\xC3\xBC\xC3\x9F"
                           "e</i>",
                           "Gr\xC3\xBC\xC3\x9F"
                           "e"},
                      Case{"Empty", "", ""}),
    [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

}  // namespace
