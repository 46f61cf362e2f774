// Reading compiled bytes and running them on a note.
#include "Program.h"

#include "CanonicalValue.h"
#include "CompiledForm.h"
#include "Evaluator.h"
#include "FormulaStatus.h"

namespace formula {

bool Program::Load(std::string_view compiled, STATUS &status) {
    m_root = CompiledForm::Read(compiled);
    if (!m_root) {
        status = kStsDamaged;
        return false;
    }
    return true;
}

void Program::Run(const FormulaContext &context, Result &result) const {
    result = Result();
    if (!m_root) {
        result.type = notes::kTypeError;
        result.value = "The compiled formula is damaged";
        return;
    }
    Evaluator evaluator(context);
    Value value = evaluator.Run(*m_root);
    CanonicalValue::Encode(value, result.type, result.value);
    // A result travels with its type word in a block whose length is 16-bit.
    if (result.value.size() + 2 > 0xFFFF) {
        value = Evaluator::TooLarge();
        CanonicalValue::Encode(value, result.type, result.value);
    }
    result.matches = evaluator.HasSelect() ? evaluator.Selected() : value.Truth();
    result.modified = evaluator.Modified();
    result.shouldDelete = false;
}

}  // namespace formula
