// One token of formula text, with its place in the text for error reports.
#pragma once

#include <string>

#include "../../../src/notes/capi/NotesTypes.h"

namespace formula {

enum class TokenKind : unsigned char {
    End,
    Text,      // "..." or {...}; value holds the text
    Number,    // number holds the value
    Time,      // [date-time]; time holds it
    Keyword,   // [WORD]; value holds "[WORD]" in upper case
    Name,      // identifier (field, variable or reserved word)
    Function,  // @Name; value holds the name with the @
    Operator,  // op holds the operator code (with kPermuted)
    Assign,    // :=
    OpenParen,
    CloseParen,
    Semicolon,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string value;
    double number = 0;
    TIMEDATE time{};
    unsigned char op = 0;
    WORD offset = 0;
    WORD length = 0;
    WORD line = 1;
    WORD column = 1;
};

}  // namespace formula
