// The step that fills %Attach_Names and %Has_OLE: the names of the document's file attachments, and
// whether it holds OLE objects.
#pragma once

#include "export/DocumentStep.h"

namespace exporter {

class AttachmentNamesStep final : public DocumentStep {
public:
    // The names joined with MVDelimiter; "1" when a "$FILE" item holds OLE storage or a byte array,
    // else "0". Both empty for a note that did not open. Only when a column is selected, as it takes a
    // walk over every item of the note.
    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;
};

}  // namespace exporter
