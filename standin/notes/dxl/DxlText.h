// Text conversions of the DXL reader: UTF-8 to LMBCS (ICU's "LMBCS-1") and declared file encodings
// to UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace standin::dxl {

// LMBCS of UTF-8 text; false when the text is not valid UTF-8.
[[nodiscard]] bool Utf8ToLmbcs(std::string_view utf8, std::string &out);
// UTF-8 of LMBCS text (unmappable bytes become U+FFFD).
std::string LmbcsToUtf8(std::string_view lmbcs);
// UTF-8 of bytes in a code page ICU knows (e.g. "SHIFT_JIS"); false when ICU does not know it or the
// bytes are not valid in it.
[[nodiscard]] bool CharsetToUtf8(std::string_view bytes, const std::string &charset, std::string &out,
                                 std::string &error);

}  // namespace standin::dxl
