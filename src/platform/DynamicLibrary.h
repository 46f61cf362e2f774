// Loading shared libraries at run time.
#pragma once

#include <string>

namespace platform {

// The loaded library, or null with the loader's message in error.
void *LoadLibraryFile(const std::string &path, std::string &error);
// False when the system refuses to unload it.
[[nodiscard]] bool FreeLibraryHandle(void *library);
void *LibrarySymbol(void *library, const char *name);

}  // namespace platform
