// Entry points over views and folders: finding design notes, collections and their entries, and
// folder membership.
#include <algorithm>
#include <cstring>
#include <map>

#include "../Config.h"
#include "../Export.h"
#include "../IdTable.h"
#include "../Runtime.h"
#include "DbHandle.h"
#include "DbStatus.h"
#include "NoteHandle.h"
#include "Security.h"
#include "ViewIndex.h"
#include "dxl/Bytes.h"

using namespace standin;

namespace {

struct Collection {
    std::shared_ptr<DatabaseFile> file;
    std::vector<ViewEntry> entries;  // in position order: their tumblers ascend
    std::vector<std::string> columnNames;
    // What evaluating a document's column values when its entry is read needs.
    dxl::ViewDesign view;
    std::vector<std::string> compiledColumns;
    std::string server;
};

std::map<HCOLLECTION, std::unique_ptr<Collection>> &Collections() {
    static std::map<HCOLLECTION, std::unique_ptr<Collection>> collections;
    return collections;
}

HCOLLECTION NextCollectionHandle() {
    static HCOLLECTION next = 0;
    for (int tries = 0; tries < 0x10000; ++tries) {
        next = static_cast<HCOLLECTION>(next + 1);
        if (next != 0 && Collections().count(next) == 0) {
            return next;
        }
    }
    return 0;
}

constexpr long kBefore = -1;  // the position before the first entry
constexpr long kNone = -2;    // no entry in that direction

bool IsAncestor(const ViewEntry &a, const ViewEntry &b) {
    return a.tumbler.size() < b.tumbler.size() &&
           std::equal(a.tumbler.begin(), a.tumbler.end(), b.tumbler.begin());
}

bool SameParent(const ViewEntry &a, const ViewEntry &b) {
    return a.tumbler.size() == b.tumbler.size() &&
           std::equal(a.tumbler.begin(), a.tumbler.end() - 1, b.tumbler.begin());
}

long Step(const Collection &c, long at, WORD navigator) {
    const std::vector<ViewEntry> &e = c.entries;
    long n = static_cast<long>(e.size());
    WORD nav = static_cast<WORD>(navigator & 0x00FF);
    auto find = [&](long from, long step, auto pred) -> long {
        for (long i = from; i >= 0 && i < n; i += step) {
            if (pred(e[static_cast<std::size_t>(i)])) {
                return i;
            }
        }
        return kNone;
    };
    if (nav == notes::kNavigateCurrent) {
        return at == kBefore ? (n > 0 ? 0 : kNone) : at;
    }
    if (at == kBefore) {
        switch (nav) {
            case notes::kNavigateNextCategory:
                return find(0, 1, [](const ViewEntry &x) { return x.IsCategory(); });
            case notes::kNavigateNextNonCategory:
                return find(0, 1, [](const ViewEntry &x) { return !x.IsCategory(); });
            case notes::kNavigatePrev:
            case notes::kNavigatePrevPeer:
            case notes::kNavigateParent:
            case notes::kNavigateNextSelected:
                return kNone;
            default:
                return n > 0 ? 0 : kNone;
        }
    }
    const ViewEntry &cur = e[static_cast<std::size_t>(at)];
    switch (nav) {
        case notes::kNavigateNext:
        case notes::kNavigateNextUnread:
            return at + 1 < n ? at + 1 : kNone;
        case notes::kNavigatePrev:
            return at > 0 ? at - 1 : kNone;
        case notes::kNavigateAllDescendants:
            return at + 1 < n && IsAncestor(cur, e[static_cast<std::size_t>(at + 1)]) ? at + 1 : kNone;
        case notes::kNavigateChild:
            return at + 1 < n &&
                           e[static_cast<std::size_t>(at + 1)].tumbler.size() == cur.tumbler.size() + 1 &&
                           IsAncestor(cur, e[static_cast<std::size_t>(at + 1)])
                       ? at + 1
                       : kNone;
        case notes::kNavigateParent:
            return find(at - 1, -1, [&](const ViewEntry &x) {
                return IsAncestor(x, cur) && x.tumbler.size() + 1 == cur.tumbler.size();
            });
        case notes::kNavigateNextPeer:
        case notes::kNavigateNextMain: {
            for (long i = at + 1; i < n; ++i) {
                const ViewEntry &x = e[static_cast<std::size_t>(i)];
                if (nav == notes::kNavigateNextMain ? x.tumbler.size() == 1 : SameParent(x, cur)) {
                    return i;
                }
                if (nav == notes::kNavigateNextPeer && x.tumbler.size() < cur.tumbler.size()) {
                    return kNone;
                }
            }
            return kNone;
        }
        case notes::kNavigatePrevPeer:
            for (long i = at - 1; i >= 0; --i) {
                const ViewEntry &x = e[static_cast<std::size_t>(i)];
                if (SameParent(x, cur)) {
                    return i;
                }
                if (x.tumbler.size() < cur.tumbler.size()) {
                    return kNone;
                }
            }
            return kNone;
        case notes::kNavigateFirstPeer:
        case notes::kNavigateLastPeer: {
            long found = at;
            long step = nav == notes::kNavigateFirstPeer ? -1 : 1;
            for (long i = at + step; i >= 0 && i < n; i += step) {
                const ViewEntry &x = e[static_cast<std::size_t>(i)];
                if (x.tumbler.size() < cur.tumbler.size()) {
                    break;
                }
                if (SameParent(x, cur)) {
                    found = i;
                }
            }
            return found;
        }
        case notes::kNavigateNextCategory:
            return find(at + 1, 1, [](const ViewEntry &x) { return x.IsCategory(); });
        case notes::kNavigateNextNonCategory:
            return find(at + 1, 1, [](const ViewEntry &x) { return !x.IsCategory(); });
        case notes::kNavigateNextSelected:
            return kNone;
        default:
            return at + 1 < n ? at + 1 : kNone;
    }
}

long PositionIndex(const Collection &c, const COLLECTIONPOSITION &pos) {
    if (pos.Level == 0 && pos.Tumbler[0] == 0) {
        return kBefore;
    }
    if (pos.Level >= 32) {
        return kNone;
    }
    std::vector<DWORD> t(pos.Tumbler, pos.Tumbler + pos.Level + 1);
    auto it = std::lower_bound(
        c.entries.begin(), c.entries.end(), t,
        [](const ViewEntry &e, const std::vector<DWORD> &wanted) { return e.tumbler < wanted; });
    return it == c.entries.end() || it->tumbler != t ? kNone : static_cast<long>(it - c.entries.begin());
}

void Append16(std::string &b, WORD v) {
    dxl::AppendWord(b, v);
}

DWORD CountChildren(const Collection &c, std::size_t at, bool descendants) {
    DWORD n = 0;
    const ViewEntry &cur = c.entries[at];
    for (std::size_t i = at + 1; i < c.entries.size() && IsAncestor(cur, c.entries[i]); ++i) {
        n += descendants || c.entries[i].tumbler.size() == cur.tumbler.size() + 1 ? 1 : 0;
    }
    return n;
}

DWORD CountSiblings(const Collection &c, std::size_t at) {
    DWORD n = 0;
    for (const ViewEntry &x : c.entries) {
        n += SameParent(x, c.entries[at]) ? 1 : 0;
    }
    return n;
}

// The data of one entry in return-mask bit order.
std::string EntryData(const Collection &c, std::size_t at, DWORD mask) {
    const ViewEntry &e = c.entries[at];
    std::vector<std::string> evaluated;
    static const std::vector<std::string> kNoValues;
    const std::vector<std::string> *columnValues = e.values ? e.values.get() : &kNoValues;
    if (e.valuesPending && (mask & (notes::kReadMaskSummaryValues | notes::kReadMaskSummary)) != 0) {
        STATUS status = 0;
        if (!ViewIndex::EntryValues(*c.file, c.view, c.compiledColumns, e.noteId, c.server, evaluated,
                                    status)) {
            Diagnostic("the column values of note " + std::to_string(e.noteId) + " cannot be evaluated");
            evaluated.assign(c.view.columns.size(), std::string());
        }
        columnValues = &evaluated;
    }
    std::string b;
    if (mask & notes::kReadMaskNoteId) {
        dxl::AppendDword(b, e.noteId);
    }
    if (mask & notes::kReadMaskNoteUnid) {
        dxl::AppendTimeDate(b, e.unid.File);
        dxl::AppendTimeDate(b, e.unid.Note);
    }
    if (mask & notes::kReadMaskNoteClass) {
        Append16(b, e.noteClass);
    }
    if (mask & notes::kReadMaskIndexSiblings) {
        dxl::AppendDword(b, CountSiblings(c, at));
    }
    if (mask & notes::kReadMaskIndexChildren) {
        dxl::AppendDword(b, CountChildren(c, at, false));
    }
    if (mask & notes::kReadMaskIndexDescendants) {
        dxl::AppendDword(b, CountChildren(c, at, true));
    }
    if (mask & notes::kReadMaskIndexAnyUnread) {
        Append16(b, 0);
    }
    if (mask & notes::kReadMaskIndentLevels) {
        Append16(b, 0);
    }
    if (mask & notes::kReadMaskScore) {
        Append16(b, 0);
    }
    if (mask & notes::kReadMaskIndexUnread) {
        Append16(b, 0);
    }
    if (mask & notes::kReadMaskSummaryValues) {
        // ITEM_VALUE_TABLE: WORD length, WORD items, WORD value lengths, then the values.
        std::string values;
        for (const std::string &v : (*columnValues)) {
            values += v;
        }
        WORD items = static_cast<WORD>((*columnValues).size());
        Append16(b, static_cast<WORD>(4 + 2 * items + values.size()));
        Append16(b, items);
        for (const std::string &v : (*columnValues)) {
            Append16(b, static_cast<WORD>(v.size()));
        }
        b += values;
    }
    if (mask & notes::kReadMaskIndexPosition) {
        // COLLECTIONPOSITION cut after the tumblers in use.
        Append16(b, e.Level());
        b.push_back(0);
        b.push_back(0);
        for (DWORD t : e.tumbler) {
            dxl::AppendDword(b, t);
        }
    }
    if (mask & notes::kReadMaskSummary) {
        // ITEM_TABLE: WORD length, WORD items, {WORD name length, WORD value length}, names and values.
        std::string body;
        std::string heads;
        WORD items = 0;
        for (std::size_t i = 0; i < (*columnValues).size() && i < c.columnNames.size(); ++i) {
            Append16(heads, static_cast<WORD>(c.columnNames[i].size()));
            Append16(heads, static_cast<WORD>((*columnValues)[i].size()));
            body += c.columnNames[i] + (*columnValues)[i];
            ++items;
        }
        Append16(b, static_cast<WORD>(4 + heads.size() + body.size()));
        Append16(b, items);
        b += heads + body;
    }
    return b;
}

DWORD BatchLimit() {
    std::string value = IniValue("StandinReadEntriesBatch");
    unsigned long n = std::strtoul(value.c_str(), nullptr, 10);
    return n == 0 ? 0xFFFFFFFFu : static_cast<DWORD>(n);
}

// The folder note a folder operation names, or null with status set.
dxl::Note *FolderNote(DBHANDLE dataDb, DBHANDLE folderDb, NOTEID folderId,
                      std::shared_ptr<DatabaseFile> &file, STATUS &status) {
    DbHandle *holder = FindDb(folderDb != 0 ? folderDb : dataDb);
    if (holder == nullptr || !holder->file) {
        status = holder == nullptr ? kStsInvalidHandle : kStsIsDirectory;
        return nullptr;
    }
    dxl::Note *folder = holder->file->db.FindToChange(folderId);
    if (folder == nullptr || folder->deleted) {
        status = kStsNoteNotFound;
        return nullptr;
    }
    if (!folder->view || !folder->view->isFolder) {
        status = kStsNotAFolder;
        return nullptr;
    }
    file = holder->file;
    return folder;
}

}  // namespace

