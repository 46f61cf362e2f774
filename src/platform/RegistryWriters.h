// The two registry writers the PDF printer set-up uses: a 32-bit value and a string under a key that
// is created when missing.
#pragma once

#include <cstdint>
#include <string>

#include "Registry.h"

namespace platform {

// Writes a REG_DWORD value; a failure is shown as a message box ("Unable to get key" when the key
// cannot be created or opened, "Unable to write Value" when the value cannot be set) and gives false.
[[nodiscard]] bool WriteRegistryDword(RegistryHive hive, const std::string &key, const std::string &name,
                                      std::uint32_t value);

// Writes a REG_SZ value (its characters, without a terminating NUL); false without a message on failure.
[[nodiscard]] bool WriteRegistryString(RegistryHive hive, const std::string &key, const std::string &name,
                                       const std::string &value);

}  // namespace platform
