// The step that writes each document's row of the CSV summary file, which it owns for the run.
#pragma once

#include <vector>

#include "export/CsvSummary.h"
#include "export/DocumentStep.h"

namespace exporter {

class CsvRowStep final : public DocumentStep {
public:
    explicit CsvRowStep(int characterEncoding) : m_csv(characterEncoding) {}

    CsvSummary &Summary() { return m_csv; }

    // Opens the summary file and, with WriteFieldHeaders, writes the row of column titles. False with
    // the file's reason.
    [[nodiscard]] bool Open(RunContext &run);
    // Sets %Errors from the document's errors and, with CreateCSV, writes the row: the document's column
    // values (DocumentValues.h), evaluated once and shared with its Text/HTML file. A row that cannot be
    // written ends the run.
    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;

private:
    [[nodiscard]] bool WriteRow(RunContext &run, DocumentContext &document);

    CsvSummary m_csv;
    std::vector<CsvCell> m_cells;  // kept from row to row: no allocation per row
};

}  // namespace exporter