extern "C" {

NOTES_EXPORT STATUS NIFFindDesignNote(DBHANDLE db, const char *name, WORD noteClass, NOTEID *ret) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NIFFindDesignNote")) {
        return s;
    }
    DbHandle *handle = FindDb(db);
    if (handle == nullptr || name == nullptr || ret == nullptr) {
        return handle == nullptr ? kStsInvalidHandle : kStsBadArgument;
    }
    *ret = 0;
    if (!handle->file) {
        return kStsIsDirectory;
    }
    std::string wanted(name);
    for (const dxl::Note &n : handle->file->db.notes) {
        if (n.deleted || (n.noteClass & noteClass) == 0) {
            continue;
        }
        long t = n.FindItem("$TITLE");
        if (t < 0) {
            continue;
        }
        std::vector<std::string> titles = TextEntries(n.ItemValue(static_cast<std::size_t>(t)));
        for (const std::string &title : titles) {
            std::size_t start = 0;
            while (start <= title.size()) {
                std::size_t bar = title.find('|', start);
                std::string part =
                    title.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
                if (dxl::EqualsNoCase(part, wanted)) {
                    *ret = n.noteId;
                    return 0;
                }
                if (bar == std::string::npos) {
                    break;
                }
                start = bar + 1;
            }
        }
    }
    return notes::kErrNotFound;
}

