// Moving the exported documents of each view or folder into a named folder of the source database,
// once the whole view has been exported.
#pragma once

#include <memory>
#include <string>

#include "notes/NotesNoteCollection.h"
#include "notes/capi/NotesTypes.h"

namespace exporter {

class MoveToFolder {
public:
    MoveToFolder() = default;
    ~MoveToFolder();
    MoveToFolder(const MoveToFolder &) = delete;
    MoveToFolder &operator=(const MoveToFolder &) = delete;

    // Finds the destination folder in the source database. An empty name fails with "MoveToFolder
    // Specified but not folder name was specified in MoveToFolderName."; a name that names no folder
    // (nothing, or a view) fails with "Unable to get MoveToFolder folder '%s'.".
    [[nodiscard]] bool Prepare(DBHANDLE sourceDb, const std::string &folderName);

    // Starts a view: a fresh, empty ID table (a table kept from the view before is destroyed first).
    // Fails with "Unable to create id for Move to Folder options. Error: %s".
    [[nodiscard]] bool BeginView();
    // Records one exported document. Fails with "Unable to add note to id table for MoveToFolder.".
    [[nodiscard]] bool Add(NOTEID noteId);
    // Ends a view: the collected documents are removed from the folder removeFromFolder (when not 0;
    // its result is not used) and added to the destination folder. The table is destroyed when the add
    // succeeds; a failed add keeps it until the next view or Release and returns false with LastError
    // "Unable to add the documents to folder '%s'. Error: %s" (the folder, the Notes message).
    [[nodiscard]] bool EndView(NOTEID removeFromFolder);
    // Destroys a remaining table and forgets the folder.
    void Release();

    NOTEID FolderNoteId() const { return m_folderNoteId; }
    bool HasTable() const { return m_table != nullptr; }
    const std::string &LastError() const { return m_lastError; }

private:
    DBHANDLE m_db = notes::kNullHandle;
    NOTEID m_folderNoteId = 0;
    std::string m_folderName;
    std::unique_ptr<notes::NotesNoteCollection> m_table;
    std::string m_lastError;
};

}  // namespace exporter
