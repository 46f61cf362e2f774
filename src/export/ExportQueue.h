// A multiple-database export: the pending entries of a queue exported one after another with one set of
// settings, each into a summary file (and optionally a directory) named after its database file.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>

#include "config/ExportSettings.h"
#include "config/NotesDatabaseList.h"

namespace notes {
class NotesSession;
}

namespace exporter {

// Where one queue entry's files go.
struct QueueEntryLocation {
    std::string outputPath;       // OutputPath of the entry's run
    std::string outputFile;       // OutputFile: the base name and ".csv"
    std::string summaryFilePath;  // SummaryFilePath: OutputPath and OutputFile
};

// The base name of a database path: after its last "\" or "/", without its last "." and what follows,
// made safe as a file name (never empty, ".", "..", nor holding a reserved character).
std::string QueueBaseName(const std::string &databasePath);
// outputPath: the chosen directory (one trailing separator is dropped); baseName as QueueBaseName
// gives it; subdirectory: each database in a directory of its own below outputPath.
QueueEntryLocation QueueLocation(const std::string &outputPath, const std::string &baseName,
                                 bool subdirectory);

class ExportQueue {
public:
    // Called after each entry's run, on the thread that runs the queue, with the entry's index.
    using EntryDone = std::function<void(std::size_t index)>;

    // queue: the entries, updated as they are exported; settings: copied into a record of its own for
    // every entry; the two location values as for QueueLocation.
    ExportQueue(config::NotesDatabaseList &queue, const config::ExportSettings &settings,
                std::string outputPath, bool subdirectory, bool showProgress = true);

    // Runs every entry not yet processed, in order, until the cancel flag is set (it is handed to each
    // export and also checked between them). An entry that fails is marked so and the queue goes on.
    // Two entries whose base names match (without regard to case) would write the same files: the later
    // one's base name gets "_2", "_3", ... . A log that each export would begin afresh is begun by the
    // first export of the call and continued by the others. Returns the number of entries that failed in
    // this call.
    std::size_t Run(notes::NotesSession &session, std::atomic<bool> &cancel, const EntryDone &done = {});

    // Index of the first entry that failed in the last Run, or -1.
    long FirstFailure() const { return m_firstFailure; }

private:
    config::NotesDatabaseList &m_queue;
    config::ExportSettings m_settings;
    std::string m_outputPath;
    bool m_subdirectory;
    bool m_showProgress;
    long m_firstFailure = -1;
};

}  // namespace exporter
