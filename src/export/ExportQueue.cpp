// The multiple-database export run over a queue of databases.
#include "export/ExportQueue.h"

#include <algorithm>
#include <set>
#include <vector>

#include "config/DatabaseExportProfile.h"
#include "export/ExportRun.h"
#include "export/SanitizeFileName.h"
#include "platform/Paths.h"

namespace exporter {

namespace {

std::string LowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

// The base name of every entry, in queue order, made distinct: a database's files never overwrite those
// of another database of the same file name (two servers' copies, or two directories).
std::vector<std::string> DistinctBaseNames(const config::NotesDatabaseList &queue) {
    std::vector<std::string> names;
    std::set<std::string> taken;
    for (std::size_t i = 0; i < queue.Count(); ++i) {
        const std::string base = QueueBaseName(queue.Entry(i).path);
        std::string name = base;
        for (int n = 2; taken.count(LowerAscii(name)) != 0; ++n) {
            name = base + "_" + std::to_string(n);
        }
        taken.insert(LowerAscii(name));
        names.push_back(name);
    }
    return names;
}

}  // namespace

std::string QueueBaseName(const std::string &databasePath) {
    const std::size_t separator = databasePath.find_last_of("\\/");
    std::string name = separator == std::string::npos ? databasePath : databasePath.substr(separator + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    name = SanitizeFileName(name);
    return name.empty() ? "~" : name;
}

QueueEntryLocation QueueLocation(const std::string &outputPath, const std::string &baseName,
                                 bool subdirectory) {
    std::string directory = outputPath;
    if (directory.size() > 1 && (directory.back() == platform::kPathSeparator || directory.back() == '\\')) {
        directory.pop_back();
    }
    QueueEntryLocation location;
    location.outputPath = subdirectory ? platform::JoinPath(directory, baseName) : directory;
    location.outputFile = baseName + ".csv";
    location.summaryFilePath = platform::JoinPath(location.outputPath, location.outputFile);
    return location;
}

ExportQueue::ExportQueue(config::NotesDatabaseList &queue, const config::ExportSettings &settings,
                         std::string outputPath, bool subdirectory, bool showProgress)
    : m_queue(queue),
      m_settings(settings),
      m_outputPath(std::move(outputPath)),
      m_subdirectory(subdirectory),
      m_showProgress(showProgress) {}

std::size_t ExportQueue::Run(notes::NotesSession &session, std::atomic<bool> &cancel, const EntryDone &done) {
    m_firstFailure = -1;
    std::size_t failures = 0;
    const std::vector<std::string> baseNames = DistinctBaseNames(m_queue);
    bool logStarted = false;
    for (std::size_t i = 0; i < m_queue.Count() && !cancel.load(); ++i) {
        config::NotesExportDatabase &entry = m_queue.Entry(i);
        if (entry.processed) {
            continue;
        }
        config::DatabaseExportProfile profile;
        profile.Settings = m_settings;
        profile.ShowProgress = m_showProgress;
        profile.Settings.NSFSever = entry.server;
        profile.Settings.NSFFilePath = entry.path;
        const QueueEntryLocation location = QueueLocation(m_outputPath, baseNames[i], m_subdirectory);
        profile.Settings.OutputPath = location.outputPath;
        profile.Settings.OutputFile = location.outputFile;
        profile.Settings.SummaryFilePath = location.summaryFilePath;
        // One log file for the whole queue: a log begun afresh by the first export is continued by the
        // others, so the log of every database is kept.
        if (logStarted && profile.Settings.LogOpenMode == config::kLogOpenNew) {
            profile.Settings.LogOpenMode = config::kLogOpenAppend;
        }
        logStarted = true;
        bool succeeded = false;
        {
            ExportRun run(profile, m_showProgress);
            succeeded = run.Run(session, cancel, false, true, false);
            entry.exported = run.ExportedTotal();
            entry.total = run.ProcessedTotal();
            entry.status = succeeded ? "OK" : run.LastError();
        }
        if (!succeeded && entry.status.empty()) {
            entry.status = cancel.load() ? "Cancelled" : "Export failed";
        }
        entry.image = succeeded ? config::kQueueImageSucceeded : config::kQueueImageFailed;
        entry.returnCode = 0;
        entry.processed = true;
        if (!succeeded) {
            ++failures;
            if (m_firstFailure < 0) {
                m_firstFailure = static_cast<long>(i);
            }
        }
        if (done) {
            done(i);
        }
    }
    return failures;
}

}  // namespace exporter
