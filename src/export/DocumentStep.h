// One step of an export run's per-document pipeline, and the two records the steps share: what the
// run holds for its whole length (RunContext) and what one document carries from step to step
// (DocumentContext). The run calls every step in its fixed order; a step knows nothing of the others.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "export/DocumentErrors.h"
#include "export/LazyUniversalId.h"
#include "export/OutputNameRegistry.h"
#include "export/RunSetupChecks.h"
#include "notes/capi/NotesTypes.h"

namespace config {
class DatabaseExportProfile;
struct ExportSettings;
class OutputItems;
}  // namespace config

namespace logging {
class LogManager;
}

namespace notes {
class NotesFormula;
class NotesNote;
class NotesView;
}  // namespace notes

namespace exporter {

// Shared by all steps for the length of one run. Owned by the run; the references outlive every step.
struct RunContext {
    config::DatabaseExportProfile &profile;
    config::ExportSettings &settings;
    config::OutputItems &items;
    const ComputedColumns &columns;
    logging::LogManager &log;
    std::atomic<bool> &cancel;
    // The source database, open from preparation to the end of the view loop.
    DBHANDLE db = 0;
    // Files written by this run (per-document files, attachments): a later document's file of the same
    // name is numbered instead of replacing an earlier one.
    OutputNameRegistry &names;
    // The view, folder or query being walked.
    std::string viewName{};
    // The view or folder being walked; null while a query result or a supplied ID table is walked.
    notes::NotesView *view = nullptr;
    // The compiled attachment-path formula (DetachMethod 4 with attachments or OLE objects extracted);
    // null otherwise.
    notes::NotesFormula *attachmentFormula = nullptr;
};

// One document on its way through the pipeline. The run keeps one for each view, folder or query it
// walks (basePath is set then) and sets the other members afresh before the first step of each
// document; its text keeps its storage from document to document.
struct DocumentContext {
    notes::NotesNote &note;  // may have failed to open: steps that need it check note.IsOpen()
    NOTEID noteId = 0;
    long count = 0;                     // the document's running number in the run, from 1
    LazyUniversalId universalId{note};  // read through UniversalId()
    std::string basePath{};             // the run's current output directory
    DocumentErrors errors{};            // becomes the %Errors column
    // The values of the field, formula and note-value columns, evaluated once per document (see
    // DocumentValues.h) and shared by the Text/HTML file and the CSV row, so that rich text is rendered
    // and its images written only once.
    std::vector<std::string> columnValues{};
    bool columnsEvaluated = false;
    DocumentErrors renderErrors{};  // damaged rich-text items met while evaluating them
    std::string errorsText{};       // the %Errors column as ColumnValue last gave it
    // Written files are recorded on the note itself (note.ExtractedFiles()).

    const std::string &UniversalId() const { return universalId.Get(); }
};

// What the run does after a step's Process.
enum class StepOutcome {
    kNext,          // go on with the next step
    kSkipDocument,  // the document is not processed further (it still counts); the run goes on
    kEndRun,        // the run ends as failed with the step's LastError()
};

class DocumentStep {
public:
    virtual ~DocumentStep() = default;

    // Once per run, after the source database is open and the log is begun. False ends the run.
    [[nodiscard]] virtual bool Prepare(RunContext &run) {
        (void)run;
        return true;
    }
    // Before the first document of each view, folder or query.
    [[nodiscard]] virtual bool BeginView(RunContext &run) {
        (void)run;
        return true;
    }
    // One document.
    [[nodiscard]] virtual StepOutcome Process(RunContext &run, DocumentContext &document) = 0;
    // After the last document of each view, folder or query. False ends the run.
    [[nodiscard]] virtual bool EndView(RunContext &run) {
        (void)run;
        return true;
    }
    // After the view loop, on a run that was not cancelled after a document (the PDF phase). False ends
    // the run.
    [[nodiscard]] virtual bool FinishRun(RunContext &run) {
        (void)run;
        return true;
    }

    const std::string &LastError() const { return m_lastError; }

protected:
    // Records the reason and returns false, for the bool members.
    bool Fail(std::string text) {
        m_lastError = std::move(text);
        return false;
    }
    StepOutcome EndRun(std::string text) {
        m_lastError = std::move(text);
        return StepOutcome::kEndRun;
    }
    // Writes a log line when the log takes its level. A line that cannot be written is the step's
    // failure (the log's reason), so that the log is never cut without a word.
    [[nodiscard]] bool Log(RunContext &run, const std::string &line, int level);

private:
    std::string m_lastError;
};

}  // namespace exporter
