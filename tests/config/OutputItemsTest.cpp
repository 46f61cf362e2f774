// Output columns: the computed-field catalogue, item creation by kind, shared items, values and the
// replacement table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ComputedFieldCatalogue.h"
#include "config/OutputItems.h"
#include "notes/NotesNote.h"

namespace {

using config::ComputedFieldCatalogue;
using config::OutputItem;
using config::OutputItems;

TEST(ComputedFieldCatalogue, SixteenEntriesInOrder) {
    struct Expected {
        const char *label;
        const char *name;
        int kind;
    };
    const std::vector<Expected> expected = {
        {"Count", "%Count", 2},
        {"Attachments", "%Attach_Names", 2},
        {"Extracted Attachments", "%Extr_Att_Names", 2},
        {"Universal Id", "%Universal_ID", 4},
        {"View/Folder Name", "%View_Folder_Name", 2},
        {"Has OLE Object(s)", "%Has_OLE", 4},
        {"Errors", "%Errors", 2},
        {"Mail Time", "%Mail_Time", 4},
        {"Text File", "%TF_Name", 2},
        {"RT File", "%RTF_Name", 2},
        {"Other Format File", "%OF_Name", 2},
        {"In Views", "%In_Views", 2},
        {"In Folders", "%In_Folders", 2},
        {"Modified", "@Modified", 1},
        {"Created", "@Created", 1},
        {"Accessed", "@Accessed", 1},
    };
    const auto &entries = ComputedFieldCatalogue::Entries();
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(entries[i].label, expected[i].label) << i;
        EXPECT_EQ(entries[i].name, expected[i].name) << i;
        EXPECT_EQ(entries[i].kind, expected[i].kind) << i;
        // Exactly the note-computed entries have a value function.
        EXPECT_EQ(entries[i].valueFunction != nullptr, expected[i].kind == 4) << i;
    }
}

TEST(OutputItem, KindFiveLooksUpTheCatalogue) {
    struct Case {
        const char *name;
        int kind;
        const char *label;
    };
    for (const Case &c : std::vector<Case>{{"%MAIL_TIME", 4, "Mail Time"},
                                           {"%count", 2, "Count"},
                                           {"@created", 1, "Created"},
                                           {"%Unknown", 5, ""},
                                           {"Subject", 5, ""}}) {
        OutputItem item(config::kItemLookup, c.name, 1);
        EXPECT_EQ(item.Kind(), c.kind) << c.name;
        EXPECT_EQ(item.Label(), c.label) << c.name;
        EXPECT_EQ(item.Name(), c.name) << "the name stays as given";
        EXPECT_EQ(item.RichTextAdvanced(), 1);
    }
    // Other kinds are taken as they are, even for a catalogue name.
    OutputItem field(config::kItemField, "%Count", 0);
    EXPECT_EQ(field.Kind(), config::kItemField);
    EXPECT_EQ(field.Label(), "");
}

TEST(OutputItems, SameColumnTwiceSharesOneItem) {
    OutputItems items;
    items.Add("Subject", config::kItemField, 0);
    items.Add("Subject", config::kItemField, 1);  // differs in its mark: an item of its own
    items.Add("Subject", config::kItemFormula, 0);
    items.Add("Subject", config::kItemField, 0);
    ASSERT_EQ(items.Count(), 4u);
    EXPECT_EQ(&items.Item(0), &items.Item(3));
    EXPECT_NE(&items.Item(0), &items.Item(1));
    EXPECT_NE(&items.Item(0), &items.Item(2));
    items.SetValue(3, "shared");
    EXPECT_EQ(items.Item(0).Value(), "shared");
    EXPECT_EQ(items.Item(1).Value(), "");

    // A copy keeps the sharing and is independent of the original.
    OutputItems copy = items;
    EXPECT_EQ(&copy.Item(0), &copy.Item(3));
    EXPECT_NE(&copy.Item(0), &items.Item(0));
    copy.SetValue(0, "copy");
    EXPECT_EQ(copy.Item(3).Value(), "copy");
    EXPECT_EQ(items.Item(3).Value(), "shared");
}

