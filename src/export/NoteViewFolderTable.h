// Note IDs and the names of the views (or folders) whose entries hold them, for the %In_Views and
// %In_Folders columns; and the joining of names into one column value.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "notes/capi/NotesTypes.h"

namespace exporter {

inline std::string Join(const std::vector<std::string> &parts, const std::string &separator) {
    std::string joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            joined += separator;
        }
        joined += parts[i];
    }
    return joined;
}

class NoteViewFolderTable {
public:
    void Record(NOTEID noteId, const std::string &name) {
        auto &names = m_names[noteId];
        if (names.empty() || names.back() != name) {
            names.push_back(name);
        }
    }
    std::string NamesOf(NOTEID noteId) const {
        const auto found = m_names.find(noteId);
        return found == m_names.end() ? std::string() : Join(found->second, ";");
    }
    void MarkScanned() { m_scanned = true; }
    bool Scanned() const { return m_scanned; }

private:
    std::unordered_map<NOTEID, std::vector<std::string>> m_names;
    bool m_scanned = false;
};

}  // namespace exporter
