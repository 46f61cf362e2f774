// The messages of the formula statuses.
#include "FormulaStatus.h"

namespace formula {

namespace {

const FormulaMessage kMessages[] = {
    {kStsUnknownFunction, "Unknown @Function"},
    {kStsMissingCloseQuote, "Missing close quote"},
    {kStsMissingCloseBrace, "Missing close brace"},
    {kStsMissingCloseBracket, "Missing close bracket"},
    {kStsMissingCloseParen, "Missing close parenthesis"},
    {kStsIncorrectDataType, "Incorrect data type for operator or @Function"},
    {kStsTooManyArguments, "Too many arguments for @Function"},
    {kStsTooFewArguments, "Too few arguments for @Function"},
    {kStsInvalidCharacter, "Invalid character in formula"},
    {kStsMissingOperand, "Missing operand"},
    {kStsOperatorExpected, "An operator or semicolon was expected but none was encountered"},
    {kStsInvalidTime, "Invalid Time or Date"},
    {kStsInvalidNumber, "Invalid number format"},
    {kStsNoMainExpression, "No main or selection expression in formula"},
    {kStsTooComplex, "Formula is too complex"},
    {kStsTooLong, "Formula is too long"},
    {kStsFieldNameExpected, "A field name was expected"},
    {kStsDamaged, "The compiled formula is damaged"},
};

}  // namespace

const FormulaMessage *FormulaMessages(std::size_t &count) {
    count = sizeof(kMessages) / sizeof(kMessages[0]);
    return kMessages;
}

std::string FormulaMessageText(STATUS code) {
    for (const FormulaMessage &m : kMessages) {
        if (m.code == code) {
            return m.text;
        }
    }
    return std::string();
}

}  // namespace formula
