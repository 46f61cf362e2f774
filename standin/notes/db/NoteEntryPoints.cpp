// Entry points over notes: open, close, information, decryption, signatures and file extraction.
#include <cstdio>
#include <cstring>

#include "../Config.h"
#include "../Export.h"
#include "../Runtime.h"
#include "DbHandle.h"
#include "DbStatus.h"
#include "NoteHandle.h"
#include "Security.h"
#include "dxl/Bytes.h"
#include "dxl/DxlText.h"
#include "dxl/ItemValues.h"

using namespace standin;

namespace {

// The UNID a response's $REF names, when it has one.
bool ParentUnid(const dxl::Note &note, UNID &unid) {
    long ref = note.FindItem("$REF");
    if (ref < 0) {
        return false;
    }
    std::string_view v = note.ItemValue(static_cast<std::size_t>(ref));
    if (v.size() < 4 + sizeof(UNID) || dxl::ReadWord(v, 0) != notes::kTypeNoteRefList ||
        dxl::ReadWord(v, 2) == 0) {
        return false;
    }
    unid.File = {{dxl::ReadDword(v, 4), dxl::ReadDword(v, 8)}};
    unid.Note = {{dxl::ReadDword(v, 12), dxl::ReadDword(v, 16)}};
    return true;
}

bool SameUnid(const UNID &a, const UNID &b) {
    return std::memcmp(&a, &b, sizeof(UNID)) == 0;
}

bool CanDecrypt(const dxl::Note &note) {
    if (note.Extra().sealKey.empty()) {
        return !Config().anonymous;  // sealed for the ID's own user
    }
    return HoldsKey(note.Extra().sealKey);
}

// Writes bytes to the file named in LMBCS; on failure nothing stays behind.
STATUS WriteFile(const char *fileName, const std::string &bytes) {
    std::string path = dxl::LmbcsToUtf8(fileName);
    FILE *out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return FailWith(kStsFileCreateFailed, "Unable to create the file " + path);
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    ok = std::fclose(out) == 0 && ok;
    if (!ok) {
        std::remove(path.c_str());
        return FailWith(kStsFileCreateFailed, "Unable to write the file " + path);
    }
    return 0;
}

}  // namespace

extern "C" {

NOTES_EXPORT STATUS NSFNoteOpen(DBHANDLE db, NOTEID noteId, WORD openFlags, NOTEHANDLE *ret) {
    (void)openFlags;
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFNoteOpen")) {
        return s;
    }
    if (ret == nullptr) {
        return kStsBadArgument;
    }
    *ret = 0;
    DbHandle *handle = FindDb(db);
    if (handle == nullptr) {
        return kStsInvalidHandle;
    }
    if (!handle->file) {
        return kStsIsDirectory;
    }
    const dxl::Note *note = handle->file->db.Find(noteId);
    if (note == nullptr) {
        return kStsNoteNotFound;
    }
    if (note->deleted) {
        return notes::kErrNoteDeleted;
    }
    if (!CanRead(*note)) {
        return notes::kErrNoAccess;
    }
    auto open = std::make_unique<NoteHandle>();
    std::string loadError;
    const dxl::Note *full = handle->file->db.Load(*note, open->note, loadError);
    if (full == nullptr) {
        return FailWith(kStsDxlInvalid, loadError);
    }
    open->db = db;
    open->file = handle->file;
    if (full != &open->note) {
        open->note = *full;
    }
    open->Layout();
    *ret = Handles::Add(std::move(open));
    return 0;
}

NOTES_EXPORT STATUS NSFNoteClose(NOTEHANDLE note) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFNoteClose")) {
        return s;
    }
    NoteHandle *handle = FindNote(note);
    if (handle == nullptr) {
        return kStsInvalidHandle;
    }
    for (DHANDLE pool : handle->pools) {
        Handles::Remove(pool, HandleKind::Other);
    }
    handle->pools.clear();
    Handles::Remove(note, HandleKind::Note);
    return 0;
}

NOTES_EXPORT void NSFNoteGetInfo(NOTEHANDLE note, WORD what, void *value) {
    ApiLock lock(ApiMutex());
    EnterCall("NSFNoteGetInfo");
    NoteHandle *handle = FindNote(note);
    if (handle == nullptr || value == nullptr) {
        return;
    }
    const dxl::Note &n = handle->note;
    switch (what) {
        case notes::kNoteDb:
            *static_cast<DBHANDLE *>(value) = handle->db;
            break;
        case notes::kNoteId:
            *static_cast<NOTEID *>(value) = n.noteId;
            break;
        case notes::kNoteOid: {
            ORIGINATORID oid{};
            oid.File = n.unid.File;
            oid.Note = n.unid.Note;
            oid.Sequence = n.sequence;
            oid.SequenceTime = n.sequenceTime;
            std::memcpy(value, &oid, sizeof oid);
            break;
        }
        case notes::kNoteClass:
            *static_cast<WORD *>(value) = n.noteClass;
            break;
        case notes::kNoteModified:
            std::memcpy(value, &n.modified, sizeof(TIMEDATE));
            break;
        case notes::kNoteFlags:
            *static_cast<WORD *>(value) = 0;
            break;
        case notes::kNoteAccessed:
            std::memcpy(value, &n.accessed, sizeof(TIMEDATE));
            break;
        case notes::kNoteAddedToFile:
            std::memcpy(value, &n.addedToFile, sizeof(TIMEDATE));
            break;
        case notes::kNoteParentNoteId: {
            NOTEID parent = 0;
            UNID unid{};
            if (ParentUnid(n, unid) && handle->file) {
                const dxl::Note *p = handle->file->db.FindByUnid(unid);
                parent = p != nullptr ? p->noteId : 0;
            }
            *static_cast<NOTEID *>(value) = parent;
            break;
        }
        case notes::kNoteResponseCount: {
            DWORD count = 0;
            if (handle->file) {
                for (const dxl::Note &other : handle->file->db.notes) {
                    UNID unid{};
                    count += !other.deleted && ParentUnid(other, unid) && SameUnid(unid, n.unid) ? 1 : 0;
                }
            }
            *static_cast<DWORD *>(value) = count;
            break;
        }
        default:
            break;
    }
}

