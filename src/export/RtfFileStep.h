// The RTF file step of the per-document pipeline: the whole document, or one of its fields, as an RTF
// file through the Notes RTF export filter.
#pragma once

#include "export/DocumentStep.h"

namespace exporter {

class RtfFileStep : public DocumentStep {
public:
    // With CreateRTFs and an open note: names the file, exports it (RtfSource 0 the whole document,
    // 1 the field RtfSourceFieldName, any other value no file), moves what the export recorded on the
    // note into the document's errors, and sets %RTF_Name (empty when no file exists) and the file's
    // last-write time.
    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;
};

}  // namespace exporter
