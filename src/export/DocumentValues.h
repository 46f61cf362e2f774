// The values of a document's output columns, evaluated once and shared by the per-document Text/HTML
// file and the CSV row.
#pragma once

#include <cstddef>
#include <string>

#include "export/DocumentStep.h"

namespace exporter {

// Evaluates the field, formula and note-value columns for the document, once: a later call does
// nothing. A note that is not open gives empty values.
void EvaluateColumns(RunContext &run, DocumentContext &document);

// The value of column index for the document (EvaluateColumns first): a column the run sets as the
// run set it, except %Errors, which is the document's errors so far followed by the damaged rich-text
// items met while evaluating; every other column as evaluated. The text stays valid until the next
// call for the document.
const std::string &ColumnValue(RunContext &run, DocumentContext &document, std::size_t index);

}  // namespace exporter
