// Network paths ("server!!file") and their resolution to files through the data directory and the
// server map of notes.ini.
#pragma once

#include <string>

#include "../Export.h"

namespace standin {

struct NetPath {
    std::string port;
    std::string server;
    std::string file;
};

NetPath ParseNetPath(const std::string &path);

// The directory a server's databases live in: the data directory for an empty name, else the
// directory of a notes.ini StandinServer<N>=<name>|<directory> key. False when none maps the name.
[[nodiscard]] bool ServerDirectory(const std::string &server, std::string &directory);

// Compares two Notes names, canonical ("CN=A/O=B") or abbreviated ("A/B"), ignoring case.
bool SameNotesName(const std::string &a, const std::string &b);

// The absolute path of file under root (backslashes become directory levels; an absolute file stays).
std::string JoinPath(const std::string &root, const std::string &file);

}  // namespace standin
