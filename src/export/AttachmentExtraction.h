// Writing a note's file attachments and OLE objects into a directory: the names they are written under
// (the name the document shows, numbered when equal), the retry under a sanitised name, and the record
// of what was written.
#pragma once

#include <string>
#include <vector>

#include "export/DocumentErrors.h"
#include "export/OutputNameRegistry.h"

namespace notes {
class NotesNote;
}

namespace exporter {

// The name an attachment is written under: the display name of the first attachment hotspot of the
// note that refers to the stored name, numbered (before its first ".", or at its end) when earlier
// hotspots of the note show the same name (ASCII letter case ignored). The stored name itself when no
// hotspot refers to it or the note is not open. Builds the note's list of references on first use.
std::string MakeUniqueFileName(notes::NotesNote &note, const std::string &storedName);

// True when a name cannot be written as it is on every platform: blanks only, "." or ".." (blanks
// around them aside), or holding one of the nine characters Windows reserves or a control character.
bool NeedsSanitizing(const std::string &fileName);
// The name with those characters replaced by "~" and blanks trimmed; never empty, "." or "..".
std::string SafeFileName(const std::string &fileName);

class AttachmentExtraction {
public:
    // names: the run's written files, so that no document replaces another's file; the registry
    // numbers a name already written by this run.
    explicit AttachmentExtraction(OutputNameRegistry &names) : m_names(names) {}

    // Writes every file attachment of the open note into directory as prefix + its unique name, adding
    // each written file to note.ExtractedFiles(). A name that cannot be written goes once more under its
    // sanitised name; a second failure appends "Unable to extract file '%s' to path '%s' for reason %s"
    // to errors (no line feed between two such texts). True when at least one file was written.
    bool ExtractAttachments(notes::NotesNote &note, const std::string &directory, const std::string &prefix,
                            DocumentErrors &errors);

    // Writes every OLE object named by the note's "$OLEOBJINFO" items into directory as
    // "<name>.ole", replacing a file of an earlier run. "No Objects Found", "$OLEOBJINFO item is not
    // Rich Text" and the Notes error of an object that could not be written go to errors. True when at
    // least one object was written.
    bool ExtractOleObjects(notes::NotesNote &note, const std::string &directory, DocumentErrors &errors);

    // Log lines ("......" and a line feed included) for the files written under a numbered name because
    // the run had written the name already (for an earlier document, as a rule); taken by the caller.
    std::vector<std::string> TakeNotices() { return std::move(m_notices); }

private:
    // The path for a file the run writes; numbered (with a notice) when the run wrote it already.
    std::string Claim(const std::string &directory, const std::string &fileName);

    OutputNameRegistry &m_names;
    std::vector<std::string> m_notices;
};

}  // namespace exporter
