// Statuses of the database entry points (0x3E30-0x3E3F of the stand-in's package). Some messages
// carry the specifics of the last failure (the file, the problem), set when it happens.
#pragma once

#include <string>

#include "../StandinStatus.h"

namespace standin {

constexpr STATUS kStsDbNotFound = 0x3E30;
constexpr STATUS kStsDxlInvalid = 0x3E31;
constexpr STATUS kStsServerUnreachable = 0x3E32;
constexpr STATUS kStsDbChangedOnDisk = 0x3E33;
constexpr STATUS kStsDbWriteFailed = 0x3E34;
constexpr STATUS kStsNoteNotFound = 0x3E35;
constexpr STATUS kStsCannotDecrypt = 0x3E36;
constexpr STATUS kStsFileCreateFailed = 0x3E37;
constexpr STATUS kStsNotAFileItem = 0x3E38;
constexpr STATUS kStsOleObjectNotFound = 0x3E39;
constexpr STATUS kStsIsDirectory = 0x3E3A;
constexpr STATUS kStsPathTooLong = 0x3E3B;
constexpr STATUS kStsNotAViewNote = 0x3E3C;
constexpr STATUS kStsInvalidCollection = 0x3E3D;
constexpr STATUS kStsNotAFolder = 0x3E3E;

// Sets the message of code to text (the specifics of the failure being reported) and records it as
// a diagnostic too; returns code.
STATUS FailWith(STATUS code, const std::string &text);

}  // namespace standin
