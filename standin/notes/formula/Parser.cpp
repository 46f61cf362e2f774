// Recursive-descent parser of formula statements. Precedence, from loosest to tightest: & and |; !;
// comparisons; + and -; * and /; unary - and +; the list operator ":".
#include "Parser.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "FormulaStatus.h"
#include "FunctionSignature.h"

namespace formula {

namespace {

constexpr WORD kMaxHeight = 256;

bool IsLiteral(const Node &node) {
    return node.kind == NodeKind::Text || node.kind == NodeKind::Number || node.kind == NodeKind::Time;
}

bool EqualsIgnoreCase(const std::string &a, const char *b) {
    std::string_view bv(b);
    if (a.size() != bv.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(bv[i]))) {
            return false;
        }
    }
    return true;
}

// Whether an operator can ever apply to literals of these kinds.
bool TypesFit(unsigned char op, NodeKind left, NodeKind right) {
    bool numbers = left == NodeKind::Number && right == NodeKind::Number;
    switch (op & ~kPermuted) {
        case kOpAdd:
            return numbers || (left == NodeKind::Text && right == NodeKind::Text) ||
                   (left == NodeKind::Time && right == NodeKind::Number) ||
                   (left == NodeKind::Number && right == NodeKind::Time);
        case kOpSubtract:
            return numbers || (left == NodeKind::Time && right == NodeKind::Number) ||
                   (left == NodeKind::Time && right == NodeKind::Time);
        case kOpMultiply:
        case kOpDivide:
        case kOpAnd:
        case kOpOr:
            return numbers;
        default:
            return left == right;
    }
}

}  // namespace

const Token &Parser::Peek(std::size_t ahead) const {
    std::size_t index = std::min(m_pos + ahead, m_tokens.size() - 1);
    return m_tokens[index];
}

const Token &Parser::Take() {
    const Token &token = Peek();
    if (m_pos + 1 < m_tokens.size()) {
        ++m_pos;
    }
    return token;
}

bool Parser::IsOperator(unsigned char op) const {
    return Peek().kind == TokenKind::Operator && Peek().op == op;
}

bool Parser::IsReserved(const Token &token, const char *word) const {
    return token.kind == TokenKind::Name && EqualsIgnoreCase(token.value, word);
}

Parser::NodePtr Parser::MakeNode(NodeKind kind, const Token &at) const {
    auto node = std::make_unique<Node>();
    node->kind = kind;
    node->offset = at.offset;
    node->length = at.length;
    node->line = at.line;
    node->column = at.column;
    return node;
}

Parser::NodePtr Parser::Fail(STATUS status, const Token &at) {
    if (!m_failed) {
        m_failed = true;
        m_error.status = status;
        m_error.offset = at.offset;
        m_error.length = std::max<WORD>(at.length, 1);
        m_error.line = at.line;
        m_error.column = at.column;
    }
    return nullptr;
}

Parser::NodePtr Parser::Binary(unsigned char op, const Token &at, NodePtr left, NodePtr right) const {
    NodePtr node = MakeNode(NodeKind::Binary, at);
    node->op = op;
    node->height = static_cast<WORD>(std::max(left->height, right->height) + 1);
    node->children.push_back(std::move(left));
    node->children.push_back(std::move(right));
    return node;
}

bool Parser::Parse(std::unique_ptr<Node> &root, CompileError &error) {
    auto sequence = std::make_unique<Node>();
    sequence->kind = NodeKind::Sequence;
    bool hasMain = false;
    while (Peek().kind != TokenKind::End) {
        if (Peek().kind == TokenKind::Semicolon) {
            Take();
            continue;
        }
        NodePtr statement = Statement();
        if (!statement) {
            error = m_error;
            return false;
        }
        if (Peek().kind != TokenKind::Semicolon && Peek().kind != TokenKind::End) {
            Fail(kStsOperatorExpected, Peek());
            error = m_error;
            return false;
        }
        if (statement->kind != NodeKind::AssignTemp && statement->kind != NodeKind::Rem) {
            hasMain = true;
        }
        sequence->height = std::max<WORD>(sequence->height, static_cast<WORD>(statement->height + 1));
        sequence->children.push_back(std::move(statement));
    }
    if (!hasMain) {
        Fail(kStsNoMainExpression, Peek());
        error = m_error;
        return false;
    }
    root = std::move(sequence);
    return true;
}

