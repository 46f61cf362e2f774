// The parsed form of a script: its Subs, their statements and expressions, each with its line, and
// the parser that builds it from the text.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ScriptValue.h"

namespace standin::script {

// What went wrong and where: the phase ("Microsoft VBScript compilation error" or "... runtime error"),
// the 1-based line (0 when not known), the description and the text of the line.
struct ScriptError {
    int line = 0;
    std::string source;
    std::string description;
    std::string sourceLine;
};

inline constexpr char kCompilationError[] = "Microsoft VBScript compilation error";
inline constexpr char kRuntimeError[] = "Microsoft VBScript runtime error";

struct Expr {
    enum class Kind {
        Literal,  // value
        Name,     // name
        Member,   // operands[0].name
        Call,     // operands[0](operands[1..])
        Unary,    // name ("not" or "-") operands[0]
        Binary,   // operands[0] name operands[1]; name is the lower-case operator
    };
    Kind kind = Kind::Literal;
    int line = 0;
    Value value;
    std::string name;
    std::vector<std::unique_ptr<Expr>> operands;
};

struct Statement {
    enum class Kind {
        Set,     // Set target = expr
        Assign,  // target = expr
        Call,    // Call expr, or a call written as a statement
        If,      // If expr Then body [Else otherwise] End If
    };
    Kind kind = Kind::Call;
    int line = 0;
    std::string target;
    std::unique_ptr<Expr> expr;
    std::vector<Statement> body;
    std::vector<Statement> otherwise;
};

struct Sub {
    std::string name;
    int line = 0;
    std::vector<Statement> body;
};

struct Program {
    std::vector<std::string> lines;  // the source lines, for error reports
    std::vector<Sub> subs;
};

// Parses a whole script (UTF-8, lines ending in CR LF or LF). False with error filled when the text
// is not in the language subset; the program is then left empty.
[[nodiscard]] bool ParseScript(std::string_view text, Program &program, ScriptError &error);

// The text of a line (1-based), empty when there is no such line.
std::string LineText(const Program &program, int line);

}  // namespace standin::script
