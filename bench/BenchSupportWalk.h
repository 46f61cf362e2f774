// The bare walk the export benchmarks measure against: a view read through the C API alone (the function
// table, none of the program's wrappers).
#pragma once

#include <functional>
#include <string>

#include "notes/capi/NotesTypes.h"

namespace bench {

// Opens the database (a path the runtime resolves), reads the view's entries in view order and opens
// each document, hands it to visit and closes it. Returns the documents visited; -1 when the database
// or the view cannot be opened.
long WalkViewNotes(const std::string &database, const char *view,
                   const std::function<void(NOTEHANDLE)> &visit);

}  // namespace bench
