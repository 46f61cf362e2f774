// A compiled formula read once and evaluated on many notes (a computation, a search, a view build).
#pragma once

#include <memory>
#include <string_view>

#include "Formula.h"
#include "Node.h"

namespace formula {

class Program {
public:
    // Reads compiled bytes; false with kStsDamaged when they are not a compiled formula of ours.
    [[nodiscard]] bool Load(std::string_view compiled, STATUS &status);
    // Evaluates on one note; run-time errors are error values in the result.
    void Run(const FormulaContext &context, Result &result) const;

private:
    std::unique_ptr<Node> m_root;
};

}  // namespace formula
