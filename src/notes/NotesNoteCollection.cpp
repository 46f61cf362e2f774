// A Notes ID table and the walk over it that opens each note in turn.
#include "NotesNoteCollection.h"

#include "NotesApi.h"
#include "NotesWrapperSupport.h"

namespace notes {

NotesNoteCollection::NotesNoteCollection(DBHANDLE db) : m_db(db) {}

NotesNoteCollection::~NotesNoteCollection() {
    Close();
}

bool NotesNoteCollection::Create() {
    Close();
    const NotesApiTable &fn = Api().fn;
    DHANDLE table = kNullHandle;
    m_lastStatus =
        fn.IDCreateTable != nullptr ? fn.IDCreateTable(sizeof(NOTEID), &table) : wrapper::kMissingEntryPoint;
    if (m_lastStatus != 0) {
        m_lastError = wrapper::NotesMessage(m_lastStatus);
        return false;
    }
    m_idTable = table;
    m_ownsTable = true;
    m_lastError.clear();
    return true;
}

void NotesNoteCollection::Attach(DBHANDLE db, DHANDLE idTable) {
    Close();
    m_db = db;
    m_idTable = idTable;
    m_ownsTable = false;
}

void NotesNoteCollection::Close() {
    // The current note goes before the table it came from.
    m_current.Close();
    if (m_idTable != kNullHandle && m_ownsTable && Api().fn.IDDestroyTable != nullptr) {
        m_lastStatus = Api().fn.IDDestroyTable(m_idTable);
    }
    m_idTable = kNullHandle;
    m_ownsTable = false;
    m_currentId = 0;
    m_visited = 0;
    m_atEnd = false;
}

bool NotesNoteCollection::Insert(NOTEID noteId) {
    const NotesApiTable &fn = Api().fn;
    if (m_idTable == kNullHandle || fn.IDInsert == nullptr) {
        m_lastError = "Unable to insert Note";
        return false;
    }
    BOOL inserted = 0;
    m_lastStatus = fn.IDInsert(m_idTable, noteId, &inserted);
    if (m_lastStatus != 0) {
        m_lastError = "Unable to insert Note";
        return false;
    }
    return true;
}

bool NotesNoteCollection::First() {
    m_visited = 0;
    m_atEnd = false;
    return OpenCurrent(1);
}

bool NotesNoteCollection::Next() {
    return OpenCurrent(0);
}

bool NotesNoteCollection::OpenCurrent(BOOL first) {
    m_current.Close();
    const NotesApiTable &fn = Api().fn;
    if (m_idTable == kNullHandle || fn.IDScan == nullptr || (m_atEnd && !first)) {
        return false;
    }
    // IDScan continues from the ID it is given, so the last one goes back in.
    DWORD id = first ? 0 : m_currentId;
    if (!fn.IDScan(m_idTable, first, &id)) {
        m_currentId = 0;
        m_atEnd = true;
        return false;
    }
    m_currentId = id;
    ++m_visited;
    (void)m_current.Open(m_db, id, true);
    return true;
}

DWORD NotesNoteCollection::Count() const {
    if (m_idTable == kNullHandle || Api().fn.IDEntries == nullptr) {
        return 0;
    }
    return Api().fn.IDEntries(m_idTable);
}

}  // namespace notes
