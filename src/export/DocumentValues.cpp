// Evaluating a document's output columns once.
#include "export/DocumentValues.h"

#include "config/DatabaseExportProfile.h"
#include "config/OutputItems.h"
#include "notes/NotesNote.h"

namespace exporter {

void EvaluateColumns(RunContext &run, DocumentContext &document) {
    if (document.columnsEvaluated) {
        return;
    }
    document.columnsEvaluated = true;
    document.columnValues.assign(run.items.Count(), std::string());
    document.renderErrors.Clear();
    if (!document.note.IsOpen()) {
        return;
    }
    for (std::size_t i = 0; i < run.items.Count(); ++i) {
        config::OutputItem &item = run.items.Item(i);
        if (item.Kind() == config::kItemEngineValue) {
            continue;
        }
        std::string error;
        document.columnValues[i] = item.Evaluate(document.note, run.settings.MVDelimiter,
                                                 &run.settings.RtfAdvanced, &run.profile.RenderState, &error);
        document.renderErrors.Append(error);
    }
}

const std::string &ColumnValue(RunContext &run, DocumentContext &document, std::size_t index) {
    EvaluateColumns(run, document);
    if (static_cast<int>(index) == run.columns[ComputedColumn::kErrors]) {
        document.errorsText = document.errors.Text();
        document.renderErrors.AppendTo(document.errorsText);
        return document.errorsText;
    }
    const config::OutputItem &item = run.items.Item(index);
    if (item.Kind() == config::kItemEngineValue) {
        return item.Value();
    }
    return document.columnValues[index];
}

}  // namespace exporter
