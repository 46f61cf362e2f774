// The lexer and recursive-descent parser of the script language subset: Subs without parameters,
// Set, assignment, Call, calls written as statements, If blocks, and expressions over literals,
// names, members and calls with Not, Is, And, Or, comparisons, "+", "-" and "&".
#include <algorithm>
#include <charconv>
#include <initializer_list>

#include "ScriptSyntax.h"

namespace standin::script {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) {
                   return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

namespace {

constexpr int kMaxDepth = 64;  // nesting of expressions and If blocks

struct Token {
    enum class Kind { Word, Number, Text, Symbol, EndOfLine, EndOfText };
    Kind kind = Kind::EndOfText;
    std::string text;  // the word, the symbol, or the text of a literal
    double number = 0;
    int line = 1;
};

// Statements of the language that this engine does not run: named in the error instead of a bare
// syntax error, so that a script author sees what to change.
constexpr std::string_view kUnsupported[] = {
    "dim",     "redim",     "const",   "for",    "next",     "do",     "loop",  "while",
    "wend",    "select",    "case",    "exit",   "function", "elseif", "with",  "on",
    "option",  "class",     "private", "public", "property", "let",    "get",   "erase",
    "execute", "randomize", "goto",    "stop",   "each",     "until",  "step",  "to",
    "new",     "mod",       "xor",     "eqv",    "imp",      "byval",  "byref", "executeglobal"};

constexpr std::string_view kReserved[] = {"sub", "end", "set", "call",    "if",   "then",  "else", "not",
                                          "is",  "and", "or",  "nothing", "true", "false", "rem"};

bool IsOneOf(std::string_view word, std::initializer_list<std::string_view> words) {
    return std::any_of(words.begin(), words.end(), [&](std::string_view w) { return SameName(word, w); });
}

template <std::size_t N>
bool InList(std::string_view word, const std::string_view (&list)[N]) {
    return std::any_of(std::begin(list), std::end(list),
                       [&](std::string_view w) { return SameName(word, w); });
}

class Lexer {
public:
    explicit Lexer(std::string_view text) : m_text(text) {}

