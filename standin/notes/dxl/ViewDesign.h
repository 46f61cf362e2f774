// The design of a view or folder: title, flags, selection formula, columns, and the entries or
// members that our own namespace lists explicitly.
#pragma once

#include <string>
#include <vector>

#include "../../../src/notes/capi/NotesTypes.h"

namespace standin::dxl {

struct ViewColumn {
    std::string itemName;         // LMBCS
    std::string formula;          // LMBCS; empty when the column shows the item itself
    std::string compiledFormula;  // the formula in this runtime's compiled form, when stored compiled
    bool sorted = false;
    bool descending = false;
    bool categorized = false;
    bool separateMultipleValues = false;
};

// One row of an explicitly ordered view: a category (title, at a level) or a document.
struct ExplicitEntry {
    bool isCategory = false;
    WORD level = 0;
    std::string categoryTitle;  // LMBCS
    NOTEID noteId = 0;          // resolved after reading
    std::string unidText;       // as written, when given by UNID
};

struct ViewDesign {
    bool isFolder = false;
    bool isPrivate = false;
    std::string selectionFormula;   // LMBCS; empty selects every document
    std::string compiledSelection;  // the selection in this runtime's compiled form, when stored compiled
    std::vector<ViewColumn> columns;
    bool hasExplicitEntries = false;
    std::vector<ExplicitEntry> entries;
    std::vector<NOTEID> members;  // folder documents, in the order they were added
};

}  // namespace standin::dxl
