// One export run: preparation, the views and folders to walk, the per-document pipeline and the ending
// with its clean-up on every path.
#include "ExportRun.h"

#include <algorithm>
#include <memory>

#include "config/ComputedFieldCatalogue.h"
#include "config/DatabaseExportProfile.h"
#include "export/CopyToDatabase.h"
#include "export/CreateDirectoryPath.h"
#include "export/CsvSummary.h"
#include "export/DocumentErrors.h"
#include "export/ImageDirectory.h"
#include "export/MoveToFolder.h"
#include "export/NoteItemScan.h"
#include "export/NoteViewFolderTable.h"
#include "export/RunSetupChecks.h"
#include "export/SanitizeFileName.h"
#include "export/ViewNameFilter.h"
#include "log/LogManager.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesFormula.h"
#include "notes/NotesNote.h"
#include "notes/NotesNoteCollection.h"
#include "notes/NotesView.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"
#include "richtext/NotesItem.h"

namespace exporter {

namespace {

constexpr const char *kExportCancelled = "Export cancelled by user";
constexpr const char *kScanCancelled = "Scan cancelled by user";
constexpr int kMaxFormulaErrors = 10;

}  // namespace

// The state of one call of Run; its destructor is the clean-up that every path reaches.
class ExportRun::State {
public:
    State(ExportRun &run, std::atomic<bool> &cancelFlag, bool reuseOpenDatabase, bool closeDatabase,
          bool scanFieldNames)
        : m_run(run),
          m_profile(run.m_profile),
          m_settings(run.m_profile.Settings),
          m_items(run.m_profile.Settings.OutputItems),
          m_cancel(cancelFlag),
          m_reuseOpenDatabase(reuseOpenDatabase),
          m_closeDatabase(closeDatabase),
          m_scan(scanFieldNames),
          m_csv(run.m_profile.Settings.CharacterEncoding) {}

    ~State() { CleanUp(); }

    // The run, then the closing of everything it wrote to: a file or database that cannot be saved
    // turns the run into a failure.
    bool Execute() { return CloseOutputs(Steps()); }

private:
    struct ViewEntry {
        std::string name;
        NOTEID noteId = 0;  // the design note found by the include/exclude scan; 0: open by name
    };

    bool Steps() {
        if (!Prepare()) {
            return false;
        }
        for (const ViewEntry &entry : m_viewList) {
            if (!ExportView(entry)) {
                return false;
            }
            if (m_cancel.load()) {
                if (!Log(logging::LogManager::CancelledLine(kExportCancelled), logging::kLogLevelLow)) {
                    return false;
                }
                break;
            }
        }
        return Finish();
    }

    // A. Preparation.
    bool Prepare() {
        FindComputedColumns();
        m_csv.SetEncoding(m_settings.CharacterEncoding);
        if (m_run.m_showProgress) {
            SetProgress(0, 1);
            ShowStatus("");
        }
        if (!CompileFormulaColumns()) {
            return false;
        }
        RegisterControlCharacterRules();
        if (!OpenSourceDatabase()) {
            return false;
        }
        if (m_run.m_showProgress) {
            m_title = m_db->Title();
            ShowStatus(m_title);
        }
        if (m_settings.MoveToFolder && !m_move.Prepare(DbHandle(), m_settings.MoveToFolderName)) {
            return Fail(m_move.LastError());
        }
        if (!BuildViewList()) {
            return false;
        }
        // Pipeline steps this version does not have are refused before anything is written, rather than
        // silently skipped. A field-name scan never reaches them.
        if (!m_scan) {
            const std::string option = UnavailableOption(m_settings);
            if (!option.empty()) {
                return Fail("Export cancelled. The option " + option + " is not available in this version.");
            }
        }
        if (m_settings.CopyDataToDb) {
            m_copyTo = std::make_unique<CopyToDatabase>();
            if (!m_copyTo->Open(m_settings.CopyDataToDbServer, m_settings.CopyDataToDbFilename)) {
                return Fail(m_copyTo->LastError());
            }
        }
        m_cancel.store(false);
        ComputeBasePath();
        const std::string conflict = OutputPathConflict(m_settings, m_settings.CreateCSV && !m_scan);
        if (!conflict.empty()) {
            return Fail(conflict);
        }
        if (m_settings.CreateCSV && !m_scan && !OpenSummaryFile()) {
            return false;
        }
        if (!BeginLog()) {
            return false;
        }
        if (m_columns.inViews >= 0 && !ScanDesign(false)) {
            return false;
        }
        if (m_columns.inFolders >= 0 && !ScanDesign(true)) {
            return false;
        }
        return PrepareAttachmentFormula();
    }

