// Writing one document's attachments and OLE objects.
#include "export/ExtractAttachmentsStep.h"

#include "config/DatabaseExportProfile.h"
#include "config/ExportSettings.h"
#include "config/OutputItems.h"
#include "export/AttachmentExtraction.h"
#include "export/NoteItemScan.h"
#include "log/LogManager.h"
#include "notes/NotesNote.h"

namespace exporter {

namespace {

// Writes the lines at the middle level; false when the log could not be written.
[[nodiscard]] bool LogLines(logging::LogManager &log, const std::vector<std::string> &lines) {
    if (!log.Accepts(logging::kLogLevelMedium)) {
        return true;
    }
    for (const std::string &line : lines) {
        if (!log.Write(line, logging::kLogLevelMedium)) {
            return false;
        }
    }
    return true;
}

std::string Prefix(const config::ExportSettings &settings, const DocumentContext &document) {
    switch (settings.AttPrefixOption) {
        case config::kPrefixCount:
            return CountText(document.count) + " ";
        case config::kPrefixUniversalId:
            return document.universalId + " ";
        default:
            return {};
    }
}

// The document's directory, or the outcome when there is none: the run ends (formula without result),
// or the document's errors get the reason and the step ends.
bool ChooseDirectory(AttachmentDirectory &chooser, RunContext &run, DocumentContext &document,
                     std::string &directory, StepOutcome &outcome, std::string &endRunReason) {
    const AttachmentDirectory::Result result = chooser.Choose(
        run.settings, document.note, document.count, document.universalId, document.basePath, directory);
    if (result == AttachmentDirectory::Result::kReady) {
        return true;
    }
    if (result == AttachmentDirectory::Result::kEndRun) {
        endRunReason = chooser.LastError();
        outcome = StepOutcome::kEndRun;
        return false;
    }
    // The OLE step meets the same directory after the attachment step: one message is enough.
    if (document.errors.Text().find(chooser.LastError()) == std::string::npos) {
        run.profile.SetLastError(chooser.LastError());
        document.errors.Append(chooser.LastError());
    }
    outcome = StepOutcome::kNext;
    return false;
}

}  // namespace

bool ExtractAttachmentsStep::Prepare(RunContext &run) {
    return !run.settings.ExtractAttachments || m_directory->Prepare(run.settings) ||
           Fail(m_directory->LastError());
}

StepOutcome ExtractAttachmentsStep::Process(RunContext &run, DocumentContext &document) {
    run.items.SetValue(run.columns.extractedNames, "");
    notes::NotesNote &note = document.note;
    if (!run.settings.ExtractAttachments || !note.IsOpen() || !NoteItemScan::HasFileAttachments(note)) {
        return StepOutcome::kNext;
    }
    std::string directory;
    StepOutcome outcome = StepOutcome::kNext;
    std::string reason;
    if (!ChooseDirectory(*m_directory, run, document, directory, outcome, reason)) {
        return outcome == StepOutcome::kEndRun ? EndRun(reason) : outcome;
    }
    AttachmentExtraction extraction(run.names);
    const bool wrote =
        extraction.ExtractAttachments(note, directory, Prefix(run.settings, document), document.errors);
    std::vector<std::string> lines = extraction.TakeNotices();
    const std::size_t count = note.ExtractedFiles().Size();
    lines.push_back(count == 0 ? std::string("......No Attachments Found\n")
                               : "......" + std::to_string(count) +
                                     " Attachments Found. Extract to path: " + directory + "\n");
    if (!LogLines(run.log, lines)) {
        return EndRun(run.log.LastError());
    }
    if (wrote) {
        run.items.SetValue(run.columns.extractedNames,
                           note.ExtractedFiles().FileNames(run.settings.MVDelimiter));
    }
    return StepOutcome::kNext;
}

bool ExtractOleStep::Prepare(RunContext &run) {
    return !run.settings.ExtractOle || m_directory->Prepare(run.settings) || Fail(m_directory->LastError());
}

StepOutcome ExtractOleStep::Process(RunContext &run, DocumentContext &document) {
    notes::NotesNote &note = document.note;
    if (!run.settings.ExtractOle || !note.IsOpen() || !NoteItemScan::HasOleObjects(note)) {
        return StepOutcome::kNext;
    }
    std::string directory;
    StepOutcome outcome = StepOutcome::kNext;
    std::string reason;
    if (!ChooseDirectory(*m_directory, run, document, directory, outcome, reason)) {
        return outcome == StepOutcome::kEndRun ? EndRun(reason) : outcome;
    }
    AttachmentExtraction extraction(run.names);
    (void)extraction.ExtractOleObjects(note, directory, document.errors);
    if (!LogLines(run.log, extraction.TakeNotices())) {
        return EndRun(run.log.LastError());
    }
    return StepOutcome::kNext;
}

}  // namespace exporter
