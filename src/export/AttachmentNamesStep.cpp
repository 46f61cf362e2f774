// %Attach_Names and %Has_OLE of one document.
#include "export/AttachmentNamesStep.h"

#include "config/ExportSettings.h"
#include "config/OutputItems.h"
#include "export/NoteItemScan.h"
#include "notes/NotesNote.h"

namespace exporter {

StepOutcome AttachmentNamesStep::Process(RunContext &run, DocumentContext &document) {
    // A walk over every item: only for the columns that show it.
    if (run.columns.attachNames < 0 && run.columns.hasOle < 0) {
        return StepOutcome::kNext;
    }
    if (!document.note.IsOpen()) {
        run.items.SetValue(run.columns.attachNames, "");
        run.items.SetValue(run.columns.hasOle, "");
        return StepOutcome::kNext;
    }
    NoteAttachmentSummary summary = NoteItemScan::Attachments(document.note, run.settings.MVDelimiter);
    run.items.SetValue(run.columns.attachNames, std::move(summary.names));
    run.items.SetValue(run.columns.hasOle, summary.hasOle ? "1" : "0");
    return StepOutcome::kNext;
}

}  // namespace exporter
