// Builds the statement tree of a formula from its tokens, with Notes operator precedence.
#pragma once

#include <memory>
#include <vector>

#include "Formula.h"
#include "Node.h"
#include "Token.h"

namespace formula {

// Deepest nesting of parentheses, operators and calls that a formula may have.
constexpr int kMaxDepth = 96;

class Parser {
public:
    explicit Parser(const std::vector<Token> &tokens) : m_tokens(tokens) {}
    [[nodiscard]] bool Parse(std::unique_ptr<Node> &root, CompileError &error);

private:
    using NodePtr = std::unique_ptr<Node>;
    NodePtr Statement();
    NodePtr Expression();
    NodePtr Logical();
    NodePtr Negation();
    NodePtr Comparison();
    NodePtr Additive();
    NodePtr Multiplicative();
    NodePtr Sign();
    NodePtr ListExpr();
    NodePtr ListItem();
    NodePtr Primary();
    NodePtr Call();
    NodePtr Argument();
    NodePtr Assignment(NodeKind kind, const Token &nameToken);

    const Token &Peek(std::size_t ahead = 0) const;
    const Token &Take();
    bool IsOperator(unsigned char op) const;
    bool IsReserved(const Token &token, const char *word) const;
    NodePtr MakeNode(NodeKind kind, const Token &at) const;
    NodePtr Binary(unsigned char op, const Token &at, NodePtr left, NodePtr right) const;
    // One left-associative level of binary operators: operands parsed by `operand`, joined while the
    // next token is an operator that `takes` accepts (given the operator code as the token has it).
    NodePtr BinaryLevel(NodePtr (Parser::*operand)(), bool (*takes)(unsigned char op));
    NodePtr Fail(STATUS status, const Token &at);
    bool CheckConstantTypes(const Node &node);

    const std::vector<Token> &m_tokens;
    std::size_t m_pos = 0;
    int m_depth = 0;
    bool m_failed = false;
    CompileError m_error;
};

}  // namespace formula
