// File and directory names made from Notes values: reserved characters replaced, and no component that
// could lead a write outside the output directory.
#pragma once

#include <string>
#include <string_view>

namespace exporter {

// The nine characters Windows reserves in file names; used on every platform so that an exported tree
// can be copied to Windows unchanged.
inline constexpr std::string_view kReservedFileNameCharacters = "\\/:*?\"<>|";
// The same without the backslash, for values whose backslashes stand for directory levels.
inline constexpr std::string_view kReservedWithoutBackslash = "/:*?\"<>|";

// Every character of text that is in reserved, or whose code is below 32, becomes "~"; then surrounding
// blanks are trimmed. A result of "." or ".." has its dots replaced by "~" so that it never names the
// current or the parent directory.
std::string SanitizeFileName(const std::string &text,
                             std::string_view reserved = kReservedFileNameCharacters);

// A value whose backslashes stand for directory levels (a view's cascading name, a formula result with
// subdirectories) as a relative path with the platform separator: each level is sanitised, empty levels
// are dropped, and "." and ".." levels are neutralised. Empty when no level is left.
std::string RelativeDirectoryPath(const std::string &value);

}  // namespace exporter