    // All tokens, ending with EndOfText. False with error set on a character the language has no use for.
    bool Run(std::vector<Token> &tokens, ScriptError &error) {
        bool statementStart = true;
        while (true) {
            SkipBlanks();
            if (m_at >= m_text.size()) {
                tokens.push_back(Make(Token::Kind::EndOfText, ""));
                return true;
            }
            char c = m_text[m_at];
            if (c == '\'') {
                SkipToLineEnd();
                continue;
            }
            if (c == '\r' || c == '\n' || c == ':') {
                tokens.push_back(Make(Token::Kind::EndOfLine, ""));
                NextLine(c);
                statementStart = true;
                continue;
            }
            if (c == '_' && AtContinuation()) {
                continue;
            }
            if (c == '"') {
                if (!Text(tokens)) {
                    return Fail(error, "Unterminated string constant");
                }
            } else if (c >= '0' && c <= '9') {
                Number(tokens);
            } else if (IsLetter(c)) {
                std::size_t start = m_at;
                while (m_at < m_text.size() &&
                       (IsLetter(m_text[m_at]) || IsDigit(m_text[m_at]) || m_text[m_at] == '_')) {
                    ++m_at;
                }
                std::string_view word = m_text.substr(start, m_at - start);
                if (statementStart && SameName(word, "rem")) {
                    SkipToLineEnd();
                    continue;
                }
                tokens.push_back(Make(Token::Kind::Word, std::string(word)));
            } else if (!Symbol(tokens)) {
                return Fail(error, "Invalid character");
            }
            statementStart = false;
        }
    }

private:
    static bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    Token Make(Token::Kind kind, std::string text) const {
        Token t;
        t.kind = kind;
        t.text = std::move(text);
        t.line = m_line;
        return t;
    }
    bool Fail(ScriptError &error, const char *description) const {
        error.line = m_line;
        error.description = description;
        return false;
    }
    void SkipBlanks() {
        while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t')) {
            ++m_at;
        }
    }
    void SkipToLineEnd() {
        while (m_at < m_text.size() && m_text[m_at] != '\r' && m_text[m_at] != '\n') {
            ++m_at;
        }
    }
    // Steps over a line end (CR LF counts once) or a ':' separator.
    void NextLine(char c) {
        ++m_at;
        if (c == ':') {
            return;
        }
        if (c == '\r' && m_at < m_text.size() && m_text[m_at] == '\n') {
            ++m_at;
        }
        ++m_line;
    }
    // "_" at the end of a line joins the next line to this statement.
    bool AtContinuation() {
        std::size_t at = m_at + 1;
        while (at < m_text.size() && (m_text[at] == ' ' || m_text[at] == '\t')) {
            ++at;
        }
        if (at < m_text.size() && m_text[at] != '\r' && m_text[at] != '\n') {
            return false;
        }
        m_at = at;
        if (m_at < m_text.size()) {
            NextLine(m_text[m_at]);
        }
        return true;
    }
    bool Text(std::vector<Token> &tokens) {
        std::string value;
        ++m_at;
        while (m_at < m_text.size() && m_text[m_at] != '\r' && m_text[m_at] != '\n') {
            if (m_text[m_at] == '"') {
                if (m_at + 1 < m_text.size() && m_text[m_at + 1] == '"') {
                    value += '"';
                    m_at += 2;
                    continue;
                }
                ++m_at;
                tokens.push_back(Make(Token::Kind::Text, std::move(value)));
                return true;
            }
            value += m_text[m_at++];
        }
        return false;
    }
    void Number(std::vector<Token> &tokens) {
        std::size_t start = m_at;
        while (m_at < m_text.size() && IsDigit(m_text[m_at])) {
            ++m_at;
        }
        if (m_at + 1 < m_text.size() && m_text[m_at] == '.' && IsDigit(m_text[m_at + 1])) {
            ++m_at;
            while (m_at < m_text.size() && IsDigit(m_text[m_at])) {
                ++m_at;
            }
        }
        Token t = Make(Token::Kind::Number, std::string(m_text.substr(start, m_at - start)));
        (void)std::from_chars(t.text.data(), t.text.data() + t.text.size(), t.number);
        tokens.push_back(std::move(t));
    }
    bool Symbol(std::vector<Token> &tokens) {
        char c = m_text[m_at];
        char next = m_at + 1 < m_text.size() ? m_text[m_at + 1] : '\0';
        if (c == '<' && (next == '>' || next == '=')) {
            tokens.push_back(Make(Token::Kind::Symbol, std::string{c, next}));
            m_at += 2;
            return true;
        }
        if (c == '>' && next == '=') {
            tokens.push_back(Make(Token::Kind::Symbol, ">="));
            m_at += 2;
            return true;
        }
        if (std::string_view(".,()=+-&*/<>").find(c) == std::string_view::npos) {
            return false;
        }
        tokens.push_back(Make(Token::Kind::Symbol, std::string(1, c)));
        ++m_at;
        return true;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    int m_line = 1;
};

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