    void FindComputedColumns() {
        m_columns.Find(m_items);
        // Values the run sets start empty, whatever an earlier run on this profile left in them.
        for (std::size_t i = 0; i < m_items.Count(); ++i) {
            if (m_items.Item(i).Kind() == config::kItemEngineValue) {
                m_items.Item(i).SetValue({});
            }
        }
    }

    // A.4: every formula column compiles; the failures are listed, at most ten of them.
    bool CompileFormulaColumns() {
        const std::string errors = m_items.FormulaFailures(kMaxFormulaErrors);
        return errors.empty() || Fail("Export cancelled. Error found in formula(s)\n\n" + errors);
    }

    // A.5: carriage-return rule first, then line feed; applied to field and formula columns only.
    void RegisterControlCharacterRules() {
        m_items.ClearReplacements();
        m_items.SetControlCharReplacements(
            m_settings.ControlCharCarrigeReturnOption, m_settings.CarrigeReturnReplaceString,
            m_settings.ControlCharLineFeedOption, m_settings.LineFeedReplaceString);
        const config::ReplaceControl *pairs = m_items.Replacements();
        m_csv.SetReplacements(pairs != nullptr ? pairs->Pairs()
                                               : std::vector<std::pair<std::string, std::string>>{});
    }

    // A.6
    bool OpenSourceDatabase() {
        if (m_settings.SelectMethod == config::kSelectIdTable) {
            // The caller's database is only borrowed: never opened or closed here.
            if (m_profile.SuppliedDatabase == notes::kNullHandle ||
                m_profile.SuppliedIdTable == notes::kNullHandle) {
                return Fail("No documents were supplied to export.");
            }
            m_callerDb.Adopt(m_profile.SuppliedDatabase);
            m_db = &m_callerDb;
            return true;
        }
        auto &source = m_profile.SourceDatabase;
        if (m_profile.DatabaseSupplied) {
            source = std::make_shared<notes::NotesDatabase>();
            source->Adopt(m_profile.SuppliedDatabase);
            m_db = source.get();
            return true;
        }
        if (m_reuseOpenDatabase && source != nullptr && source->IsOpen()) {
            m_db = source.get();
            return true;
        }
        source = std::make_shared<notes::NotesDatabase>();
        if (!source->Open(m_settings.NSFSever, m_settings.NSFFilePath)) {
            const std::string server = m_settings.NSFSever.empty() ? "Local" : m_settings.NSFSever;
            m_run.m_lastStatus = kStatusDatabaseNotOpened;
            const std::string reason = source->LastError();
            source.reset();
            return Fail("Unable to open database \"" + m_settings.NSFFilePath + "\" on server \"" + server +
                        "\" for reason:" + reason);
        }
        m_db = source.get();
        return true;
    }

    DBHANDLE DbHandle() const { return m_db != nullptr ? m_db->Handle() : notes::kNullHandle; }

