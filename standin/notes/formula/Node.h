// The parsed form of a formula: a tree of statements, operators, literals, names and @function calls.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "../../../src/notes/capi/NotesTypes.h"

namespace formula {

struct FunctionSignature;

enum class NodeKind : unsigned char {
    Sequence = 1,   // statements in order; the last value is the formula's value
    Text,           // text literal
    Number,         // number literal
    Time,           // date-time literal
    Keyword,        // [KEYWORD] argument, kept as upper-case text with its brackets
    Name,           // a temporary variable or field, found by name at run time
    Unary,          // op, one child
    Binary,         // op, two children
    Call,           // @function by name, arguments as children
    AssignTemp,     // name := child
    AssignField,    // FIELD name := child
    AssignDefault,  // DEFAULT name := child
    Select,         // SELECT child
    Rem,            // REM "comment"
};
constexpr unsigned char kLastNodeKind = static_cast<unsigned char>(NodeKind::Rem);

// Operators; permuted forms add kPermuted.
enum Op : unsigned char {
    kOpNone = 0,
    kOpList,
    kOpNegate,
    kOpPlus,
    kOpNot,
    kOpMultiply,
    kOpDivide,
    kOpAdd,
    kOpSubtract,
    kOpEqual,
    kOpNotEqual,
    kOpLess,
    kOpGreater,
    kOpLessEqual,
    kOpGreaterEqual,
    kOpAnd,
    kOpOr,
    kOpLast = kOpOr,
};
constexpr unsigned char kPermuted = 0x80;

struct Node {
    NodeKind kind = NodeKind::Sequence;
    unsigned char op = kOpNone;
    std::string text;  // literal text, name, keyword or function name
    double number = 0;
    TIMEDATE time{};
    std::vector<std::unique_ptr<Node>> children;
    const FunctionSignature *function = nullptr;  // resolved for calls
    // Where the node's token is in the formula text (compile time only; not kept in compiled bytes).
    WORD offset = 0;
    WORD length = 0;
    WORD line = 1;
    WORD column = 1;
    WORD height = 1;  // longest path to a leaf, bounded so that walking the tree cannot exhaust the stack
};

}  // namespace formula
