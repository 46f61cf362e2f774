// The step that copies every exported document into the 'Copy To' database.
#pragma once

#include <memory>

#include "export/CopyToDatabase.h"
#include "export/DocumentStep.h"

namespace exporter {

class CopyToDatabaseStep final : public DocumentStep {
public:
    // Opens the 'Copy To' database when CopyDataToDb is set; false with its reason otherwise.
    [[nodiscard]] bool Open(const config::ExportSettings &settings);
    // Copies an open note; a failure joins the document's errors and the run goes on.
    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;
    // Saves the copies; false with the reason when they cannot be saved. True when nothing was opened.
    [[nodiscard]] bool Close();
    void Release() { m_database.reset(); }

private:
    std::unique_ptr<CopyToDatabase> m_database;  // null unless CopyDataToDb
};

}  // namespace exporter
