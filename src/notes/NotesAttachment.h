// One file attachment of a note as the export records it: its names, times, size and flags.
#pragma once

#include <string>

#include "capi/NotesTypes.h"

namespace notes {

class NotesAttachment {
public:
    NotesAttachment() = default;

    // The name of the "$FILE" object, unique within the note (UTF-8).
    const std::string &StoredName() const { return m_storedName; }
    void SetStoredName(std::string name) { m_storedName = std::move(name); }
    // The name of the file as written (prefix and numbering included).
    const std::string &FileName() const { return m_fileName; }
    void SetFileName(std::string name) { m_fileName = std::move(name); }
    // The full path of the written file.
    const std::string &Path() const { return m_path; }
    void SetPath(std::string path) { m_path = std::move(path); }

    const TIMEDATE &Created() const { return m_created; }
    void SetCreated(const TIMEDATE &time) { m_created = time; }
    const TIMEDATE &Modified() const { return m_modified; }
    void SetModified(const TIMEDATE &time) { m_modified = time; }
    DWORD FileSize() const { return m_fileSize; }
    void SetFileSize(DWORD size) { m_fileSize = size; }
    // The file object's flags (kFileFlag...).
    BYTE Flags() const { return m_flags; }
    void SetFlags(BYTE flags) { m_flags = flags; }

private:
    std::string m_storedName;
    std::string m_fileName;
    std::string m_path;
    TIMEDATE m_created{};
    TIMEDATE m_modified{};
    DWORD m_fileSize = 0;
    BYTE m_flags = 0;
};

}  // namespace notes
