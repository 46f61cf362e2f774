// The note index of an in-memory database.
#include "Database.h"

#include <algorithm>
#include <cstring>

#include "DxlReader.h"

namespace standin::dxl {

namespace {

bool ById(const std::pair<NOTEID, std::size_t> &entry, NOTEID id) {
    return entry.first < id;
}

}  // namespace

void Database::Reindex() {
    m_index.clear();
    m_index.reserve(notes.size());
    for (std::size_t i = 0; i < notes.size(); ++i) {
        m_index.emplace_back(notes[i].noteId, i);
    }
    // The last note of an ID wins, as when the index was filled in file order.
    std::stable_sort(m_index.begin(), m_index.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<std::pair<NOTEID, std::size_t>> unique;
    unique.reserve(m_index.size());
    for (const auto &entry : m_index) {
        if (!unique.empty() && unique.back().first == entry.first) {
            unique.back() = entry;
        } else {
            unique.push_back(entry);
        }
    }
    m_index = std::move(unique);
}

Note *Database::Find(NOTEID noteId) {
    auto it = std::lower_bound(m_index.begin(), m_index.end(), noteId, ById);
    return it == m_index.end() || it->first != noteId ? nullptr : &notes[it->second];
}

const Note *Database::Find(NOTEID noteId) const {
    auto it = std::lower_bound(m_index.begin(), m_index.end(), noteId, ById);
    return it == m_index.end() || it->first != noteId ? nullptr : &notes[it->second];
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
    NOTEID highest = m_index.empty() ? 0 : m_index.back().first;
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
    NOTEID id = notes.back().noteId;
    auto it = std::lower_bound(m_index.begin(), m_index.end(), id, ById);
    if (it != m_index.end() && it->first == id) {
        it->second = notes.size() - 1;
    } else {
        m_index.insert(it, {id, notes.size() - 1});
    }
    return notes.back();
}

}  // namespace standin::dxl
