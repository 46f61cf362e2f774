// The only step of a field-name scan: it collects the item names of the documents it is given.
#pragma once

#include "export/DocumentStep.h"

namespace exporter {

class FieldNameScanStep final : public DocumentStep {
public:
    // Adds each item name of an open note to the profile's FoundFieldNames, each name once, in the
    // order first met.
    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;
};

}  // namespace exporter
