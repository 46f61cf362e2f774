// Status codes of the stand-in's own, and the message table that OSLoadString serves.
#pragma once

#include <string>

#include "Export.h"

namespace standin {

// Codes of the stand-in's own package (0x3E00); Notes' documented codes are in NotesTypes.h.
constexpr STATUS kStsNotImplemented = 0x3E01;
constexpr STATUS kStsNotInitialized = 0x3E02;
constexpr STATUS kStsInvalidHandle = 0x3E03;
constexpr STATUS kStsIniUnreadable = 0x3E04;
constexpr STATUS kStsIdFileMissing = 0x3E05;
constexpr STATUS kStsFormulaNotSupported = 0x3E06;
constexpr STATUS kStsBadArgument = 0x3E07;
constexpr STATUS kStsOutOfMemory = 0x3E08;
constexpr STATUS kStsFaultInjected = 0x3E09;

struct MessageEntry {
    STATUS code;
    const char *text;
};

// Adds messages to the table; each source file that introduces statuses registers its own with a
// namespace-scope MessageRegistrar.
struct MessageRegistrar {
    MessageRegistrar(const MessageEntry *entries, std::size_t count);
};

// The message for ERR(code); empty when there is none.
std::string MessageText(STATUS code);

// The release text (string 1): the notes.ini key StandinRelease overrides the default.
void SetReleaseText(const std::string &text);

}  // namespace standin
