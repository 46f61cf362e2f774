// Putting the Notes program directory on the loader's search path before the first Notes call.
#include "LibraryPathStart.h"

#include <unistd.h>

#include <cstdlib>

namespace app {

namespace {

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string Environment(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

bool LibraryPathStart::PathHasDirectory(const std::string &searchPath, const std::string &directory) {
    const std::string wanted = WithoutTrailingSlashes(directory);
    if (wanted.empty()) {
        return false;
    }
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string::npos) {
            end = searchPath.size();
        }
        if (WithoutTrailingSlashes(searchPath.substr(start, end - start)) == wanted) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::string LibraryPathStart::Prepended(const std::string &searchPath, const std::string &directory) {
    return searchPath.empty() ? directory : directory + ":" + searchPath;
}

void LibraryPathStart::EnsureOnLibraryPath(const std::string &setting, char **argv) {
    const std::size_t first = setting.find_first_not_of(" \t\r\n");
    const std::string directory =
        first == std::string::npos ? ""
                                   : setting.substr(first, setting.find_last_not_of(" \t\r\n") - first + 1);
    if (directory.empty()) {
        return;
    }
    setenv("Notes_ExecDirectory", directory.c_str(), 1);
    const std::string searchPath = Environment("LD_LIBRARY_PATH");
    if (PathHasDirectory(searchPath, directory) || !Environment(kMarkerVariable).empty()) {
        return;
    }
    setenv("LD_LIBRARY_PATH", Prepended(searchPath, directory).c_str(), 1);
    setenv(kMarkerVariable, "1", 1);
    execv("/proc/self/exe", argv);
    // The re-execution failed: go on in this process; the runtime may still load.
}

}  // namespace app
