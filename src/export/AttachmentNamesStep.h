// The step that fills %Attach_Names: the names of the document's file attachments. (%Has_OLE is a value
// of the note that the column computes itself.)
#pragma once

#include "export/DocumentStep.h"

namespace exporter {

class AttachmentNamesStep final : public DocumentStep {
public:
    // The names joined with MVDelimiter; empty for a note that did not open. Only when the column is
    // selected, as it takes a walk over the note's "$FILE" items.
    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;
};

}  // namespace exporter
