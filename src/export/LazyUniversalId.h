// A document's universal ID read from its note only when something asks for it.
#pragma once

#include <string>

#include "notes/NotesNote.h"

namespace exporter {

// A document's universal ID (32 upper-case hexadecimal digits; empty when the note is not open), read
// from the note on first use: most runs name no column, file or step that needs it, and reading it is
// a runtime call per document. Reads as a const std::string & wherever one is expected.
class LazyUniversalId {
public:
    explicit LazyUniversalId(const notes::NotesNote &note) : m_note(&note) {}

    const std::string &Get() const {
        if (!m_read) {
            m_note->UniversalId(m_text);
            m_read = true;
        }
        return m_text;
    }
    operator const std::string &() const { return Get(); }  // NOLINT(google-explicit-constructor)
    // The next Get reads the note again (a new document is open); the text keeps its storage.
    void Forget() { m_read = false; }

private:
    const notes::NotesNote *m_note;
    mutable std::string m_text{};
    mutable bool m_read = false;
};

}  // namespace exporter