NOTES_EXPORT STATUS NIFOpenCollection(DBHANDLE viewDb, DBHANDLE dataDb, NOTEID viewNoteId, WORD openFlags,
                                      DHANDLE unreadList, HCOLLECTION *ret, NOTEHANDLE *retViewNote,
                                      UNID *retViewUnid, DHANDLE *retCollapsed, DHANDLE *retSelected) {
    (void)openFlags;
    (void)unreadList;
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NIFOpenCollection")) {
        return s;
    }
    if (ret == nullptr) {
        return kStsBadArgument;
    }
    *ret = 0;
    DbHandle *viewHolder = FindDb(viewDb);
    DbHandle *dataHolder = FindDb(dataDb != 0 ? dataDb : viewDb);
    if (viewHolder == nullptr || dataHolder == nullptr) {
        return kStsInvalidHandle;
    }
    if (!viewHolder->file || !dataHolder->file) {
        return kStsIsDirectory;
    }
    const dxl::Note *viewNote = viewHolder->file->db.Find(viewNoteId);
    if (viewNote == nullptr || viewNote->deleted) {
        return kStsNoteNotFound;
    }
    if (!viewNote->view) {
        return kStsNotAViewNote;
    }
    auto collection = std::make_unique<Collection>();
    collection->file = dataHolder->file;
    STATUS status = 0;
    if (!ViewIndex::Build(*dataHolder->file, *viewNote, dataHolder->server, collection->entries, status)) {
        return status;
    }
    for (const dxl::ViewColumn &c : viewNote->view->columns) {
        collection->columnNames.push_back(c.itemName);
    }
    collection->view.columns = viewNote->view->columns;
    collection->server = dataHolder->server;
    if (!ViewIndex::CompileColumns(collection->view, collection->compiledColumns, status)) {
        return status;
    }
    HCOLLECTION h = NextCollectionHandle();
    if (h == 0) {
        return kStsOutOfMemory;
    }
    if (retViewNote != nullptr) {
        STATUS s = NSFNoteOpen(viewDb, viewNoteId, 0, retViewNote);
        if (s != 0) {
            return s;
        }
    }
    if (retViewUnid != nullptr) {
        *retViewUnid = viewNote->unid;
    }
    if (retCollapsed != nullptr) {
        *retCollapsed = 0;
    }
    if (retSelected != nullptr) {
        *retSelected = 0;
    }
    Collections()[h] = std::move(collection);
    ++Extra().collections;
    *ret = h;
    return 0;
}

