// One item name of a database's item-definition table, with the item type Notes records for it.
#pragma once

#include <string>

#include "capi/NotesTypes.h"

namespace notes {

struct NotesFieldName {
    std::string name;  // UTF-8
    WORD type = 0;
};

}  // namespace notes