    // A.9 and B.
    bool BuildViewList() {
        switch (m_settings.SelectMethod) {
            case config::kSelectIdTable:
            case config::kSelectView:
                if (!m_settings.ViewName.empty()) {
                    m_viewList.push_back({m_settings.ViewName, 0});
                }
                break;
            case config::kSelectViews:
                if (!ResolveIncludeExclude()) {
                    return false;
                }
                break;
            case config::kSelectQuery:
                m_viewList.push_back({QueryText(), 0});
                break;
            default:
                return Fail(
                    "Full text search is not supported as a Selection Method. Please choose a Selection "
                    "Method of 'View/Fld', 'View(s)/Fld(s)' or 'Query'.");
        }
        const bool byView =
            m_settings.SelectMethod == config::kSelectView || m_settings.SelectMethod == config::kSelectViews;
        if (byView && m_viewList.empty()) {
            m_run.m_lastStatus = kStatusNothingToExport;
            return Fail(m_scan ? "Please select a view or folder to scan before continuing."
                               : "No Views or Folders to export");
        }
        if (m_settings.SelectMethod == config::kSelectQuery && m_settings.CreatePdfs) {
            return Fail(
                "PDF export not supported in 'Query' mode or 'All Docs' mode. Please choose a Selection "
                "Method "
                "of 'View/Fld' or 'View(s)/Fld(s)'.");
        }
        return true;
    }

    std::string QueryText() const { return m_settings.QueryAllDocs ? "SELECT @ALL" : m_settings.Query; }

    bool ResolveIncludeExclude() {
        notes::NotesDesignColl design;
        if (!m_db->DesignList(notes::kNoteClassView, 0, false, 2, design)) {
            return Fail(design.LastError());
        }
        const ViewNameFilter filter(m_settings.IncludeViewFolderNames, m_settings.ExcludeViewFolderNames);
        for (const auto &element : design) {
            std::string name = ViewNameFromTitle(element.Title());
            if (filter.Takes(name)) {
                m_viewList.push_back({std::move(name), element.NoteId()});
            }
        }
        return true;
    }

    // C: OutputPath, and below it the view's cascading name as directory levels.
    void ComputeBasePath() {
        std::string base = m_settings.OutputPath;
        if (m_settings.CreateViewFolderHierarchy) {
            const std::string levels =
                RelativeDirectoryPath(SanitizeFileName(m_profile.CurrentViewName, kReservedWithoutBackslash));
            if (!levels.empty()) {
                base = platform::JoinPath(base, levels);
            }
        }
        if (!base.empty()) {
            const std::string created = CreateDirectoryPath(base);
            if (!created.empty()) {
                base = created;
            }
        }
        m_run.m_basePath = base;
    }

    // A.13
    bool OpenSummaryFile() {
        if (!m_csv.Open(m_settings.SummaryFilePath)) {
            return Fail(m_csv.LastError());
        }
        if (!m_settings.WriteFieldHeaders) {
            return true;
        }
        std::vector<std::string> titles;
        for (std::size_t i = 0; i < m_items.Count(); ++i) {
            titles.push_back(m_items.Item(i).Name());
        }
        if (!m_csv.WriteHeader(titles, m_settings.Delimiter, m_settings.DoubleQuotes)) {
            return Fail(m_csv.LastError());
        }
        return true;
    }

    // A.14
    bool BeginLog() {
        m_log.Configure(m_settings.LogExport, m_settings.LogLevel, m_settings.LogOpenMode,
                        m_settings.LogFileName, m_settings.LogFieldName);
        if (!m_settings.LogExport) {
            return true;
        }
        if (!m_log.Open() || !m_log.WriteBegin()) {
            return Fail(m_log.LastError());
        }
        for (const std::string &warning : m_profile.Warnings()) {
            if (!Log(warning + "\n", logging::kLogLevelLow)) {
                return false;
            }
        }
        return true;
    }

    // A.15 (views) and A.16 (folders): which views or folders hold each note.
    bool ScanDesign(bool folders) {
        NoteViewFolderTable &table = folders ? m_inFolders : m_inViews;
        notes::NotesDesignColl design;
        if (!m_db->DesignList(notes::kNoteClassView, 'F', folders, 2, design)) {
            return true;  // nothing to scan
        }
        for (const auto &element : design) {
            if (m_cancel.load()) {
                return Cancelled(kExportCancelled);  // either scan: never an empty reason
            }
            const std::string name = ViewNameFromTitle(element.Title());
            notes::NotesView view;
            if (!view.OpenById(m_db->Handle(), element.NoteId(), name)) {
                continue;
            }
            if (!Log(folders ? logging::LogManager::ScanningFolderLine(name)
                             : logging::LogManager::ScanningViewLine(name),
                     logging::kLogLevelLow)) {
                return false;
            }
            if (m_run.m_showProgress) {
                ShowStatus((folders ? "Scanning Folders. Folder:" : "Scanning Views. View:") + name);
            }
            table.MarkScanned();
            for (NOTEID id = view.First(); id != 0; id = view.Next()) {
                table.Record(id, name);
                if (m_cancel.load()) {
                    return Cancelled(kExportCancelled);  // either scan: never an empty reason
                }
            }
        }
        return true;
    }

