// Windows INI file access with Windows semantics: sections and keys match without regard to case,
// a read takes at most a given number of characters, a write replaces one value and keeps every other
// byte of the file, and the file is created by the first write.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// The value of [section] key, cut to maxChars characters (UTF-8 text; a character is a code point);
// empty when the file, the section or the key is absent or the value is empty. Blanks around the value
// and a matching pair of enclosing quotes are not part of it (see IniDocument).
std::string ReadIniValue(const std::string &path, const std::string &section, const std::string &key,
                         std::size_t maxChars);

// Writes one value; true only when the file was written. The file is replaced atomically (a temporary
// file and a rename), so a failure leaves it as it was; its directory must exist. Values are one line:
// a value holding a line break is refused (false) rather than allowed to add lines of its own. With
// ownerOnly the file is left readable and writable by its owner only.
[[nodiscard]] bool WriteIniValue(const std::string &path, const std::string &section, const std::string &key,
                                 const std::string &value, bool ownerOnly = false);

// Why the last WriteIniValue on this thread failed.
const std::string &LastIniError();

}  // namespace platform
