// The step that fills the %Attach_Names and %Has_OLE columns from the note's "$FILE" items.
#pragma once

#include "export/DocumentStep.h"

namespace exporter {

class AttachmentNamesStep : public DocumentStep {
public:
    // %Attach_Names: the stored names of the note's files joined with MVDelimiter; %Has_OLE: "1" when a
    // "$FILE" item holds OLE storage or a byte array, else "0". Both empty for a note that is not open.
    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;
};

}  // namespace exporter
