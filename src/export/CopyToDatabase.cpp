// Opening the 'Copy To' database and copying documents into it.
#include "CopyToDatabase.h"

#include "notes/NotesNote.h"

namespace exporter {

bool CopyToDatabase::Open(const std::string &server, const std::string &path) {
    m_lastError.clear();
    if (m_database.Open(server, path)) {
        return true;
    }
    m_lastError = "Unable to open 'Copy To' database. Error: " + m_database.LastError();
    return false;
}

bool CopyToDatabase::Copy(const notes::NotesNote &note) {
    m_lastError.clear();
    if (m_database.CopyNote(note)) {
        return true;
    }
    m_lastError = m_database.LastError();
    return false;
}

bool CopyToDatabase::Close() {
    m_lastError.clear();
    if (m_database.CloseChecked()) {
        return true;
    }
    m_lastError = "Unable to save 'Copy To' database. Error: " + m_database.LastError();
    return false;
}

}  // namespace exporter
