// The notes of a database: a fixed-size record per note in file order (identity, class, times and its
// byte range in the source) and, beside it, the notes held in full (design notes, notes whose security
// lives in items, notes changed or added by the program). A large table keeps its records in an
// unlinked temporary file read back by block, so that an open database's memory does not grow with
// its number of documents.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "Note.h"

namespace standin::dxl {

struct NoteRecord {
    NOTEID noteId = 0;
    WORD noteClass = 0;
    std::uint16_t flags = 0;  // kRecordHeld, kRecordSourceIdentity
    std::uint32_t held = 0;   // the index of the held note, with kRecordHeld
    std::uint32_t sourceLength = 0;
    std::uint64_t sourceOffset = 0;
    UNID unid{};
    DWORD sequence = 1;
    TIMEDATE sequenceTime{};
    TIMEDATE created{};
    TIMEDATE modified{};
    TIMEDATE accessed{};
    TIMEDATE addedToFile{};
};

constexpr std::uint16_t kRecordHeld = 1;
constexpr std::uint16_t kRecordSourceIdentity = 2;

// Records by position, in memory while few, else in a temporary file with a small cache of blocks.
class RecordStore {
public:
    RecordStore() = default;
    ~RecordStore();
    RecordStore(RecordStore &&other) noexcept;
    RecordStore &operator=(RecordStore &&other) noexcept;
    RecordStore(const RecordStore &) = delete;
    RecordStore &operator=(const RecordStore &) = delete;

    std::size_t Size() const { return m_spilled + m_tail.size(); }
    // The record at index (a blank one, noteId 0, when the file cannot be read back).
    NoteRecord Get(std::size_t index) const;
    void Set(std::size_t index, const NoteRecord &record);
    void Append(const NoteRecord &record);
    bool Spilled() const { return m_fd >= 0; }

    // How many records stay in memory before the store moves to a file (tests lower it).
    static void SetSpillThreshold(std::size_t records);

private:
    struct Block {
        std::size_t number = static_cast<std::size_t>(-1);
        std::uint64_t used = 0;
        std::vector<NoteRecord> records;
    };
    bool Spill();
    bool WriteRecords(std::size_t first, const NoteRecord *records, std::size_t count);
    const NoteRecord *Cached(std::size_t index) const;
    void Close();

    std::vector<NoteRecord> m_tail;  // every record while in memory; the unwritten ones once spilled
    std::size_t m_spilled = 0;       // records in the file
    int m_fd = -1;
    mutable std::vector<Block> m_cache;
    mutable std::uint64_t m_clock = 0;
    mutable std::size_t m_last = 0;  // the block used last, tried first
};

class NoteTable {
public:
    NoteTable() = default;
    NoteTable(NoteTable &&) noexcept = default;
    NoteTable &operator=(NoteTable &&) noexcept = default;

    std::size_t size() const { return m_records.Size(); }
    bool empty() const { return size() == 0; }
    // The note at a position in file order: a held note itself, else its header built from the record
    // (identity, class, times, byte range; no items), valid until a few more headers were built.
    const Note &operator[](std::size_t index) const;
    const Note &back() const { return (*this)[size() - 1]; }
    // The same, built into scratch when only a record (valid while scratch is).
    const Note &HeaderAt(std::size_t index, Note &scratch) const { return HeaderInto(index, scratch); }

    class Iterator {
    public:
        Iterator(const NoteTable *table, std::size_t index) : m_table(table), m_index(index) {}
        const Note &operator*() const { return m_table->HeaderInto(m_index, m_scratch); }
        Iterator &operator++() {
            ++m_index;
            return *this;
        }
        bool operator!=(const Iterator &other) const { return m_index != other.m_index; }

    private:
        const NoteTable *m_table;
        std::size_t m_index;
        mutable Note m_scratch;
    };
    Iterator begin() const { return Iterator(this, 0); }
    Iterator end() const { return Iterator(this, size()); }

    // Appends a note: held in full, or only its record (the note has a source range and no items).
    void Append(Note note, bool hold);
    NoteRecord Record(std::size_t index) const { return m_records.Get(index); }
    // Changes a record's identity and times, and the held note's with it.
    void SetRecord(std::size_t index, const NoteRecord &record);
    bool IsHeld(std::size_t index) const { return (m_records.Get(index).flags & kRecordHeld) != 0; }
    // The held note at that position (which must be held).
    Note &Held(std::size_t index);
    // Holds the note given in full at a position that was only a record.
    Note &Hold(std::size_t index, Note note);
    // Every held note, for changes that concern design notes only (views and folders are held).
    std::deque<Note> &HeldNotes() { return m_held; }

    // Positions by note ID: Reindex rebuilds them after reading, IndexLast adds the last appended note.
    void Reindex();
    void IndexLast();
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    std::size_t IndexOf(NOTEID noteId) const;
    // The position of the first note of that UNID that is not a deletion stub, or npos.
    std::size_t IndexOfUnid(const UNID &unid) const;
    // The position of the rank-th note in ascending note ID order (a note ID used twice counts once).
    std::size_t IndexByRank(std::size_t rank) const;
    std::size_t IdCount() const { return m_sorted ? size() : m_byId.size(); }
    NOTEID HighestId() const;

private:
    const Note &HeaderInto(std::size_t index, Note &scratch) const;

    RecordStore m_records;
    std::deque<Note> m_held;  // a deque: growing never moves the notes already held
    // When note IDs ascend in file order the position is the rank; else the sorted (ID, position).
    bool m_sorted = true;
    std::vector<std::pair<NOTEID, std::uint32_t>> m_byId;
    std::vector<NOTEID> m_fences;         // when sorted: the first note ID of each block of records
    mutable std::vector<Note> m_headers;  // a ring of recently built headers
    mutable std::size_t m_nextHeader = 0;
};

}  // namespace standin::dxl
