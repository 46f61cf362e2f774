// The image directory of each document's rich text.
#include "export/ImageDirectoryStep.h"

#include "config/DatabaseExportProfile.h"
#include "export/ImageDirectory.h"
#include "notes/NotesNote.h"

namespace exporter {

StepOutcome ImageDirectoryStep::Process(RunContext &run, DocumentContext &document) {
    if (document.note.IsOpen() && !PrepareImageDirectory(run.settings, document.basePath, document.count,
                                                         document.note, run.profile.RenderState)) {
        return StepOutcome::kSkipDocument;
    }
    return StepOutcome::kNext;
}

}  // namespace exporter
