// The step that sets where the images of a document's rich text go before its fields are rendered.
#pragma once

#include "export/DocumentStep.h"

namespace exporter {

class ImageDirectoryStep final : public DocumentStep {
public:
    // The image directory, prefix and counter of an open note; a document whose directory cannot be
    // set (the formula method) is not processed further.
    [[nodiscard]] StepOutcome Process(RunContext &run, DocumentContext &document) override;
};

}  // namespace exporter
