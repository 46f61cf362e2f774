// The 'Copy To' database of an export run: every exported document is copied into it.
#pragma once

#include <string>

#include "notes/NotesDatabase.h"

namespace notes {
class NotesNote;
}

namespace exporter {

class CopyToDatabase {
public:
    // Opens the destination (an empty server is the local machine). On failure LastError is
    // "Unable to open 'Copy To' database. Error: " followed by the database's error text.
    [[nodiscard]] bool Open(const std::string &server, const std::string &path);
    // Copies an open note from its own database; on failure LastError is the Notes message.
    [[nodiscard]] bool Copy(const notes::NotesNote &note);
    // Closes the destination; false when the runtime could not save the copies, with LastError
    // "Unable to save 'Copy To' database. Error: " followed by its reason.
    [[nodiscard]] bool Close();
    bool IsOpen() const { return m_database.IsOpen(); }
    const std::string &LastError() const { return m_lastError; }

private:
    notes::NotesDatabase m_database;
    std::string m_lastError;
};

}  // namespace exporter
