// The steps that write a document's file attachments and its OLE objects into the directory chosen by
// DetachMethod, and report what they wrote in %Extr_Att_Names, %Errors and the log.
#pragma once

#include <memory>

#include "export/AttachmentDirectory.h"
#include "export/DocumentStep.h"

namespace exporter {

// With ExtractAttachments, for an open note that has at least one file attachment.
class ExtractAttachmentsStep : public DocumentStep {
public:
    // directory is shared with the OLE step: the attachment-path formula is compiled once per run.
    explicit ExtractAttachmentsStep(std::shared_ptr<AttachmentDirectory> directory)
        : m_directory(std::move(directory)) {}

    [[nodiscard]] bool Prepare(RunContext &run) override;
    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;

private:
    std::shared_ptr<AttachmentDirectory> m_directory;
};

// With ExtractOle, for an open note that has at least one OLE object.
class ExtractOleStep : public DocumentStep {
public:
    explicit ExtractOleStep(std::shared_ptr<AttachmentDirectory> directory)
        : m_directory(std::move(directory)) {}

    [[nodiscard]] bool Prepare(RunContext &run) override;
    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;

private:
    std::shared_ptr<AttachmentDirectory> m_directory;
};

}  // namespace exporter