    // The cancel goes to the log on a line of its own, then becomes the run's reason.
    bool Cancelled(const char *text) {
        return Log(logging::LogManager::CancelledLine(text), logging::kLogLevelLow) && Fail(text);
    }

    // A.17
    bool PrepareAttachmentFormula() {
        const bool extracting = m_settings.ExtractAttachments || m_settings.ExtractOle;
        if (m_settings.DetachMethod != config::kDetachToFormulaDirectory || !extracting) {
            return true;
        }
        if (m_settings.DetachMethodEvalString.empty()) {
            return Fail("Error with Attachment Path Lotus Notes Formula");
        }
        m_attachmentFormula = std::make_unique<notes::NotesFormula>(m_settings.DetachMethodEvalString);
        if (!m_attachmentFormula->Compile()) {
            return Fail("Compile Error for Attachment Path Lotus Notes Formula");
        }
        return true;
    }

    // D. One entry of the view list.
    bool ExportView(const ViewEntry &view) {
        const std::string &entry = view.name;
        m_profile.CurrentViewName = entry;
        m_run.m_currentViewName = entry;
        if (!m_scan && m_settings.MoveToFolder && !m_move.BeginView()) {
            return Fail(m_move.LastError());
        }
        if (!m_scan && !Log(logging::LogManager::ExportingViewLine(entry), logging::kLogLevelMedium)) {
            return false;
        }
        m_csv.SetHolding(!m_scan && m_settings.MoveToFolder);
        if (!m_scan && m_settings.CreateViewFolderHierarchy) {
            ComputeBasePath();
        }
        switch (m_settings.SelectMethod) {
            case config::kSelectView:
            case config::kSelectViews:
                if (!WalkView(view)) {
                    return false;
                }
                break;
            case config::kSelectQuery:
                if (!WalkSearch(entry)) {
                    return false;
                }
                break;
            default:
                if (!WalkSuppliedTable()) {
                    return false;
                }
                break;
        }
        return true;
    }

    bool WalkView(const ViewEntry &entry) {
        const std::string &name = entry.name;
        m_view = std::make_unique<notes::NotesView>();
        const bool opened = entry.noteId != 0 ? m_view->OpenById(DbHandle(), entry.noteId, name)
                                              : m_db->OpenViewInto(*m_view, name);
        if (!opened) {
            return Fail(entry.noteId != 0 ? m_view->LastError() : m_db->LastError());
        }
        m_items.SetValue(m_columns.viewName, name);
        // The range is the view's entry count from the start; an empty view shows an empty range.
        DWORD entries = 0;
        if (!m_view->EntryCount(entries)) {
            return Fail(m_view->LastError());
        }
        SetProgress(0, static_cast<long>(entries));
        for (NOTEID id = m_view->First(); id != 0; id = m_view->Next()) {
            (void)m_note.Open(DbHandle(), id, true);
            if (!ProcessDocument(m_note, id, m_view->EntriesPassed())) {
                return false;
            }
        }
        // A read that failed part way would otherwise pass for the end of the view.
        if (m_view->LastStatus() != 0) {
            return Fail(m_view->LastError());
        }
        if (!m_scan && m_settings.MoveToFolder) {
            bool isFolder = false;
            if (!m_view->IsFolder(isFolder)) {
                return Fail(m_view->LastError());
            }
            if (!EndMove(isFolder ? m_view->ViewNoteId() : 0)) {
                return false;
            }
        }
        m_view.reset();
        return true;
    }