Parser::NodePtr Parser::Statement() {
    const Token &first = Peek();
    if (IsReserved(first, "REM")) {
        const Token &remToken = Take();
        if (Peek().kind != TokenKind::Text) {
            return Fail(kStsMissingOperand, Peek());
        }
        NodePtr node = MakeNode(NodeKind::Rem, remToken);
        node->text = Take().value;
        return node;
    }
    if (IsReserved(first, "SELECT")) {
        const Token &selectToken = Take();
        NodePtr child = Expression();
        if (!child) {
            return nullptr;
        }
        NodePtr node = MakeNode(NodeKind::Select, selectToken);
        node->height = static_cast<WORD>(child->height + 1);
        node->children.push_back(std::move(child));
        return node;
    }
    if (IsReserved(first, "FIELD") || IsReserved(first, "DEFAULT")) {
        NodeKind kind = IsReserved(first, "FIELD") ? NodeKind::AssignField : NodeKind::AssignDefault;
        Take();
        const Token &nameToken = Peek();
        if (nameToken.kind != TokenKind::Name) {
            return Fail(kStsFieldNameExpected, nameToken);
        }
        Take();
        if (Peek().kind != TokenKind::Assign) {
            return Fail(kStsOperatorExpected, Peek());
        }
        return Assignment(kind, nameToken);
    }
    if (first.kind == TokenKind::Name && Peek(1).kind == TokenKind::Assign) {
        const Token &nameToken = Take();
        return Assignment(NodeKind::AssignTemp, nameToken);
    }
    return Expression();
}

// An @function argument: an expression, or an assignment as in @Do(x := 1; FIELD y := x).
Parser::NodePtr Parser::Argument() {
    if (IsReserved(Peek(), "FIELD") && Peek(1).kind == TokenKind::Name && Peek(2).kind == TokenKind::Assign) {
        Take();
        const Token &nameToken = Take();
        return Assignment(NodeKind::AssignField, nameToken);
    }
    if (Peek().kind == TokenKind::Name && Peek(1).kind == TokenKind::Assign) {
        const Token &nameToken = Take();
        return Assignment(NodeKind::AssignTemp, nameToken);
    }
    return Expression();
}

Parser::NodePtr Parser::Assignment(NodeKind kind, const Token &nameToken) {
    Take();  // :=
    NodePtr child = Expression();
    if (!child) {
        return nullptr;
    }
    NodePtr node = MakeNode(kind, nameToken);
    node->text = nameToken.value;
    node->height = static_cast<WORD>(child->height + 1);
    node->children.push_back(std::move(child));
    return node;
}

Parser::NodePtr Parser::Expression() {
    if (++m_depth > kMaxDepth) {
        return Fail(kStsTooComplex, Peek());
    }
    NodePtr node = Logical();
    --m_depth;
    if (node && node->height > kMaxHeight) {
        return Fail(kStsTooComplex, Peek());
    }
    return node;
}

Parser::NodePtr Parser::BinaryLevel(NodePtr (Parser::*operand)(), bool (*takes)(unsigned char op)) {
    NodePtr left = (this->*operand)();
    while (left && Peek().kind == TokenKind::Operator && takes(Peek().op)) {
        const Token &opToken = Take();
        NodePtr right = (this->*operand)();
        if (!right) {
            return nullptr;
        }
        left = Binary(opToken.op, opToken, std::move(left), std::move(right));
        if (left->height > kMaxHeight) {
            return Fail(kStsTooComplex, opToken);
        }
        if (!CheckConstantTypes(*left)) {
            return nullptr;
        }
    }
    return left;
}

