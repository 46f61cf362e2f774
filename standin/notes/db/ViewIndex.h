// The entries of a view or folder: explicit entries of our namespace, else the selected documents
// ordered by the sorted columns, with category entries before each category's documents.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "DatabaseFile.h"

namespace standin {

struct ViewEntry {
    NOTEID noteId = 0;  // category entries carry kNoteIdCategory plus their ordinal
    WORD noteClass = 0;
    UNID unid{};
    std::vector<DWORD> tumbler;  // 1-based position at each level
    // Column values, type word first (empty: no value), held for categories and explicit entries; a
    // document's values are evaluated when its entry is read (EntryValues), so that none are held.
    std::unique_ptr<std::vector<std::string>> values;
    bool valuesPending = false;
    bool IsCategory() const { return (noteId & notes::kNoteIdCategory) != 0; }
    WORD Level() const { return static_cast<WORD>(tumbler.size() - 1); }
};

class ViewIndex {
public:
    // Builds the entries of the view note over the data database; false (status set) when its
    // selection or a column formula cannot be evaluated.
    [[nodiscard]] static bool Build(const DatabaseFile &data, const dxl::Note &viewNote,
                                    const std::string &server, std::vector<ViewEntry> &entries,
                                    STATUS &status);
    // The compiled formulas of the view's columns (empty for a column that shows its item).
    [[nodiscard]] static bool CompileColumns(const dxl::ViewDesign &view, std::vector<std::string> &compiled,
                                             STATUS &status);
    // The column values of a document entry: the index keeps only what its order needs, so that a
    // view of many documents costs little; the values are evaluated when an entry is read.
    [[nodiscard]] static bool EntryValues(const DatabaseFile &data, const dxl::ViewDesign &view,
                                          const std::vector<std::string> &compiledColumns, NOTEID noteId,
                                          const std::string &server, std::vector<std::string> &values,
                                          STATUS &status);
    // True when the compiled selection formula selects the note.
    [[nodiscard]] static bool Selects(const std::string &compiled, const DatabaseFile &data,
                                      const dxl::Note &note, const std::string &server, bool &selected,
                                      STATUS &status);
};

}  // namespace standin
