// The formula entry points: NSFFormulaCompile keeps compiled bytes in a memory handle; a computation
// (NSFComputeStart) reads them once and evaluates them on notes until NSFComputeStop.
#include <map>
#include <memory>

#include "../Config.h"
#include "../Export.h"
#include "../Runtime.h"
#include "../formula/CompiledForm.h"
#include "../formula/FormulaStatus.h"
#include "../formula/Program.h"
#include "NoteContext.h"

using namespace standin;

namespace {

// The formula statuses in the runtime's message table, for OSLoadString.
struct FormulaMessageRegistration {
    FormulaMessageRegistration() {
        std::size_t count = 0;
        const formula::FormulaMessage *messages = formula::FormulaMessages(count);
        std::vector<MessageEntry> entries;
        for (std::size_t i = 0; i < count; ++i) {
            entries.push_back({messages[i].code, messages[i].text});
        }
        MessageRegistrar registrar(entries.data(), entries.size());
    }
};
const FormulaMessageRegistration kRegistration;

// Started computations by their HCOMPUTE, so that a stale or foreign pointer is refused, not followed.
std::map<void *, std::unique_ptr<formula::Program>> &Computations() {
    static std::map<void *, std::unique_ptr<formula::Program>> computations;
    return computations;
}

formula::Program *FindComputation(HCOMPUTE compute) {
    auto it = Computations().find(compute);
    return it == Computations().end() ? nullptr : it->second.get();
}

template <typename T>
void SetIf(T *out, T value) {
    if (out != nullptr) {
        *out = value;
    }
}

}  // namespace

extern "C" {

NOTES_EXPORT STATUS NSFFormulaCompile(char *name, WORD nameLen, const char *text, WORD textLen,
                                      FORMULAHANDLE *ret, WORD *retLen, STATUS *retError, WORD *retLine,
                                      WORD *retColumn, WORD *retOffset, WORD *retErrLen) {
    ApiLock lock(ApiMutex());
    (void)name;
    (void)nameLen;
    if (STATUS s = EnterCall("NSFFormulaCompile")) {
        return s;
    }
    SetIf<FORMULAHANDLE>(ret, 0);
    SetIf<WORD>(retLen, 0);
    SetIf<STATUS>(retError, 0);
    SetIf<WORD>(retLine, 0);
    SetIf<WORD>(retColumn, 0);
    SetIf<WORD>(retOffset, 0);
    SetIf<WORD>(retErrLen, 0);
    if (ret == nullptr || (text == nullptr && textLen != 0)) {
        return kStsBadArgument;
    }
    if (!Config().initialized) {
        return kStsNotInitialized;
    }
    std::string compiled;
    formula::CompileError error;
    if (!formula::Compile(std::string_view(text == nullptr ? "" : text, textLen), compiled, error)) {
        SetIf<STATUS>(retError, error.status);
        SetIf<WORD>(retLine, error.line);
        SetIf<WORD>(retColumn, error.column);
        SetIf<WORD>(retOffset, error.offset);
        SetIf<WORD>(retErrLen, error.length);
        return error.status;
    }
    *ret = Handles::AllocMemory(compiled.data(), compiled.size());
    SetIf<WORD>(retLen, static_cast<WORD>(compiled.size()));
    return 0;
}

NOTES_EXPORT STATUS NSFComputeStart(WORD flags, void *lockedFormula, HCOMPUTE *ret) {
    ApiLock lock(ApiMutex());
    (void)flags;
    if (STATUS s = EnterCall("NSFComputeStart")) {
        return s;
    }
    if (ret == nullptr || lockedFormula == nullptr) {
        return kStsBadArgument;
    }
    *ret = nullptr;
    const char *bytes = static_cast<const char *>(lockedFormula);
    std::size_t length = formula::CompiledForm::DeclaredLength(bytes);
    auto program = std::make_unique<formula::Program>();
    STATUS status = 0;
    if (length == 0 || !program->Load(std::string_view(bytes, length), status)) {
        return formula::kStsDamaged;
    }
    void *handle = program.get();
    Computations()[handle] = std::move(program);
    ++Extra().computes;
    *ret = handle;
    return 0;
}

NOTES_EXPORT STATUS NSFComputeEvaluate(HCOMPUTE compute, NOTEHANDLE note, DHANDLE *retResult, WORD *retLen,
                                       BOOL *retMatches, BOOL *retShouldDelete, BOOL *retModified) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFComputeEvaluate")) {
        return s;
    }
    SetIf<DHANDLE>(retResult, 0);
    SetIf<WORD>(retLen, 0);
    SetIf<BOOL>(retMatches, 0);
    SetIf<BOOL>(retShouldDelete, 0);
    SetIf<BOOL>(retModified, 0);
    formula::Program *program = FindComputation(compute);
    if (program == nullptr) {
        return kStsInvalidHandle;
    }
    STATUS status = 0;
    std::unique_ptr<formula::FormulaContext> context = MakeNoteContext(note, status);
    if (!context) {
        return status != 0 ? status : kStsInvalidHandle;
    }
    formula::Result result;
    program->Run(*context, result);
    if (retResult != nullptr) {
        std::string block;
        block += static_cast<char>(result.type & 0xFF);
        block += static_cast<char>(result.type >> 8);
        block += result.value;
        *retResult = Handles::AllocMemory(block.data(), block.size());
        SetIf<WORD>(retLen, static_cast<WORD>(block.size()));
    }
    SetIf<BOOL>(retMatches, result.matches ? 1 : 0);
    SetIf<BOOL>(retShouldDelete, result.shouldDelete ? 1 : 0);
    SetIf<BOOL>(retModified, result.modified ? 1 : 0);
    return 0;
}

NOTES_EXPORT STATUS NSFComputeStop(HCOMPUTE compute) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFComputeStop")) {
        return s;
    }
    auto it = Computations().find(compute);
    if (it == Computations().end()) {
        return kStsInvalidHandle;
    }
    Computations().erase(it);
    --Extra().computes;
    return 0;
}

}  // extern "C"
