// Splits LMBCS formula text into tokens.
#pragma once

#include <string_view>
#include <vector>

#include "Formula.h"
#include "Token.h"

namespace formula {

class Lexer {
public:
    explicit Lexer(std::string_view text) : m_text(text) {}
    // All tokens, ending with an End token; false with the error of the first bad token.
    [[nodiscard]] bool Tokenize(std::vector<Token> &tokens, CompileError &error);

private:
    bool LexString(Token &token, char close, CompileError &error);
    bool LexNumber(Token &token, CompileError &error);
    bool LexBracket(Token &token, CompileError &error);
    bool LexOperator(Token &token);
    std::size_t CharLength(std::size_t at) const;
    void Advance(std::size_t count);
    void Fail(CompileError &error, STATUS status, std::size_t offset, std::size_t length, WORD line,
              WORD column) const;

    std::string_view m_text;
    std::size_t m_pos = 0;
    WORD m_line = 1;
    WORD m_column = 1;
};

}  // namespace formula
