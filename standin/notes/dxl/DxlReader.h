// Reads the bytes of a DXL file into a database. Takes bytes, not a path, so tests and the fuzz target
// can hand it memory.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Database.h"

namespace standin::dxl {

class DxlReader {
public:
    // fileName names the file in messages and seeds the identities of notes that lack them.
    // False (LastError set, naming the file and the problem) when the file is not a DXL database;
    // items that cannot be read are skipped with a diagnostic instead. Every note is held in memory.
    [[nodiscard]] bool Read(std::string_view bytes, const std::string &fileName, Database &db);
    // Reads the file as an index: with a source (the same bytes, read back by byte range), documents
    // keep only their identity, class and the items security and response hierarchies need, and are
    // loaded from the source when opened. Without a source, as Read.
    [[nodiscard]] bool Index(std::string_view bytes, const std::string &fileName,
                             std::shared_ptr<NoteSource> source, Database &db);
    // Called with the offset reached after each note, so a caller can release the bytes before it.
    void SetProgress(std::function<void(std::size_t)> progress) { m_progress = std::move(progress); }
    const std::string &LastError() const { return m_error; }
    const std::vector<std::string> &Diagnostics() const { return m_diagnostics; }

private:
    std::string m_error;
    std::vector<std::string> m_diagnostics;
    std::function<void(std::size_t)> m_progress;
};

// The whole note of an indexed one, read from its byte range in the source; false (error set) when the
// bytes cannot be read or no longer hold the note.
[[nodiscard]] bool ReadNoteFragment(const NoteSource &source, const Note &indexed, Note &note,
                                    std::string &error);

}  // namespace standin::dxl
