// The steps that write a document's file attachments and its OLE objects into the directory chosen by
// DetachMethod, and report what they wrote in %Extr_Att_Names, %Errors and the log.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/ExportSettings.h"
#include "export/AttachmentDirectory.h"
#include "export/DocumentStep.h"

namespace notes {
class NotesNote;
}

namespace exporter {

// What the two steps share: the directory rule with its formula, compiled once for both.
class AttachmentDirectoryStep : public DocumentStep {
public:
    // option: the setting that turns the step on (ExtractAttachments or ExtractOle).
    AttachmentDirectoryStep(std::shared_ptr<AttachmentDirectory> directory,
                            bool config::ExportSettings::*option)
        : m_directory(std::move(directory)), m_option(option) {}

    // Compiles the attachment-path formula when the step is on, and lends it to the run's context.
    [[nodiscard]] bool Prepare(RunContext &run) override;

protected:
    // Whether the step writes anything for the document, and where: false when the step is off, the note
    // is not open or has nothing for the step (has), or there is no directory. outcome says whether the
    // run ends (the formula gave nothing) or goes on (also when the directory could not be created: the
    // document's errors have the reason, once however many steps meet it).
    bool Directory(RunContext &run, DocumentContext &document, bool (*has)(const notes::NotesNote &),
                   std::string &directory, StepOutcome &outcome);
    // Writes the lines at the middle level; false when the log could not be written (LastError says why).
    [[nodiscard]] bool LogLines(RunContext &run, const std::vector<std::string> &lines);

    bool On(const RunContext &run) const { return run.settings.*m_option; }

private:
    std::shared_ptr<AttachmentDirectory> m_directory;
    bool config::ExportSettings::*m_option;
};

// With ExtractAttachments, for an open note that has at least one file attachment.
class ExtractAttachmentsStep : public AttachmentDirectoryStep {
public:
    explicit ExtractAttachmentsStep(std::shared_ptr<AttachmentDirectory> directory)
        : AttachmentDirectoryStep(std::move(directory), &config::ExportSettings::ExtractAttachments) {}

    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;
};

// With ExtractOle, for an open note that has at least one OLE object.
class ExtractOleStep : public AttachmentDirectoryStep {
public:
    explicit ExtractOleStep(std::shared_ptr<AttachmentDirectory> directory)
        : AttachmentDirectoryStep(std::move(directory), &config::ExportSettings::ExtractOle) {}

    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;
};

}  // namespace exporter
