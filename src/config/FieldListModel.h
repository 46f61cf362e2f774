// The two field lists of the main dialog (available and selected) and their operations, without any
// user-interface code: the dialog displays the model and forwards its buttons to it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "config/OutputItems.h"
#include "config/SelectionProperty.h"

namespace config {

struct FieldListEntry {
    SelectionProperty property;
    bool chosen = false;  // selected in its list box
};

class FieldListModel {
public:
    // Tells whether a text compiles as a Notes formula. The default compiles it with NotesFormula
    // (a running Notes session is needed).
    using FormulaCheck = std::function<bool(const std::string &text)>;

    FieldListModel();
    explicit FieldListModel(FormulaCheck check);

    std::vector<FieldListEntry> &Available() { return m_available; }
    std::vector<FieldListEntry> &Selected() { return m_selected; }
    const std::vector<FieldListEntry> &Available() const { return m_available; }
    const std::vector<FieldListEntry> &Selected() const { return m_selected; }

    // The available list: the computed fields of the catalogue followed by item names.
    void SetAvailable(const std::vector<std::string> &itemNames);

    // ">" (all false) and ">>" (all true): the chosen (or all) available entries are inserted in order
    // after the first chosen entry of the selected list, each after the one before; at the end when
    // none is chosen there.
    void AddFromAvailable(bool all);
    // "<" and "<<": the chosen (or all) entries leave the selected list.
    void RemoveFromSelected(bool all);
    // Each chosen entry changes place with the one above (below); a chosen entry already first (last)
    // stops the move there, and no later chosen entry moves.
    void MoveUp();
    void MoveDown();

    // The manual entry edit's "Add": trims text (writing it back), refuses a text that does not compile
    // ("Invalid Field or Formula") or an unknown "%" name ("Error: Invalid Calculated Field Name.");
    // otherwise inserts a field entry (at most 32 characters, starting with an ASCII letter), a formula
    // entry or the catalogue entry after the first chosen selected entry. Empties text after a catalogue
    // entry was added. Messages go through the user-interface seam. True when an entry was added.
    bool ManualEntry(std::string &text);

    // The "Rich Text Advanced" check box: sets or clears the flag of every chosen selected entry; with
    // none chosen shows a warning and changes nothing. True when any entry changed state.
    bool SetRichTextAdvanced(bool on);

    // The selected list into the settings' columns, in order.
    void ToOutputItems(OutputItems &items) const;
    // The settings' columns into the selected list: fields and formulas as they are, other kinds by
    // their catalogue entry (with the column's rich-text advanced value); names the catalogue does not
    // know are dropped.
    void FromOutputItems(const OutputItems &items);

private:
    void InsertAfterFirstChosen(const std::vector<SelectionProperty> &entries);

    FormulaCheck m_check;
    std::vector<FieldListEntry> m_available;
    std::vector<FieldListEntry> m_selected;
};

}  // namespace config