NOTES_EXPORT STATUS NIFCloseCollection(HCOLLECTION collection) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NIFCloseCollection")) {
        return s;
    }
    if (Collections().erase(collection) == 0) {
        return kStsInvalidCollection;
    }
    --Extra().collections;
    return 0;
}

NOTES_EXPORT STATUS NIFReadEntries(HCOLLECTION collection, COLLECTIONPOSITION *pos, WORD skipNav,
                                   DWORD skipCount, WORD returnNav, DWORD returnCount, DWORD returnMask,
                                   DHANDLE *retBuffer, WORD *retBufferLen, DWORD *retSkipped,
                                   DWORD *retReturned, WORD *retSignalFlags) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NIFReadEntries")) {
        return s;
    }
    auto it = Collections().find(collection);
    if (it == Collections().end()) {
        return kStsInvalidCollection;
    }
    if (pos == nullptr) {
        return kStsBadArgument;
    }
    const Collection &c = *it->second;
    if (retBuffer != nullptr) {
        *retBuffer = 0;
    }
    long at = PositionIndex(c, *pos);
    if (at == kNone) {
        return notes::kErrNotFound;
    }
    DWORD skipped = 0;
    while (skipped < skipCount) {
        long next = Step(c, at, skipNav);
        if (next == kNone) {
            break;
        }
        at = next;
        ++skipped;
    }
    std::string buffer;
    if (returnMask & notes::kReadMaskCollectionStats) {
        // COLLECTIONSTATS: DWORD top-level entries, then four spare DWORDs.
        DWORD top = 0;
        for (const ViewEntry &e : c.entries) {
            top += e.tumbler.size() == 1 ? 1 : 0;
        }
        dxl::AppendDword(buffer, top);
        for (int i = 0; i < 4; ++i) {
            dxl::AppendDword(buffer, 0);
        }
    }
    DWORD returned = 0;
    WORD signal = 0;
    DWORD batch = std::min(returnCount, BatchLimit());
    bool skippedShort = skipped < skipCount;
    long cur = at == kBefore ? Step(c, at, returnNav) : at;
    if (skippedShort) {
        cur = kNone;
    }
    long last = at;
    while (cur != kNone && returned < returnCount) {
        if (returned >= batch) {
            signal |= notes::kSignalMoreToDo;
            break;
        }
        std::string entry = EntryData(c, static_cast<std::size_t>(cur), returnMask);
        if (buffer.size() + entry.size() > 0xFFFF) {
            signal |= notes::kSignalMoreToDo;
            break;
        }
        buffer += entry;
        ++returned;
        last = cur;
        cur = Step(c, cur, returnNav);
    }
    if (last >= 0) {
        const ViewEntry &e = c.entries[static_cast<std::size_t>(last)];
        std::memset(pos, 0, sizeof *pos);
        pos->Level = e.Level();
        for (std::size_t i = 0; i < e.tumbler.size(); ++i) {
            pos->Tumbler[i] = e.tumbler[i];
        }
    }
    if (retBuffer != nullptr && !buffer.empty()) {
        *retBuffer = Handles::AllocMemory(buffer.data(), buffer.size());
    }
    if (retBufferLen != nullptr) {
        *retBufferLen = static_cast<WORD>(buffer.size());
    }
    if (retSkipped != nullptr) {
        *retSkipped = skipped;
    }
    if (retReturned != nullptr) {
        *retReturned = returned;
    }
    if (retSignalFlags != nullptr) {
        *retSignalFlags = signal;
    }
    return 0;
}

