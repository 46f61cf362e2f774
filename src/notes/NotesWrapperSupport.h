// Helpers shared by the Notes object wrappers: message texts, text conversion at the Notes boundary and
// little-endian reads of Notes memory.
#pragma once

#include <cstddef>
#include <string>

#include "capi/NotesTypes.h"

namespace notes::wrapper {

// The status a wrapper reports when the loaded library lacks an entry point it needs.
constexpr STATUS kMissingEntryPoint = 0x3FFF;

// The Notes message for a status, or "Error Code %d" when Notes has none.
std::string NotesMessage(STATUS status);

// Program text (UTF-8) to LMBCS, and LMBCS bytes back to program text.
std::string ToLmbcs(const std::string &text);
std::string FromLmbcs(const char *lmbcs, std::size_t length, bool nulToLineFeed = false);

// Little-endian reads at an offset the caller has checked against the data's size.
WORD ReadWord(const char *data, std::size_t offset);
DWORD ReadDword(const char *data, std::size_t offset);
double ReadDouble(const char *data, std::size_t offset);

}  // namespace notes::wrapper
