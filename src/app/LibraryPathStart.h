// Start-up on Linux: the Notes runtime finds its companion libraries through LD_LIBRARY_PATH, which the
// loader reads only when a process starts, so the executable re-executes itself once with the Notes
// program directory prepended (and Notes_ExecDirectory set) before any Notes call.
#pragma once

#include <string>

namespace app {

class LibraryPathStart {
public:
    // Marks a process that was already re-executed, so it never loops.
    static constexpr const char *kMarkerVariable = "VORLIX_LIBRARY_PATH_SET";

    // True when directory is one of the colon-separated entries of searchPath (a trailing slash on
    // either side does not count).
    static bool PathHasDirectory(const std::string &searchPath, const std::string &directory);
    // searchPath with directory in front.
    static std::string Prepended(const std::string &searchPath, const std::string &directory);

    // For the directory that setting names (trimmed of blanks): sets Notes_ExecDirectory and, when the
    // directory is not yet on LD_LIBRARY_PATH and the process was not re-executed before, prepends it
    // and re-executes the running program with argv. Returns only when no re-execution was needed or
    // it failed (then the start goes on as it is). An empty setting does nothing.
    static void EnsureOnLibraryPath(const std::string &setting, char **argv);
};

}  // namespace app
