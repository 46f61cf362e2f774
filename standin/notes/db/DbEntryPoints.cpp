// Entry points over databases: network paths, open and close, information, copying and deleting
// notes, modified-note tables, item definition tables and address books.
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "../Config.h"
#include "../Export.h"
#include "../IdTable.h"
#include "../Runtime.h"
#include "../common/TimeDate.h"
#include "DbHandle.h"
#include "DbPaths.h"
#include "DbStatus.h"
#include "Security.h"
#include "dxl/Bytes.h"
#include "dxl/DxlText.h"

using namespace standin;

namespace {

bool IsDirectory(const std::string &path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void CopyOut(const std::string &text, char *out) {
    if (out == nullptr) {
        return;
    }
    std::size_t n = std::min<std::size_t>(text.size(), notes::kMaxPath - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

TIMEDATE Now() {
    return FromUnixSeconds(static_cast<std::int64_t>(time(nullptr)));
}

// The names and types of every item of every note, each pair once, in first-seen order.
std::vector<std::pair<std::string, WORD>> ItemDefinitions(const dxl::Database &db) {
    std::vector<std::pair<std::string, WORD>> out;
    std::set<std::pair<std::string, WORD>> seen;
    for (const dxl::Note &header : db.notes) {
        if (header.deleted) {
            continue;
        }
        dxl::Note loaded;
        std::string error;
        const dxl::Note *full = db.Load(header, loaded, error);
        if (full == nullptr) {
            Diagnostic(error);
            continue;
        }
        const dxl::Note &n = *full;
        for (std::size_t i = 0; i < n.items.size(); ++i) {
            std::string name(n.ItemName(i));
            WORD type = n.ItemType(i);
            if (seen.insert({dxl::ToLowerAscii(name), type}).second) {
                out.emplace_back(name, type);
            }
        }
    }
    return out;
}

void Put16(std::vector<char> &b, std::size_t at, WORD v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}

}  // namespace

extern "C" {

NOTES_EXPORT STATUS OSPathNetConstruct(const char *port, const char *server, const char *file, char *ret) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("OSPathNetConstruct")) {
        return s;
    }
    if (ret == nullptr) {
        return kStsBadArgument;
    }
    std::string path;
    if (port != nullptr && *port != '\0') {
        path += std::string(port) + "!!";
    }
    if (server != nullptr && *server != '\0') {
        path += std::string(server) + "!!";
    }
    path += file != nullptr ? file : "";
    if (path.size() >= notes::kMaxPath) {
        ret[0] = '\0';
        return kStsPathTooLong;
    }
    CopyOut(path, ret);
    return 0;
}

NOTES_EXPORT STATUS OSPathNetParse(const char *path, char *retPort, char *retServer, char *retFile) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("OSPathNetParse")) {
        return s;
    }
    if (path == nullptr) {
        return kStsBadArgument;
    }
    NetPath p = ParseNetPath(path);
    CopyOut(p.port, retPort);
    CopyOut(p.server, retServer);
    CopyOut(p.file, retFile);
    return 0;
}

NOTES_EXPORT STATUS NSFDbOpen(const char *path, DBHANDLE *ret) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFDbOpen")) {
        return s;
    }
    if (path == nullptr || ret == nullptr) {
        return kStsBadArgument;
    }
    *ret = 0;
    if (!Config().initialized) {
        return kStsNotInitialized;
    }
    NetPath p = ParseNetPath(path);
    std::string root;
    if (!ServerDirectory(p.server, root)) {
        return FailWith(kStsServerUnreachable, "Unable to find path to server " + dxl::LmbcsToUtf8(p.server));
    }
    std::string file = dxl::LmbcsToUtf8(p.file);
    std::string full = JoinPath(root, file);
    auto handle = std::make_unique<DbHandle>();
    handle->server = p.server;
    handle->fileName = p.file;
    handle->root = root;
    if (IsDirectory(full)) {
        handle->directory = full;
    } else {
        STATUS status = 0;
        handle->file = DatabaseFile::Acquire(full, status);
        if (!handle->file) {
            return status;
        }
    }
    *ret = Handles::Add(std::move(handle));
    return 0;
}

