// The entries of a view or folder: explicit entries of our namespace, else the selected documents
// ordered by the sorted columns, with category entries before each category's documents.
#pragma once

#include <string>
#include <vector>

#include "DatabaseFile.h"

namespace standin {

struct ViewEntry {
    NOTEID noteId = 0;  // category entries carry kNoteIdCategory plus their ordinal
    WORD noteClass = 0;
    UNID unid{};
    std::vector<DWORD> tumbler;       // 1-based position at each level
    std::vector<std::string> values;  // column values, type word first (empty: no value)
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
    // True when the compiled selection formula selects the note.
    [[nodiscard]] static bool Selects(const std::string &compiled, const DatabaseFile &data,
                                      const dxl::Note &note, const std::string &server, bool &selected,
                                      STATUS &status);
};

}  // namespace standin
