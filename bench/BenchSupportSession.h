// A scratch data directory with its notes.ini and the process Notes session on the stand-in, for the
// benchmarks that export.
#pragma once

#include <string>

#include "notes/NotesSession.h"

namespace bench {

class ScratchNotes {
public:
    // Makes $TMPDIR/<prefix><pid>/data and starts the session on it; ends the process when it cannot.
    explicit ScratchNotes(const std::string &prefix);
    // Ends the session and removes the directory.
    ~ScratchNotes();
    ScratchNotes(const ScratchNotes &) = delete;
    ScratchNotes &operator=(const ScratchNotes &) = delete;

    const std::string &Dir() const { return m_dir; }
    notes::NotesSession &Session() { return m_session; }

private:
    std::string m_dir;
    notes::NotesSession m_session;
};

// Runs the export of the profile file once in this session; false (with the reason) when it failed or
// did not export that many documents.
[[nodiscard]] bool ExportOnce(notes::NotesSession &session, const std::string &profilePath, long documents,
                              std::string &error);

}  // namespace bench