NOTES_EXPORT STATUS NSFDbClose(DBHANDLE db) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFDbClose")) {
        return s;
    }
    DbHandle *handle = FindDb(db);
    if (handle == nullptr) {
        return kStsInvalidHandle;
    }
    std::shared_ptr<DatabaseFile> file = handle->file;
    Handles::Remove(db, HandleKind::Database);
    return DatabaseFile::Release(file);
}

NOTES_EXPORT STATUS NSFDbInfoGet(DBHANDLE db, char *buf) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFDbInfoGet")) {
        return s;
    }
    DbHandle *handle = FindDb(db);
    if (handle == nullptr || buf == nullptr) {
        return handle == nullptr ? kStsInvalidHandle : kStsBadArgument;
    }
    std::string title = handle->file ? handle->file->db.title : std::string();
    // The information buffer: title, then categories, class and design class, each after a line feed.
    std::string info = title.substr(0, notes::kNsfInfoSize - 8) + "\n\n#1\n#2";
    std::memset(buf, 0, notes::kNsfInfoSize);
    std::memcpy(buf, info.data(), std::min<std::size_t>(info.size(), notes::kNsfInfoSize - 1));
    return 0;
}

NOTES_EXPORT void NSFDbInfoParse(char *info, WORD what, char *buf, WORD len) {
    ApiLock lock(ApiMutex());
    EnterCall("NSFDbInfoParse");
    if (buf == nullptr || len == 0) {
        return;
    }
    buf[0] = '\0';
    if (info == nullptr) {
        return;
    }
    std::string text(info, strnlen(info, notes::kNsfInfoSize));
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t nl = text.find('\n', start);
        parts.push_back(text.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
        if (nl == std::string::npos) {
            break;
        }
        start = nl + 1;
    }
    if (what >= parts.size()) {
        return;
    }
    std::string part = parts[what];
    if ((what == notes::kInfoParseClass || what == notes::kInfoParseDesignClass) && part.size() >= 2 &&
        part[0] == '#') {
        part = part.substr(2);
    }
    std::size_t n = std::min<std::size_t>(part.size(), static_cast<std::size_t>(len - 1));
    std::memcpy(buf, part.data(), n);
    buf[n] = '\0';
}

NOTES_EXPORT STATUS NSFDbCopyNote(DBHANDLE src, DBID *srcDbId, DBID *srcReplicaId, NOTEID srcNoteId,
                                  DBHANDLE dst, DBID *dstDbId, DBID *dstReplicaId, NOTEID *retDstNoteId,
                                  WORD *retNoteClass) {
    (void)srcDbId;
    (void)srcReplicaId;
    (void)dstDbId;
    (void)dstReplicaId;
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFDbCopyNote")) {
        return s;
    }
    DbHandle *from = FindDb(src);
    DbHandle *to = FindDb(dst);
    if (from == nullptr || to == nullptr || !from->file || !to->file) {
        return from == nullptr || to == nullptr ? kStsInvalidHandle : kStsIsDirectory;
    }
    const dxl::Note *note = from->file->db.Find(srcNoteId);
    if (note == nullptr) {
        return kStsNoteNotFound;
    }
    if (note->deleted) {
        return notes::kErrNoteDeleted;
    }
    if (!CanRead(*note)) {
        return notes::kErrNoAccess;
    }
    dxl::Note loaded;
    std::string loadError;
    const dxl::Note *full = from->file->db.Load(*note, loaded, loadError);
    if (full == nullptr) {
        return FailWith(kStsDxlInvalid, loadError);
    }
    dxl::Note copy = *full;
    copy.sourceIdentity = false;  // its bytes are written from the copy, never from the source file
    dxl::Database &target = to->file->db;
    // The same UNID in the destination is the same note: it is replaced, keeping its note ID.
    const dxl::Note *existing = target.FindByUnid(copy.unid);
    if (existing != nullptr && to->file != from->file) {
        dxl::Note *slot = target.FindToChange(existing->noteId);
        if (slot == nullptr) {
            return kStsNoteNotFound;
        }
        copy.noteId = slot->noteId;
        copy.addedToFile = slot->addedToFile;
        *slot = std::move(copy);
        if (retDstNoteId != nullptr) {
            *retDstNoteId = slot->noteId;
        }
    } else {
        copy.noteId = target.NextNoteId();
        copy.addedToFile = Now();
        if (copy.view) {
            copy.view->members.clear();
        }
        NOTEID id = target.Add(std::move(copy)).noteId;
        if (retDstNoteId != nullptr) {
            *retDstNoteId = id;
        }
    }
    if (retNoteClass != nullptr) {
        *retNoteClass = note->noteClass;
    }
    to->file->MarkModified();
    return 0;
}

