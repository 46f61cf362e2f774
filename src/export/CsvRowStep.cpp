// The CSV summary row of each document.
#include "export/CsvRowStep.h"

#include "config/DatabaseExportProfile.h"
#include "export/DocumentValues.h"
#include "notes/NotesNote.h"

namespace exporter {

bool CsvRowStep::Open(RunContext &run) {
    if (!m_csv.Open(run.settings.SummaryFilePath)) {
        return Fail(m_csv.LastError());
    }
    if (!run.settings.WriteFieldHeaders) {
        return true;
    }
    std::vector<std::string> titles;
    for (std::size_t i = 0; i < run.items.Count(); ++i) {
        titles.push_back(run.items.Item(i).Name());
    }
    if (!m_csv.WriteHeader(titles, run.settings.Delimiter, run.settings.DoubleQuotes)) {
        return Fail(m_csv.LastError());
    }
    return true;
}

StepOutcome CsvRowStep::Process(RunContext &run, DocumentContext &document) {
    run.items.SetValue(run.columns[ComputedColumn::kErrors], document.errors.Text());
    if (run.settings.CreateCSV && !WriteRow(run, document)) {
        return EndRun(m_csv.LastError());
    }
    return StepOutcome::kNext;
}

bool CsvRowStep::WriteRow(RunContext &run, DocumentContext &document) {
    config::OutputItems &items = run.items;
    m_cells.resize(items.Count());
    for (std::size_t i = 0; i < items.Count(); ++i) {
        const int kind = items.Item(i).Kind();
        CsvCell &cell = m_cells[i];
        cell.applyReplacements = kind == config::kItemField || kind == config::kItemFormula;
        cell.value = ColumnValue(run, document, i);
    }
    return m_csv.WriteRow(m_cells, run.settings.Delimiter, run.settings.DoubleQuotes);
}

}  // namespace exporter
