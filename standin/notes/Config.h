// The runtime's configuration, read from notes.ini at process-level initialisation: the data
// directory, the ID file and every notes.ini key. Read and written under the API lock.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace standin {

// The stand-in ID file (notes.ini KeyFilename): the user's name, an optional password and the names of
// the encryption keys the user holds.
struct IdFile {
    std::string path;
    std::string userName;
    std::string password;
    std::vector<std::string> keys;
};

struct RuntimeConfig {
    bool initialized = false;  // a process-level start succeeded and NotesTerm has not run
    int threads = 0;           // NotesInitThread calls without their NotesTermThread
    std::string iniPath;
    std::map<std::string, std::string> ini;  // [Notes] keys, upper-cased, with their values
    std::string dataDirectory;               // notes.ini Directory
    bool anonymous = true;                   // no KeyFilename: no user name, password or keys
    IdFile id;
};

RuntimeConfig &Config();

// The value of a notes.ini key (any case); empty when absent.
std::string IniValue(const std::string &key);

}  // namespace standin