NOTES_EXPORT STATUS NSFNoteDelete(DBHANDLE db, NOTEID noteId, WORD updateFlags) {
    (void)updateFlags;
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFNoteDelete")) {
        return s;
    }
    DbHandle *handle = FindDb(db);
    if (handle == nullptr || !handle->file) {
        return handle == nullptr ? kStsInvalidHandle : kStsIsDirectory;
    }
    const dxl::Note *header = handle->file->db.Find(noteId);
    if (header == nullptr) {
        return kStsNoteNotFound;
    }
    if (header->deleted) {
        return notes::kErrNoteDeleted;
    }
    if (!CanRead(*header)) {
        return notes::kErrNoAccess;
    }
    // The stub is held in memory until the database is written back.
    dxl::Note *note = handle->file->db.FindToChange(noteId);
    if (note == nullptr) {
        return kStsNoteNotFound;
    }
    note->deleted = true;
    note->modified = Now();
    for (dxl::Note &other : handle->file->db.notes.HeldNotes()) {
        if (other.view) {
            auto &m = other.view->members;
            m.erase(std::remove(m.begin(), m.end(), noteId), m.end());
        }
    }
    handle->file->MarkModified();
    return 0;
}

NOTES_EXPORT STATUS NSFDbGetModifiedNoteTable(DBHANDLE db, WORD classMask, TIMEDATE since, TIMEDATE *retUntil,
                                              DHANDLE *retTable) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFDbGetModifiedNoteTable")) {
        return s;
    }
    DbHandle *handle = FindDb(db);
    if (handle == nullptr || retTable == nullptr) {
        return handle == nullptr ? kStsInvalidHandle : kStsBadArgument;
    }
    *retTable = 0;
    if (!handle->file) {
        return kStsIsDirectory;
    }
    IdSet ids;
    for (const dxl::Note &n : handle->file->db.notes) {
        if ((n.noteClass & classMask) == 0 || DifferenceHundredths(n.modified, since) <= 0) {
            continue;
        }
        if (n.deleted) {
            ids.Insert(n.noteId | notes::kNoteIdCategory);
        } else if (CanRead(n)) {
            ids.Insert(n.noteId);
        }
    }
    *retTable = NewIdTable(std::move(ids));
    if (retUntil != nullptr) {
        *retUntil = Now();
    }
    return 0;
}

NOTES_EXPORT STATUS NSFDbItemDefTable(DBHANDLE db, ITEMDEFTABLEHANDLE *ret) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFDbItemDefTable")) {
        return s;
    }
    DbHandle *handle = FindDb(db);
    if (handle == nullptr || ret == nullptr) {
        return handle == nullptr ? kStsInvalidHandle : kStsBadArgument;
    }
    *ret = 0;
    if (!handle->file) {
        return kStsIsDirectory;
    }
    // WORD length, WORD count, then per item {WORD spare, WORD type, WORD name length}, then the names.
    auto defs = ItemDefinitions(handle->file->db);
    if (defs.size() > 0xFFFF) {
        defs.resize(0xFFFF);
    }
    std::size_t size = 4 + 6 * defs.size();
    for (const auto &d : defs) {
        size += d.first.size();
    }
    auto block = std::make_unique<MemoryBlock>(size, HandleKind::ItemDefTable);
    std::vector<char> &b = block->bytes;
    Put16(b, 0, static_cast<WORD>(std::min<std::size_t>(size, 0xFFFF)));
    Put16(b, 2, static_cast<WORD>(defs.size()));
    std::size_t names = 4 + 6 * defs.size();
    for (std::size_t i = 0; i < defs.size(); ++i) {
        Put16(b, 4 + 6 * i, 0);
        Put16(b, 6 + 6 * i, defs[i].second);
        Put16(b, 8 + 6 * i, static_cast<WORD>(defs[i].first.size()));
        std::memcpy(b.data() + names, defs[i].first.data(), defs[i].first.size());
        names += defs[i].first.size();
    }
    *ret = Handles::Add(std::move(block));
    return 0;
}