TEST(OutputItems, SetValueIgnoresIndexesOutsideTheList) {
    OutputItems items;
    items.Add("%Count", config::kItemLookup, 0);
    items.SetValue(-1, "x");
    items.SetValue(1, "y");
    EXPECT_EQ(items.Item(0).Value(), "");
    items.SetValue(items.IndexOf("%Count"), "7");
    EXPECT_EQ(items.Item(0).Value(), "7");
    EXPECT_EQ(items.IndexOf("%Errors"), -1);
    OutputItems lower;
    lower.Add("Subject", config::kItemField, 0);
    lower.Add("%count", config::kItemLookup, 0);  // as a profile may spell it
    EXPECT_EQ(lower.IndexOf("%Count"), 1);
}

TEST(OutputItems, ValuesByKindWithoutADocument) {
    notes::NotesNote closed;
    OutputItems items;
    items.Add("%View_Folder_Name", config::kItemLookup, 0);
    items.Add("%NoSuchField", config::kItemLookup, 0);
    items.Add("@Created", config::kItemFormula, 0);
    items.Add("Subject", config::kItemField, 0);
    items.Add("Odd", 3, 0);
    items.SetValue(0, "($All)");
    EXPECT_EQ(items.Item(0).Evaluate(closed, ";", nullptr), "($All)");
    EXPECT_EQ(items.Item(1).Evaluate(closed, ";", nullptr), "Unknown Data Type: 5");
    EXPECT_EQ(items.Item(2).Evaluate(closed, ";", nullptr), "") << "a formula not compiled gives nothing";
    EXPECT_EQ(items.Item(3).Evaluate(closed, ";", nullptr), "") << "no open note, no item";
    EXPECT_EQ(items.Item(4).Evaluate(closed, ";", nullptr), "Unknown Data Type: 3");
}

TEST(OutputItems, EmptyFindTextRefused) {
    OutputItems items;
    EXPECT_EQ(items.Replacements(), nullptr);
    EXPECT_FALSE(items.AddReplacement("", "x"));
    EXPECT_EQ(items.LastError(), "Invalid Null Replace Value");
    EXPECT_EQ(items.Replacements(), nullptr);
    EXPECT_TRUE(items.AddReplacement("a", "b"));
    EXPECT_TRUE(items.AddReplacement("b", "c"));
    EXPECT_EQ(items.ApplyReplacements("abba"), "cccc") << "pairs apply in order";
}

TEST(OutputItems, ControlCharacterTable) {
    struct Case {
        int crOption;
        int lfOption;
        std::vector<std::pair<std::string, std::string>> pairs;
        const char *applied;  // to "a\r\nb"
    };
    const std::vector<Case> cases = {
        {0, 0, {}, "a\r\nb"},
        {1, 0, {{"\r", ""}}, "a\nb"},
        {2, 0, {{"\r", "<CR>"}}, "a<CR>\nb"},
        {0, 1, {{"\n", ""}}, "a\rb"},
        {0, 2, {{"\n", "<LF>"}}, "a\r<LF>b"},
        {2, 2, {{"\r", "<CR>"}, {"\n", "<LF>"}}, "a<CR><LF>b"},
        {1, 2, {{"\r", ""}, {"\n", "<LF>"}}, "a<LF>b"},
        {3, 9, {}, "a\r\nb"},
    };
    for (const Case &c : cases) {
        OutputItems items;
        items.SetControlCharReplacements(c.crOption, "<CR>", c.lfOption, "<LF>");
        if (c.pairs.empty()) {
            EXPECT_EQ(items.Replacements(), nullptr) << c.crOption << "/" << c.lfOption;
        } else {
            ASSERT_NE(items.Replacements(), nullptr);
            EXPECT_EQ(items.Replacements()->Pairs(), c.pairs) << c.crOption << "/" << c.lfOption;
        }
        EXPECT_EQ(items.ApplyReplacements("a\r\nb"), c.applied) << c.crOption << "/" << c.lfOption;
    }
}

}  // namespace
