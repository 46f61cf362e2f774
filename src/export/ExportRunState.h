// The state of one export run while it runs, shared by the files that carry out its phases
// (preparation; the views, the documents and the ending). Private to the export run.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "config/DatabaseExportProfile.h"
#include "export/AttachmentNamesStep.h"
#include "export/CopyToDatabaseStep.h"
#include "export/CsvRowStep.h"
#include "export/DocumentStep.h"
#include "export/ExportRun.h"
#include "export/ExtractAttachmentsStep.h"
#include "export/FieldNameScanStep.h"
#include "export/ImageDirectoryStep.h"
#include "export/MoveToFolderStep.h"
#include "export/NoteViewFolderTable.h"
#include "export/OutputNameRegistry.h"
#include "export/RunSetupChecks.h"
#include "log/LogManager.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesFormula.h"
#include "notes/NotesNote.h"
#include "notes/NotesNoteCollection.h"
#include "notes/NotesView.h"

namespace exporter {

inline constexpr const char *kExportCancelled = "Export cancelled by user";
inline constexpr const char *kScanCancelled = "Scan cancelled by user";

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
          m_context{.profile = run.m_profile,
                    .settings = run.m_profile.Settings,
                    .items = run.m_profile.Settings.OutputItems,
                    .columns = m_columns,
                    .log = m_log,
                    .cancel = cancelFlag,
                    .names = m_names},
          m_csvRow(run.m_profile.Settings.CharacterEncoding),
          m_moveToFolder(m_csvRow.Summary()) {
        BuildPipeline();
    }

    ~State() { CleanUp(); }

    // The run, then the closing of everything it wrote to: a file or database that cannot be saved
    // turns the run into a failure.
    bool Execute() { return CloseOutputs(Steps()); }

private:
    struct ViewEntry {
        std::string name;
        NOTEID noteId = 0;  // the design note found by the include/exclude scan; 0: open by name
    };

    // The per-document steps in their fixed order; a field-name scan only collects item names.
    void BuildPipeline();

    // Appends a step that the run knows only through the pipeline, which owns it. A step added here
    // takes its option out of the options refused as unavailable (RunSetupChecks.cpp).
    template <typename Step, typename... Args>
    Step &Add(Args &&...args) {
        auto step = std::make_unique<Step>(std::forward<Args>(args)...);
        Step &added = *step;
        m_steps.push_back(step.get());
        m_ownedSteps.push_back(std::move(step));
        return added;
    }

    bool Steps();

    // Preparation: everything checked and opened before the first document.
    bool Prepare();
    void FindComputedColumns();

    // Every formula column compiles; the failures are listed, at most ten of them.
    bool CompileFormulaColumns();

    // The carriage-return rule first, then line feed; applied to field and formula columns only.
    void RegisterControlCharacterRules();

    // The source database: adopted from the caller, kept open, or opened.
    bool OpenSourceDatabase();

    DBHANDLE DbHandle() const { return m_db != nullptr ? m_db->Handle() : notes::kNullHandle; }

    // The views, folders or query to walk, from the selection method.
    bool BuildViewList();

    std::string QueryText() const { return m_settings.QueryAllDocs ? "SELECT @ALL" : m_settings.Query; }

    bool ResolveIncludeExclude();

    // OutputPath, and below it the view's cascading name as directory levels.
    void ComputeBasePath();

    // The log's first line and the profile's warnings.
    bool BeginLog();

    // Which views or folders hold each note.
    bool ScanDesign(bool folders);

    // F.1: the current note and view and the source database closed before the PDF phase. False when
    // the database cannot be saved.
    bool CloseSourceDatabase();
    // The failure text of a source database that cannot be saved when it is closed.
    std::string SaveFailure(const notes::NotesDatabase &source) const;

    // The cancel goes to the log on a line of its own, then becomes the run's reason.
    bool Cancelled(const char *text);

    // One entry of the view list.
    bool ExportView(const ViewEntry &view);
    bool WalkView(const ViewEntry &entry);
    bool WalkSearch(const std::string &query);
    bool WalkSuppliedTable();
    bool WalkCollection(notes::NotesNoteCollection &collection);

    // One phase of every step, in the pipeline's order; the first failure ends the run with its reason.
    bool EachStep(bool (DocumentStep::*phase)(RunContext &));

    // A log line that cannot be written ends the run rather than leave the log cut without a word.
    bool Log(const std::string &line, int level);

    // The record the steps share for the documents of one walk: reused from document to document,
    // so that its text keeps its storage.
    DocumentContext NewDocument(notes::NotesNote &note) const;

    // The per-document pipeline, in its fixed order.
    bool ProcessDocument(DocumentContext &document, NOTEID noteId, long position);

    // The document's place in the run, its universal ID and the errors met in opening it; the columns
    // the steps fill start empty, and those of the views and folders holding it are looked up.
    void BeginDocument(DocumentContext &document, NOTEID noteId);

    // The "processed" log line with the value of the log field.
    [[nodiscard]] bool LogProcessed(const notes::NotesNote &note);
    std::string DocumentStatus() const;

    // The totals of a run whose loop reached its end.
    bool Finish();

    // The part of the ending that can fail: the summary file is renamed over its final name on every orderly
    // ending (a file whose writing failed keeps its partial name), the databases the run changed are
    // saved and the log is closed. Each failure is added to the run's reason.
    bool CloseOutputs(bool succeeded);

    // The clean-up, reached on every path; what was never created is simply not there.
    // The note, views and databases were closed by CloseOutputs, which every path passes.
    void CleanUp();

    bool Fail(const std::string &text) {
        m_run.m_lastError = text;
        return false;
    }

    CsvSummary &Csv() { return m_csvRow.Summary(); }

    void SetProgress(long position, long range);
    void ShowStatus(const std::string &text);

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
    NoteViewFolderTable m_inViews;
    NoteViewFolderTable m_inFolders;
    logging::LogManager m_log;
    OutputNameRegistry m_names;
    RunContext m_context;

    // The steps of the pipeline, and the list that gives their order.
    AttachmentNamesStep m_attachmentNames;
    FieldNameScanStep m_fieldNames;
    CopyToDatabaseStep m_copy;
    ImageDirectoryStep m_imageDirectory;
    CsvRowStep m_csvRow;
    MoveToFolderStep m_moveToFolder;
    std::vector<std::unique_ptr<DocumentStep>> m_ownedSteps;
    std::vector<DocumentStep *> m_steps;

    std::unique_ptr<notes::NotesView> m_view;
    std::unique_ptr<notes::NotesNoteCollection> m_search;
    std::unique_ptr<notes::NotesNoteCollection> m_supplied;
    notes::NotesNote m_note;
};

}  // namespace exporter
