// Statuses of the composite-data services (0x3E60-0x3E6F of the stand-in's own package).
#pragma once

#include "../../../src/notes/capi/NotesTypes.h"

namespace standin {

constexpr STATUS kStsCompositeTruncated = 0x3E60;
constexpr STATUS kStsCompositeDamaged = 0x3E61;
constexpr STATUS kStsBitmapInvalid = 0x3E62;
constexpr STATUS kStsBitmapIncomplete = 0x3E63;
constexpr STATUS kStsCompoundClosed = 0x3E64;
constexpr STATUS kStsTempFileFailed = 0x3E65;
constexpr STATUS kStsCdFileUnreadable = 0x3E66;
constexpr STATUS kStsRtfWriteFailed = 0x3E67;
constexpr STATUS kStsItemNotText = 0x3E68;

}  // namespace standin
