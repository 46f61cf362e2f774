// Code-page conversions through ICU. Text inside the program is UTF-8; UTF-16 and code pages appear
// only at boundaries (the Notes API, files written in a chosen encoding).
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::u16string Utf8ToUtf16(const std::string &utf8);
std::string Utf16ToUtf8(const std::u16string &utf16);
// Appends the UTF-8 form of utf16 to out (an unpaired surrogate becomes U+FFFD), without a string of
// its own in between.
void AppendUtf16AsUtf8(std::u16string_view utf16, std::string &out);

// The ANSI code page: windows-1252 unless the environment variable VORLIX_ANSI_CODEPAGE names
// another ICU converter.
std::string AnsiCodePageName();

// UTF-8 to and from the ANSI code page; an unmappable character becomes the code page's substitute.
std::string Utf8ToAnsi(const std::string &utf8);
// Appends utf8 in the ANSI code page to out, without a string of its own in between; false (out then
// holds part of the text) when the text cannot be converted.
[[nodiscard]] bool AppendUtf8AsAnsi(std::string_view utf8, std::string &out);
std::string AnsiToUtf8(const std::string &ansi);

// UTF-8 to and from any ICU code page; false when the converter does not exist.
[[nodiscard]] bool Utf8ToCodePage(const std::string &utf8, const std::string &codePage, std::string &out);
[[nodiscard]] bool CodePageToUtf8(const std::string &bytes, const std::string &codePage, std::string &out);

// UTF-16LE bytes (as a file holds them) to and from UTF-8.
std::string Utf8ToUtf16LeBytes(const std::string &utf8);
std::string Utf16LeBytesToUtf8(const std::string &bytes);

}  // namespace platform