NOTES_EXPORT STATUS NSFNoteDecrypt(NOTEHANDLE note, WORD flags, ENCRYPTION_KEY *retKey) {
    (void)flags;
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFNoteDecrypt")) {
        return s;
    }
    NoteHandle *handle = FindNote(note);
    if (handle == nullptr) {
        return kStsInvalidHandle;
    }
    if (retKey != nullptr) {
        std::memset(retKey, 0, sizeof *retKey);
    }
    if (!handle->IsSealed() || handle->decrypted) {
        return 0;
    }
    if (!CanDecrypt(handle->note)) {
        return kStsCannotDecrypt;
    }
    handle->decrypted = true;
    handle->Layout();
    return 0;
}

NOTES_EXPORT BOOL NSFNoteIsSignedOrSealed(NOTEHANDLE note, BOOL *retSigned, BOOL *retSealed) {
    ApiLock lock(ApiMutex());
    EnterCall("NSFNoteIsSignedOrSealed");
    NoteHandle *handle = FindNote(note);
    bool isSigned = handle != nullptr && handle->note.isSigned;
    bool isSealed = handle != nullptr && handle->IsSealed();
    if (retSigned != nullptr) {
        *retSigned = isSigned ? 1 : 0;
    }
    if (retSealed != nullptr) {
        *retSealed = isSealed ? 1 : 0;
    }
    return isSigned || isSealed ? 1 : 0;
}

NOTES_EXPORT STATUS NSFNoteVerifySignature(NOTEHANDLE note, char *sigItem, TIMEDATE *retWhen, char *retSigner,
                                           char *retCertifier) {
    (void)sigItem;
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFNoteVerifySignature")) {
        return s;
    }
    NoteHandle *handle = FindNote(note);
    if (handle == nullptr) {
        return kStsInvalidHandle;
    }
    if (!handle->note.isSigned) {
        return notes::kErrNoteNotSigned;
    }
    std::string signer = handle->note.Extra().signer;
    std::size_t slash = signer.find('/');
    std::string certifier = slash == std::string::npos ? std::string() : signer.substr(slash + 1);
    auto copy = [](const std::string &text, char *out) {
        if (out != nullptr) {
            std::size_t n = std::min<std::size_t>(text.size(), notes::kMaxUserName - 1);
            std::memcpy(out, text.data(), n);
            out[n] = '\0';
        }
    };
    copy(signer, retSigner);
    copy(certifier, retCertifier);
    if (retWhen != nullptr) {
        *retWhen = handle->note.signedAt;
    }
    return 0;
}

NOTES_EXPORT STATUS NSFNoteExtractFile(NOTEHANDLE note, BLOCKID item, const char *fileName,
                                       ENCRYPTION_KEY *key) {
    (void)key;
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFNoteExtractFile")) {
        return s;
    }
    NoteHandle *handle = FindNote(note);
    if (handle == nullptr) {
        return kStsInvalidHandle;
    }
    if (fileName == nullptr) {
        return kStsBadArgument;
    }
    long index = handle->IndexOfItemBlock(item);
    if (index < 0) {
        index = handle->IndexOfValueBlock(item);
    }
    if (index < 0) {
        return notes::kErrItemNotFound;
    }
    const dxl::ItemRecord &r = handle->note.items[static_cast<std::size_t>(index)];
    if (r.fileIndex < 0 || static_cast<std::size_t>(r.fileIndex) >= handle->note.Extra().files.size()) {
        return kStsNotAFileItem;
    }
    if (!handle->decrypted && handle->note.IsItemEncrypted(static_cast<std::size_t>(index))) {
        return kStsCannotDecrypt;
    }
    return WriteFile(fileName, handle->note.Extra().files[static_cast<std::size_t>(r.fileIndex)]);
}

NOTES_EXPORT STATUS NSFNoteExtractOLE2Object(NOTEHANDLE note, char *objectName, char *fileName,
                                             ENCRYPTION_KEY *key, BOOL overwrite, DWORD flags) {
    (void)key;
    (void)flags;
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFNoteExtractOLE2Object")) {
        return s;
    }
    NoteHandle *handle = FindNote(note);
    if (handle == nullptr) {
        return kStsInvalidHandle;
    }
    if (objectName == nullptr || fileName == nullptr) {
        return kStsBadArgument;
    }
    const dxl::Note &n = handle->note;
    for (std::size_t i = 0; i < n.items.size(); ++i) {
        dxl::FileObjectInfo info;
        if (n.items[i].fileIndex < 0 || !dxl::ParseFileObject(n.ItemValue(i), info) ||
            info.name != objectName) {
            continue;
        }
        if (!overwrite) {
            FILE *existing = std::fopen(dxl::LmbcsToUtf8(fileName).c_str(), "rb");
            if (existing != nullptr) {
                std::fclose(existing);
                return FailWith(kStsFileCreateFailed,
                                "The file " + dxl::LmbcsToUtf8(fileName) + " already exists");
            }
        }
        return WriteFile(fileName, n.Extra().files[static_cast<std::size_t>(n.items[i].fileIndex)]);
    }
    return kStsOleObjectNotFound;
}

}  // extern "C"
