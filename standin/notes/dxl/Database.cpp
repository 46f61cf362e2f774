// The note index of an in-memory database.
#include "Database.h"

#include <cstring>

#include "DxlReader.h"

namespace standin::dxl {

void Database::Reindex() {
    m_index.clear();
    for (std::size_t i = 0; i < notes.size(); ++i) {
        m_index[notes[i].noteId] = i;
    }
}

Note *Database::Find(NOTEID noteId) {
    auto it = m_index.find(noteId);
    return it == m_index.end() ? nullptr : &notes[it->second];
}

const Note *Database::Find(NOTEID noteId) const {
    auto it = m_index.find(noteId);
    return it == m_index.end() ? nullptr : &notes[it->second];
}

const Note *Database::FindByUnid(const UNID &unid) const {
    for (const Note &n : notes) {
        if (std::memcmp(&n.unid, &unid, sizeof(UNID)) == 0 && !n.deleted) {
            return &n;
        }
    }
    return nullptr;
}

NOTEID Database::NextNoteId() const {
    NOTEID highest = m_index.empty() ? 0 : m_index.rbegin()->first;
    return (highest & ~NOTEID{3}) + 4;
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

bool Database::MakeResident(Note &note, std::string &error) const {
    if (note.resident) {
        return true;
    }
    Note full;
    if (Load(note, full, error) == nullptr) {
        return false;
    }
    note = std::move(full);
    return true;
}

Note &Database::Add(Note note) {
    notes.push_back(std::move(note));
    m_index[notes.back().noteId] = notes.size() - 1;
    return notes.back();
}

}  // namespace standin::dxl
