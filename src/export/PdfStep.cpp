// Queueing documents for PDF files during the export loop, and the PDF phase after it.
#include "PdfStep.h"

#include "config/ExportSettings.h"
#include "config/OutputItems.h"
#include "export/DocumentFileName.h"
#include "log/LogManager.h"
#include "notes/NotesApi.h"
#include "notes/NotesNote.h"

namespace exporter {

PdfStep::PdfStep(bool showProgress) : m_showProgress(showProgress) {}

bool PdfStep::BeginView(RunContext &run) {
    // The client opens views and folders by name; a query result or a supplied ID table has none.
    const int method = run.settings.SelectMethod;
    if (method != config::kSelectView && method != config::kSelectViews) {
        return true;
    }
    m_lists.work.emplace_back(PdfWorkLists::kViewMarker);
    m_lists.names.push_back(run.viewName);
    return true;
}

StepOutcome PdfStep::Process(RunContext &run, DocumentContext &document) {
    if (!document.note.IsOpen()) {
        return StepOutcome::kNext;
    }
    const DocumentFileNaming naming = PdfFileNaming(run.settings);
    std::string error;
    std::string path = DocumentFileName(document.note, naming, document.basePath, document.count, &error);
    document.errors.Append(error);
    // A name from a field value that an earlier document's file has is numbered, not replaced.
    if (!ClaimDocumentFileName(run, naming, "PDF", path)) {
        return EndRun(run.log.LastError());
    }
    ++m_lists.count;
    m_lists.work.push_back(document.UniversalId());
    run.items.SetValue(run.columns[ComputedColumn::kOtherFile], path);
    m_lists.names.push_back(std::move(path));
    return StepOutcome::kNext;
}

bool PdfStep::FinishRun(RunContext &run) {
    PdfPhase phase(run.settings, run.cancel, m_showProgress);
    phase.Run(m_lists, notes::Api().libraryPath);
    return true;
}

}  // namespace exporter
