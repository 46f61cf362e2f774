// A Notes formula: compiled from its text (or adopted as compiled bytes) and evaluated on notes.
#pragma once

#include <string>
#include <vector>

#include "capi/NotesTypes.h"

namespace notes {

// Keeps a private copy of the compiled formula; no Notes handle of its own outlives a call. Copyable.
class NotesFormula {
public:
    NotesFormula() = default;
    explicit NotesFormula(std::string text, std::string name = std::string());
    // Adopts compiled formula bytes (copied) and marks the formula compiled.
    NotesFormula(const char *compiled, WORD length);

    // Compiles the text (NSFFormulaCompile, no name). On success the compiled bytes are copied; the
    // Notes handle of the result is handed to the caller when handle is given (the caller frees it
    // with OSMemFree), else freed. True when the compile status is 0.
    [[nodiscard]] bool Compile(FORMULAHANDLE *handle = nullptr);
    // The formula's value on an open note as text, list entries joined with separator. Failures give
    // an empty text and set the error text.
    std::string Evaluate(NOTEHANDLE note, const std::string &separator);

    bool IsCompiled() const { return m_compiled; }
    const std::string &Text() const { return m_text; }
    const std::string &Name() const { return m_name; }
    const std::vector<char> &CompiledBytes() const { return m_bytes; }
    WORD CompiledLength() const { return static_cast<WORD>(m_bytes.size()); }
    STATUS CompileStatus() const { return m_compileStatus; }
    WORD ErrorLine() const { return m_errorLine; }
    WORD ErrorColumn() const { return m_errorColumn; }
    WORD ErrorOffset() const { return m_errorOffset; }
    WORD ErrorLength() const { return m_errorLength; }
    const std::string &LastError() const { return m_lastError; }

private:
    std::string ResultText(const char *data, std::size_t size, const std::string &separator);

    std::string m_lastError;
    WORD m_errorLine = 0;
    WORD m_errorColumn = 0;
    WORD m_errorOffset = 0;
    WORD m_errorLength = 0;
    bool m_compiled = false;
    std::string m_name;
    std::string m_text;
    std::vector<char> m_bytes;
    STATUS m_compileStatus = 0;
};

}  // namespace notes
