// Text conversions of the DXL reader: UTF-8 to LMBCS (ICU's "LMBCS-1") and declared file encodings
// to UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace standin::dxl {

// LMBCS of UTF-8 text; false when the text is not valid UTF-8.
[[nodiscard]] bool Utf8ToLmbcs(std::string_view utf8, std::string &out);
// UTF-8 of LMBCS text (unmappable bytes become U+FFFD).
std::string LmbcsToUtf8(std::string_view lmbcs);
// UTF-8 of bytes in a code page ICU knows (e.g. "SHIFT_JIS"); false when ICU does not know it. Bytes
// that are not valid in it become U+FFFD; their offsets in the input are added to badOffsets.
[[nodiscard]] bool CharsetToUtf8(std::string_view bytes, const std::string &charset, std::string &out,
                                 std::string &error, std::vector<std::size_t> &badOffsets);
// The offset of the first byte that does not belong to a valid UTF-8 sequence, or npos.
std::size_t FirstInvalidUtf8(std::string_view bytes, std::size_t from = 0);
// The bytes with every invalid UTF-8 sequence replaced by U+FFFD; their offsets go to badOffsets.
std::string RepairUtf8(std::string_view bytes, std::vector<std::size_t> &badOffsets);

}  // namespace standin::dxl
