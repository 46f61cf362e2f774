// A view walked with the C API alone.
#include "BenchSupportWalk.h"

#include <vector>

#include "notes/NotesApi.h"

namespace bench {

long WalkViewNotes(const std::string &database, const char *view,
                   const std::function<void(NOTEHANDLE)> &visit) {
    const notes::NotesApiTable &fn = notes::Api().fn;
    DBHANDLE db = notes::kNullHandle;
    if (fn.NSFDbOpen(database.c_str(), &db) != 0) {
        return -1;
    }
    NOTEID viewId = 0;
    HCOLLECTION collection = 0;
    if (fn.NIFFindDesignNote(db, view, notes::kNoteClassView, &viewId) != 0 ||
        fn.NIFOpenCollection(db, db, viewId, 0, notes::kNullHandle, &collection, nullptr, nullptr, nullptr,
                             nullptr) != 0) {
        fn.NSFDbClose(db);
        return -1;
    }
    std::vector<NOTEID> ids;
    long walked = 0;
    COLLECTIONPOSITION position{};
    WORD signal = notes::kSignalMoreToDo;
    while ((signal & notes::kSignalMoreToDo) != 0) {
        DHANDLE buffer = notes::kNullHandle;
        DWORD returned = 0;
        if (fn.NIFReadEntries(collection, &position, notes::kNavigateNext, 1, notes::kNavigateNext,
                              0xFFFFFFFF, notes::kReadMaskNoteId, &buffer, nullptr, nullptr, &returned,
                              &signal) != 0 ||
            buffer == notes::kNullHandle) {
            break;
        }
        const auto *entries = static_cast<const NOTEID *>(fn.OSLockObject(buffer));
        ids.assign(entries, entries + returned);
        fn.OSUnlockObject(buffer);
        fn.OSMemFree(buffer);
        for (const NOTEID id : ids) {
            NOTEHANDLE note = notes::kNullHandle;
            if ((id & notes::kNoteIdCategory) != 0 || fn.NSFNoteOpen(db, id, 0, &note) != 0) {
                continue;
            }
            visit(note);
            fn.NSFNoteClose(note);
            ++walked;
        }
    }
    fn.NIFCloseCollection(collection);
    fn.NSFDbClose(db);
    return walked;
}

}  // namespace bench