    bool WalkSearch(const std::string &query) {
        m_search = m_db->SearchToCollection(query);
        if (m_search == nullptr) {
            return Fail(m_db->LastError());
        }
        m_items.SetValue(m_columns.viewName, query);
        if (!WalkCollection(*m_search)) {
            return false;
        }
        if (!m_scan && m_settings.MoveToFolder && !EndMove(0)) {
            return false;
        }
        m_search.reset();
        return true;
    }

    bool WalkSuppliedTable() {
        m_supplied = std::make_unique<notes::NotesNoteCollection>();
        m_supplied->Attach(m_profile.SuppliedDatabase, m_profile.SuppliedIdTable);
        if (!WalkCollection(*m_supplied)) {
            return false;
        }
        if (!m_scan && m_settings.MoveToFolder && !EndMove(0)) {
            return false;
        }
        m_supplied.reset();
        return true;
    }

    bool WalkCollection(notes::NotesNoteCollection &collection) {
        SetProgress(0, static_cast<long>(collection.Count()));
        for (bool more = collection.First(); more; more = collection.Next()) {
            if (!ProcessDocument(collection.Current(), collection.CurrentId(), collection.Visited())) {
                return false;
            }
        }
        return true;
    }

    // D.8: the view's documents into the destination folder. A failure goes to the log and to the
    // %Errors of the view's rows, held back until now for it; the run goes on.
    bool EndMove(NOTEID removeFromFolder) {
        const bool moved = m_move.EndView(removeFromFolder);
        m_csv.SetHolding(false);
        if (!moved && !Log(m_move.LastError() + "\n", logging::kLogLevelLow)) {
            return false;
        }
        if (!m_csv.WriteHeldRows(m_columns.errors, moved ? std::string() : m_move.LastError())) {
            return Fail(m_csv.LastError());
        }
        return true;
    }

    // A log line that cannot be written ends the run rather than leave the log cut without a word.
    bool Log(const std::string &line, int level) {
        if (!m_log.Accepts(level) || m_log.Write(line, level)) {
            return true;
        }
        return Fail(m_log.LastError());
    }

    // E. The per-document pipeline, in its fixed order.
    bool ProcessDocument(notes::NotesNote &note, NOTEID noteId, long position) {
        const bool open = note.IsOpen();
        ++m_count;
        m_items.SetValue(m_columns.count, std::to_string(m_count));
        if (m_columns.attachNames >= 0) {  // a walk over every item: only for the column that shows it
            m_items.SetValue(m_columns.attachNames,
                             open ? NoteItemScan::AttachmentNames(note, m_settings.MVDelimiter) : "");
        }
        if (!Log(logging::LogManager::ProcessingDocumentLine(m_count), logging::kLogLevelMedium)) {
            note.Close();
            return false;
        }

        DocumentErrors errors;
        for (const auto &record : note.ErrorRecords()) {
            errors.Append(record);
        }
        errors.Append(note.ErrorText());

        if (!m_scan && m_copyTo != nullptr && open && !m_copyTo->Copy(note)) {
            errors.Append(m_copyTo->LastError());
        }

        if (!m_scan && open &&
            !PrepareImageDirectory(m_settings, m_run.m_basePath, m_count, note, m_profile.RenderState)) {
            note.Close();
            return true;  // the document is not processed further
        }
        if (m_scan) {
            if (open) {
                AddFoundFieldNames(note);
            }
        } else {
            m_items.SetValue(m_columns.extractedNames, "");
            m_items.SetValue(m_columns.textFile, "");
            m_items.SetValue(m_columns.rtfFile, "");
            m_items.SetValue(m_columns.otherFile, "");
            if (m_inViews.Scanned()) {
                m_items.SetValue(m_columns.inViews, m_inViews.NamesOf(noteId));
            }
            if (m_inFolders.Scanned()) {
                m_items.SetValue(m_columns.inFolders, m_inFolders.NamesOf(noteId));
            }
            m_items.SetValue(m_columns.errors, errors.Text());
            if (m_settings.CreateCSV && !WriteRow(note)) {
                note.Close();
                return Fail(m_csv.LastError());
            }
            if (m_settings.MoveToFolder && !m_move.Add(noteId)) {
                note.Close();
                return Fail(m_move.LastError());
            }
        }

        if (!LogProcessed(note)) {
            note.Close();
            return false;
        }
        ++m_profile.ProcessedTotal;
        ++m_profile.ExportedTotal;
        if (m_run.m_showProgress) {
            SetProgress(position, m_range);
            m_lastDocumentStatus = DocumentStatus();
            ShowStatus(m_lastDocumentStatus);
        }
        note.Close();
        if (m_cancel.load()) {
            m_run.m_lastStatus = kStatusNothingToExport;
            return Cancelled(m_scan ? kScanCancelled : kExportCancelled);
        }
        return true;
    }

