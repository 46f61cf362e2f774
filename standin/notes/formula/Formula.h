// The formula language: compilation of formula text to a compiled form of our own, and evaluation of
// a compiled formula on a note.
#pragma once

#include <string>
#include <string_view>

#include "FormulaContext.h"

namespace formula {

struct CompileError {
    STATUS status = 0;  // a status of the runtime whose message says what is wrong
    WORD line = 0;      // 1-based
    WORD column = 0;    // 1-based
    WORD offset = 0;    // byte offset of the failing token in the text
    WORD length = 0;    // byte length of the failing token
};

// Compiles LMBCS formula text; on success compiled holds the bytes to keep in a memory handle.
[[nodiscard]] bool Compile(std::string_view text, std::string &compiled, CompileError &error);

struct Result {
    WORD type = notes::kTypeText;  // one of text, text list, number, number list, time, time list, error
    std::string value;             // canonical value bytes without the type word
    bool matches = false;          // the selection result: true for a non-zero number or non-empty text
    bool modified = false;         // FIELD or @SetField assigned an item
    bool shouldDelete = false;
};

// Evaluates compiled bytes on a note; false (with status) only when the compiled bytes are damaged.
// Run-time errors are error values in the result, as in Notes.
[[nodiscard]] bool Evaluate(std::string_view compiled, const FormulaContext &context, Result &result,
                            STATUS &status);

}  // namespace formula
