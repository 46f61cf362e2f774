// Choosing and creating the directory of a document's attachments.
#include "export/AttachmentDirectory.h"

#include <cstdio>

#include "export/CreateDirectoryPath.h"
#include "export/SanitizeFileName.h"
#include "notes/NotesFormula.h"
#include "notes/NotesNote.h"
#include "platform/AsciiText.h"
#include "platform/Paths.h"
#include "richtext/NotesItem.h"

namespace exporter {

std::string CountText(long count) {
    char text[24];
    std::snprintf(text, sizeof text, "%07ld", count);
    return text;
}

AttachmentDirectory::AttachmentDirectory() = default;
AttachmentDirectory::~AttachmentDirectory() = default;

bool AttachmentDirectory::Prepare(const config::ExportSettings &settings) {
    if (m_prepared || settings.DetachMethod != config::kDetachToFormulaDirectory) {
        return true;
    }
    if (settings.DetachMethodEvalString.empty()) {
        m_lastError = "Error with Attachment Path Lotus Notes Formula";
        return false;
    }
    m_formula = std::make_unique<notes::NotesFormula>(settings.DetachMethodEvalString);
    if (!m_formula->Compile()) {
        m_formula.reset();
        m_lastError = "Compile Error for Attachment Path Lotus Notes Formula";
        return false;
    }
    m_prepared = true;
    return true;
}

bool AttachmentDirectory::RelativeName(const config::ExportSettings &settings, const notes::NotesNote &note,
                                       long count, const std::string &universalId, std::string &name,
                                       std::string &error) {
    switch (settings.DetachMethod) {
        case config::kDetachToUniversalIdSubdir:
            name = universalId;
            return true;
        case config::kDetachToBaseDirectory:
            name.clear();
            return true;
        case config::kDetachToFieldValueDirectory: {
            const std::string value =
                richtext::NotesItem::Render(note, settings.DetachByFieldName, settings.MVDelimiter, nullptr)
                    .text;
            name = SanitizeFileName(
                platform::FirstUtf8Characters(value, settings.DetachByFieldNameValueMaxLength));
            return true;
        }
        case config::kDetachToFormulaDirectory: {
            if (m_formula == nullptr) {
                name.clear();
                return true;
            }
            const std::string value = m_formula->Evaluate(note.Handle(), settings.MVDelimiter);
            if (value.empty()) {
                error = m_formula->LastError();
                return false;
            }
            // With subdirectories each backslash-separated level is a directory; "." and ".." levels
            // are neutralised so that no result leads outside the base path.
            name = settings.AttCreateSubDirs
                       ? RelativeDirectoryPath(SanitizeFileName(value, kReservedWithoutBackslash))
                       : SanitizeFileName(value);
            return true;
        }
        default:
            name = CountText(count);
            return true;
    }
}

AttachmentDirectory::Result AttachmentDirectory::Choose(const config::ExportSettings &settings,
                                                        const notes::NotesNote &note, long count,
                                                        const std::string &universalId,
                                                        const std::string &basePath, std::string &directory) {
    std::string name;
    std::string error;
    if (!RelativeName(settings, note, count, universalId, name, error)) {
        // The run ends with the note's error text; a formula that gave nothing without an error still
        // needs a reason.
        m_lastError = error.empty()
                          ? "The Attachment Path Lotus Notes Formula gave no directory for document " +
                                std::to_string(count)
                          : error;
        return Result::kEndRun;
    }
    const std::string path = name.empty() ? basePath : platform::JoinPath(basePath, name);
    directory = CreateDirectoryPath(path);
    if (directory.empty()) {
        m_lastError = "Unable to create folder path: " + path;
        return Result::kNotCreated;
    }
    return Result::kReady;
}

}  // namespace exporter
