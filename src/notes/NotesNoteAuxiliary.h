// Per-note state that a user of NotesNote hangs on the note; the note releases it when it closes.
#pragma once

namespace notes {

class NotesNoteAuxiliary {
public:
    virtual ~NotesNoteAuxiliary() = default;
};

}  // namespace notes
