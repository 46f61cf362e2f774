// The Text/HTML file step of the per-document pipeline: one file per document listing every output
// column with its value, as "name: value" lines or as a two-column HTML table.
#pragma once

#include <string>

#include "export/DocumentStep.h"

namespace exporter {

class TextFileStep : public DocumentStep {
public:
    // With CreateDocs: names the file, writes it under a partial name renamed into place when complete,
    // sets %TF_Name and the file's last-write time. A file that cannot be written adds its failure to
    // the document's errors; the run goes on.
    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;

    // The file's content in UTF-8 with bare line feeds: TextFileFormat 1 the HTML table, else the lines.
    static std::string Content(RunContext &run, DocumentContext &document);
    // The content in the file's encoding (CharacterEncoding), every line feed written as CR LF.
    static std::string Encoded(const std::string &content, int characterEncoding);
};

}  // namespace exporter
