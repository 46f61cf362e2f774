// Writing a document's Text or HTML file.
#include "export/TextFileStep.h"

#include "config/DatabaseExportProfile.h"
#include "config/OutputItems.h"
#include "export/CsvSummary.h"
#include "export/DocumentFileName.h"
#include "export/DocumentFileTime.h"
#include "export/DocumentValues.h"
#include "log/LogManager.h"
#include "notes/NotesNote.h"
#include "platform/OutputFile.h"
#include "platform/Paths.h"

namespace exporter {

namespace {

std::string ReplaceAll(const std::string &text, char what, const std::string &with) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c == what) {
            result += with;
        } else {
            result += c;
        }
    }
    return result;
}

// Writes the whole file, or gives the reason it could not be written.
bool WriteFile(const std::string &path, const std::string &bytes, const std::string &kind,
               std::string &error) {
    platform::OutputFile file;
    if (!file.Open(path, platform::OutputMode::kReplace)) {
        error = "Unable to create or open " + kind + " output file \"" + path + "\"";
        return false;
    }
    if (!file.Write(bytes) || !file.Commit()) {
        error = "Unable to write " + kind + " output file \"" + path + "\": " + file.ErrorText();
        file.Abandon();
        return false;
    }
    return true;
}

}  // namespace

std::string TextFileStep::Content(RunContext &run, DocumentContext &document) {
    const bool html = run.settings.TextFileFormat == config::kTextFileHtml;
    std::string content;
    if (html) {
        content =
            "<table width=100% border=1 cellpadding=3 cellspacing=0 style=\"border-collapse: collapse\">\n";
    }
    for (std::size_t i = 0; i < run.items.Count(); ++i) {
        const std::string &name = run.items.Item(i).Name();
        const std::string &value = ColumnValue(run, document, i);
        if (html) {
            content += "<tr>\n<td valign=top><font color=\"#003366\">" + name + "</font></td><td>" +
                       ReplaceAll(value, '\n', "<br>\n") + "</td>\n</tr>\n";
        } else {
            content += name + ": " + value + "\n";
        }
    }
    content += html ? "</table>\n" : "\n";
    return content;
}

std::string TextFileStep::Encoded(const std::string &content, int characterEncoding) {
    return EncodeText(ReplaceAll(content, '\n', "\r\n"), characterEncoding);
}

StepOutcome TextFileStep::Process(RunContext &run, DocumentContext &document) {
    if (!run.settings.CreateDocs) {
        return StepOutcome::kNext;
    }
    const bool html = run.settings.TextFileFormat == config::kTextFileHtml;
    const DocumentFileNaming naming = TextFileNaming(run.settings);
    std::string evaluateError;
    std::string path =
        DocumentFileName(document.note, naming, document.basePath, document.count, &evaluateError);
    document.errors.Append(evaluateError);
    if (!ClaimDocumentFileName(run, naming, html ? "HTML" : "Text", path)) {
        return EndRun(run.log.LastError());
    }
    const std::string bytes = Encoded(Content(run, document), run.settings.CharacterEncoding);
    std::string error;
    if (!WriteFile(path, bytes, html ? "HTML" : "Text", error)) {
        document.errors.Append(error);
        return StepOutcome::kNext;
    }
    run.items.SetValue(run.columns[ComputedColumn::kTextFile], path);
    if (!SetFileToMailTime(path, document.note)) {
        document.errors.Append(platform::LastFileError());
    }
    return StepOutcome::kNext;
}

}  // namespace exporter