    void AddFoundFieldNames(const notes::NotesNote &note) {
        auto &found = m_profile.FoundFieldNames;
        for (auto &name : NoteItemScan::ItemNames(note)) {
            if (std::find(found.begin(), found.end(), name) == found.end()) {
                found.push_back(std::move(name));
            }
        }
    }

    [[nodiscard]] bool WriteRow(notes::NotesNote &note) {
        m_cells.resize(m_items.Count());  // kept from row to row: no allocation per row
        DocumentErrors renderErrors;
        for (std::size_t i = 0; i < m_items.Count(); ++i) {
            config::OutputItem &item = m_items.Item(i);
            const int kind = item.Kind();
            CsvCell &cell = m_cells[i];
            cell.applyReplacements = kind == config::kItemField || kind == config::kItemFormula;
            if (kind == config::kItemEngineValue) {
                cell.value = item.Value();
            } else if (note.IsOpen()) {
                std::string error;
                cell.value = item.Evaluate(note, m_settings.MVDelimiter, &m_settings.RtfAdvanced,
                                           &m_profile.RenderState, &error);
                renderErrors.Append(error);
            } else {
                cell.value.clear();
            }
        }
        if (m_columns.errors >= 0) {  // a damaged rich-text item joins the document's other errors
            renderErrors.AppendTo(m_cells[static_cast<std::size_t>(m_columns.errors)].value);
        }
        return m_csv.WriteRow(m_cells, m_settings.Delimiter, m_settings.DoubleQuotes);
    }

    // E.15
    [[nodiscard]] bool LogProcessed(const notes::NotesNote &note) {
        if (!m_log.Accepts(logging::kLogLevelLow)) {
            return true;
        }
        if (logging::LogManager::IsNoFieldName(m_settings.LogFieldName)) {
            return Log(logging::LogManager::ProcessedDocumentLineWithoutField(m_count),
                       logging::kLogLevelLow);
        }
        std::string value;
        if (note.IsOpen() && !m_settings.LogFieldName.empty()) {
            value = richtext::NotesItem::Render(note, m_settings.LogFieldName, ";", nullptr).text;
        }
        return Log(logging::LogManager::ProcessedDocumentLine(m_count, value), logging::kLogLevelLow);
    }

    std::string DocumentStatus() const {
        const std::string count = std::to_string(m_count);
        if (m_scan) {
            return "Scanned " + count + " :" + m_title;
        }
        if (m_settings.SelectMethod == config::kSelectIdTable) {
            return "Exported " + count + " :" + m_title;
        }
        return "Exported " + count + ":" + m_title;
    }

    // F.1 and F.2
    bool Finish() {
        const std::string count = std::to_string(m_count);
        m_run.m_statusText = (m_scan ? "Total Scanned " : "Total Exported ") + count + " :" + m_title;
        m_succeeded = true;
        return true;
    }

    // F.3, the part that can fail: the summary file is renamed over its final name on every orderly
    // ending (a file whose writing failed keeps its partial name), the databases the run changed are
    // saved and the log is closed. Each failure is added to the run's reason.
    bool CloseOutputs(bool succeeded) {
        bool result = succeeded;
        const auto failure = [this, &result](const std::string &text) {
            m_run.m_lastError = result ? text : m_run.m_lastError + "\n" + text;
            result = false;
        };
        if (!m_csv.Finish(m_columns.errors)) {
            failure(m_csv.LastError());
        }
        if (m_copyTo != nullptr && !m_copyTo->Close()) {
            failure(m_copyTo->LastError());
        }
        m_note.Close();
        m_view.reset();
        m_search.reset();
        m_supplied.reset();
        const auto &source = m_profile.SourceDatabase;
        if (m_settings.SelectMethod != config::kSelectIdTable && m_closeDatabase && source != nullptr &&
            !source->CloseChecked()) {
            failure("Unable to save database \"" + m_settings.NSFFilePath +
                    "\". Error: " + source->LastError());
        }
        if (!m_log.Close()) {
            failure(m_log.LastError());
        }
        m_succeeded = result;
        return result;
    }

