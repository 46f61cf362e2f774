// A view or folder of one database, opened as a collection and walked entry by entry for note IDs.
#pragma once

#include <string>
#include <vector>

#include "capi/NotesTypes.h"

namespace notes {

// Owns one collection handle, closed in the destructor. Each batch of entries is read, copied and
// freed within one call, so no memory handle stays allocated or locked between calls.
// Not copyable or movable: handed out by pointer.
class NotesView {
public:
    NotesView() = default;
    ~NotesView();
    NotesView(const NotesView &) = delete;
    NotesView &operator=(const NotesView &) = delete;

    // Closes what the object had open, finds the design note of the view or folder by name and opens
    // its collection (the same database as view and data database).
    [[nodiscard]] bool Open(DBHANDLE db, const std::string &name);
    // Opens the collection of the view or folder whose design note is viewNoteId (found by a design
    // scan), so that a name shared by two views can never open the wrong one; name is kept for display.
    [[nodiscard]] bool OpenById(DBHANDLE db, NOTEID viewNoteId, const std::string &name);
    // The number of entries of the open view (categories included), counted without reading them.
    [[nodiscard]] bool EntryCount(DWORD &count);
    // Finds the design note only; the collection is not opened.
    [[nodiscard]] bool FindOnly(DBHANDLE db, const std::string &name);
    void Close();

    // The first (next) document's note ID in view order, passing over category entries; 0 at the end
    // or on a failure (then LastStatus and LastError say why).
    NOTEID First();
    NOTEID Next();

    // Whether the view's design note is a folder ("$Flags" holds "F"). A design note that cannot be
    // opened fails with "Fatal error opening view note.".
    [[nodiscard]] bool IsFolder(bool &folder);

private:
    bool OpenCollection();

public:
    bool IsOpen() const { return m_open; }
    const std::string &Name() const { return m_name; }
    DBHANDLE DbHandle() const { return m_db; }
    NOTEID ViewNoteId() const { return m_viewNoteId; }
    HCOLLECTION Collection() const { return m_collection; }
    // Entries returned by the reads of this walk so far (categories included), and how many of them
    // have been passed by First and Next.
    DWORD EntriesRead() const { return m_entriesRead; }
    DWORD EntriesPassed() const { return m_entriesPassed; }
    WORD SignalFlags() const { return m_signalFlags; }
    STATUS LastStatus() const { return m_lastStatus; }
    const std::string &LastError() const { return m_lastError; }

private:
    bool FindDesignNote(DBHANDLE db, const std::string &name);
    bool ReadBatch();
    void Fail(STATUS status);

    bool m_open = false;
    std::string m_name;
    std::string m_lastError;
    DBHANDLE m_db = kNullHandle;
    NOTEID m_viewNoteId = 0;
    HCOLLECTION m_collection = 0;
    COLLECTIONPOSITION m_position{};
    std::vector<NOTEID> m_batch;
    std::size_t m_index = 0;
    DWORD m_entriesRead = 0;
    DWORD m_entriesPassed = 0;
    WORD m_signalFlags = 0;
    STATUS m_lastStatus = 0;
};

}  // namespace notes
