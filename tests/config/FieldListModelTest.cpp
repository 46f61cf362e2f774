// The field lists without a dialog: manual entry, moves with their stop rules, the Rich Text Advanced
// toggle, and the transfer to and from the settings' columns.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "config/FieldListModel.h"
#include "platform/UserInterface.h"

namespace {

using config::FieldListModel;
using config::SelectionProperty;

// Records the messages instead of showing them.
class RecordingUi : public platform::UserInterface {
public:
    RecordingUi() { m_previous = platform::SetUi(this); }
    ~RecordingUi() override { platform::SetUi(m_previous); }
    platform::MessageAnswer Message(const std::string &text, const std::string &caption,
                                    platform::MessageIcon icon, platform::MessageButtons) override {
        messages.push_back(caption + ": " + text);
        icons.push_back(icon);
        return platform::MessageAnswer::Ok;
    }
    void Progress(long, long) override {}
    void Status(const std::string &) override {}

    std::vector<std::string> messages;
    std::vector<platform::MessageIcon> icons;

private:
    platform::UserInterface *m_previous = nullptr;
};

// Texts that count as not compiling; every other text compiles.
FieldListModel ModelRefusing(std::set<std::string> bad) {
    return FieldListModel([bad](const std::string &text) { return bad.count(text) == 0; });
}

std::vector<std::string> SelectedTexts(const FieldListModel &model) {
    std::vector<std::string> texts;
    for (const auto &entry : model.Selected()) {
        texts.push_back(entry.property.SelectedText());
    }
    return texts;
}

void SetSelected(FieldListModel &model, const std::vector<std::string> &names,
                 const std::set<std::size_t> &chosen) {
    model.Selected().clear();
    for (std::size_t i = 0; i < names.size(); ++i) {
        model.Selected().push_back(
            {SelectionProperty{config::kItemField, names[i], "", nullptr, 0}, chosen.count(i) > 0});
    }
}

TEST(FieldListModel, ManualEntryDecidesTheKind) {
    const std::string formula33 = "Subject + \"abcdefghijklmnopqrstu\"";  // 33 characters
    const std::string field32 = "Abcdefghijklmnopqrstuvwxyz012345";       // 32 characters
    ASSERT_EQ(formula33.size(), 33u);
    ASSERT_EQ(field32.size(), 32u);
    struct Case {
        std::string input;
        int kind;
        std::string name;
        std::string editAfter;
    };
    const std::vector<Case> cases = {
        {"Subject", config::kItemField, "Subject", "Subject"},
        {"  Subject \t", config::kItemField, "Subject", "Subject"},
        {"@Created", config::kItemFormula, "@Created", "@Created"},
        {"Price * 2", config::kItemField, "Price * 2", "Price * 2"},
        {formula33, config::kItemFormula, formula33, formula33},
        {field32, config::kItemField, field32, field32},
        {"1 + 2", config::kItemFormula, "1 + 2", "1 + 2"},
        {"\xC3\x84nderung", config::kItemFormula, "\xC3\x84nderung",
         "\xC3\x84nderung"},  // not an ASCII letter
        {"%count", config::kItemEngineValue, "%Count", ""},
        {"%Universal_ID", config::kItemNoteValue, "%Universal_ID", ""},
    };
    for (const Case &c : cases) {
        RecordingUi ui;
        FieldListModel model = ModelRefusing({});
        std::string edit = c.input;
        ASSERT_TRUE(model.ManualEntry(edit)) << c.input;
        ASSERT_EQ(model.Selected().size(), 1u);
        EXPECT_EQ(model.Selected()[0].property.kind, c.kind) << c.input;
        EXPECT_EQ(model.Selected()[0].property.name, c.name) << c.input;
        EXPECT_EQ(edit, c.editAfter) << c.input;
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST(FieldListModel, ManualEntryRefusals) {
    struct Case {
        std::string input;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"@If(", "Manual Entry Error: Invalid Field or Formula"},
        {"%Bad(", "Manual Entry Error: Invalid Field or Formula"},  // compiled before any lookup
        {"%NoSuchField", "Manual Entry Error: Error: Invalid Calculated Field Name."},
    };
    for (const Case &c : cases) {
        RecordingUi ui;
        FieldListModel model = ModelRefusing({"@If(", "%Bad("});
        std::string edit = c.input;
        EXPECT_FALSE(model.ManualEntry(edit)) << c.input;
        EXPECT_TRUE(model.Selected().empty());
        EXPECT_EQ(edit, c.input) << "the edit keeps a refused text";
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0], c.message);
        EXPECT_EQ(ui.icons[0], platform::MessageIcon::Exclamation);
    }
}

