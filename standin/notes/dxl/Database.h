// An in-memory database read from a DXL file: title, replica ID, and its notes by note ID.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Note.h"
#include "NoteSource.h"

namespace standin::dxl {

class Database {
public:
    std::string title;  // LMBCS
    DBID replicaId{};
    DBID dbId{};
    std::string rootElement = "database";  // "database", "document" or "note"
    std::string rootAttributes;            // the root element's attributes as read, for writing back
    std::vector<std::string> otherXml;     // top-level elements that are not notes, kept verbatim

    // Notes in file order; deleted notes stay as stubs. Notes that are not resident are read from
    // source when loaded.
    std::deque<Note> notes;  // a deque: growing never moves the notes already read
    std::shared_ptr<const NoteSource> source;

    // The whole note: the note itself when resident, else read from the source into scratch (its
    // identity and times as indexed). Null (error set) when its bytes cannot be read back.
    const Note *Load(const Note &note, Note &scratch, std::string &error) const;
    // Makes the note resident (to change it); false (error set) when it cannot be read.
    [[nodiscard]] bool MakeResident(Note &note, std::string &error) const;

    // Rebuilds the note ID index after notes were added or reordered.
    void Reindex();
    Note *Find(NOTEID noteId);
    const Note *Find(NOTEID noteId) const;
    const Note *FindByUnid(const UNID &unid) const;
    // A note ID that no note uses yet (multiples of 4, above every ID in use).
    NOTEID NextNoteId() const;
    // Adds a note and indexes it; returns it.
    Note &Add(Note note);

private:
    std::vector<std::pair<NOTEID, std::size_t>> m_index;  // sorted by note ID
};

}  // namespace standin::dxl
