// Comparison of names (INI keys, registry keys, catalogue names) without regard to ASCII case, as
// Windows compares them; bytes above 0x7F compare as they are.
#pragma once

#include <string_view>

namespace platform {

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace platform
