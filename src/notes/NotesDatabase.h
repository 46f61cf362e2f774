// One open Notes database, local or on a server, and the operations the export needs on it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "NotesDesignColl.h"
#include "NotesFieldName.h"
#include "NotesNoteCollection.h"
#include "NotesView.h"
#include "capi/NotesTypes.h"

namespace notes {

class NotesNote;

// Owns one database handle and closes it in its destructor, unless the handle is borrowed. Movable;
// a moved-from database is closed.
class NotesDatabase {
public:
    NotesDatabase() = default;
    // Opens at once; check IsOpen.
    NotesDatabase(const std::string &server, const std::string &path);
    ~NotesDatabase();
    NotesDatabase(const NotesDatabase &) = delete;
    NotesDatabase &operator=(const NotesDatabase &) = delete;
    NotesDatabase(NotesDatabase &&other) noexcept;
    NotesDatabase &operator=(NotesDatabase &&other) noexcept;

    // Opens server!!path (an empty server is the local machine). Closes what was open first.
    [[nodiscard]] bool Open(const std::string &server, const std::string &path);
    // Closes the handle (a borrowed handle is only detached) and clears the open flag.
    void Close();
    // Closes like Close; false when the runtime could not save the database's changes (a full disk,
    // the file changed by another program): LastError() then holds its reason.
    [[nodiscard]] bool CloseChecked();
    // Uses a handle opened by someone else; it is never closed by this object.
    void Adopt(DBHANDLE handle);

    // The database title; empty when the information cannot be read.
    std::string Title();

    // The view or folder of that name on this database, or null (the error text says why).
    std::unique_ptr<NotesView> OpenView(const std::string &name);
    // Opens the view into the given object; on failure its error text is copied to the database's.
    [[nodiscard]] bool OpenViewInto(NotesView &view, const std::string &name);
    // Copies the open note (from its own database) into this database.
    [[nodiscard]] bool CopyNote(const NotesNote &note);
    // The documents the formula selects ("" selects all), or null (the error text says why).
    std::unique_ptr<NotesNoteCollection> SearchToCollection(const std::string &formula);
    // The item names of the database's item-definition table; "$" names only when asked.
    [[nodiscard]] bool FieldNames(bool includeSystemNames, std::vector<NotesFieldName> &names);
    // The design notes of a class, optionally filtered by a design flag (flag 0: no filter; required
    // or excluded) and scope (0 shared, 1 private, 2 all), in ID-table order.
    [[nodiscard]] bool DesignList(WORD noteClass, char flag, bool flagRequired, int scope,
                                  NotesDesignColl &collection);

    bool IsOpen() const { return m_open; }
    DBHANDLE Handle() const { return m_db; }
    const std::string &Server() const { return m_server; }
    const std::string &Path() const { return m_path; }
    bool Borrowed() const { return m_borrowed; }
    void SetBorrowed(bool borrowed) { m_borrowed = borrowed; }
    STATUS LastStatus() const { return m_lastStatus; }
    const std::string &LastError() const { return m_lastError; }

private:
    void MoveFrom(NotesDatabase &other) noexcept;
    void Fail(STATUS status, std::string text);
    bool FieldNamesExt(bool includeSystemNames, std::vector<NotesFieldName> &names);
    bool FieldNamesClassic(bool includeSystemNames, std::vector<NotesFieldName> &names);

    bool m_open = false;
    DBHANDLE m_db = kNullHandle;
    std::string m_server;
    std::string m_path;
    std::string m_lastError;
    STATUS m_lastStatus = 0;
    bool m_borrowed = false;
};

}  // namespace notes
