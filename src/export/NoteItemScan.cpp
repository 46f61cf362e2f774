// Scanning a note's items for their names and for its file attachments.
#include "NoteItemScan.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "export/NoteViewFolderTable.h"
#include "notes/NotesApi.h"
#include "notes/NotesNote.h"
#include "notes/NotesWrapperSupport.h"

namespace exporter {

namespace {

// A "$FILE" item's value: the type word, then the file object (packed). Offsets count from the start of
// the value, type word included.
constexpr std::size_t kValueTypeSize = 2;
constexpr std::size_t kObjectTypeOffset = kValueTypeSize + 0;      // WORD ObjectType
constexpr std::size_t kFileNameLengthOffset = kValueTypeSize + 6;  // WORD FileNameLength
constexpr std::size_t kHostTypeOffset = kValueTypeSize + 8;        // WORD HostType
constexpr std::size_t kFileNameOffset = kValueTypeSize + 36;       // the name, not NUL-terminated

bool IsNonFileHost(WORD hostType) {
    return hostType == notes::kHostOle || hostType == notes::kHostOleLib ||
           hostType == notes::kHostByteArrayExt || hostType == notes::kHostByteArrayPage;
}

bool SameItemName(const char *name, WORD length, const char *wanted) {
    const std::size_t wantedLength = std::strlen(wanted);
    if (length != wantedLength) {
        return false;
    }
    for (std::size_t i = 0; i < wantedLength; ++i) {
        const auto a = static_cast<unsigned char>(name[i]);
        const auto b = static_cast<unsigned char>(wanted[i]);
        if (std::tolower(a) != std::tolower(b)) {
            return false;
        }
    }
    return true;
}

struct ScanState {
    std::vector<std::string> names;
    bool attachmentsOnly = false;
};

// Called by NSFItemScan; never lets an exception reach the runtime.
STATUS CollectItem(WORD, WORD, char *name, WORD nameLength, void *value, DWORD valueLength, void *param) {
    try {
        auto &state = *static_cast<ScanState *>(param);
        if (name == nullptr) {
            return notes::kNoError;
        }
        if (!state.attachmentsOnly) {
            std::string text = notes::wrapper::FromLmbcs(name, nameLength);
            if (!text.empty() &&
                std::find(state.names.begin(), state.names.end(), text) == state.names.end()) {
                state.names.push_back(std::move(text));
            }
            return notes::kNoError;
        }
        if (!SameItemName(name, nameLength, "$FILE") || value == nullptr || valueLength < kFileNameOffset) {
            return notes::kNoError;
        }
        const auto *bytes = static_cast<const char *>(value);
        if (notes::wrapper::ReadWord(bytes, 0) != notes::kTypeObject ||
            notes::wrapper::ReadWord(bytes, kObjectTypeOffset) != notes::kObjectFile ||
            IsNonFileHost(notes::wrapper::ReadWord(bytes, kHostTypeOffset))) {
            return notes::kNoError;
        }
        const WORD fileNameLength = notes::wrapper::ReadWord(bytes, kFileNameLengthOffset);
        if (kFileNameOffset + fileNameLength > valueLength) {
            return notes::kNoError;
        }
        state.names.push_back(notes::wrapper::FromLmbcs(bytes + kFileNameOffset, fileNameLength));
    } catch (...) {
        // An allocation failure loses the rest of the list, nothing else.
    }
    return notes::kNoError;
}

std::vector<std::string> Scan(const notes::NotesNote &note, bool attachmentsOnly) {
    ScanState state;
    state.attachmentsOnly = attachmentsOnly;
    const auto &fn = notes::Api().fn;
    if (!note.IsOpen() || fn.NSFItemScan == nullptr) {
        return {};
    }
    (void)fn.NSFItemScan(note.Handle(), CollectItem, &state);
    return std::move(state.names);
}

}  // namespace

std::vector<std::string> NoteItemScan::ItemNames(const notes::NotesNote &note) {
    return Scan(note, false);
}

std::vector<std::string> NoteItemScan::AttachmentNames(const notes::NotesNote &note) {
    return Scan(note, true);
}

std::string NoteItemScan::AttachmentNames(const notes::NotesNote &note, const std::string &delimiter) {
    return Join(AttachmentNames(note), delimiter);
}

}  // namespace exporter
