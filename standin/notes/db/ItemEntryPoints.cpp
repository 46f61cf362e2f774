// Entry points over the items of an open note: lookup by name, scanning, text, text lists and times.
#include <cstring>

#include "../Export.h"
#include "../Runtime.h"
#include "../common/TimeDate.h"
#include "NoteHandle.h"
#include "Security.h"
#include "dxl/Bytes.h"

using namespace standin;

namespace {

long FindFrom(const NoteHandle &h, const char *name, WORD nameLen, std::size_t from) {
    if (name == nullptr) {
        return from < h.note.items.size() ? static_cast<long>(from) : -1;
    }
    std::string_view wanted(name, nameLen);
    return h.note.FindItem(wanted, from);
}

void Report(const NoteHandle &h, long index, BLOCKID *retItem, WORD *retType, BLOCKID *retValue,
            DWORD *retLen) {
    const ItemSlot &s = h.slots[static_cast<std::size_t>(index)];
    std::string_view v = h.Served(static_cast<std::size_t>(index));
    if (retItem != nullptr) {
        *retItem = BLOCKID{s.pool, s.itemBlock};
    }
    if (retValue != nullptr) {
        *retValue = BLOCKID{s.pool, s.valueBlock};
    }
    if (retType != nullptr) {
        *retType = v.size() >= 2 ? dxl::ReadWord(v, 0) : 0;
    }
    if (retLen != nullptr) {
        *retLen = s.valueLength;
    }
}

WORD CopyText(std::string_view text, char *buf, WORD len) {
    if (buf == nullptr || len == 0) {
        return 0;
    }
    std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(len - 1));
    std::memcpy(buf, text.data(), n);
    buf[n] = '\0';
    return static_cast<WORD>(n);
}

// The served value of the first item of that name (name given NUL-terminated), or empty.
std::string_view ServedByName(NOTEHANDLE note, const char *name) {
    NoteHandle *h = FindNote(note);
    if (h == nullptr || name == nullptr) {
        return std::string_view();
    }
    long i = h->note.FindItem(name);
    return i < 0 ? std::string_view() : h->Served(static_cast<std::size_t>(i));
}

}  // namespace

extern "C" {

NOTES_EXPORT STATUS NSFItemInfo(NOTEHANDLE note, const char *name, WORD nameLen, BLOCKID *retItem,
                                WORD *retType, BLOCKID *retValue, DWORD *retValueLen) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFItemInfo")) {
        return s;
    }
    NoteHandle *h = FindNote(note);
    if (h == nullptr) {
        return kStsInvalidHandle;
    }
    long index = FindFrom(*h, name, nameLen, 0);
    if (index < 0) {
        return notes::kErrItemNotFound;
    }
    Report(*h, index, retItem, retType, retValue, retValueLen);
    return 0;
}

NOTES_EXPORT STATUS NSFItemInfoNext(NOTEHANDLE note, BLOCKID after, const char *name, WORD nameLen,
                                    BLOCKID *retItem, WORD *retType, BLOCKID *retValue, DWORD *retValueLen) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFItemInfoNext")) {
        return s;
    }
    NoteHandle *h = FindNote(note);
    if (h == nullptr) {
        return kStsInvalidHandle;
    }
    long previous = h->IndexOfItemBlock(after);
    if (previous < 0) {
        return notes::kErrItemNotFound;
    }
    long index = FindFrom(*h, name, nameLen, static_cast<std::size_t>(previous) + 1);
    if (index < 0) {
        return notes::kErrItemNotFound;
    }
    Report(*h, index, retItem, retType, retValue, retValueLen);
    return 0;
}

NOTES_EXPORT STATUS NSFItemScan(NOTEHANDLE note, NSFITEMSCANPROC callback, void *param) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFItemScan")) {
        return s;
    }
    NoteHandle *h = FindNote(note);
    if (h == nullptr || callback == nullptr) {
        return h == nullptr ? kStsInvalidHandle : kStsBadArgument;
    }
    // The callback may close the note: work from copies of what each call needs.
    std::size_t count = h->note.items.size();
    for (std::size_t i = 0; i < count; ++i) {
        h = FindNote(note);
        if (h == nullptr) {
            return 0;
        }
        std::string name(h->note.ItemName(i));
        WORD flags = h->note.items[i].flags;
        std::string value(h->Served(i));
        STATUS s = callback(0, flags, name.data(), static_cast<WORD>(name.size()), value.data(),
                            static_cast<DWORD>(value.size()), param);
        if (s != 0) {
            return s;
        }
    }
    return 0;
}

NOTES_EXPORT WORD NSFItemGetText(NOTEHANDLE note, const char *name, char *buf, WORD len) {
    ApiLock lock(ApiMutex());
    EnterCall("NSFItemGetText");
    if (buf != nullptr && len > 0) {
        buf[0] = '\0';
    }
    std::string_view v = ServedByName(note, name);
    if (v.size() < 2) {
        return 0;
    }
    WORD type = dxl::ReadWord(v, 0);
    if (type == notes::kTypeText || type == notes::kTypeTextList) {
        std::vector<std::string> entries = TextEntries(v);
        return entries.empty() ? CopyText("", buf, len) : CopyText(entries[0], buf, len);
    }
    if (type == notes::kTypeNumber && v.size() >= 10) {
        return CopyText(FormatNumber(dxl::ReadDouble(v, 2), nullptr), buf, len);
    }
    if (type == notes::kTypeTime && v.size() >= 10) {
        TIMEDATE t{{dxl::ReadDword(v, 2), dxl::ReadDword(v, 6)}};
        return CopyText(FormatTimeDate(t, nullptr), buf, len);
    }
    return 0;
}

NOTES_EXPORT WORD NSFItemGetTextListEntries(NOTEHANDLE note, const char *name) {
    ApiLock lock(ApiMutex());
    EnterCall("NSFItemGetTextListEntries");
    std::string_view v = ServedByName(note, name);
    if (v.size() < 2) {
        return 0;
    }
    WORD type = dxl::ReadWord(v, 0);
    if (type == notes::kTypeText) {
        return 1;
    }
    return static_cast<WORD>(TextEntries(v).size());
}

NOTES_EXPORT WORD NSFItemGetTextListEntry(NOTEHANDLE note, const char *name, WORD index, char *buf,
                                          WORD len) {
    ApiLock lock(ApiMutex());
    EnterCall("NSFItemGetTextListEntry");
    if (buf != nullptr && len > 0) {
        buf[0] = '\0';
    }
    std::vector<std::string> entries = TextEntries(ServedByName(note, name));
    if (index >= entries.size()) {
        return 0;
    }
    return CopyText(entries[index], buf, len);
}

NOTES_EXPORT BOOL NSFItemGetTime(NOTEHANDLE note, const char *name, TIMEDATE *ret) {
    ApiLock lock(ApiMutex());
    EnterCall("NSFItemGetTime");
    std::string_view v = ServedByName(note, name);
    if (v.size() < 2 || ret == nullptr) {
        return 0;
    }
    WORD type = dxl::ReadWord(v, 0);
    if (type == notes::kTypeTime && v.size() >= 10) {
        *ret = TIMEDATE{{dxl::ReadDword(v, 2), dxl::ReadDword(v, 6)}};
        return 1;
    }
    if (type == notes::kTypeTimeRange && v.size() >= 14 && dxl::ReadWord(v, 2) > 0) {
        *ret = TIMEDATE{{dxl::ReadDword(v, 6), dxl::ReadDword(v, 10)}};
        return 1;
    }
    return 0;
}

}  // extern "C"
