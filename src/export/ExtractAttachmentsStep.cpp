// Writing one document's attachments and OLE objects.
#include "export/ExtractAttachmentsStep.h"

#include "config/DatabaseExportProfile.h"
#include "config/OutputItems.h"
#include "export/AttachmentExtraction.h"
#include "export/NoteItemScan.h"
#include "log/LogManager.h"
#include "notes/NotesNote.h"

namespace exporter {

namespace {

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

}  // namespace

bool AttachmentDirectoryStep::Prepare(RunContext &run) {
    if (!On(run)) {
        return true;
    }
    if (!m_directory->Prepare(run.settings)) {
        return Fail(m_directory->LastError());
    }
    run.attachmentFormula = m_directory->Formula();
    return true;
}

bool AttachmentDirectoryStep::Directory(RunContext &run, DocumentContext &document,
                                        bool (*has)(const notes::NotesNote &), std::string &directory,
                                        StepOutcome &outcome) {
    outcome = StepOutcome::kNext;
    if (!On(run) || !document.note.IsOpen() || !has(document.note)) {
        return false;
    }
    const AttachmentDirectory::Result result = m_directory->Choose(
        run.settings, document.note, document.count, document.universalId, document.basePath, directory);
    switch (result) {
        case AttachmentDirectory::Result::kReady:
            return true;
        case AttachmentDirectory::Result::kEndRun:
            outcome = EndRun(m_directory->LastError());
            return false;
        default:
            if (document.errors.Text().find(m_directory->LastError()) == std::string::npos) {
                run.profile.SetLastError(m_directory->LastError());
                document.errors.Append(m_directory->LastError());
            }
            return false;
    }
}

bool AttachmentDirectoryStep::LogLines(RunContext &run, const std::vector<std::string> &lines) {
    for (const std::string &line : lines) {
        if (!Log(run, line, logging::kLogLevelMedium)) {
            return false;
        }
    }
    return true;
}

StepOutcome ExtractAttachmentsStep::Process(RunContext &run, DocumentContext &document) {
    notes::NotesNote &note = document.note;
    std::string directory;
    StepOutcome outcome = StepOutcome::kNext;
    if (!Directory(run, document, &NoteItemScan::HasFileAttachments, directory, outcome)) {
        return outcome;
    }
    AttachmentExtraction extraction(run.names);
    const bool wrote =
        extraction.ExtractAttachments(note, directory, Prefix(run.settings, document), document.errors);
    std::vector<std::string> lines = extraction.TakeNotices();
    const std::size_t count = note.ExtractedFiles().Size();
    lines.push_back(count == 0 ? std::string("......No Attachments Found\n")
                               : "......" + std::to_string(count) +
                                     " Attachments Found. Extract to path: " + directory + "\n");
    if (!LogLines(run, lines)) {
        return StepOutcome::kEndRun;
    }
    if (wrote) {
        run.items.SetValue(run.columns[ComputedColumn::kExtractedNames],
                           note.ExtractedFiles().FileNames(run.settings.MVDelimiter));
    }
    return StepOutcome::kNext;
}

StepOutcome ExtractOleStep::Process(RunContext &run, DocumentContext &document) {
    notes::NotesNote &note = document.note;
    std::string directory;
    StepOutcome outcome = StepOutcome::kNext;
    if (!Directory(run, document, &NoteItemScan::HasOleObjects, directory, outcome)) {
        return outcome;
    }
    AttachmentExtraction extraction(run.names);
    (void)extraction.ExtractOleObjects(note, directory, document.errors);
    return LogLines(run, extraction.TakeNotices()) ? StepOutcome::kNext : StepOutcome::kEndRun;
}

}  // namespace exporter
