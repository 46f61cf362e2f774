// Copying each exported document into the 'Copy To' database.
#include "export/CopyToDatabaseStep.h"

#include "config/ExportSettings.h"
#include "notes/NotesNote.h"

namespace exporter {

bool CopyToDatabaseStep::Open(const config::ExportSettings &settings) {
    if (!settings.CopyDataToDb) {
        return true;
    }
    m_database = std::make_unique<CopyToDatabase>();
    if (!m_database->Open(settings.CopyDataToDbServer, settings.CopyDataToDbFilename)) {
        return Fail(m_database->LastError());
    }
    return true;
}

StepOutcome CopyToDatabaseStep::Process(RunContext &run, DocumentContext &document) {
    (void)run;
    if (m_database != nullptr && document.note.IsOpen() && !m_database->Copy(document.note)) {
        document.errors.Append(m_database->LastError());
    }
    return StepOutcome::kNext;
}

bool CopyToDatabaseStep::Close() {
    if (m_database != nullptr && !m_database->Close()) {
        return Fail(m_database->LastError());
    }
    return true;
}

}  // namespace exporter
