// The Notes C API entry points the client uses, resolved with dlsym from the runtime library the
// program loaded (the same file, so the same runtime instance and session).
#pragma once

#include <string>

#include "../../src/notes/capi/NotesCApi.h"

// The entry points the client resolves, one X(name) each.
#define CLIENT_FUNCTIONS(X)        \
    X(OSPathNetConstruct)          \
    X(OSTranslate)                 \
    X(OSLoadString)                \
    X(OSLockObject)                \
    X(OSUnlockObject)              \
    X(OSMemFree)                   \
    X(NSFDbOpen)                   \
    X(NSFDbClose)                  \
    X(NIFFindDesignNote)           \
    X(NSFSearch)                   \
    X(NSFNoteOpen)                 \
    X(NSFNoteClose)                \
    X(CompoundTextCreate)          \
    X(CompoundTextAddRenderedNote) \
    X(CompoundTextClose)           \
    X(CompoundTextDiscard)

namespace standin::client {

struct NotesFunctions {
#define CLIENT_FN(name) decltype(&::name) name = nullptr;
    CLIENT_FUNCTIONS(CLIENT_FN)
#undef CLIENT_FN

    // The functions of the library at path, loaded once per process and never unloaded (the program
    // keeps the runtime loaded for its whole life). Null with error set when the library cannot be
    // loaded or lacks one of the entry points.
    static const NotesFunctions *Load(const std::string &path, std::string &error);

    // UTF-8 text as LMBCS, the character set the C API takes.
    std::string Lmbcs(const std::string &utf8) const;
    // The runtime's text of a status.
    std::string Message(STATUS status) const;
};

// A database opened for one call of the client and closed when it ends (the client keeps no handle
// between calls, so a runtime restarted meanwhile never sees a stale one).
class ClientDatabase {
public:
    ClientDatabase(const NotesFunctions &fns, const std::string &server, const std::string &path);
    ~ClientDatabase();
    ClientDatabase(const ClientDatabase &) = delete;
    ClientDatabase &operator=(const ClientDatabase &) = delete;
    // The open database, or 0 with Error() saying why.
    DBHANDLE Handle() const { return m_db; }
    const std::string &Error() const { return m_error; }

private:
    const NotesFunctions &m_fns;
    DBHANDLE m_db = 0;
    std::string m_error;
};

}  // namespace standin::client
