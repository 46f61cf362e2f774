// The entry table rows, generated from the one list of entry points.
#include "NotesApi.h"

namespace notes {

namespace {

#define NOTES_NOT_IMPLEMENTED 0
#define NOTES_API(ret, name, params, fail)                                      \
    {#name, [](NotesApiTable &table, void *address) {                           \
         table.name = reinterpret_cast<decltype(NotesApiTable::name)>(address); \
     }},
const NotesApiRow kRows[] = {
#include "capi/NotesEntryPoints.inc"
};
#undef NOTES_API
#undef NOTES_NOT_IMPLEMENTED

}  // namespace

const NotesApiRow *NotesApiRows(std::size_t &count) {
    count = sizeof(kRows) / sizeof(kRows[0]);
    return kRows;
}

}  // namespace notes
