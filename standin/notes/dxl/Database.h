// A database read from a DXL file: title, replica ID, and its notes by note ID, held in memory or
// indexed by their byte ranges in the file.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Note.h"
#include "NoteSource.h"
#include "NoteTable.h"

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
    NoteTable notes;
    std::shared_ptr<const NoteSource> source;

    // The whole note: the note itself when resident, else read from the source into scratch (its
    // identity and times as indexed). Null (error set) when its bytes cannot be read back.
    const Note *Load(const Note &note, Note &scratch, std::string &error) const;
    // The note at that position held in memory in full (to change it, kept until written back); null
    // (error set) when it cannot be read.
    Note *MakeResident(std::size_t index, std::string &error);

    // Rebuilds the note ID index after the notes were read.
    void Reindex() { notes.Reindex(); }
    // The note of that ID as the index holds it (a header valid until a few more notes were looked
    // up, unless held), or null.
    const Note *Find(NOTEID noteId) const;
    // The note of that ID made resident, to be changed; null when there is none or it cannot be read.
    Note *FindToChange(NOTEID noteId);
    const Note *FindByUnid(const UNID &unid) const;
    // A note ID that no note uses yet (multiples of 4, above every ID in use).
    NOTEID NextNoteId() const;
    // Adds a note and indexes it; returns it.
    Note &Add(Note note);
};

}  // namespace standin::dxl
