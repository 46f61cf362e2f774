// Windows INI file access with Windows semantics: sections and keys match without regard to case,
// a read takes at most a given number of characters, a write replaces one value and keeps every other
// byte of the file, and the file is created by the first write.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// The value of [section] key, cut to maxChars characters (UTF-8 text; a character is a code point);
// empty when the file, the section or the key is absent or the value is empty.
std::string ReadIniValue(const std::string &path, const std::string &section, const std::string &key,
                         std::size_t maxChars);

// Writes one value; true only when the file was written. Values are one line: a line break in the
// value is the caller's to escape.
[[nodiscard]] bool WriteIniValue(const std::string &path, const std::string &section, const std::string &key,
                                 const std::string &value);

}  // namespace platform
