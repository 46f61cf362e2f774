// One output column: creation by kind (with the catalogue lookup), formula preparation and the
// column's value for a note.
#include "config/OutputItem.h"

#include "config/ComputedFieldCatalogue.h"
#include "notes/LmbcsConvert.h"
#include "notes/NotesFormula.h"
#include "notes/NotesNote.h"
#include "richtext/NotesItem.h"

namespace config {

OutputItem::OutputItem(int kind, std::string name, int richTextAdvanced)
    : m_kind(kind), m_name(std::move(name)), m_richTextAdvanced(richTextAdvanced) {
    if (m_kind != kItemLookup) {
        return;
    }
    const ComputedField *entry = ComputedFieldCatalogue::Find(m_name);
    if (entry == nullptr) {
        return;
    }
    m_kind = entry->kind;
    m_label = entry->label;
    m_valueFunction = entry->valueFunction;
}

OutputItem::OutputItem(int kind, std::string name, std::string label, ValueFunction valueFunction,
                       int richTextAdvanced)
    : m_kind(kind),
      m_name(std::move(name)),
      m_label(std::move(label)),
      m_valueFunction(valueFunction),
      m_richTextAdvanced(richTextAdvanced) {}

OutputItem::~OutputItem() = default;

OutputItem::OutputItem(const OutputItem &other)
    : m_kind(other.m_kind),
      m_name(other.m_name),
      m_label(other.m_label),
      m_valueFunction(other.m_valueFunction),
      m_richTextAdvanced(other.m_richTextAdvanced),
      m_value(other.m_value),
      m_formulaError(other.m_formulaError) {
    if (other.m_formula) {
        m_formula = std::make_shared<notes::NotesFormula>(*other.m_formula);
    }
}

OutputItem &OutputItem::operator=(const OutputItem &other) {
    if (this == &other) {
        return *this;
    }
    m_kind = other.m_kind;
    m_name = other.m_name;
    m_label = other.m_label;
    m_valueFunction = other.m_valueFunction;
    m_richTextAdvanced = other.m_richTextAdvanced;
    m_value = other.m_value;
    m_formulaError = other.m_formulaError;
    m_formula = other.m_formula ? std::make_shared<notes::NotesFormula>(*other.m_formula) : nullptr;
    return *this;
}

bool OutputItem::PrepareFormula() {
    if (m_kind != kItemFormula) {
        return true;
    }
    m_formula.reset();
    m_formulaError.clear();
    auto formula = std::make_shared<notes::NotesFormula>(m_name);
    if (!formula->Compile()) {
        m_formulaError = formula->LastError();
        return false;
    }
    m_formula = std::move(formula);
    return true;
}

std::string OutputItem::Evaluate(const notes::NotesNote &note, const std::string &separator,
                                 const richtext::NotesRtfAdvancedSettings *options,
                                 richtext::RenderState *state) {
    switch (m_kind) {
        case kItemField:
            // The name is the same for every document: converted once, not once per value.
            if (m_lmbcsName.empty() && !m_name.empty()) {
                m_lmbcsName = notes::UnicodeToLmbcs(m_name);
            }
            return richtext::NotesItem::RenderLmbcsName(note, m_lmbcsName, separator,
                                                        IsRichTextAdvanced() ? options : nullptr, state)
                .text;
        case kItemFormula:
            if (!m_formula) {
                return std::string();
            }
            return m_formula->Evaluate(note.Handle(), separator);
        case kItemEngineValue:
            return m_value;
        case kItemNoteValue:
            if (m_valueFunction != nullptr) {
                m_value = m_valueFunction(note);
            }
            return m_value;
        default:
            return "Unknown Data Type: " + std::to_string(m_kind);
    }
}

}  // namespace config
