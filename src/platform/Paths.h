// Paths and files: the module path, the settings-file rule, the program and temporary directories.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

constexpr char kPathSeparator = '/';

// Full path of the running executable (/proc/self/exe), taken once; empty when the system cannot tell.
std::string ModulePath();
// The directory of a path, without its last separator; empty when it has none. A path whose only
// separator is the leading one ("/tool") gives "/", so that joining a name to it stays absolute.
std::string DirectoryOf(const std::string &path);
// The last component of a path (everything after its last separator).
std::string FileNameOf(const std::string &path);
// The settings file of an executable: its file name's extension replaced by ".ini", or ".ini" appended
// when the file name has none (a dot in a directory name is not an extension, nor is the leading dot of
// a hidden file name). "Tool.exe" gives "Tool.ini", "/opt/a.b/tool" gives "/opt/a.b/tool.ini".
std::string SettingsFilePathFor(const std::string &modulePath);
// The private library directory of an installed program (the stand-in runtimes, the add-in):
// <prefix>/lib/vorlix when the program directory is <prefix>/bin and that directory exists; empty
// otherwise (a build tree or a copied program directory keeps those libraries beside the executable).
std::string InstalledLibraryDirectory(const std::string &programDirectory);
// Where the settings file of an executable lives: beside it (SettingsFilePathFor) when its directory
// is writable and the program is not installed; otherwise the same file name in the directory
// "vorlix" of $XDG_CONFIG_HOME. An installed program never writes into <prefix>/bin, not even as root.
std::string SettingsFileLocationFor(const std::string &modulePath);
// TMPDIR (when set and not empty) or /tmp, without a trailing separator.
std::string TempDirectory();
// $XDG_DATA_HOME (local) and $XDG_CONFIG_HOME (roaming); when unset, empty or relative, the XDG
// defaults $HOME/.local/share and $HOME/.config.
std::string LocalAppDataDirectory();
std::string RoamingAppDataDirectory();

// dir and name joined by one separator; name alone when dir is empty.
std::string JoinPath(const std::string &dir, const std::string &name);
// True when the path names something that is not a directory (following symbolic links).
bool FileExists(const std::string &path);
bool DirectoryExists(const std::string &path);

// Sets a file's modification and access times (seconds since 1970, UTC); false on failure.
[[nodiscard]] bool SetFileTimes(const std::string &path, std::int64_t modified, std::int64_t accessed);
// Sets only the modification time of the file itself (a symbolic link is not followed); the access
// time stays as it is.
[[nodiscard]] bool SetFileModifiedTime(const std::string &path, std::int64_t modified);

// Writes a whole file through a temporary file in the same directory and a rename, so that a reader
// never sees a half-written file and a failure leaves the old file as it was. The directory must exist.
// An existing file keeps its permissions; a new one gets the default ones (0666 less the umask); with
// ownerOnly the file is readable and writable by its owner only. A symbolic link is written through
// (its target is replaced, the link stays).
[[nodiscard]] bool WriteFileAtomically(const std::string &path, const std::string &bytes,
                                       bool ownerOnly = false);
// The whole content of a regular file; false (bytes emptied) when it cannot be read.
[[nodiscard]] bool ReadWholeFile(const std::string &path, std::string &bytes);

// The reason for the last failure of SetFileTimes, SetFileModifiedTime, WriteFileAtomically or ReadWholeFile
// on this thread, naming the file ("Cannot open '/x/y': No such file or directory").
const std::string &LastFileError();

}  // namespace platform
