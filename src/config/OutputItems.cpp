// The ordered output columns, shared items, formula preparation and the replacement table.
#include "config/OutputItems.h"

#include <map>

#include "platform/AsciiText.h"

namespace config {

namespace {

// Catalogue names match without regard to case, as when a column is created.
bool SameNameIgnoringCase(const std::string &a, const std::string &b) {
    return platform::EqualsIgnoringAsciiCase(a, b);
}

}  // namespace

OutputItems::OutputItems(const OutputItems &other) : m_lastError(other.m_lastError) {
    // Columns that shared one item in the original share one copy.
    std::map<const OutputItem *, std::shared_ptr<OutputItem>> copies;
    for (const auto &item : other.m_items) {
        auto &copy = copies[item.get()];
        if (!copy) {
            copy = std::make_shared<OutputItem>(*item);
        }
        m_items.push_back(copy);
    }
    if (other.m_replace) {
        m_replace = std::make_unique<ReplaceControl>(*other.m_replace);
    }
}

OutputItems &OutputItems::operator=(const OutputItems &other) {
    if (this != &other) {
        OutputItems copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void OutputItems::Add(const std::string &name, int kind, int richTextAdvanced) {
    Add(OutputItem(kind, name, richTextAdvanced));
}

void OutputItems::Add(const OutputItem &item) {
    for (const auto &existing : m_items) {
        if (existing->Name() == item.Name() && existing->Kind() == item.Kind() &&
            existing->RichTextAdvanced() == item.RichTextAdvanced()) {
            m_items.push_back(existing);
            return;
        }
    }
    m_items.push_back(std::make_shared<OutputItem>(item));
}

void OutputItems::Clear() {
    m_items.clear();
}

void OutputItems::SetValue(int index, std::string value) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_items.size()) {
        return;
    }
    m_items[static_cast<std::size_t>(index)]->SetValue(std::move(value));
}

int OutputItems::IndexOf(const std::string &name) const {
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (SameNameIgnoringCase(m_items[i]->Name(), name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool OutputItems::PrepareFormulas() {
    bool allCompiled = true;
    for (const auto &item : m_items) {
        if (!item->PrepareFormula()) {
            allCompiled = false;
        }
    }
    return allCompiled;
}

std::string OutputItems::FormulaFailures(int maxListed) {
    std::string errors;
    int failures = 0;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        OutputItem &item = *m_items[i];
        if (item.Kind() != kItemFormula || item.PrepareFormula()) {
            continue;
        }
        if (++failures > maxListed) {
            errors += "\n....";
            break;
        }
        if (!errors.empty()) {
            errors += "\n";
        }
        errors += "Output Item [" + std::to_string(i) + "]: " + item.FormulaError();
    }
    return errors;
}

bool OutputItems::AddReplacement(const std::string &find, const std::string &replace) {
    if (find.empty()) {
        m_lastError = "Invalid Null Replace Value";
        return false;
    }
    if (!m_replace) {
        m_replace = std::make_unique<ReplaceControl>();
    }
    m_replace->Add(find, replace);
    return true;
}

void OutputItems::SetControlCharReplacements(int carriageReturnOption,
                                             const std::string &carriageReturnReplace, int lineFeedOption,
                                             const std::string &lineFeedReplace) {
    m_replace.reset();
    if (carriageReturnOption == 1) {
        (void)AddReplacement("\r", "");
    } else if (carriageReturnOption == 2) {
        (void)AddReplacement("\r", carriageReturnReplace);
    }
    if (lineFeedOption == 1) {
        (void)AddReplacement("\n", "");
    } else if (lineFeedOption == 2) {
        (void)AddReplacement("\n", lineFeedReplace);
    }
}

std::string OutputItems::ApplyReplacements(const std::string &value) const {
    return m_replace ? m_replace->Apply(value) : value;
}

bool OutputItems::SameColumns(const OutputItems &other) const {
    if (m_items.size() != other.m_items.size()) {
        return false;
    }
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const OutputItem &a = *m_items[i];
        const OutputItem &b = *other.m_items[i];
        if (a.Kind() != b.Kind() || a.Name() != b.Name() || a.RichTextAdvanced() != b.RichTextAdvanced()) {
            return false;
        }
    }
    return true;
}

}  // namespace config
