// Views and folders written as notes (`<note class='view'>`): their design read from the raw items
// $TITLE, $Flags, $Formula and $VIEWFORMAT, as the `<view>` form gives it.
#pragma once

#include <string>
#include <vector>

#include "Note.h"

namespace standin::dxl {

// Fills note.view from the note's items. Problems that leave the view usable (a column whose
// compiled formula is not of this runtime) are added to problems.
void ViewFromItems(Note &note, std::vector<std::string> &problems);

}  // namespace standin::dxl
