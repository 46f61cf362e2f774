// The %Attach_Names and %Has_OLE columns of each document.
#include "export/AttachmentNamesStep.h"

#include "config/ExportSettings.h"
#include "config/OutputItems.h"
#include "export/NoteItemScan.h"
#include "notes/NotesNote.h"

namespace exporter {

StepOutcome AttachmentNamesStep::Process(RunContext &run, DocumentContext &document) {
    const int names = run.columns[ComputedColumn::kAttachNames];
    const int hasOle = run.columns[ComputedColumn::kHasOle];
    if (names < 0 && hasOle < 0) {
        return StepOutcome::kNext;
    }
    if (!document.note.IsOpen()) {
        run.items.SetValue(names, {});
        run.items.SetValue(hasOle, {});
        return StepOutcome::kNext;
    }
    NoteAttachmentSummary summary = NoteItemScan::Attachments(document.note, run.settings.MVDelimiter);
    run.items.SetValue(names, std::move(summary.names));
    run.items.SetValue(hasOle, summary.hasOle ? "1" : "0");
    return StepOutcome::kNext;
}

}  // namespace exporter