NOTES_EXPORT STATUS NSFDbItemDefTableExt(DBHANDLE db, ITEMDEFTABLEEXTHANDLE *ret) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFDbItemDefTableExt")) {
        return s;
    }
    DbHandle *handle = FindDb(db);
    if (handle == nullptr || ret == nullptr) {
        return handle == nullptr ? kStsInvalidHandle : kStsBadArgument;
    }
    *ret = 0;
    if (!handle->file) {
        return kStsIsDirectory;
    }
    auto defs = ItemDefinitions(handle->file->db);
    // One name segment holds every name; the definitions give each name's offset in it.
    std::string names;
    std::vector<ITEM_DEFINITION_EXT> array(defs.size());
    for (std::size_t i = 0; i < defs.size(); ++i) {
        array[i].ItemOffset = static_cast<DWORD>(names.size());
        array[i].ItemType = defs[i].second;
        array[i].ItemNameLength = static_cast<WORD>(defs[i].first.size());
        names += defs[i].first;
    }
    ITEM_DEFINITION_TABLE_EXT table{};
    table.Items = static_cast<DWORD>(defs.size());
    table.ItemDefArray = Handles::AllocMemory(array.data(), array.size() * sizeof(ITEM_DEFINITION_EXT));
    table.NumSegments = 1;
    table.ItemNameSegs[0] = Handles::AllocMemory(names.data(), names.size());
    table.ItemNameSegLengths[0] = static_cast<DWORD>(names.size());
    auto block = std::make_unique<MemoryBlock>(sizeof table, HandleKind::ItemDefTable);
    std::memcpy(block->bytes.data(), &table, sizeof table);
    *ret = Handles::Add(std::move(block));
    return 0;
}

NOTES_EXPORT STATUS NSFItemDefExtLock(ITEM_DEFINITION_TABLE_EXT *table, ITEM_DEFINITION_TABLE_LOCK *lockOut) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFItemDefExtLock")) {
        return s;
    }
    if (table == nullptr || lockOut == nullptr || table->NumSegments > 25) {
        return kStsBadArgument;
    }
    MemoryBlock *array = Handles::Lockable(table->ItemDefArray);
    if (array == nullptr) {
        return kStsInvalidHandle;
    }
    std::memset(lockOut, 0, sizeof *lockOut);
    lockOut->Items = table->Items;
    ++array->locks;
    lockOut->pItemDefArray = array->bytes.empty() ? nullptr : array->bytes.data();
    lockOut->NumSegments = table->NumSegments;
    for (DWORD i = 0; i < table->NumSegments; ++i) {
        MemoryBlock *seg = Handles::Lockable(table->ItemNameSegs[i]);
        if (seg == nullptr) {
            continue;
        }
        ++seg->locks;
        lockOut->ItemText[i] = seg->bytes.empty() ? nullptr : seg->bytes.data();
        lockOut->ItemNameSegLengths[i] = table->ItemNameSegLengths[i];
    }
    return 0;
}

NOTES_EXPORT STATUS NSFItemDefExtUnlock(ITEM_DEFINITION_TABLE_EXT *table,
                                        ITEM_DEFINITION_TABLE_LOCK *lockIn) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFItemDefExtUnlock")) {
        return s;
    }
    if (table == nullptr || lockIn == nullptr || table->NumSegments > 25) {
        return kStsBadArgument;
    }
    MemoryBlock *array = Handles::Lockable(table->ItemDefArray);
    if (array != nullptr && array->locks > 0) {
        --array->locks;
    }
    for (DWORD i = 0; i < table->NumSegments; ++i) {
        MemoryBlock *seg = Handles::Lockable(table->ItemNameSegs[i]);
        if (seg != nullptr && seg->locks > 0) {
            --seg->locks;
        }
    }
    std::memset(lockIn, 0, sizeof *lockIn);
    return 0;
}