    // F.3: reached on every path; what was never created is simply not there.
    // The note, views and databases were closed by CloseOutputs, which every path passes.
    void CleanUp() {
        m_attachmentFormula.reset();
        if (m_settings.SelectMethod != config::kSelectIdTable && m_closeDatabase) {
            m_profile.SourceDatabase.reset();
        }
        m_callerDb.Close();
        m_db = nullptr;
        m_copyTo.reset();
        m_move.Release();
        if (m_run.m_showProgress) {
            SetProgress(0, m_range);
            if (!m_succeeded) {
                m_run.m_statusText = m_lastDocumentStatus;
            }
            ShowStatus(m_run.m_statusText);
        }
    }

    bool Fail(const std::string &text) {
        m_run.m_lastError = text;
        return false;
    }

    void SetProgress(long position, long range) {
        m_range = range;
        if (m_run.m_showProgress) {
            platform::Ui().Progress(position, range);
        }
    }

    void ShowStatus(const std::string &text) {
        if (m_run.m_showProgress) {
            platform::Ui().Status(text);
        }
    }

    ExportRun &m_run;
    config::DatabaseExportProfile &m_profile;
    config::ExportSettings &m_settings;
    config::OutputItems &m_items;
    std::atomic<bool> &m_cancel;
    bool m_reuseOpenDatabase;
    bool m_closeDatabase;
    bool m_scan;
    bool m_succeeded = false;

    int m_count = 0;
    long m_range = 1;
    std::string m_title;
    std::string m_lastDocumentStatus;
    std::vector<ViewEntry> m_viewList;

    ComputedColumns m_columns;

    notes::NotesDatabase *m_db = nullptr;
    notes::NotesDatabase m_callerDb;
    std::unique_ptr<CopyToDatabase> m_copyTo;
    MoveToFolder m_move;
    NoteViewFolderTable m_inViews;
    NoteViewFolderTable m_inFolders;
    std::unique_ptr<notes::NotesFormula> m_attachmentFormula;
    CsvSummary m_csv;
    std::vector<CsvCell> m_cells;
    logging::LogManager m_log;

    std::unique_ptr<notes::NotesView> m_view;
    std::unique_ptr<notes::NotesNoteCollection> m_search;
    std::unique_ptr<notes::NotesNoteCollection> m_supplied;
    notes::NotesNote m_note;
};

ExportRun::ExportRun(config::DatabaseExportProfile &profile, bool showProgress)
    : m_profile(profile), m_showProgress(showProgress && profile.ShowProgress) {}

ExportRun::~ExportRun() = default;

bool ExportRun::Run(notes::NotesSession &session, std::atomic<bool> &cancelFlag, bool reuseOpenDatabase,
                    bool closeDatabase, bool scanFieldNames) {
    m_profile.Session = &session;
    m_lastError.clear();
    m_lastStatus = m_profile.LastStatus;
    m_statusText.clear();
    m_basePath.clear();
    m_profile.FoundFieldNames.clear();
    bool result = false;
    {
        State state(*this, cancelFlag, reuseOpenDatabase, closeDatabase, scanFieldNames);
        result = state.Execute();
    }
    m_profile.SetLastError(m_lastError);
    m_profile.LastStatus = m_lastStatus;
    m_processedTotal = m_profile.ProcessedTotal;
    m_exportedTotal = m_profile.ExportedTotal;
    m_foundFieldNames = m_profile.FoundFieldNames;
    m_currentViewName = m_profile.CurrentViewName;
    return result;
}

}  // namespace exporter
