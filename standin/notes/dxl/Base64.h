// Base64 decoding and encoding of DXL binary content (whitespace between groups is allowed).
#pragma once

#include <string>
#include <string_view>

namespace standin::dxl {

// False when the text holds a character outside the alphabet or its length does not close a group.
[[nodiscard]] bool DecodeBase64(std::string_view text, std::string &out);
std::string EncodeBase64(std::string_view bytes, std::size_t lineLength = 76);

}  // namespace standin::dxl
