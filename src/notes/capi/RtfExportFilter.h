// The entry point of the Notes RTF export filter (nxrtf), loaded at run time like the Notes runtime:
// it reads a composite-data file and writes an RTF file.
#pragma once

#include "NotesTypes.h"

extern "C" {

// cdFile and rtfFile are LMBCS paths; flags 2 is what the program passes; module and altLibrary may be
// null. Returns 0 on success; on failure no RTF file is left behind.
typedef STATUS (*ExportRtfFn)(char *cdFile, WORD flags, HMODULE *module, char *altLibrary, char *rtfFile);
}

namespace notes {
inline constexpr const char kExportRtfName[] = "ExportRTF";
}
