// The formula context of an open note, so that formula evaluation and selection can read its items.
#pragma once

#include <memory>

#include "../formula/FormulaContext.h"

namespace standin {

// The context of an open note handle, or null (status set) when the handle names no open note.
// docNumber is the entry position text for view columns (empty elsewhere).
std::unique_ptr<formula::FormulaContext> MakeNoteContext(NOTEHANDLE note, STATUS &status,
                                                         const std::string &docNumber = std::string());

}  // namespace standin
