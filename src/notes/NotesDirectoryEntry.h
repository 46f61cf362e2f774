// One entry of a server directory listing: a database or a sub-directory.
#pragma once

#include <string>

namespace notes {

struct NotesDirectoryEntry {
    std::string name;   // the last component of the path (UTF-8)
    std::string path;   // the path relative to the data directory, as Notes reports it
    std::string title;  // a database's title; empty for a directory
};

}  // namespace notes