Parser::NodePtr Parser::Logical() {
    return BinaryLevel(&Parser::Negation, [](unsigned char op) { return op == kOpAnd || op == kOpOr; });
}

Parser::NodePtr Parser::Negation() {
    if (!IsOperator(kOpNot)) {
        return Comparison();
    }
    const Token &opToken = Take();
    if (++m_depth > kMaxDepth) {
        return Fail(kStsTooComplex, opToken);
    }
    NodePtr child = Negation();
    --m_depth;
    if (!child) {
        return nullptr;
    }
    NodePtr node = MakeNode(NodeKind::Unary, opToken);
    node->op = kOpNot;
    node->height = static_cast<WORD>(child->height + 1);
    node->children.push_back(std::move(child));
    if (!CheckConstantTypes(*node)) {
        return nullptr;
    }
    return node;
}

Parser::NodePtr Parser::Comparison() {
    return BinaryLevel(&Parser::Additive, [](unsigned char op) {
        const unsigned char base = op & ~kPermuted;
        return base >= kOpEqual && base <= kOpGreaterEqual;
    });
}

Parser::NodePtr Parser::Additive() {
    return BinaryLevel(&Parser::Multiplicative, [](unsigned char op) {
        const unsigned char base = op & ~kPermuted;
        return base == kOpAdd || base == kOpSubtract;
    });
}

Parser::NodePtr Parser::Multiplicative() {
    return BinaryLevel(&Parser::Sign, [](unsigned char op) {
        const unsigned char base = op & ~kPermuted;
        return base == kOpMultiply || base == kOpDivide;
    });
}

Parser::NodePtr Parser::Sign() {
    if (!IsOperator(kOpSubtract) && !IsOperator(kOpAdd)) {
        return ListExpr();
    }
    const Token &opToken = Take();
    if (++m_depth > kMaxDepth) {
        return Fail(kStsTooComplex, opToken);
    }
    NodePtr child = Sign();
    --m_depth;
    if (!child) {
        return nullptr;
    }
    NodePtr node = MakeNode(NodeKind::Unary, opToken);
    node->op = opToken.op == kOpSubtract ? kOpNegate : kOpPlus;
    node->height = static_cast<WORD>(child->height + 1);
    node->children.push_back(std::move(child));
    if (!CheckConstantTypes(*node)) {
        return nullptr;
    }
    return node;
}

Parser::NodePtr Parser::ListExpr() {
    return BinaryLevel(&Parser::ListItem, [](unsigned char op) { return op == kOpList; });
}

Parser::NodePtr Parser::ListItem() {
    if (!IsOperator(kOpSubtract) && !IsOperator(kOpNot) && !IsOperator(kOpAdd)) {
        return Primary();
    }
    const Token &opToken = Take();
    if (++m_depth > kMaxDepth) {
        return Fail(kStsTooComplex, opToken);
    }
    NodePtr child = ListItem();
    --m_depth;
    if (!child) {
        return nullptr;
    }
    NodePtr node = MakeNode(NodeKind::Unary, opToken);
    node->op = opToken.op == kOpSubtract ? kOpNegate : opToken.op == kOpAdd ? kOpPlus : kOpNot;
    node->height = static_cast<WORD>(child->height + 1);
    node->children.push_back(std::move(child));
    if (!CheckConstantTypes(*node)) {
        return nullptr;
    }
    return node;
}

