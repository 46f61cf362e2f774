// Paths and files: the module path, the settings-file rule, the program and temporary directories.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

constexpr char kPathSeparator = '/';

// Full path of the running executable (/proc/self/exe), taken once.
std::string ModulePath();
// The directory of a path, without its last separator; empty when it has none.
std::string DirectoryOf(const std::string &path);
// The settings file of an executable: its file name's extension replaced by ".ini", or ".ini" appended
// when the file name has none (a dot in a directory name is not an extension).
std::string SettingsFilePathFor(const std::string &modulePath);
// TMPDIR or /tmp.
std::string TempDirectory();
// $XDG_DATA_HOME (local) and $XDG_CONFIG_HOME (roaming), with the XDG defaults under $HOME.
std::string LocalAppDataDirectory();
std::string RoamingAppDataDirectory();

std::string JoinPath(const std::string &dir, const std::string &name);
bool FileExists(const std::string &path);
bool DirectoryExists(const std::string &path);

// Sets a file's modification and access times (seconds since 1970, UTC); false on failure.
[[nodiscard]] bool SetFileTimes(const std::string &path, std::int64_t modified, std::int64_t accessed);

// Writes a whole file through a temporary file in the same directory and a rename, so that a reader
// never sees a half-written file; owner-only permissions when ownerOnly is set.
[[nodiscard]] bool WriteFileAtomically(const std::string &path, const std::string &bytes,
                                       bool ownerOnly = false);
[[nodiscard]] bool ReadWholeFile(const std::string &path, std::string &bytes);

}  // namespace platform
