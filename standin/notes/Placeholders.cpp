// Weak definitions of every entry point of the list. The modules of the runtime define the entry
// points they implement (strong symbols take precedence at link time); what no module implements
// answers with kStsNotImplemented (or its type's empty value) and records a diagnostic, so a caller
// never crashes on an entry point the stand-in does not serve.
#include "Runtime.h"

namespace {

void NotImplemented(const char *name) {
    standin::EnterCall(name);
    standin::Diagnostic(std::string("entry point not implemented: ") + name);
}

}  // namespace

#pragma GCC diagnostic ignored "-Wunused-parameter"

extern "C" {
#define NOTES_NOT_IMPLEMENTED standin::kStsNotImplemented
#define NOTES_API(ret, name, params, fail)               \
    __attribute__((weak)) NOTES_EXPORT ret name params { \
        NotImplemented(#name);                           \
        return fail;                                     \
    }
#include "../../src/notes/capi/NotesEntryPoints.inc"
#undef NOTES_API
#undef NOTES_NOT_IMPLEMENTED
}
