// Conversion between the program's text (UTF-8) and LMBCS, Notes' character set, through OSTranslate.
#pragma once

#include <string>

#include "ErrorObject.h"

namespace notes {

// Piece sizes: UTF-16 units per call when writing (three LMBCS bytes each stay within 0xFFFF bytes)
// and LMBCS bytes per call when reading.
inline constexpr std::size_t kUnicodePiece = 0x5555;
inline constexpr std::size_t kLmbcsPiece = 0x8000;

// UTF-8 text to LMBCS bytes (no terminating NUL). Releases before 5, and any text before a session has
// started, go through the runtime's native character set (UTF-8 on Linux).
std::string UnicodeToLmbcs(const std::string &text);

// LMBCS bytes (length -1: NUL-terminated) to UTF-8. With nulToLineFeed every NUL becomes a line feed.
// A failure is recorded in errors when given, else shown through the user-interface seam; out holds
// the text converted so far. Returns false on failure.
[[nodiscard]] bool ConvertLmbcsToUnicode(const char *lmbcs, int length, bool nulToLineFeed,
                                         ErrorObjectArray *errors, std::string &out);

// The same, appending to out instead of replacing it (the NUL rule applies to the appended text only).
[[nodiscard]] bool AppendLmbcsAsUnicode(const char *lmbcs, int length, bool nulToLineFeed,
                                        ErrorObjectArray *errors, std::string &out);

// The same, returning the text converted (so far).
std::string LmbcsToUnicode(const char *lmbcs, int length, bool nulToLineFeed = false,
                           ErrorObjectArray *errors = nullptr);

}  // namespace notes
