// Writing a document's RTF file.
#include "export/RtfFileStep.h"

#include "config/OutputItems.h"
#include "export/DocumentFileName.h"
#include "export/DocumentFileTime.h"
#include "export/RtfExport.h"
#include "log/LogManager.h"
#include "notes/NotesNote.h"
#include "platform/Paths.h"

namespace exporter {

StepOutcome RtfFileStep::Process(RunContext &run, DocumentContext &document) {
    notes::NotesNote &note = document.note;
    if (!run.settings.CreateRTFs || !note.IsOpen()) {
        return StepOutcome::kNext;
    }
    const int source = run.settings.RtfSource;
    if (source != config::kRtfSourceDocument && source != config::kRtfSourceField) {
        return StepOutcome::kNext;
    }
    const DocumentFileNaming naming = RtfFileNaming(run.settings);
    std::string evaluateError;
    std::string path = DocumentFileName(note, naming, document.basePath, document.count, &evaluateError);
    document.errors.Append(evaluateError);
    if (!ClaimDocumentFileName(run, naming, "RTF", path)) {
        return EndRun(run.log.LastError());
    }
    // What the export records on the note goes to the document's errors, which the run read from the
    // note before its first step.
    const std::size_t recordsBefore = note.ErrorRecords().size();
    const std::size_t textBefore = note.ErrorText().size();
    const std::string field =
        source == config::kRtfSourceField ? run.settings.RtfSourceFieldName : std::string();
    const bool exported = ExportNoteToRtf(note, field, path);
    // A failed picture repair leaves the filter's file; any other failure wrote nothing, and a file of
    // that name is an earlier run's, which %RTF_Name must not pass off as this document's.
    const bool written = exported || (note.ErrorRecords().size() > recordsBefore &&
                                      note.ErrorRecords().back().title == kRtfTitleRepair);
    for (std::size_t i = recordsBefore; i < note.ErrorRecords().size(); ++i) {
        document.errors.Append(note.ErrorRecords()[i]);
    }
    if (note.ErrorText().size() > textBefore) {
        std::string added = note.ErrorText().substr(textBefore);
        document.errors.Append(added.front() == '\n' ? added.substr(1) : added);
    }
    if (!written || !platform::FileExists(path)) {
        run.items.SetValue(run.columns[ComputedColumn::kRtfFile], "");
        return StepOutcome::kNext;
    }
    run.items.SetValue(run.columns[ComputedColumn::kRtfFile], path);
    if (!SetFileToMailTime(path, note)) {
        document.errors.Append(platform::LastFileError());
    }
    return StepOutcome::kNext;
}

}  // namespace exporter