NOTES_EXPORT STATUS NSFItemDefExtFree(ITEM_DEFINITION_TABLE_EXT *table) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFItemDefExtFree")) {
        return s;
    }
    if (table == nullptr || table->NumSegments > 25) {
        return kStsBadArgument;
    }
    Handles::Remove(table->ItemDefArray, HandleKind::Memory);
    for (DWORD i = 0; i < table->NumSegments; ++i) {
        Handles::Remove(table->ItemNameSegs[i], HandleKind::Memory);
    }
    table->ItemDefArray = 0;
    table->NumSegments = 0;
    return 0;
}

NOTES_EXPORT STATUS NSFItemDefExtEntries(ITEM_DEFINITION_TABLE_LOCK *lockIn, DWORD *count) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFItemDefExtEntries")) {
        return s;
    }
    if (lockIn == nullptr || count == nullptr) {
        return kStsBadArgument;
    }
    *count = lockIn->Items;
    return 0;
}

NOTES_EXPORT STATUS NSFItemDefExtGetEntry(ITEM_DEFINITION_TABLE_LOCK *lockIn, DWORD index, WORD *type,
                                          WORD *nameLen, char **name) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFItemDefExtGetEntry")) {
        return s;
    }
    if (lockIn == nullptr || index >= lockIn->Items || lockIn->pItemDefArray == nullptr) {
        return notes::kErrNotFound;
    }
    const auto *defs = static_cast<const ITEM_DEFINITION_EXT *>(lockIn->pItemDefArray);
    const ITEM_DEFINITION_EXT &d = defs[index];
    if (type != nullptr) {
        *type = d.ItemType;
    }
    if (nameLen != nullptr) {
        *nameLen = d.ItemNameLength;
    }
    if (name != nullptr) {
        *name = lockIn->ItemText[0] != nullptr ? lockIn->ItemText[0] + d.ItemOffset : nullptr;
    }
    return 0;
}

NOTES_EXPORT STATUS NAMEGetAddressBooks(const char *server, WORD options, WORD *retCount, WORD *retLength,
                                        DHANDLE *ret) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NAMEGetAddressBooks")) {
        return s;
    }
    if (ret == nullptr) {
        return kStsBadArgument;
    }
    *ret = 0;
    std::string root;
    std::string serverName = server != nullptr ? server : "";
    if (!ServerDirectory(serverName, root)) {
        return FailWith(kStsServerUnreachable, "Unable to find path to server " + serverName);
    }
    // notes.ini NAMES lists the books, separated by commas; names.nsf otherwise.
    std::string list = serverName.empty() ? IniValue("NAMES") : std::string();
    if (list.empty()) {
        list = "names.nsf";
    }
    std::string out;
    WORD count = 0;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        std::string entry =
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        while (!entry.empty() && entry.front() == ' ') {
            entry.erase(0, 1);
        }
        while (!entry.empty() && entry.back() == ' ') {
            entry.pop_back();
        }
        if (!entry.empty()) {
            std::string path = serverName.empty() ? entry : serverName + "!!" + entry;
            out += path;
            out.push_back('\0');
            if ((options & 0x0001) != 0) {
                STATUS status = 0;
                std::shared_ptr<DatabaseFile> file = DatabaseFile::Acquire(JoinPath(root, entry), status);
                out += file ? file->db.title : std::string();
                out.push_back('\0');
                if (file) {
                    STATUS ignored = DatabaseFile::Release(file);
                    (void)ignored;
                }
            }
            ++count;
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    if (retCount != nullptr) {
        *retCount = count;
    }
    if (retLength != nullptr) {
        *retLength = static_cast<WORD>(std::min<std::size_t>(out.size(), 0xFFFF));
    }
    *ret = Handles::AllocMemory(out.data(), out.size());
    return 0;
}

}  // extern "C"
