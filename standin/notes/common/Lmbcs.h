// LMBCS, Notes' multi-byte character set, through ICU's "LMBCS-1" converter (optimisation group 1:
// a byte 0x80-0xFF without a group byte is a cp850 character), and the text forms around it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct UConverter;

namespace standin {

// This thread's ICU converter of that name, opened on first use and kept (opening one looks its name
// up in ICU's tables, which costs more than most conversions), reset to ICU's substituting callbacks;
// null when ICU does not know the name. Never share it with another thread: converters keep state.
UConverter *ThreadConverter(const char *name);

// LMBCS to UTF-16 and back. A NUL byte stays a NUL character. Malformed input becomes U+FFFD.
std::u16string LmbcsToUtf16(std::string_view lmbcs);
std::string Utf16ToLmbcs(std::u16string_view utf16);

// LMBCS to UTF-8 and back.
std::string LmbcsToUtf8(std::string_view lmbcs);
std::string Utf8ToLmbcs(std::string_view utf8);

// Any ICU code page to and from UTF-16; false when the converter does not exist.
[[nodiscard]] bool CodePageToUtf16(std::string_view bytes, const char *codePage, std::u16string &out);
[[nodiscard]] bool Utf16ToCodePage(std::u16string_view utf16, const char *codePage, std::string &out);

// The native character set of the runtime: UTF-8, the platform's own encoding on Linux (paths and other
// text the runtime takes as the system gives them).
std::string NativeCodePage();

// The byte length of the LMBCS character that starts at p (1 to 3), given the bytes available there
// (at least 1); a character cut short by the end of the data counts what is there.
std::size_t LmbcsCharLength(const unsigned char *p, std::size_t available);

// The character before byte position `position` of the LMBCS text: its start offset, with its byte
// length in `length` (a character that runs past `position` counts whole, as far as the text goes).
// npos when position is 0 or beyond the text.
std::size_t LmbcsPreviousCharacter(std::string_view lmbcs, std::size_t position, std::size_t &length);

// The longest prefix of the LMBCS text of at most max bytes that ends on a character boundary.
std::size_t LmbcsFitLength(std::string_view lmbcs, std::size_t max);

}  // namespace standin
