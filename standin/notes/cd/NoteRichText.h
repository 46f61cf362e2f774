// Turns the XML rich-text items of a note read from DXL into composite records, with the note's font
// table ($Fonts) and link table ($Links) that the records refer to.
#pragma once

#include <string>
#include <vector>

#include "../dxl/Note.h"

namespace standin::cd {

// Converts every composite item of the note that was read as XML rich text (an empty value with its
// XML kept). Problems (skipped elements) are added to diagnostics, naming the item.
void BuildRichTextItems(dxl::Note &note, const std::string &where, std::vector<std::string> &diagnostics);

}  // namespace standin::cd
