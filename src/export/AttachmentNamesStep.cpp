// The %Attach_Names column of each document.
#include "export/AttachmentNamesStep.h"

#include "config/ExportSettings.h"
#include "config/OutputItems.h"
#include "export/NoteItemScan.h"
#include "notes/NotesNote.h"

namespace exporter {

StepOutcome AttachmentNamesStep::Process(RunContext &run, DocumentContext &document) {
    const int names = run.columns[ComputedColumn::kAttachNames];
    if (names < 0) {
        return StepOutcome::kNext;
    }
    run.items.SetValue(names, document.note.IsOpen()
                                  ? NoteItemScan::AttachmentNames(document.note, run.settings.MVDelimiter)
                                  : std::string());
    return StepOutcome::kNext;
}

}  // namespace exporter
