// Collecting a view's exported documents in an ID table and putting them into the destination folder.
#include "MoveToFolder.h"

#include "notes/NotesApi.h"
#include "notes/NotesView.h"
#include "notes/NotesWrapperSupport.h"

namespace exporter {

MoveToFolder::~MoveToFolder() {
    Release();
}

bool MoveToFolder::Prepare(DBHANDLE sourceDb, const std::string &folderName) {
    m_lastError.clear();
    m_db = sourceDb;
    m_folderNoteId = 0;
    if (folderName.empty()) {
        m_lastError = "MoveToFolder Specified but not folder name was specified in MoveToFolderName.";
        return false;
    }
    // A view of that name is no destination: documents added to it would silently go nowhere.
    notes::NotesView folder;
    bool isFolder = false;
    if (!folder.FindOnly(sourceDb, folderName) || !folder.IsFolder(isFolder) || !isFolder) {
        m_lastError = "Unable to get MoveToFolder folder '" + folderName + "'.";
        return false;
    }
    m_folderNoteId = folder.ViewNoteId();
    m_folderName = folderName;
    return true;
}

bool MoveToFolder::BeginView() {
    m_lastError.clear();
    m_table.reset();
    auto table = std::make_unique<notes::NotesNoteCollection>(m_db);
    if (!table->Create()) {
        m_lastError = "Unable to create id for Move to Folder options. Error: " + table->LastError();
        return false;
    }
    m_table = std::move(table);
    return true;
}

bool MoveToFolder::Add(NOTEID noteId) {
    m_lastError.clear();
    if (m_table == nullptr || !m_table->Insert(noteId)) {
        m_lastError = "Unable to add note to id table for MoveToFolder.";
        return false;
    }
    return true;
}

bool MoveToFolder::EndView(NOTEID removeFromFolder) {
    m_lastError.clear();
    if (m_table == nullptr) {
        return true;
    }
    const auto &fn = notes::Api().fn;
    const DHANDLE table = m_table->IdTable();
    if (removeFromFolder != 0 && fn.FolderDocRemove != nullptr) {
        (void)fn.FolderDocRemove(m_db, notes::kNullHandle, removeFromFolder, table, 0);
    }
    const STATUS status = fn.FolderDocAdd != nullptr
                              ? fn.FolderDocAdd(m_db, notes::kNullHandle, m_folderNoteId, table, 0)
                              : notes::wrapper::kMissingEntryPoint;
    if (status != 0) {
        m_lastError = "Unable to add the documents to folder '" + m_folderName +
                      "'. Error: " + notes::wrapper::NotesMessage(status);
        return false;
    }
    m_table.reset();
    return true;
}

void MoveToFolder::Release() {
    m_table.reset();
    m_folderNoteId = 0;
}

}  // namespace exporter