    bool Run(Program &program, ScriptError &error) {
        m_error = &error;
        while (!At(Token::Kind::EndOfText)) {
            if (At(Token::Kind::EndOfLine)) {
                ++m_at;
                continue;
            }
            if (!IsWord("sub")) {
                if (Peek().kind == Token::Kind::Word && InList(Peek().text, kUnsupported)) {
                    return Unsupported();
                }
                return Fail("Expected 'Sub': this script engine runs only code inside Subs");
            }
            Sub sub;
            if (!ParseSub(sub)) {
                return false;
            }
            for (const Sub &other : program.subs) {
                if (SameName(other.name, sub.name)) {
                    m_error->line = sub.line;
                    m_error->description = "Name redefined";
                    return false;
                }
            }
            program.subs.push_back(std::move(sub));
        }
        return true;
    }

private:
    const Token &Peek(std::size_t ahead = 0) const {
        return m_tokens[std::min(m_at + ahead, m_tokens.size() - 1)];
    }
    bool At(Token::Kind kind) const { return Peek().kind == kind; }
    bool IsWord(std::string_view word, std::size_t ahead = 0) const {
        return Peek(ahead).kind == Token::Kind::Word && SameName(Peek(ahead).text, word);
    }
    bool IsSymbol(std::string_view symbol) const {
        return Peek().kind == Token::Kind::Symbol && Peek().text == symbol;
    }
    bool AtStatementEnd() const { return At(Token::Kind::EndOfLine) || At(Token::Kind::EndOfText); }
    bool Fail(const std::string &description) {
        m_error->line = Peek().line;
        m_error->description = description;
        return false;
    }
    bool Unsupported() { return Fail("'" + Peek().text + "' is not supported by this script engine"); }
    bool Expect(std::string_view word) {
        if (!IsWord(word)) {
            return Fail("Expected '" + std::string(word) + "'");
        }
        ++m_at;
        return true;
    }
    bool ExpectSymbol(std::string_view symbol) {
        if (!IsSymbol(symbol)) {
            return Fail("Expected '" + std::string(symbol) + "'");
        }
        ++m_at;
        return true;
    }
    bool ExpectStatementEnd() {
        if (!AtStatementEnd()) {
            return Fail("Expected end of statement");
        }
        if (At(Token::Kind::EndOfLine)) {
            ++m_at;
        }
        return true;
    }
    bool Identifier(std::string &name) {
        if (!At(Token::Kind::Word) || InList(Peek().text, kReserved)) {
            return Fail("Expected identifier");
        }
        if (InList(Peek().text, kUnsupported)) {
            return Unsupported();
        }
        name = Peek().text;
        ++m_at;
        return true;
    }

    bool ParseSub(Sub &sub) {
        sub.line = Peek().line;
        ++m_at;
        if (!Identifier(sub.name)) {
            return false;
        }
        if (IsSymbol("(")) {
            ++m_at;
            if (!IsSymbol(")")) {
                return Fail("Subs with parameters are not supported by this script engine");
            }
            ++m_at;
        }
        if (!ExpectStatementEnd() || !Block(sub.body, 0)) {
            return false;
        }
        if (!Expect("End")) {
            return false;
        }
        return Expect("Sub") && ExpectStatementEnd();
    }

    // Statements up to a line that starts with End or Else (left for the caller).
    bool Block(std::vector<Statement> &body, int depth) {
        while (true) {
            if (At(Token::Kind::EndOfLine)) {
                ++m_at;
                continue;
            }
            if (At(Token::Kind::EndOfText)) {
                return Fail("Expected 'End'");
            }
            if (IsWord("end") || IsWord("else")) {
                return true;
            }
            if (IsWord("sub")) {
                return Fail("Expected 'End Sub' before another 'Sub'");
            }
            Statement s;
            if (!ParseStatement(s, depth, false) || !ExpectStatementEnd()) {
                return false;
            }
            body.push_back(std::move(s));
        }
    }

