// Loading the Notes runtime library from the Notes program directory into the process-wide entry
// table, and unloading it.
#pragma once

#include <string>

namespace notes {

// The runtime's file name on this platform.
inline constexpr char kNotesLibraryFile[] = "libnotes.so";

// Loads libnotes.so from programPath (or the settings file's [Notes] ProgramPath when empty) and
// fills every slot of Api().fn that the library exports. On failure Api().loadError says why and no
// library is left loaded.
[[nodiscard]] bool LoadNotesLibrary(const std::string &programPath);

// Frees the library, clears every slot and resets the version; false with Api().loadError "Already
// unloaded" or "Free Failed".
[[nodiscard]] bool UnloadNotesLibrary();

}  // namespace notes
