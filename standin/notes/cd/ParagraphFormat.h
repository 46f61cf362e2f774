// The paragraph format of a PAB definition record, with margins measured from the left margin of the
// page (Notes measures them from the page edge, one inch to the left of it).
#pragma once

#include <string_view>

#include "../../../src/notes/capi/CompositeRecords.h"

namespace standin::cd {

struct ParagraphFormat {
    WORD justify = 0;  // kJustify*
    long left = 0;     // twips from the margin
    long first = 0;    // first-line indent relative to left
    long right = 0;    // the record's right margin as stored (0 when it is the default)
    long before = 0;   // spacing in twips
    long after = 0;
    int list = 0;  // 0 none, 1 bullets, 2 numbers
};

ParagraphFormat ReadParagraphFormat(std::string_view pabDefinition);

}  // namespace standin::cd
