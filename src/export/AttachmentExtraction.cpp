// Writing attachments and OLE objects through the Notes extraction calls.
#include "export/AttachmentExtraction.h"

#include "export/SanitizeFileName.h"
#include "notes/LmbcsConvert.h"
#include "notes/NotesApi.h"
#include "notes/NotesErrorText.h"
#include "notes/NotesFileObject.h"
#include "notes/NotesNote.h"
#include "notes/NotesWrapperSupport.h"
#include "platform/AsciiText.h"
#include "platform/Paths.h"
#include "richtext/AttachmentReferenceScan.h"

namespace exporter {

namespace {

constexpr char kOleExtension[] = ".ole";
constexpr BOOL kOverwrite = 1;  // a file left by an earlier run is replaced

std::string ExtractFailure(const std::string &fileName, const std::string &directory, STATUS status) {
    return "Unable to extract file '" + fileName + "' to path '" + directory + "' for reason " +
           notes::NotesErrorText(status);
}

}  // namespace

std::string MakeUniqueFileName(notes::NotesNote &note, const std::string &storedName) {
    if (!note.IsOpen()) {
        return storedName;
    }
    if (!note.AttachmentReferencesBuilt()) {
        note.SetAttachmentReferences(richtext::ScanAttachmentReferences(note));
    }
    const auto &references = note.AttachmentReferences();
    std::size_t index = 0;
    while (index < references.size() && references[index].storedName != storedName) {
        ++index;
    }
    if (index == references.size()) {
        return storedName;
    }
    const std::string &display = references[index].DisplayName();
    const std::string folded = platform::AsciiLower(display);
    int n = 0;
    for (std::size_t i = 0; i <= index; ++i) {
        if (platform::AsciiLower(references[i].DisplayName()) == folded) {
            ++n;
        }
    }
    return n == 1 ? display : NumberedFileName(display, n);
}

bool NeedsSanitizing(const std::string &fileName) {
    const std::string trimmed = platform::TrimBlanks(fileName);
    if (trimmed.empty() || trimmed == "." || trimmed == "..") {
        return true;
    }
    for (char c : fileName) {
        if (static_cast<unsigned char>(c) < 32 ||
            kReservedFileNameCharacters.find(c) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

std::string SafeFileName(const std::string &fileName) {
    std::string name = SanitizeFileName(fileName);
    return name.empty() ? "~" : name;
}

std::string AttachmentExtraction::Claim(const std::string &directory, const std::string &fileName) {
    const std::string path = platform::JoinPath(directory, fileName);
    std::string claimed = m_names.Claim(path);
    if (m_names.LastClaimRenamed()) {
        m_notices.push_back("......" + path + " was already written by this run; written as " + claimed +
                            "\n");
    }
    return claimed;
}

bool AttachmentExtraction::ExtractAttachments(notes::NotesNote &note, const std::string &directory,
                                              const std::string &prefix, DocumentErrors &errors) {
    const auto &fn = notes::Api().fn;
    bool wrote = false;
    bool failed = false;
    notes::ForEachFileObject(note, [&](BLOCKID item, const notes::FileObjectHeader &header) {
        if (!header.IsFile()) {
            return true;  // OLE storage and byte arrays are not files
        }
        const auto extract = [&](const std::string &path) -> STATUS {
            if (fn.NSFNoteExtractFile == nullptr) {
                return notes::wrapper::kMissingEntryPoint;
            }
            return fn.NSFNoteExtractFile(note.Handle(), item, notes::UnicodeToLmbcs(path).c_str(), nullptr);
        };
        // A name Windows would refuse counts as a failed first try on every platform, so the tree is
        // the same wherever it is written and never reaches outside the directory.
        const std::string fileName = prefix + MakeUniqueFileName(note, header.storedName);
        std::string name = NeedsSanitizing(fileName) ? SafeFileName(fileName) : fileName;
        std::string path = Claim(directory, name);
        STATUS status = extract(path);
        if (status != notes::kNoError) {
            const std::string safe = SafeFileName(name);
            if (safe != name) {
                name = safe;
                path = Claim(directory, name);
            }
            status = extract(path);
        }
        if (status != notes::kNoError) {
            const std::string text = ExtractFailure(name, directory, status);
            failed ? errors.Continue(text) : errors.Append(text);
            failed = true;
            return true;
        }
        notes::NotesAttachment written;
        written.SetStoredName(header.storedName);
        written.SetFileName(platform::FileNameOf(path));
        written.SetPath(path);
        written.SetCreated(header.created);
        written.SetModified(header.modified);
        written.SetFileSize(header.size);
        written.SetFlags(static_cast<BYTE>(header.flags));
        note.ExtractedFiles().Add(std::move(written));
        wrote = true;
        return true;
    });
    return wrote;
}

bool AttachmentExtraction::ExtractOleObjects(notes::NotesNote &note, const std::string &directory,
                                             DocumentErrors &errors) {
    const richtext::OleObjectScan scan = richtext::ScanOleObjects(note);
    if (scan.result == richtext::OleObjectScan::kNoItem) {
        errors.Append("No Objects Found");
        return false;
    }
    const auto &fn = notes::Api().fn;
    bool wrote = false;
    for (const std::string &objectName : scan.names) {
        const std::string name = NeedsSanitizing(objectName) ? SafeFileName(objectName) : objectName;
        const std::string path = Claim(directory, name + kOleExtension);
        std::string lmbcsObject = notes::UnicodeToLmbcs(objectName);
        std::string lmbcsPath = notes::UnicodeToLmbcs(path);
        const STATUS status = fn.NSFNoteExtractOLE2Object == nullptr
                                  ? notes::wrapper::kMissingEntryPoint
                                  : fn.NSFNoteExtractOLE2Object(note.Handle(), lmbcsObject.data(),
                                                                lmbcsPath.data(), nullptr, kOverwrite, 0);
        if (status != notes::kNoError) {
            errors.Append(notes::NotesErrorText(status));
            continue;
        }
        wrote = true;
    }
    if (scan.result == richtext::OleObjectScan::kNotRichText) {
        errors.Append("$OLEOBJINFO item is not Rich Text");
    }
    return wrote;
}

}  // namespace exporter
