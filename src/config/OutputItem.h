// One output column: a document item (field), a Notes formula, or a computed field of the catalogue.
#pragma once

#include <memory>
#include <string>

#include "richtext/NotesRtfAdvancedSettings.h"
#include "richtext/RenderState.h"

namespace notes {
class NotesNote;
class NotesFormula;
}  // namespace notes

namespace config {

// Kinds of an output column.
constexpr int kItemField = 0;
constexpr int kItemFormula = 1;
constexpr int kItemEngineValue = 2;  // computed; the export run sets the value
constexpr int kItemNoteValue = 4;    // computed from the note by the entry's value function
constexpr int kItemLookup = 5;       // only when creating: look the name up in the catalogue

// Computes a column's value from the open note (kind 4).
using ValueFunction = std::string (*)(const notes::NotesNote &note);

class OutputItem {
public:
    // A kind of 5 looks the name up in the catalogue (without regard to case): when found, the item
    // takes the entry's kind, label and value function; otherwise it keeps kind 5 and no step fills it.
    OutputItem(int kind, std::string name, int richTextAdvanced);
    // As the dialog's list hands it over, with label and value function given.
    OutputItem(int kind, std::string name, std::string label, ValueFunction valueFunction,
               int richTextAdvanced);
    ~OutputItem();
    // A copy carries its own copy of the compiled formula.
    OutputItem(const OutputItem &other);
    OutputItem &operator=(const OutputItem &other);

    int Kind() const { return m_kind; }
    const std::string &Name() const { return m_name; }
    const std::string &Label() const { return m_label; }
    ValueFunction Function() const { return m_valueFunction; }
    int RichTextAdvanced() const { return m_richTextAdvanced; }
    bool IsRichTextAdvanced() const { return m_richTextAdvanced != 0; }
    void SetRichTextAdvanced(int value) { m_richTextAdvanced = value; }

    // The value for the current document.
    const std::string &Value() const { return m_value; }
    void SetValue(std::string value) { m_value = std::move(value); }

    // Kind 1: compiles the formula once for a run; false (with FormulaError) when it does not compile.
    // Other kinds: true, nothing done.
    [[nodiscard]] bool PrepareFormula();
    bool IsFormulaCompiled() const { return m_formula != nullptr; }
    const std::string &FormulaError() const { return m_formulaError; }

    // The column's value for one note: field through NotesItem::Render (with options only when the
    // column is marked Rich Text Advanced), formula through the compiled formula (empty when not
    // compiled), kind 2 the value the run set, kind 4 the value function (which also becomes the
    // value), any other kind "Unknown Data Type: %d". state is the run's render state (null: one of
    // the call's own).
    std::string Evaluate(const notes::NotesNote &note, const std::string &separator,
                         const richtext::NotesRtfAdvancedSettings *options,
                         richtext::RenderState *state = nullptr);

private:
    int m_kind;
    std::string m_name;
    std::string m_lmbcsName;  // m_name in LMBCS, converted at the first field evaluation
    std::string m_label;
    ValueFunction m_valueFunction = nullptr;
    int m_richTextAdvanced;
    std::string m_value;
    std::shared_ptr<notes::NotesFormula> m_formula;
    std::string m_formulaError;
};

}  // namespace config
