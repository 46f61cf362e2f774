// Small ASCII text helpers shared by every layer: names compared without regard to ASCII case, as
// Windows compares them (bytes above 0x7F compare as they are), hexadecimal digits and blank trimming.
#pragma once

#include <string>
#include <string_view>

namespace platform {

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// The text with A-Z turned to a-z; every other byte unchanged.
std::string AsciiLower(std::string_view text);

// The value of a hexadecimal digit (0-9, a-f, A-F); -1 for any other character.
int HexDigit(char32_t c);

// The text without its leading and trailing blanks (spaces only; tabs and line breaks stay).
std::string TrimBlanks(std::string_view text);

// The first count characters (not bytes) of UTF-8 text; a negative count gives the empty text.
std::string FirstUtf8Characters(std::string_view text, int count);

}  // namespace platform
