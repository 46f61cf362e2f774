// Compilation and evaluation entry points of the formula language.
#include "Formula.h"

#include "CompiledForm.h"
#include "FormulaStatus.h"
#include "Lexer.h"
#include "Parser.h"
#include "Program.h"

namespace formula {

bool Compile(std::string_view text, std::string &compiled, CompileError &error) {
    error = CompileError();
    compiled.clear();
    if (text.size() > 0xFFFF) {
        error.status = kStsTooLong;
        error.line = 1;
        error.column = 1;
        error.length = 0xFFFF;
        return false;
    }
    std::vector<Token> tokens;
    Lexer lexer(text);
    if (!lexer.Tokenize(tokens, error)) {
        return false;
    }
    std::unique_ptr<Node> root;
    Parser parser(tokens);
    if (!parser.Parse(root, error)) {
        return false;
    }
    std::string bytes = CompiledForm::Write(*root);
    if (bytes.size() > 0xFFFF) {
        error.status = kStsTooLong;
        error.line = 1;
        error.column = 1;
        error.length = static_cast<WORD>(text.size());
        return false;
    }
    compiled = std::move(bytes);
    return true;
}

bool Evaluate(std::string_view compiled, const FormulaContext &context, Result &result, STATUS &status) {
    Program program;
    if (!program.Load(compiled, status)) {
        return false;
    }
    program.Run(context, result);
    return true;
}

}  // namespace formula
