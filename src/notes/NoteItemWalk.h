// Every item of one name of an open note, in item order: the first through NSFItemInfo, each next
// through NSFItemInfoNext from the item before. A name may have several items: rich text split over
// items, one $FILE item per attachment.
#pragma once

#include <string_view>

#include "notes/NotesApi.h"
#include "notes/NotesNote.h"

namespace notes {

// One item as NSFItemInfo and NSFItemInfoNext report it.
struct ItemOfName {
    BLOCKID item{};
    WORD type = 0;
    BLOCKID value{};
    DWORD valueLength = 0;
};

// Calls visit(const ItemOfName &) for each item of the LMBCS name until it returns false. False when
// the walk cannot start: the note is not open, the runtime lacks the entry points, or the name is
// longer than the runtime takes.
template <typename Visit>
bool ForEachItemOfName(const NotesNote &note, std::string_view lmbcsName, Visit visit) {
    const NotesApiTable &fn = Api().fn;
    if (!note.IsOpen() || fn.NSFItemInfo == nullptr || fn.NSFItemInfoNext == nullptr ||
        lmbcsName.size() > 0xFFFF) {
        return false;
    }
    const WORD length = static_cast<WORD>(lmbcsName.size());
    ItemOfName at;
    STATUS status = fn.NSFItemInfo(note.Handle(), lmbcsName.data(), length, &at.item, &at.type, &at.value,
                                   &at.valueLength);
    while (status == kNoError) {
        if (!visit(static_cast<const ItemOfName &>(at))) {
            break;
        }
        const BLOCKID after = at.item;
        status = fn.NSFItemInfoNext(note.Handle(), after, lmbcsName.data(), length, &at.item, &at.type,
                                    &at.value, &at.valueLength);
    }
    return true;
}

// The same with each item's value locked for the visit: visit(const ItemOfName &, const char *value)
// gets the value's bytes (from its type word on). An item whose value cannot be locked is passed over.
template <typename Visit>
bool ForEachLockedItemOfName(const NotesNote &note, std::string_view lmbcsName, Visit visit) {
    const NotesApiTable &fn = Api().fn;
    if (fn.OSLockObject == nullptr || fn.OSUnlockObject == nullptr) {
        return false;
    }
    return ForEachItemOfName(note, lmbcsName, [&](const ItemOfName &at) {
        const char *pool = static_cast<const char *>(fn.OSLockObject(at.value.pool));
        if (pool == nullptr) {
            return true;
        }
        const bool more = visit(at, pool + at.value.block);
        fn.OSUnlockObject(at.value.pool);
        return more;
    });
}

}  // namespace notes
