// The export run's PDF step: during the loop it queues every open document of every view for a PDF
// file (its universal ID and the file's path, under a marker naming the view); after the loop it runs
// the PDF phase over the queue.
#pragma once

#include "export/DocumentStep.h"
#include "export/PdfPhase.h"

namespace exporter {

class PdfStep : public DocumentStep {
public:
    // showProgress: the phase shows its progress and status texts.
    explicit PdfStep(bool showProgress);

    // The view's marker and name.
    [[nodiscard]] bool BeginView(RunContext &run) override;
    // An open document's universal ID and PDF path (a name from a field value numbered when an earlier
    // file of the run has it); %OF_Name becomes that path.
    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;
    // The PDF phase, in the Notes runtime the run works in. Its own failures (a view the client cannot
    // open, a time-out the user cancels) set the cancel flag but never fail the run.
    [[nodiscard]] bool FinishRun(RunContext &run) override;

private:
    bool m_showProgress;
    PdfWorkLists m_lists;
};

}  // namespace exporter
