// Packed (ODS) forms of the structures ODSLength and ODSReadMemory serve: packed length, and the
// conversion of one packed structure to its host structure of natural alignment.
#pragma once

#include <cstddef>

#include "../../../src/notes/capi/CompositeRecords.h"

namespace standin::cd {

// The packed length of an ODS type, 0 when the type is not served.
WORD OdsPackedLength(WORD odsType);
// The size of the host structure of an ODS type, 0 when the type is not served.
std::size_t OdsHostSize(WORD odsType);
// Converts one packed structure (OdsPackedLength bytes at src) to its host form at dest
// (OdsHostSize bytes). False when the type is not served.
bool OdsRead(const unsigned char *src, WORD odsType, void *dest);

}  // namespace standin::cd
