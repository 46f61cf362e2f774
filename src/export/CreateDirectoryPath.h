// Creating a directory with all its missing parents.
#pragma once

#include <string>

namespace exporter {

// Drops one trailing separator; returns the path when the directory exists; otherwise creates each
// missing level below the deepest existing ancestor in turn (each level's name trimmed of blanks) and
// returns the path so created. Empty when a level cannot be created (or exists as a file).
std::string CreateDirectoryPath(const std::string &path);

}  // namespace exporter