    bool ParseStatement(Statement &s, int depth, bool oneLine) {
        s.line = Peek().line;
        if (depth > kMaxDepth) {
            return Fail("Expression too complex");
        }
        if (IsWord("set")) {
            ++m_at;
            s.kind = Statement::Kind::Set;
            return Identifier(s.target) && ExpectSymbol("=") && Expression(s.expr, depth);
        }
        if (IsWord("call")) {
            ++m_at;
            s.kind = Statement::Kind::Call;
            return Postfix(s.expr, depth);
        }
        if (IsWord("if")) {
            return ParseIf(s, depth, oneLine);
        }
        if (At(Token::Kind::Word) && InList(Peek().text, kUnsupported)) {
            return Unsupported();
        }
        if (!Postfix(s.expr, depth)) {
            return false;
        }
        if (IsSymbol("=")) {
            if (s.expr->kind != Expr::Kind::Name) {
                return Fail("Assigning to a property is not supported by this script engine");
            }
            ++m_at;
            s.kind = Statement::Kind::Assign;
            s.target = s.expr->name;
            return Expression(s.expr, depth);
        }
        s.kind = Statement::Kind::Call;
        if (AtStatementEnd() || IsWord("else")) {
            return true;
        }
        // A call without parentheses: "obj.Method a, b".
        auto call = std::make_unique<Expr>();
        call->kind = Expr::Kind::Call;
        call->line = s.line;
        call->operands.push_back(std::move(s.expr));
        while (true) {
            std::unique_ptr<Expr> arg;
            if (!Expression(arg, depth)) {
                return false;
            }
            call->operands.push_back(std::move(arg));
            if (!IsSymbol(",")) {
                break;
            }
            ++m_at;
        }
        s.expr = std::move(call);
        return true;
    }

    bool ParseIf(Statement &s, int depth, bool oneLine) {
        ++m_at;
        s.kind = Statement::Kind::If;
        if (!Expression(s.expr, depth) || !Expect("Then")) {
            return false;
        }
        if (!AtStatementEnd()) {
            // "If c Then statement [Else statement]" on one line.
            Statement inner;
            if (!ParseStatement(inner, depth + 1, true)) {
                return false;
            }
            s.body.push_back(std::move(inner));
            if (IsWord("else")) {
                ++m_at;
                Statement other;
                if (!ParseStatement(other, depth + 1, true)) {
                    return false;
                }
                s.otherwise.push_back(std::move(other));
            }
            return true;
        }
        if (oneLine) {
            return Fail("Expected statement after 'Then'");
        }
        ++m_at;
        if (!Block(s.body, depth + 1)) {
            return false;
        }
        if (IsWord("else")) {
            ++m_at;
            if (!ExpectStatementEnd() || !Block(s.otherwise, depth + 1)) {
                return false;
            }
        }
        return Expect("End") && Expect("If");
    }

    std::unique_ptr<Expr> Node(Expr::Kind kind, int line, std::string name = std::string()) {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->line = line;
        e->name = std::move(name);
        return e;
    }

    bool Expression(std::unique_ptr<Expr> &out, int depth) { return Binary(out, depth + 1, 0); }

    // Binary levels, loosest first: Or; And; Not (unary, handled at level 2); comparisons and Is; "&";
    // "+" and "-".
    bool Binary(std::unique_ptr<Expr> &out, int depth, int level) {
        if (depth > kMaxDepth) {
            return Fail("Expression too complex");
        }
        if (level == 2) {
            if (IsWord("not")) {
                int line = Peek().line;
                ++m_at;
                auto e = Node(Expr::Kind::Unary, line, "not");
                e->operands.emplace_back();
                if (!Binary(e->operands.back(), depth + 1, 2)) {
                    return false;
                }
                out = std::move(e);
                return true;
            }
            return Binary(out, depth, 3);
        }
        if (level == 6) {
            return Unary(out, depth);
        }
        if (!Binary(out, depth, level + 1)) {
            return false;
        }
        while (true) {
            std::string op;
            if (level == 0 && IsWord("or")) {
                op = "or";
            } else if (level == 1 && IsWord("and")) {
                op = "and";
            } else if (level == 3 && IsWord("is")) {
                op = "is";
            } else if (level == 3 && Peek().kind == Token::Kind::Symbol &&
                       IsOneOf(Peek().text, {"=", "<>", "<", ">", "<=", ">="})) {
                op = Peek().text;
            } else if (level == 4 && IsSymbol("&")) {
                op = "&";
            } else if (level == 5 && (IsSymbol("+") || IsSymbol("-"))) {
                op = Peek().text;
            } else {
                return true;
            }
            auto e = Node(Expr::Kind::Binary, Peek().line, op);
            ++m_at;
            e->operands.push_back(std::move(out));
            e->operands.emplace_back();
            if (!Binary(e->operands.back(), depth + 1, level + 1)) {
                return false;
            }
            out = std::move(e);
        }
    }

