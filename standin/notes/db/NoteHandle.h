// An open note: a copy of the note as it was when opened, with its items laid out in memory pools so
// that BLOCKIDs (pool handle + byte offset) reach them through OSLockObject.
#pragma once

#include <memory>
#include <vector>

#include "../Runtime.h"
#include "DatabaseFile.h"

namespace standin {

// Where one item of an open note lives: its item block (a 4-byte header holding the item's index)
// and its value block right after it.
struct ItemSlot {
    DHANDLE pool = 0;
    BLOCK itemBlock = 0;
    BLOCK valueBlock = 0;
    DWORD valueLength = 0;  // with the type word
};

class NoteHandle : public HandleObject {
public:
    NoteHandle() : HandleObject(HandleKind::Note) {}
    ~NoteHandle() override;

    DBHANDLE db = 0;
    std::shared_ptr<DatabaseFile> file;
    dxl::Note note;
    bool decrypted = false;
    std::vector<ItemSlot> slots;  // one per item of note
    std::vector<DHANDLE> pools;

    bool IsSealed() const;
    // Lays the items out in pools; sealed items stay unreadable until decrypted.
    void Layout();
    // The value bytes of an item as served (type word first).
    std::string_view Served(std::size_t index) const;
    // The item index of a BLOCKID naming an item block of this note, or -1.
    long IndexOfItemBlock(const BLOCKID &item) const;
    // Same for a value block.
    long IndexOfValueBlock(const BLOCKID &value) const;
};

inline NoteHandle *FindNote(NOTEHANDLE handle) {
    return Handles::Get<NoteHandle>(handle, HandleKind::Note);
}

}  // namespace standin
