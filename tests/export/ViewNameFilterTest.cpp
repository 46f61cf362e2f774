// Include and exclude lists of a several-views export.
#include <gtest/gtest.h>

#include "export/ViewNameFilter.h"

namespace {

using exporter::ViewNameFilter;
using Names = std::vector<std::string>;

const Names kDatabase = {"All",      "Archive", "Archive 2008", "Archive\\Old",  "archive",
                         "(Lookup)", "Arch",    "*Archive",     "(Hidden)\\Sub", "Projects"};

struct FilterCase {
    const char *label;
    Names includes;
    Names excludes;
    Names expected;
};

class ViewNameFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(ViewNameFilterTest, SelectsInDatabaseOrder) {
    const FilterCase &c = GetParam();
    EXPECT_EQ(ViewNameFilter(c.includes, c.excludes).Select(kDatabase), c.expected) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ViewNameFilterTest,
    ::testing::Values(
        FilterCase{"exact names only", {"Projects", "All"}, {}, {"All", "Projects"}},
        FilterCase{"prefix star", {"Archive*"}, {}, {"Archive", "Archive 2008", "Archive\\Old"}},
        FilterCase{"leading star is literal", {"*Archive"}, {}, {"*Archive"}},
        FilterCase{"case-sensitive", {"archive"}, {}, {"archive"}},
        FilterCase{"star mid-entry ignores the rest",
                   {"Arch*ive"},
                   {},
                   {"Archive", "Archive 2008", "Archive\\Old", "Arch"}},
        FilterCase{"empty include list", {}, {"All"}, {}},
        FilterCase{"excludes ignored without the marker", {"All"}, {"All"}, {"All"}},
        FilterCase{"all non excluded", {"%All non excluded view/folders%"}, {}, kDatabase},
        FilterCase{
            "marker only counts first", {"Projects", "%All non excluded view/folders%"}, {}, {"Projects"}},
        FilterCase{
            "all but hidden",
            {"%All non excluded view/folders%"},
            {"%Exclude all hidden view/folders%"},
            {"All", "Archive", "Archive 2008", "Archive\\Old", "archive", "Arch", "*Archive", "Projects"}},
        FilterCase{"all but an excluded prefix",
                   {"%All non excluded view/folders%"},
                   {"Archive*", "Projects"},
                   {"All", "archive", "(Lookup)", "Arch", "*Archive", "(Hidden)\\Sub"}},
        FilterCase{
            "include wins over exclude",
            {"%All non excluded view/folders%", "Archive 2008"},
            {"Archive*"},
            {"All", "Archive 2008", "archive", "(Lookup)", "Arch", "*Archive", "(Hidden)\\Sub", "Projects"}}),
    [](const auto &info) {
        std::string name = info.param.label;
        for (char &c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) {
                c = '_';
            }
        }
        return name;
    });

}  // namespace
