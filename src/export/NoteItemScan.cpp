// Scanning a note's items for their names and for its file attachments.
#include "NoteItemScan.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "export/NoteViewFolderTable.h"
#include "notes/NotesApi.h"
#include "notes/NotesFileObject.h"
#include "notes/NotesNote.h"
#include "notes/NotesWrapperSupport.h"

namespace exporter {

namespace {

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
    bool hasOle = false;  // a "$FILE" item holds OLE storage or a byte array
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
        notes::FileObjectHeader header;
        if (!SameItemName(name, nameLength, "$FILE") ||
            !notes::ReadFileObjectHeader(static_cast<const char *>(value), valueLength, header)) {
            return notes::kNoError;
        }
        if (header.IsFile()) {
            state.names.push_back(std::move(header.storedName));
        } else {
            state.hasOle = true;
        }
    } catch (...) {
        // An allocation failure loses the rest of the list, nothing else.
    }
    return notes::kNoError;
}

ScanState Scan(const notes::NotesNote &note, bool attachmentsOnly) {
    ScanState state;
    state.attachmentsOnly = attachmentsOnly;
    const auto &fn = notes::Api().fn;
    if (note.IsOpen() && fn.NSFItemScan != nullptr) {
        (void)fn.NSFItemScan(note.Handle(), CollectItem, &state);
    }
    return state;
}

}  // namespace

std::vector<std::string> NoteItemScan::ItemNames(const notes::NotesNote &note) {
    return Scan(note, false).names;
}

std::vector<std::string> NoteItemScan::AttachmentNames(const notes::NotesNote &note) {
    return Scan(note, true).names;
}

bool NoteItemScan::HasFileAttachments(const notes::NotesNote &note) {
    return !Scan(note, true).names.empty();
}

bool NoteItemScan::HasOleObjects(const notes::NotesNote &note) {
    return Scan(note, true).hasOle;
}

std::string NoteItemScan::AttachmentNames(const notes::NotesNote &note, const std::string &delimiter) {
    return Join(AttachmentNames(note), delimiter);
}

}  // namespace exporter
