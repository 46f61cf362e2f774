// Finding, loading and adding the notes of a database.
#include "Database.h"

#include "DxlReader.h"

namespace standin::dxl {

const Note *Database::Find(NOTEID noteId) const {
    std::size_t index = notes.IndexOf(noteId);
    return index == NoteTable::npos ? nullptr : &notes[index];
}

Note *Database::FindToChange(NOTEID noteId) {
    std::size_t index = notes.IndexOf(noteId);
    std::string error;
    return index == NoteTable::npos ? nullptr : MakeResident(index, error);
}

const Note *Database::FindByUnid(const UNID &unid) const {
    std::size_t index = notes.IndexOfUnid(unid);
    return index == NoteTable::npos ? nullptr : &notes[index];
}

NOTEID Database::NextNoteId() const {
    return (notes.HighestId() & ~NOTEID{3}) + 4;
}

const Note *Database::Load(const Note &note, Note &scratch, std::string &error) const {
    if (note.resident) {
        return &note;
    }
    if (!source || !ReadNoteFragment(*source, note, scratch, error)) {
        if (!source) {
            error = "the note " + std::to_string(note.noteId) + " has no source to be read from";
        }
        return nullptr;
    }
    return &scratch;
}

Note *Database::MakeResident(std::size_t index, std::string &error) {
    if (notes.IsHeld(index) && notes.Held(index).resident) {
        return &notes.Held(index);
    }
    Note header = notes[index];
    Note full;
    if (Load(header, full, error) == nullptr) {
        return nullptr;
    }
    return &notes.Hold(index, std::move(full));
}

Note &Database::Add(Note note) {
    notes.Append(std::move(note), true);
    notes.IndexLast();
    return notes.Held(notes.size() - 1);
}

}  // namespace standin::dxl
