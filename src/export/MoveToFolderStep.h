// The step that collects each view's exported documents and, at the end of the view, puts them into
// the destination folder.
#pragma once

#include "export/CsvSummary.h"
#include "export/DocumentStep.h"
#include "export/MoveToFolder.h"

namespace exporter {

class MoveToFolderStep final : public DocumentStep {
public:
    // The CSV rows of a view are held back until its documents are moved, so that a failure to move
    // them still reaches their %Errors.
    explicit MoveToFolderStep(CsvSummary &csv) : m_csv(csv) {}

    // Finds the destination folder in the source database when MoveToFolder is set.
    [[nodiscard]] bool FindFolder(RunContext &run);
    // A fresh ID table for the view's documents; the view's CSV rows are held from now on.
    [[nodiscard]] bool BeginView(RunContext &run) override;
    // Records the document; a failure ends the run.
    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;
    // The view's documents are removed from the folder being exported (when it is one) and added to
    // the destination folder. A failure goes to the log and to the %Errors of the view's held rows,
    // which are written now; the run goes on.
    [[nodiscard]] bool EndView(RunContext &run) override;
    void Release() { m_move.Release(); }

private:
    CsvSummary &m_csv;
    MoveToFolder m_move;
};

}  // namespace exporter
