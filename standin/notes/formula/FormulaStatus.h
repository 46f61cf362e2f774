// Statuses of the formula compiler and evaluator, and their messages in the words a Notes user knows.
#pragma once

#include <cstddef>
#include <string>

#include "../../../src/notes/capi/NotesTypes.h"

namespace formula {

constexpr STATUS kStsUnknownFunction = 0x3E40;
constexpr STATUS kStsMissingCloseQuote = 0x3E41;
constexpr STATUS kStsMissingCloseBrace = 0x3E42;
constexpr STATUS kStsMissingCloseBracket = 0x3E43;
constexpr STATUS kStsMissingCloseParen = 0x3E44;
constexpr STATUS kStsIncorrectDataType = 0x3E45;
constexpr STATUS kStsTooManyArguments = 0x3E46;
constexpr STATUS kStsTooFewArguments = 0x3E47;
constexpr STATUS kStsInvalidCharacter = 0x3E48;
constexpr STATUS kStsMissingOperand = 0x3E49;
constexpr STATUS kStsOperatorExpected = 0x3E4A;
constexpr STATUS kStsInvalidTime = 0x3E4B;
constexpr STATUS kStsInvalidNumber = 0x3E4C;
constexpr STATUS kStsNoMainExpression = 0x3E4D;
constexpr STATUS kStsTooComplex = 0x3E4E;
constexpr STATUS kStsTooLong = 0x3E4F;
constexpr STATUS kStsFieldNameExpected = 0x3E50;
constexpr STATUS kStsDamaged = 0x3E51;

struct FormulaMessage {
    STATUS code;
    const char *text;
};

// The table of the statuses above, for the runtime's message table.
const FormulaMessage *FormulaMessages(std::size_t &count);
// The message of one status of the table; empty for another.
std::string FormulaMessageText(STATUS code);

}  // namespace formula
