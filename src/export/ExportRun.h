// One export run: exports one Notes database according to one profile, or scans its documents for
// field names.
#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace config {
class DatabaseExportProfile;
}

namespace notes {
class NotesSession;
}

namespace exporter {

// Values of LastStatus after a run that returned false.
constexpr int kStatusNone = 0;
constexpr int kStatusDatabaseNotOpened = 1;  // the source database could not be opened
constexpr int kStatusNothingToExport = 2;    // no view or folder resolved, or the user cancelled

// Runs one export of a profile. The profile is borrowed for the run and outlives it; the caller reads
// the result, LastError, LastStatus, the totals and the found field names afterwards (they are also
// copied into the profile's run-time fields). Progress and status texts go through platform::Ui()
// when both showProgress and the profile's ShowProgress are set; nothing is shown otherwise.
// Selection method 0 takes the ID table and database handle the caller put in the profile's
// SuppliedIdTable and SuppliedDatabase.
//
// The cancel flag belongs to the caller (the dialog's Cancel button sets it from another thread): the
// run clears it once after its validation and polls it after every document, after every view, in
// every step of the views and folders scans and in every wait of the PDF phase. The PDF phase also sets
// it itself (a view the client cannot open, a time-out the user cancels); a cancel there stops the
// printing and the run still ends as successful.
class ExportRun {
public:
    explicit ExportRun(config::DatabaseExportProfile &profile, bool showProgress = true);
    ~ExportRun();
    ExportRun(const ExportRun &) = delete;
    ExportRun &operator=(const ExportRun &) = delete;

    // session: the running Notes session, lent for the run.
    // reuseOpenDatabase: keep the profile's source database when it is already open.
    // closeDatabase: close the source database at the end.
    // scanFieldNames: walk the same documents but only collect their item names (no files, no CSV,
    // no copy or move).
    // True when the loop ran to its end; false when validation failed, a fatal error stopped the run
    // or the user cancelled (LastError says why; it is empty after a cancel during the views scan).
    [[nodiscard]] bool Run(notes::NotesSession &session, std::atomic<bool> &cancelFlag,
                           bool reuseOpenDatabase, bool closeDatabase, bool scanFieldNames);

    const std::string &LastError() const { return m_lastError; }
    int LastStatus() const { return m_lastStatus; }
    // Documents finished by the loop (both advance together; the queue reads them).
    long ProcessedTotal() const { return m_processedTotal; }
    long ExportedTotal() const { return m_exportedTotal; }
    // Item names met by a field-name scan, each once, in the order first met.
    const std::vector<std::string> &FoundFieldNames() const { return m_foundFieldNames; }
    // The view, folder or query being (or last) walked.
    const std::string &CurrentViewName() const { return m_currentViewName; }
    // The status text shown last ("Total Exported %d :" + title after a successful run).
    const std::string &FinalStatusText() const { return m_statusText; }
    // The directory of the view being (or last) exported: OutputPath, and below it the view's cascading
    // name when CreateViewFolderHierarchy is set.
    const std::string &BasePath() const { return m_basePath; }

private:
    class State;

    config::DatabaseExportProfile &m_profile;
    bool m_showProgress;
    std::string m_lastError;
    int m_lastStatus = kStatusNone;
    long m_processedTotal = 0;
    long m_exportedTotal = 0;
    std::vector<std::string> m_foundFieldNames;
    std::string m_currentViewName;
    std::string m_statusText;
    std::string m_basePath;

    friend class State;
};

}  // namespace exporter