NOTES_EXPORT STATUS FolderDocAdd(DBHANDLE dataDb, DBHANDLE folderDb, NOTEID folderNoteId, DHANDLE idTable,
                                 DWORD flags) {
    (void)flags;
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("FolderDocAdd")) {
        return s;
    }
    std::shared_ptr<DatabaseFile> file;
    STATUS status = 0;
    dxl::Note *folder = FolderNote(dataDb, folderDb, folderNoteId, file, status);
    if (folder == nullptr) {
        return status;
    }
    IdTableObject *table = FindIdTable(idTable);
    DbHandle *data = FindDb(dataDb);
    if (table == nullptr || data == nullptr || !data->file) {
        return kStsInvalidHandle;
    }
    bool allFound = true;
    table->ids.ForEach([&](DWORD id) {
        const dxl::Note *n = data->file->db.Find(id);
        allFound = allFound && n != nullptr && !n->deleted;
    });
    if (!allFound) {
        return kStsNoteNotFound;
    }
    std::vector<NOTEID> &members = folder->view->members;
    table->ids.ForEach([&](DWORD id) {
        if (std::find(members.begin(), members.end(), id) == members.end()) {
            members.push_back(id);
        }
    });
    file->MarkModified();
    return 0;
}

NOTES_EXPORT STATUS FolderDocRemove(DBHANDLE dataDb, DBHANDLE folderDb, NOTEID folderNoteId, DHANDLE idTable,
                                    DWORD flags) {
    (void)flags;
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("FolderDocRemove")) {
        return s;
    }
    std::shared_ptr<DatabaseFile> file;
    STATUS status = 0;
    dxl::Note *folder = FolderNote(dataDb, folderDb, folderNoteId, file, status);
    if (folder == nullptr) {
        return status;
    }
    IdTableObject *table = FindIdTable(idTable);
    if (table == nullptr) {
        return kStsInvalidHandle;
    }
    std::vector<NOTEID> &members = folder->view->members;
    std::size_t before = members.size();
    members.erase(
        std::remove_if(members.begin(), members.end(), [&](NOTEID id) { return table->ids.Contains(id); }),
        members.end());
    if (members.size() != before) {
        file->MarkModified();
    }
    return 0;
}

}  // extern "C"
