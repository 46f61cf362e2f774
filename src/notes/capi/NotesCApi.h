// Prototypes of every bound Notes C API entry point, generated from NotesEntryPoints.inc.
// The stand-in runtime compiles its definitions against these, so a signature cannot drift from the
// binding's function-pointer types.
#pragma once

#include "NotesTypes.h"

#ifndef NOTES_EXPORT
#define NOTES_EXPORT
#endif

extern "C" {
#define NOTES_NOT_IMPLEMENTED 0
#define NOTES_API(ret, name, params, fail) NOTES_EXPORT ret name params;
#include "NotesEntryPoints.inc"
#undef NOTES_API
#undef NOTES_NOT_IMPLEMENTED
}
