// One open Notes document (or design note): its handle, sealing state, error text and error records.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ErrorObject.h"
#include "NotesAttachmentCollection.h"
#include "NotesAttachmentReference.h"
#include "NotesNoteAuxiliary.h"
#include "capi/NotesTypes.h"

namespace notes {

// Owns one note handle and closes it in its destructor. Movable; a moved-from note is closed.
class NotesNote {
public:
    NotesNote() = default;
    ~NotesNote();
    NotesNote(const NotesNote &) = delete;
    NotesNote &operator=(const NotesNote &) = delete;
    NotesNote(NotesNote &&other) noexcept;
    NotesNote &operator=(NotesNote &&other) noexcept;

    // Closes what the object held, then opens the note (NSFNoteOpen, no flags). With decryptIfSealed a
    // sealed note is decrypted; a failure to decrypt leaves the note open, not decrypted, with
    // "Unable to decrypt with current ID" in its error text. A failure to open adds the error record
    // "Lotus Notes Document Opened Failed" with the Notes message and status.
    [[nodiscard]] bool Open(DBHANDLE db, NOTEID noteId, bool decryptIfSealed);
    // Closes the note when open and releases the per-note export state.
    void Close();

    bool IsOpen() const { return m_open; }
    NOTEHANDLE Handle() const { return m_note; }
    DBHANDLE DbHandle() const { return m_db; }
    NOTEID NoteId() const { return m_noteId; }
    bool SignedOrSealed() const { return m_signedOrSealed; }
    bool Decrypted() const { return m_decrypted; }
    bool DecryptIfSealed() const { return m_decryptIfSealed; }
    STATUS LastStatus() const { return m_lastStatus; }

    // The universal ID as 32 upper-case hexadecimal digits; empty when the note is not open.
    std::string UniversalId() const;
    // The same written into text, whose storage is reused from note to note.
    void UniversalId(std::string &text) const;
    // The note's class (kNoteClass...); 0 when not open.
    WORD NoteClass() const;

    // The note's error text (the export's per-document errors): problems are appended to it.
    const std::string &ErrorText() const { return m_errorText; }
    void SetErrorText(std::string text) { m_errorText = std::move(text); }
    // Appends text, preceded by separator when the error text is not empty.
    void AppendError(const std::string &text, const std::string &separator = "\n");
    void ClearErrorText() { m_errorText.clear(); }

    // The error records collected while the note is processed.
    ErrorObjectArray &ErrorRecords() { return m_errorRecords; }
    const ErrorObjectArray &ErrorRecords() const { return m_errorRecords; }

    // Export state of the open note, cleared on close: the attachment references found in its rich
    // text (built on first use by the caller), and the attachments written for it.
    bool AttachmentReferencesBuilt() const { return m_referencesBuilt; }
    void SetAttachmentReferences(std::vector<NotesAttachmentReference> references);
    const std::vector<NotesAttachmentReference> &AttachmentReferences() const { return m_references; }
    NotesAttachmentCollection &ExtractedFiles() { return m_extractedFiles; }
    const NotesAttachmentCollection &ExtractedFiles() const { return m_extractedFiles; }

    // Further per-document texts of the export (file names written for the note and the like).
    std::vector<std::string> &ExportNames() { return m_exportNames; }
    const std::vector<std::string> &ExportNames() const { return m_exportNames; }

    // An object the caller hangs on the note; released when the note closes.
    void SetAuxiliary(std::unique_ptr<NotesNoteAuxiliary> auxiliary) { m_auxiliary = std::move(auxiliary); }
    NotesNoteAuxiliary *Auxiliary() const { return m_auxiliary.get(); }

private:
    void MoveFrom(NotesNote &other) noexcept;

    STATUS m_lastStatus = 0;
    std::string m_errorText;
    ErrorObjectArray m_errorRecords;
    DBHANDLE m_db = kNullHandle;
    NOTEHANDLE m_note = kNullHandle;
    bool m_open = false;
    NOTEID m_noteId = 0;
    bool m_signedOrSealed = false;
    bool m_decrypted = false;
    bool m_decryptIfSealed = false;
    bool m_referencesBuilt = false;
    std::vector<NotesAttachmentReference> m_references;
    NotesAttachmentCollection m_extractedFiles;
    std::vector<std::string> m_exportNames;
    std::unique_ptr<NotesNoteAuxiliary> m_auxiliary;
};

}  // namespace notes