TEST(FieldListModel, InsertsAfterTheFirstChosenEntry) {
    RecordingUi ui;
    FieldListModel model = ModelRefusing({});
    SetSelected(model, {"A", "B", "C"}, {1, 2});
    std::string edit = "New";
    ASSERT_TRUE(model.ManualEntry(edit));
    EXPECT_EQ(SelectedTexts(model), (std::vector<std::string>{"A", "B", "New", "C"}));

    model.SetAvailable({"Subject", "Body"});
    for (auto &entry : model.Available()) {
        entry.chosen = entry.property.name == "Body" || entry.property.name == "%Count";
    }
    model.AddFromAvailable(false);
    EXPECT_EQ(SelectedTexts(model), (std::vector<std::string>{"A", "B", "%Count", "Body", "New", "C"}));

    SetSelected(model, {"A"}, {});
    model.AddFromAvailable(false);
    EXPECT_EQ(SelectedTexts(model), (std::vector<std::string>{"A", "%Count", "Body"}))
        << "at the end when none chosen";
    model.AddFromAvailable(true);
    EXPECT_EQ(model.Selected().size(), 3u + 16u + 2u);
}

TEST(FieldListModel, MovesAndTheirStopRules) {
    struct Case {
        const char *name;
        std::set<std::size_t> chosen;
        bool up;
        std::vector<std::string> result;
    };
    const std::vector<Case> cases = {
        {"UpOne", {2}, true, {"A", "C", "B", "D"}},
        {"UpTwoTogether", {1, 2}, true, {"B", "C", "A", "D"}},
        {"UpStopsAtTheFirst", {0, 2}, true, {"A", "B", "C", "D"}},
        {"UpApart", {1, 3}, true, {"B", "A", "D", "C"}},
        {"DownOne", {1}, false, {"A", "C", "B", "D"}},
        {"DownTwoTogether", {1, 2}, false, {"A", "D", "B", "C"}},
        {"DownStopsAtTheLast", {3, 1}, false, {"A", "B", "C", "D"}},
        {"DownNoneChosen", {}, false, {"A", "B", "C", "D"}},
    };
    for (const Case &c : cases) {
        FieldListModel model = ModelRefusing({});
        SetSelected(model, {"A", "B", "C", "D"}, c.chosen);
        c.up ? model.MoveUp() : model.MoveDown();
        EXPECT_EQ(SelectedTexts(model), c.result) << c.name;
    }
}

TEST(FieldListModel, RemoveChosenOrAll) {
    FieldListModel model = ModelRefusing({});
    SetSelected(model, {"A", "B", "C"}, {0, 2});
    model.RemoveFromSelected(false);
    EXPECT_EQ(SelectedTexts(model), (std::vector<std::string>{"B"}));
    model.RemoveFromSelected(true);
    EXPECT_TRUE(model.Selected().empty());
}

TEST(FieldListModel, RichTextAdvancedToggle) {
    RecordingUi ui;
    FieldListModel model = ModelRefusing({});
    SetSelected(model, {"Body", "Subject"}, {});
    EXPECT_FALSE(model.SetRichTextAdvanced(true));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "Rich Text Advanced: Please select one or more 'Selected Fields' to apply Rich Text Advanced "
              "formatting to.");
    model.Selected()[0].chosen = true;
    EXPECT_TRUE(model.SetRichTextAdvanced(true));
    EXPECT_EQ(SelectedTexts(model), (std::vector<std::string>{"Body: RtAdv.", "Subject"}));
    EXPECT_TRUE(model.SetRichTextAdvanced(false));
    EXPECT_EQ(SelectedTexts(model), (std::vector<std::string>{"Body", "Subject"}));
}

TEST(FieldListModel, TransferToAndFromColumns) {
    config::OutputItems items;
    items.Add("Subject", config::kItemField, 0);
    items.Add("@Created", config::kItemFormula, 1);
    items.Add("%mail_time", config::kItemLookup, 1);
    items.Add("%Gone", config::kItemLookup, 0);  // unknown to the catalogue: dropped from the list
    FieldListModel model = ModelRefusing({});
    model.FromOutputItems(items);
    EXPECT_EQ(SelectedTexts(model),
              (std::vector<std::string>{"Subject", "@Created: RtAdv.", "%Mail_Time: RtAdv."}));
    EXPECT_EQ(model.Selected()[2].property.label, "Mail Time");
    EXPECT_NE(model.Selected()[2].property.valueFunction, nullptr);

    config::OutputItems back;
    back.Add("Old", config::kItemField, 0);
    model.ToOutputItems(back);
    ASSERT_EQ(back.Count(), 3u);
    EXPECT_EQ(back.Item(0).Name(), "Subject");
    EXPECT_EQ(back.Item(1).Kind(), config::kItemFormula);
    EXPECT_EQ(back.Item(1).RichTextAdvanced(), 1);
    EXPECT_EQ(back.Item(2).Kind(), config::kItemNoteValue);
    EXPECT_EQ(back.Item(2).Name(), "%Mail_Time");
}

}  // namespace
