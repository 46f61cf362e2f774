// Moving each view's exported documents into the destination folder.
#include "export/MoveToFolderStep.h"

#include "config/ExportSettings.h"
#include "log/LogManager.h"
#include "notes/NotesView.h"

namespace exporter {

bool MoveToFolderStep::FindFolder(RunContext &run) {
    if (run.settings.MoveToFolder && !m_move.Prepare(run.db, run.settings.MoveToFolderName)) {
        return Fail(m_move.LastError());
    }
    return true;
}

bool MoveToFolderStep::BeginView(RunContext &run) {
    if (!run.settings.MoveToFolder) {
        return true;
    }
    if (!m_move.BeginView()) {
        return Fail(m_move.LastError());
    }
    m_csv.SetHolding(true);
    return true;
}

StepOutcome MoveToFolderStep::Process(RunContext &run, DocumentContext &document) {
    if (run.settings.MoveToFolder && !m_move.Add(document.noteId)) {
        return EndRun(m_move.LastError());
    }
    return StepOutcome::kNext;
}

bool MoveToFolderStep::EndView(RunContext &run) {
    if (!run.settings.MoveToFolder) {
        return true;
    }
    NOTEID removeFromFolder = 0;
    if (run.view != nullptr) {
        bool isFolder = false;
        if (!run.view->IsFolder(isFolder)) {
            return Fail(run.view->LastError());
        }
        removeFromFolder = isFolder ? run.view->ViewNoteId() : 0;
    }
    const bool moved = m_move.EndView(removeFromFolder);
    m_csv.SetHolding(false);
    if (!moved && !Log(run, m_move.LastError() + "\n", logging::kLogLevelLow)) {
        return false;
    }
    if (!m_csv.WriteHeldRows(run.columns[ComputedColumn::kErrors],
                             moved ? std::string() : m_move.LastError())) {
        return Fail(m_csv.LastError());
    }
    return true;
}

}  // namespace exporter
