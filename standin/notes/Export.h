// Exported prototypes of the stand-in runtime: the C API list with default visibility.
#pragma once

#define NOTES_EXPORT __attribute__((visibility("default")))
#include "../../src/notes/capi/NotesCApi.h"
#include "include/StandinControl.h"
