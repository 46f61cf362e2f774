// Loading shared libraries at run time.
#pragma once

#include <string>

namespace platform {

// The loaded library (symbols resolved at once, kept local to it), or null with the loader's message
// in error.
void *LoadLibraryFile(const std::string &path, std::string &error);
// False when the system refuses to unload it; a null library is nothing to unload (true).
[[nodiscard]] bool FreeLibraryHandle(void *library);
// The address of an exported symbol; null when it is missing or library is null.
void *LibrarySymbol(void *library, const char *name);

}  // namespace platform
