// The CSV summary row of each document.
#include "export/CsvRowStep.h"

#include "config/DatabaseExportProfile.h"
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
    if (run.settings.CreateCSV && !WriteRow(run, document.note)) {
        return EndRun(m_csv.LastError());
    }
    return StepOutcome::kNext;
}

bool CsvRowStep::WriteRow(RunContext &run, notes::NotesNote &note) {
    config::OutputItems &items = run.items;
    const config::ExportSettings &settings = run.settings;
    m_cells.resize(items.Count());
    DocumentErrors renderErrors;
    for (std::size_t i = 0; i < items.Count(); ++i) {
        config::OutputItem &item = items.Item(i);
        const int kind = item.Kind();
        CsvCell &cell = m_cells[i];
        cell.applyReplacements = kind == config::kItemField || kind == config::kItemFormula;
        if (kind == config::kItemEngineValue) {
            cell.value = item.Value();
        } else if (note.IsOpen()) {
            std::string error;
            cell.value = item.Evaluate(note, settings.MVDelimiter, &settings.RtfAdvanced,
                                       &run.profile.RenderState, &error);
            renderErrors.Append(error);
        } else {
            cell.value.clear();
        }
    }
    const int errors = run.columns[ComputedColumn::kErrors];
    if (errors >= 0) {  // a damaged rich-text item joins the document's other errors
        renderErrors.AppendTo(m_cells[static_cast<std::size_t>(errors)].value);
    }
    return m_csv.WriteRow(m_cells, settings.Delimiter, settings.DoubleQuotes);
}

}  // namespace exporter
