// A readable trace of a record walk, one line per record: signature, record name and length,
// indented inside tables, hotspots and begin/end brackets. Used by golden tests and when debugging.
#pragma once

#include <string>
#include <string_view>

#include "../../../src/notes/capi/NotesTypes.h"

namespace standin::cd {

// The name of a record signature as the walk reports it, or "?" when unknown.
const char *RecordName(WORD signature);
// The trace of the records of a buffer (without the type word). A walk that does not complete ends
// with a line saying why.
std::string PrintWalk(std::string_view records);

}  // namespace standin::cd
