// The ordered output columns of an export and the replacement table applied to their values.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "config/OutputItem.h"
#include "config/ReplaceControl.h"

namespace config {

class OutputItems {
public:
    OutputItems() = default;
    // Copies keep columns that share one item sharing it in the copy too.
    OutputItems(const OutputItems &other);
    OutputItems &operator=(const OutputItems &other);
    OutputItems(OutputItems &&) noexcept = default;
    OutputItems &operator=(OutputItems &&) noexcept = default;

    // Appends a column (kind 5 looks the name up in the catalogue). When an item of the same name, kind
    // and rich-text advanced value is already in the list, that same item takes the new position as
    // well, so both columns carry one value.
    void Add(const std::string &name, int kind, int richTextAdvanced);
    // Appends a column as the dialog's list hands it over.
    void Add(const OutputItem &item);
    void Clear();
    std::size_t Count() const { return m_items.size(); }
    bool Empty() const { return m_items.empty(); }
    OutputItem &Item(std::size_t index) { return *m_items[index]; }
    const OutputItem &Item(std::size_t index) const { return *m_items[index]; }

    // Sets the value of the column at index; a negative index is ignored.
    void SetValue(int index, std::string value);
    // Position of the first column whose name is the catalogue name given (without regard to case, as
    // the catalogue lookup), or -1.
    int IndexOf(const std::string &name) const;

    // Every formula column compiles its formula; false when any failed (its error is kept with it).
    [[nodiscard]] bool PrepareFormulas();
    // Compiles every formula column and lists the failures, one "Output Item [i]: error" line each,
    // at most maxListed of them and "...." after the last when there are more; empty when all compile.
    std::string FormulaFailures(int maxListed);

    // Adds a find/replace pair; an empty find text is refused with "Invalid Null Replace Value".
    [[nodiscard]] bool AddReplacement(const std::string &find, const std::string &replace);
    // The pairs of the carriage-return and line-feed options (ControlChar...Option 1 removes, 2
    // replaces; the carriage-return pair first). With both options 0 the table stays empty.
    void SetControlCharReplacements(int carriageReturnOption, const std::string &carriageReturnReplace,
                                    int lineFeedOption, const std::string &lineFeedReplace);
    void ClearReplacements() { m_replace.reset(); }
    // Null until the first pair is added.
    const ReplaceControl *Replacements() const { return m_replace.get(); }
    std::string ApplyReplacements(const std::string &value) const;

    const std::string &LastError() const { return m_lastError; }

    // Same columns by kind, name and rich-text advanced value, in the same order.
    bool SameColumns(const OutputItems &other) const;

private:
    std::vector<std::shared_ptr<OutputItem>> m_items;
    std::unique_ptr<ReplaceControl> m_replace;
    std::string m_lastError;
};

}  // namespace config
