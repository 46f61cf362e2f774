// The queue of databases of a multiple-database export, with its list file (CSV: title, server, path).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace config {

// List icons of a queue entry.
constexpr int kQueueImagePending = 0;
constexpr int kQueueImageSucceeded = 4;
constexpr int kQueueImageFailed = 5;

struct NotesExportDatabase {
    std::string title;
    std::string server;  // empty: a local database
    std::string path;
    bool processed = false;  // exported (successfully or not) since the last reset
    long exported = 0;
    long total = 0;
    int returnCode = 0;
    std::string status;  // "OK", the run's error text, or empty before a run
    int image = kQueueImagePending;
    int row = 0;  // position in the list view
};

class NotesDatabaseList {
public:
    // Appends an entry; false (nothing added) when an entry with the same server and path is queued.
    // Server and path compare without regard to ASCII case, as Notes names them.
    [[nodiscard]] bool Add(const NotesExportDatabase &entry);
    // The queued entry with this server and path, or null.
    const NotesExportDatabase *Find(const std::string &server, const std::string &path) const;
    // Removes the entries at these positions (out-of-range ones are ignored) and renumbers the rows.
    void Remove(std::vector<std::size_t> positions);
    void Clear() { m_entries.clear(); }
    // Every entry pending again: image, status, counts and processed flag cleared.
    void ResetFlags();

    std::size_t Count() const { return m_entries.size(); }
    std::size_t ProcessedCount() const;
    NotesExportDatabase &Entry(std::size_t index) { return m_entries[index]; }
    const NotesExportDatabase &Entry(std::size_t index) const { return m_entries[index]; }

    // The list file: UTF-8 with a byte-order mark, one line per entry ("title,server,path" with CRLF),
    // fields quoted as RFC 4180 does when they hold a comma, a quote or a line break.
    std::string ToCsv() const;
    // Replaces the queue with the entries of a list file (a byte-order mark is optional; LF or CRLF;
    // blank lines skipped; a line with fewer than three fields takes the rest as empty). Entries
    // without a path are refused, duplicates are dropped (DroppedDuplicates counts them). On failure
    // LastError says which line is wrong and the queue is left as it was.
    [[nodiscard]] bool FromCsv(const std::string &bytes);
    // The outcome of the queue in the same form: title, server, path, exported, total, status and
    // return code of every entry, after a header line.
    std::string StatusCsv() const;
    [[nodiscard]] bool SaveToFile(const std::string &path) const;
    [[nodiscard]] bool LoadFromFile(const std::string &path);

    std::size_t DroppedDuplicates() const { return m_droppedDuplicates; }
    const std::string &LastError() const { return m_lastError; }

private:
    std::vector<NotesExportDatabase> m_entries;
    std::size_t m_droppedDuplicates = 0;
    mutable std::string m_lastError;
};

}  // namespace config
