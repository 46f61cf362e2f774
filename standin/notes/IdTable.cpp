// The ID table entry points.
#include "IdTable.h"

#include "Export.h"

using namespace standin;

extern "C" {

NOTES_EXPORT STATUS IDCreateTable(DWORD alignment, DHANDLE *ret) {
    (void)alignment;
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("IDCreateTable")) {
        return s;
    }
    if (ret == nullptr) {
        return kStsBadArgument;
    }
    *ret = NewIdTable();
    return notes::kNoError;
}

NOTES_EXPORT STATUS IDDestroyTable(DHANDLE table) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("IDDestroyTable")) {
        return s;
    }
    if (!Handles::Remove(table, HandleKind::IdTable)) {
        Diagnostic("IDDestroyTable: handle " + std::to_string(table) + " is no ID table");
        return kStsInvalidHandle;
    }
    return notes::kNoError;
}

NOTES_EXPORT STATUS IDInsert(DHANDLE table, DWORD id, BOOL *retInserted) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("IDInsert")) {
        return s;
    }
    IdTableObject *t = FindIdTable(table);
    if (t == nullptr) {
        return kStsInvalidHandle;
    }
    bool inserted = t->ids.Insert(id);
    if (retInserted != nullptr) {
        *retInserted = inserted ? 1 : 0;
    }
    return notes::kNoError;
}

NOTES_EXPORT BOOL IDScan(DHANDLE table, BOOL first, DWORD *id) {
    ApiLock lock(ApiMutex());
    if (EnterCall("IDScan") != 0) {
        return 0;
    }
    IdTableObject *t = FindIdTable(table);
    if (t == nullptr || id == nullptr) {
        return 0;
    }
    DWORD next = 0;
    if (!t->ids.Next(first != 0, *id, next)) {
        return 0;
    }
    *id = next;
    return 1;
}

NOTES_EXPORT DWORD IDEntries(DHANDLE table) {
    ApiLock lock(ApiMutex());
    if (EnterCall("IDEntries") != 0) {
        return 0;
    }
    IdTableObject *t = FindIdTable(table);
    return t == nullptr ? 0 : static_cast<DWORD>(t->ids.Size());
}

}  // extern "C"
