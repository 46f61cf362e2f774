// A set of note IDs (a Notes ID table) and a walk over it that opens each note in turn.
#pragma once

#include <string>

#include "NotesNote.h"
#include "capi/NotesTypes.h"

namespace notes {

// Owns its ID table (destroyed in the destructor) unless it was attached to a caller's table. The
// current note is closed before the table is destroyed. Not copyable or movable: handed out by pointer.
class NotesNoteCollection {
public:
    explicit NotesNoteCollection(DBHANDLE db = kNullHandle);
    ~NotesNoteCollection();
    NotesNoteCollection(const NotesNoteCollection &) = delete;
    NotesNoteCollection &operator=(const NotesNoteCollection &) = delete;

    // Creates an empty ID table for the database given at construction (IDCreateTable).
    [[nodiscard]] bool Create();
    // Walks a table and database owned by the caller; neither is released by this object.
    void Attach(DBHANDLE db, DHANDLE idTable);
    // Releases the current note and the table (a caller's table is only detached).
    void Close();

    // Adds a note ID; a failure gives "Unable to insert Note".
    [[nodiscard]] bool Insert(NOTEID noteId);
    // Take the first (next) note ID in ascending order and open it as the current note with
    // decryptIfSealed set. True while an ID was obtained, even when its note failed to open: the
    // current note then holds the error record for the caller to report.
    [[nodiscard]] bool First();
    [[nodiscard]] bool Next();

    // The number of IDs in the table.
    DWORD Count() const;
    // The number of notes visited by First and Next.
    DWORD Visited() const { return m_visited; }
    NOTEID CurrentId() const { return m_currentId; }
    NotesNote &Current() { return m_current; }
    const NotesNote &Current() const { return m_current; }
    DHANDLE IdTable() const { return m_idTable; }
    DBHANDLE DbHandle() const { return m_db; }

    STATUS LastStatus() const { return m_lastStatus; }
    const std::string &LastError() const { return m_lastError; }

private:
    bool OpenCurrent(BOOL first);

    DHANDLE m_idTable = kNullHandle;
    bool m_ownsTable = false;
    DBHANDLE m_db = kNullHandle;
    NOTEID m_currentId = 0;
    DWORD m_visited = 0;
    bool m_atEnd = false;
    NotesNote m_current;
    STATUS m_lastStatus = 0;
    std::string m_lastError;
};

}  // namespace notes
