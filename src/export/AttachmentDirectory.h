// Where a document's attachments and OLE objects go: the directory chosen by DetachMethod (count,
// universal ID, the base directory, a field's value or a formula's result), created on disk.
#pragma once

#include <memory>
#include <string>

#include "config/ExportSettings.h"

namespace notes {
class NotesFormula;
class NotesNote;
}  // namespace notes

namespace exporter {

class AttachmentDirectory {
public:
    AttachmentDirectory();
    ~AttachmentDirectory();
    AttachmentDirectory(const AttachmentDirectory &) = delete;
    AttachmentDirectory &operator=(const AttachmentDirectory &) = delete;

    // Once per run: with DetachMethod 4 compiles the formula (once, however many steps share this
    // object). False with LastError() "Error with Attachment Path Lotus Notes Formula" (no formula) or
    // "Compile Error for Attachment Path Lotus Notes Formula".
    [[nodiscard]] bool Prepare(const config::ExportSettings &settings);

    enum class Result {
        kReady,       // directory names the document's directory, which exists
        kNotCreated,  // the directory could not be created: LastError() is the message for the document
        kEndRun,      // the formula gave nothing: LastError() is the reason the run ends with
    };
    // The document's directory under basePath (count: its running number; universalId: its UNID).
    [[nodiscard]] Result Choose(const config::ExportSettings &settings, const notes::NotesNote &note,
                                long count, const std::string &universalId, const std::string &basePath,
                                std::string &directory);

    const std::string &LastError() const { return m_lastError; }
    // The compiled formula after Prepare with DetachMethod 4; null otherwise.
    notes::NotesFormula *Formula() const { return m_formula.get(); }

    // The directory's name below the base path before it is created: "" for the base path itself; may
    // hold separators (DetachMethod 4 with AttCreateSubDirs). False only when the formula gave nothing
    // (the reason in error).
    [[nodiscard]] bool RelativeName(const config::ExportSettings &settings, const notes::NotesNote &note,
                                    long count, const std::string &universalId, std::string &name,
                                    std::string &error);

private:
    std::unique_ptr<notes::NotesFormula> m_formula;
    bool m_prepared = false;
    std::string m_lastError;
};

// The count as a seven-digit number ("%07d"), as directory names and prefixes write it.
std::string CountText(long count);

}  // namespace exporter