    bool Unary(std::unique_ptr<Expr> &out, int depth) {
        if (depth > kMaxDepth) {
            return Fail("Expression too complex");
        }
        if (IsSymbol("-")) {
            auto e = Node(Expr::Kind::Unary, Peek().line, "-");
            ++m_at;
            e->operands.emplace_back();
            if (!Unary(e->operands.back(), depth + 1)) {
                return false;
            }
            out = std::move(e);
            return true;
        }
        return Postfix(out, depth);
    }

    bool Postfix(std::unique_ptr<Expr> &out, int depth) {
        if (!Primary(out, depth)) {
            return false;
        }
        while (true) {
            if (IsSymbol(".")) {
                ++m_at;
                if (!At(Token::Kind::Word)) {
                    return Fail("Expected identifier");
                }
                auto e = Node(Expr::Kind::Member, Peek().line, Peek().text);
                ++m_at;
                e->operands.push_back(std::move(out));
                out = std::move(e);
            } else if (IsSymbol("(")) {
                auto e = Node(Expr::Kind::Call, Peek().line);
                ++m_at;
                e->operands.push_back(std::move(out));
                if (!Arguments(*e, depth)) {
                    return false;
                }
                out = std::move(e);
            } else {
                return true;
            }
        }
    }

    bool Arguments(Expr &call, int depth) {
        if (IsSymbol(")")) {
            ++m_at;
            return true;
        }
        while (true) {
            call.operands.emplace_back();
            if (!Expression(call.operands.back(), depth + 1)) {
                return false;
            }
            if (IsSymbol(")")) {
                ++m_at;
                return true;
            }
            if (!ExpectSymbol(",")) {
                return Fail("Expected ')'");
            }
        }
    }

    bool Primary(std::unique_ptr<Expr> &out, int depth) {
        const Token &t = Peek();
        if (t.kind == Token::Kind::Number || t.kind == Token::Kind::Text) {
            out = Node(Expr::Kind::Literal, t.line);
            out->value = t.kind == Token::Kind::Number ? Value::Number(t.number) : Value::Text(t.text);
            ++m_at;
            return true;
        }
        if (IsWord("nothing") || IsWord("true") || IsWord("false")) {
            out = Node(Expr::Kind::Literal, t.line);
            out->value = IsWord("nothing") ? Value::Nothing() : Value::Boolean(IsWord("true"));
            ++m_at;
            return true;
        }
        if (IsSymbol("(")) {
            ++m_at;
            return Expression(out, depth + 1) && ExpectSymbol(")");
        }
        if (t.kind == Token::Kind::Word) {
            std::string name;
            if (!Identifier(name)) {
                return false;
            }
            out = Node(Expr::Kind::Name, t.line, name);
            return true;
        }
        return Fail("Expected expression");
    }

    std::vector<Token> m_tokens;
    std::size_t m_at = 0;
    ScriptError *m_error = nullptr;
};

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
            lines.emplace_back(text.substr(start, i - start));
            if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    return lines;
}

}  // namespace

std::string LineText(const Program &program, int line) {
    if (line < 1 || static_cast<std::size_t>(line) > program.lines.size()) {
        return std::string();
    }
    return program.lines[static_cast<std::size_t>(line) - 1];
}

bool ParseScript(std::string_view text, Program &program, ScriptError &error) {
    program = Program();
    std::vector<Token> tokens;
    error = ScriptError();
    error.source = kCompilationError;
    Lexer lexer(text);
    Program parsed;
    parsed.lines = SplitLines(text);
    if (lexer.Run(tokens, error) && Parser(std::move(tokens)).Run(parsed, error)) {
        program = std::move(parsed);
        error = ScriptError();
        return true;
    }
    error.sourceLine = LineText(parsed, error.line);
    return false;
}

}  // namespace standin::script