Parser::NodePtr Parser::Primary() {
    const Token &token = Peek();
    switch (token.kind) {
        case TokenKind::Text: {
            NodePtr node = MakeNode(NodeKind::Text, Take());
            node->text = token.value;
            return node;
        }
        case TokenKind::Number: {
            NodePtr node = MakeNode(NodeKind::Number, Take());
            node->number = token.number;
            return node;
        }
        case TokenKind::Time: {
            NodePtr node = MakeNode(NodeKind::Time, Take());
            node->time = token.time;
            return node;
        }
        case TokenKind::Keyword: {
            NodePtr node = MakeNode(NodeKind::Keyword, Take());
            node->text = token.value;
            return node;
        }
        case TokenKind::Name: {
            if (IsReserved(token, "SELECT") || IsReserved(token, "FIELD") || IsReserved(token, "DEFAULT") ||
                IsReserved(token, "REM")) {
                return Fail(kStsMissingOperand, token);
            }
            NodePtr node = MakeNode(NodeKind::Name, Take());
            node->text = token.value;
            return node;
        }
        case TokenKind::Function:
            return Call();
        case TokenKind::OpenParen: {
            Take();
            NodePtr inner = Expression();
            if (!inner) {
                return nullptr;
            }
            if (Peek().kind != TokenKind::CloseParen) {
                return Fail(kStsMissingCloseParen, Peek());
            }
            Take();
            return inner;
        }
        default:
            return Fail(kStsMissingOperand, token);
    }
}

Parser::NodePtr Parser::Call() {
    const Token &nameToken = Take();
    const FunctionSignature *spec = FindFunction(nameToken.value);
    if (spec == nullptr) {
        return Fail(kStsUnknownFunction, nameToken);
    }
    NodePtr node = MakeNode(NodeKind::Call, nameToken);
    node->text = spec->name;
    node->function = spec;
    if (Peek().kind == TokenKind::OpenParen) {
        Take();
        if (Peek().kind == TokenKind::CloseParen) {
            Take();
        } else {
            while (true) {
                NodePtr arg;
                if (spec->fieldNameArgs) {
                    if (Peek().kind != TokenKind::Name) {
                        return Fail(kStsFieldNameExpected, Peek());
                    }
                    arg = MakeNode(NodeKind::Name, Peek());
                    arg->text = Take().value;
                } else {
                    arg = Argument();
                    if (!arg) {
                        return nullptr;
                    }
                }
                node->height = std::max<WORD>(node->height, static_cast<WORD>(arg->height + 1));
                node->children.push_back(std::move(arg));
                if (node->children.size() > static_cast<std::size_t>(spec->maxArgs)) {
                    return Fail(kStsTooManyArguments, nameToken);
                }
                if (Peek().kind == TokenKind::Semicolon) {
                    Take();
                    continue;
                }
                if (Peek().kind != TokenKind::CloseParen) {
                    return Fail(kStsMissingCloseParen, Peek());
                }
                Take();
                break;
            }
        }
    }
    if (node->children.size() < static_cast<std::size_t>(spec->minArgs)) {
        return Fail(kStsTooFewArguments, nameToken);
    }
    if (node->height > kMaxHeight) {
        return Fail(kStsTooComplex, nameToken);
    }
    return node;
}

bool Parser::CheckConstantTypes(const Node &node) {
    if (node.kind == NodeKind::Unary) {
        const Node &child = *node.children[0];
        if (IsLiteral(child) && child.kind != NodeKind::Number) {
            Token at;
            at.offset = node.offset;
            at.length = node.length;
            at.line = node.line;
            at.column = node.column;
            Fail(kStsIncorrectDataType, at);
            return false;
        }
        return true;
    }
    if (node.kind != NodeKind::Binary) {
        return true;
    }
    const Node &left = *node.children[0];
    const Node &right = *node.children[1];
    if (!IsLiteral(left) || !IsLiteral(right) || TypesFit(node.op, left.kind, right.kind)) {
        return true;
    }
    Token at;
    at.offset = node.offset;
    at.length = node.length;
    at.line = node.line;
    at.column = node.column;
    Fail(kStsIncorrectDataType, at);
    return false;
}

}  // namespace formula
