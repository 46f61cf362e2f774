// Collecting the item names met by a field-name scan.
#include "export/FieldNameScanStep.h"

#include <algorithm>

#include "config/DatabaseExportProfile.h"
#include "export/NoteItemScan.h"
#include "notes/NotesNote.h"

namespace exporter {

StepOutcome FieldNameScanStep::Process(RunContext &run, DocumentContext &document) {
    if (!document.note.IsOpen()) {
        return StepOutcome::kNext;
    }
    auto &found = run.profile.FoundFieldNames;
    for (auto &name : NoteItemScan::ItemNames(document.note)) {
        if (std::find(found.begin(), found.end(), name) == found.end()) {
            found.push_back(std::move(name));
        }
    }
    return StepOutcome::kNext;
}

}  // namespace exporter
