// One design note of a database (a view, a folder, a form...): its ID, class, title and design flags.
#pragma once

#include <string>

#include "capi/NotesTypes.h"

namespace notes {

class NotesDesignElement {
public:
    NotesDesignElement() = default;
    NotesDesignElement(NOTEID noteId, WORD noteClass, std::string title, std::string flags)
        : m_noteId(noteId), m_noteClass(noteClass), m_title(std::move(title)), m_flags(std::move(flags)) {}

    NOTEID NoteId() const { return m_noteId; }
    WORD NoteClass() const { return m_noteClass; }
    // The "$TITLE" text (UTF-8); a view's title may hold its aliases after "|".
    const std::string &Title() const { return m_title; }
    // The "$Flags" text as Notes stores it (8-bit design flag letters).
    const std::string &Flags() const { return m_flags; }
    bool HasFlag(char flag) const { return m_flags.find(flag) != std::string::npos; }
    // A view-class design note whose flags hold "F" is a folder.
    bool IsFolder() const { return HasFlag('F'); }

private:
    NOTEID m_noteId = 0;
    WORD m_noteClass = 0;
    std::string m_title;
    std::string m_flags;
};

}  // namespace notes
