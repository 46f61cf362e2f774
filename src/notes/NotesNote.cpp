// One open Notes document: opening with decryption, error records and closing.
#include "NotesNote.h"

#include <cstdio>

#include "NotesApi.h"
#include "NotesWrapperSupport.h"

namespace notes {

namespace {
const char kOpenFailedTitle[] = "Lotus Notes Document Opened Failed";
const char kDecryptFailed[] = "Unable to decrypt with current ID";
}  // namespace

NotesNote::~NotesNote() {
    Close();
}

NotesNote::NotesNote(NotesNote &&other) noexcept {
    MoveFrom(other);
}

NotesNote &NotesNote::operator=(NotesNote &&other) noexcept {
    if (this == &other) {
        return *this;
    }
    Close();
    MoveFrom(other);
    return *this;
}

void NotesNote::MoveFrom(NotesNote &other) noexcept {
    m_lastStatus = other.m_lastStatus;
    m_errorText = std::move(other.m_errorText);
    m_errorRecords = std::move(other.m_errorRecords);
    m_db = other.m_db;
    m_note = other.m_note;
    m_open = other.m_open;
    m_noteId = other.m_noteId;
    m_signedOrSealed = other.m_signedOrSealed;
    m_decrypted = other.m_decrypted;
    m_decryptIfSealed = other.m_decryptIfSealed;
    m_referencesBuilt = other.m_referencesBuilt;
    m_references = std::move(other.m_references);
    m_extractedFiles = std::move(other.m_extractedFiles);
    m_exportNames = std::move(other.m_exportNames);
    m_auxiliary = std::move(other.m_auxiliary);
    other.m_note = kNullHandle;
    other.m_open = false;
    other.m_db = kNullHandle;
    other.m_noteId = 0;
    other.m_referencesBuilt = false;
}

bool NotesNote::Open(DBHANDLE db, NOTEID noteId, bool decryptIfSealed) {
    Close();
    m_decryptIfSealed = decryptIfSealed;
    m_errorText.clear();
    m_errorRecords.clear();
    m_signedOrSealed = false;
    m_decrypted = false;

    const NotesApiTable &fn = Api().fn;
    NOTEHANDLE note = kNullHandle;
    m_lastStatus =
        fn.NSFNoteOpen != nullptr ? fn.NSFNoteOpen(db, noteId, 0, &note) : wrapper::kMissingEntryPoint;
    if (m_lastStatus != 0) {
        m_open = false;
        m_errorRecords.push_back(
            ErrorObject{m_lastStatus, kOpenFailedTitle, wrapper::NotesMessage(m_lastStatus)});
        return false;
    }

    m_note = note;
    m_db = db;
    m_noteId = noteId;
    m_open = true;

    BOOL isSigned = 0;
    BOOL isSealed = 0;
    if (fn.NSFNoteIsSignedOrSealed != nullptr) {
        m_signedOrSealed = fn.NSFNoteIsSignedOrSealed(note, &isSigned, &isSealed) != 0;
    }
    // Only a sealed note can be decrypted; a note that is merely signed is read as it is.
    if (decryptIfSealed && isSealed) {
        const STATUS status =
            fn.NSFNoteDecrypt != nullptr ? fn.NSFNoteDecrypt(note, 0, nullptr) : wrapper::kMissingEntryPoint;
        m_decrypted = status == 0;
        if (!m_decrypted) {
            AppendError(kDecryptFailed);
        }
    }
    return true;
}

void NotesNote::Close() {
    if (m_open) {
        const NotesApiTable &fn = Api().fn;
        if (fn.NSFNoteClose != nullptr) {
            m_lastStatus = fn.NSFNoteClose(m_note);
        }
        m_open = false;
    }
    m_note = kNullHandle;
    m_referencesBuilt = false;
    m_references.clear();
    m_extractedFiles.Clear();
    m_exportNames.clear();
    m_auxiliary.reset();
}

std::string NotesNote::UniversalId() const {
    std::string text;
    UniversalId(text);
    return text;
}

void NotesNote::UniversalId(std::string &text) const {
    text.clear();
    if (!m_open || Api().fn.NSFNoteGetInfo == nullptr) {
        return;
    }
    ORIGINATORID oid{};
    Api().fn.NSFNoteGetInfo(m_note, kNoteOid, &oid);
    char digits[33];
    std::snprintf(digits, sizeof digits, "%08X%08X%08X%08X", oid.File.Innards[1], oid.File.Innards[0],
                  oid.Note.Innards[1], oid.Note.Innards[0]);
    text.append(digits, 32);
}

WORD NotesNote::NoteClass() const {
    if (!m_open || Api().fn.NSFNoteGetInfo == nullptr) {
        return 0;
    }
    WORD noteClass = 0;
    Api().fn.NSFNoteGetInfo(m_note, kNoteClass, &noteClass);
    return noteClass;
}

void NotesNote::AppendError(const std::string &text, const std::string &separator) {
    if (!m_errorText.empty()) {
        m_errorText += separator;
    }
    m_errorText += text;
}

void NotesNote::SetAttachmentReferences(std::vector<NotesAttachmentReference> references) {
    m_references = std::move(references);
    m_referencesBuilt = true;
}

}  // namespace notes
