// The operations of the available and selected field lists.
#include "config/FieldListModel.h"

#include <algorithm>

#include "config/ComputedFieldCatalogue.h"
#include "notes/NotesFormula.h"
#include "platform/UserInterface.h"

namespace config {

namespace {

constexpr std::size_t kMaxFieldNameLength = 32;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string Trim(const std::string &text) {
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) {
        ++first;
    }
    std::size_t last = text.size();
    while (last > first && IsBlank(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

// Characters (code points) of UTF-8 text.
std::size_t CharacterCount(const std::string &text) {
    std::size_t count = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

SelectionProperty FromCatalogue(const ComputedField &entry, int richTextAdvanced) {
    return SelectionProperty{entry.kind, entry.name, entry.label, entry.valueFunction, richTextAdvanced};
}

bool CompilesAsFormula(const std::string &text) {
    notes::NotesFormula formula(text);
    return formula.Compile();
}

}  // namespace

FieldListModel::FieldListModel() : m_check(&CompilesAsFormula) {}

FieldListModel::FieldListModel(FormulaCheck check) : m_check(std::move(check)) {}

void FieldListModel::SetAvailable(const std::vector<std::string> &itemNames) {
    m_available.clear();
    for (const ComputedField &entry : ComputedFieldCatalogue::Entries()) {
        m_available.push_back(FieldListEntry{FromCatalogue(entry, 0), false});
    }
    for (const std::string &name : itemNames) {
        m_available.push_back(FieldListEntry{SelectionProperty{kItemField, name, "", nullptr, 0}, false});
    }
}

void FieldListModel::InsertAfterFirstChosen(const std::vector<SelectionProperty> &entries) {
    auto firstChosen = std::find_if(m_selected.begin(), m_selected.end(),
                                    [](const FieldListEntry &entry) { return entry.chosen; });
    std::size_t position = firstChosen == m_selected.end()
                               ? m_selected.size()
                               : static_cast<std::size_t>(firstChosen - m_selected.begin()) + 1;
    for (const SelectionProperty &property : entries) {
        m_selected.insert(m_selected.begin() + static_cast<std::ptrdiff_t>(position),
                          FieldListEntry{property, false});
        ++position;
    }
}

void FieldListModel::AddFromAvailable(bool all) {
    std::vector<SelectionProperty> entries;
    for (const FieldListEntry &entry : m_available) {
        if (all || entry.chosen) {
            entries.push_back(entry.property);
        }
    }
    InsertAfterFirstChosen(entries);
}

void FieldListModel::RemoveFromSelected(bool all) {
    if (all) {
        m_selected.clear();
        return;
    }
    std::erase_if(m_selected, [](const FieldListEntry &entry) { return entry.chosen; });
}

void FieldListModel::MoveUp() {
    for (std::size_t i = 0; i < m_selected.size(); ++i) {
        if (!m_selected[i].chosen) {
            continue;
        }
        if (i == 0) {
            return;
        }
        std::swap(m_selected[i - 1], m_selected[i]);
    }
}

void FieldListModel::MoveDown() {
    for (std::size_t i = m_selected.size(); i-- > 0;) {
        if (!m_selected[i].chosen) {
            continue;
        }
        if (i + 1 == m_selected.size()) {
            return;
        }
        std::swap(m_selected[i], m_selected[i + 1]);
    }
}

bool FieldListModel::ManualEntry(std::string &text) {
    text = Trim(text);
    // A computed-field name is looked up before anything is compiled: "%Count" is no formula.
    const ComputedField *known =
        !text.empty() && text[0] == '%' ? ComputedFieldCatalogue::Find(text) : nullptr;
    if (known != nullptr) {
        InsertAfterFirstChosen({FromCatalogue(*known, 0)});
        text.clear();
        return true;
    }
    if (!m_check || !m_check(text)) {
        platform::Ui().Message("Invalid Field or Formula", "Manual Entry Error",
                               platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
        return false;
    }
    if (!text.empty() && text[0] == '%') {
        platform::Ui().Message("Error: Invalid Calculated Field Name.", "Manual Entry Error",
                               platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
        return false;
    }
    const bool isField =
        !text.empty() && CharacterCount(text) <= kMaxFieldNameLength && IsAsciiLetter(text[0]);
    InsertAfterFirstChosen({SelectionProperty{isField ? kItemField : kItemFormula, text, "", nullptr, 0}});
    return true;
}

bool FieldListModel::SetRichTextAdvanced(bool on) {
    bool anyChosen = std::any_of(m_selected.begin(), m_selected.end(),
                                 [](const FieldListEntry &entry) { return entry.chosen; });
    if (!anyChosen) {
        platform::Ui().Message(
            "Please select one or more 'Selected Fields' to apply Rich Text Advanced formatting to.",
            "Rich Text Advanced", platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
        return false;
    }
    for (FieldListEntry &entry : m_selected) {
        if (entry.chosen) {
            entry.property.richTextAdvanced = on ? 1 : 0;
        }
    }
    return true;
}

void FieldListModel::ToOutputItems(OutputItems &items) const {
    items.Clear();
    for (const FieldListEntry &entry : m_selected) {
        const SelectionProperty &p = entry.property;
        items.Add(OutputItem(p.kind, p.name, p.label, p.valueFunction, p.richTextAdvanced));
    }
}

void FieldListModel::FromOutputItems(const OutputItems &items) {
    m_selected.clear();
    for (std::size_t i = 0; i < items.Count(); ++i) {
        const OutputItem &item = items.Item(i);
        if (item.Kind() == kItemField || item.Kind() == kItemFormula) {
            m_selected.push_back(FieldListEntry{SelectionProperty{item.Kind(), item.Name(), item.Label(),
                                                                  item.Function(), item.RichTextAdvanced()},
                                                false});
            continue;
        }
        const ComputedField *entry = ComputedFieldCatalogue::Find(item.Name());
        if (entry != nullptr) {
            m_selected.push_back(FieldListEntry{FromCatalogue(*entry, item.RichTextAdvanced()), false});
        }
    }
}

}  // namespace config
