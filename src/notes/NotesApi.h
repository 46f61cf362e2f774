// The process-wide table of Notes C API entry points, filled by name from the loaded library.
#pragma once

#include <string>

#include "capi/NotesTypes.h"

namespace notes {

// One slot per entry point of capi/NotesEntryPoints.inc, each with the exact function signature.
struct NotesApiTable {
#define NOTES_NOT_IMPLEMENTED 0
#define NOTES_API(ret, name, params, fail) ret(*name) params = nullptr;
#include "capi/NotesEntryPoints.inc"
#undef NOTES_API
#undef NOTES_NOT_IMPLEMENTED
};

// A row of the entry table: the exported name and the setter of its slot.
struct NotesApiRow {
    const char *name;
    void (*assign)(NotesApiTable &table, void *address);
};

// The table rows in their fixed order.
const NotesApiRow *NotesApiRows(std::size_t &count);

// The released version of the loaded Notes runtime (0.0.0 while no session is active).
struct NotesVersion {
    int major = 0;
    int minor = 0;
    int tiny = 0;
    std::string text;
};

// The single binding of the process: library handle, entry table, load-error text, version and
// the LMBCS character-set handle. Written only during load, unload, session start and end.
struct NotesApi {
    void *library = nullptr;
    // Full path of the loaded library (what a script engine working in the same runtime loads too).
    std::string libraryPath;
    std::string programDirectory;  // where the loaded runtime lives; its companion libraries are there
    NotesApiTable fn;
    std::string loadError;
    NotesVersion version;
    NLS_PINFO lmbcsInfo = nullptr;
};

// The process-wide instance (inline: every wrapper reaches the runtime through it, many times a value).
inline NotesApi &Api() {
    static NotesApi api;
    return api;
}

}  // namespace notes
