// The formula tokenizer: literals, names, @function names and Notes operators (with permuted forms).
#include "Lexer.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "FormulaStatus.h"
#include "Node.h"
#include "common/Lmbcs.h"
#include "common/TimeDate.h"

namespace formula {

namespace {

bool IsNameStart(unsigned char c) {
    return std::isalpha(c) || c == '_' || c == '$' || c >= 0x80;
}
bool IsNameChar(unsigned char c) {
    return IsNameStart(c) || std::isdigit(c) || c == '.';
}

struct OperatorText {
    const char *text;
    unsigned char op;
};

// Longest first, so that "*<=" wins over "*<" and "*".
const OperatorText kOperators[] = {
    {"*<>", kOpNotEqual | kPermuted},
    {"*!=", kOpNotEqual | kPermuted},
    {"*<=", kOpLessEqual | kPermuted},
    {"*>=", kOpGreaterEqual | kPermuted},
    {"*=", kOpEqual | kPermuted},
    {"*<", kOpLess | kPermuted},
    {"*>", kOpGreater | kPermuted},
    {"*+", kOpAdd | kPermuted},
    {"*-", kOpSubtract | kPermuted},
    {"**", kOpMultiply | kPermuted},
    {"*/", kOpDivide | kPermuted},
    {"!=", kOpNotEqual},
    {"<>", kOpNotEqual},
    {"=!", kOpNotEqual},
    {"><", kOpNotEqual},
    {"<=", kOpLessEqual},
    {">=", kOpGreaterEqual},
    {"=<", kOpLessEqual},
    {"=>", kOpGreaterEqual},
    {"=", kOpEqual},
    {"<", kOpLess},
    {">", kOpGreater},
    {"+", kOpAdd},
    {"-", kOpSubtract},
    {"*", kOpMultiply},
    {"/", kOpDivide},
    {"!", kOpNot},
    {"&", kOpAnd},
    {"|", kOpOr},
    {":", kOpList},
};

WORD Clamp(std::size_t n) {
    return static_cast<WORD>(std::min<std::size_t>(n, 0xFFFF));
}

}  // namespace

std::size_t Lexer::CharLength(std::size_t at) const {
    unsigned char c = static_cast<unsigned char>(m_text[at]);
    if (c >= 0x20 || c == '\t' || c == '\n' || c == '\r') {
        return 1;
    }
    return std::max<std::size_t>(
        1, standin::LmbcsCharLength(reinterpret_cast<const unsigned char *>(m_text.data()) + at,
                                    m_text.size() - at));
}

void Lexer::Advance(std::size_t count) {
    for (std::size_t i = 0; i < count && m_pos < m_text.size(); ++i, ++m_pos) {
        if (m_text[m_pos] == '\n') {
            ++m_line;
            m_column = 1;
        } else if (m_column < 0xFFFF) {
            ++m_column;
        }
    }
}

void Lexer::Fail(CompileError &error, STATUS status, std::size_t offset, std::size_t length, WORD line,
                 WORD column) const {
    error.status = status;
    error.offset = Clamp(offset);
    error.length = Clamp(std::max<std::size_t>(length, 1));
    error.line = line;
    error.column = column;
}

bool Lexer::Tokenize(std::vector<Token> &tokens, CompileError &error) {
    tokens.clear();
    while (true) {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' ||
                                         m_text[m_pos] == '\r' || m_text[m_pos] == '\n')) {
            Advance(1);
        }
        Token token;
        token.offset = Clamp(m_pos);
        token.line = m_line;
        token.column = m_column;
        if (m_pos >= m_text.size()) {
            token.kind = TokenKind::End;
            tokens.push_back(token);
            return true;
        }
        std::size_t start = m_pos;
        unsigned char c = static_cast<unsigned char>(m_text[m_pos]);
        bool ok = true;
        if (c == '"') {
            ok = LexString(token, '"', error);
        } else if (c == '{') {
            ok = LexString(token, '}', error);
        } else if (c == '[') {
            ok = LexBracket(token, error);
        } else if (std::isdigit(c) || (c == '.' && m_pos + 1 < m_text.size() &&
                                       std::isdigit(static_cast<unsigned char>(m_text[m_pos + 1])))) {
            ok = LexNumber(token, error);
        } else if (c == '@') {
            Advance(1);
            while (m_pos < m_text.size() && IsNameChar(static_cast<unsigned char>(m_text[m_pos]))) {
                Advance(1);
            }
            token.kind = TokenKind::Function;
            token.value = std::string(m_text.substr(start, m_pos - start));
        } else if (IsNameStart(c)) {
            while (m_pos < m_text.size() && IsNameChar(static_cast<unsigned char>(m_text[m_pos]))) {
                Advance(1);
            }
            token.kind = TokenKind::Name;
            token.value = std::string(m_text.substr(start, m_pos - start));
        } else if (c == '(') {
            token.kind = TokenKind::OpenParen;
            Advance(1);
        } else if (c == ')') {
            token.kind = TokenKind::CloseParen;
            Advance(1);
        } else if (c == ';') {
            token.kind = TokenKind::Semicolon;
            Advance(1);
        } else if (c == ':' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '=') {
            token.kind = TokenKind::Assign;
            Advance(2);
        } else if (!LexOperator(token)) {
            Fail(error, kStsInvalidCharacter, m_pos, 1, m_line, m_column);
            return false;
        }
        if (!ok) {
            return false;
        }
        token.length = Clamp(m_pos - start);
        tokens.push_back(std::move(token));
    }
}

bool Lexer::LexString(Token &token, char close, CompileError &error) {
    std::size_t start = m_pos;
    WORD line = m_line;
    WORD column = m_column;
    Advance(1);
    std::string value;
    while (m_pos < m_text.size()) {
        char c = m_text[m_pos];
        if (c == '\\' && m_pos + 1 < m_text.size()) {
            value += m_text[m_pos + 1];
            Advance(2);
            continue;
        }
        if (c == close) {
            Advance(1);
            token.kind = TokenKind::Text;
            token.value = std::move(value);
            return true;
        }
        // A group byte starts a multi-byte LMBCS character whose later bytes may look like quotes.
        std::size_t length = CharLength(m_pos);
        value += m_text.substr(m_pos, length);
        Advance(length);
    }
    Fail(error, close == '"' ? kStsMissingCloseQuote : kStsMissingCloseBrace, start, m_text.size() - start,
         line, column);
    return false;
}

bool Lexer::LexNumber(Token &token, CompileError &error) {
    std::size_t start = m_pos;
    WORD line = m_line;
    WORD column = m_column;
    std::size_t end = m_pos;
    auto digits = [&] {
        while (end < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[end]))) {
            ++end;
        }
    };
    digits();
    if (end < m_text.size() && m_text[end] == '.') {
        ++end;
        digits();
    }
    if (end < m_text.size() && (m_text[end] == 'e' || m_text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < m_text.size() && (m_text[exponent] == '+' || m_text[exponent] == '-')) {
            ++exponent;
        }
        if (exponent < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[exponent]))) {
            end = exponent;
            digits();
        }
    }
    std::string text(m_text.substr(start, end - start));
    char *parsedEnd = nullptr;
    double value = std::strtod(text.c_str(), &parsedEnd);
    if (parsedEnd != text.c_str() + text.size() || !std::isfinite(value)) {
        Fail(error, kStsInvalidNumber, start, end - start, line, column);
        return false;
    }
    Advance(end - start);
    token.kind = TokenKind::Number;
    token.number = value;
    return true;
}

bool Lexer::LexBracket(Token &token, CompileError &error) {
    std::size_t start = m_pos;
    WORD line = m_line;
    WORD column = m_column;
    std::size_t close = m_text.find(']', m_pos + 1);
    if (close == std::string_view::npos) {
        Fail(error, kStsMissingCloseBracket, start, m_text.size() - start, line, column);
        return false;
    }
    std::string inner(m_text.substr(start + 1, close - start - 1));
    std::size_t first = inner.find_first_not_of(" \t");
    std::size_t last = inner.find_last_not_of(" \t");
    std::string trimmed = first == std::string::npos ? std::string() : inner.substr(first, last - first + 1);
    Advance(close + 1 - start);
    if (!trimmed.empty() && std::isalpha(static_cast<unsigned char>(trimmed[0]))) {
        token.kind = TokenKind::Keyword;
        token.value = "[";
        for (char c : trimmed) {
            token.value += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        token.value += "]";
        return true;
    }
    TIMEDATE time{};
    if (trimmed.empty() || !standin::ParseTimeDate(trimmed, time)) {
        Fail(error, kStsInvalidTime, start, close + 1 - start, line, column);
        return false;
    }
    token.kind = TokenKind::Time;
    token.time = time;
    return true;
}

bool Lexer::LexOperator(Token &token) {
    std::string_view rest = m_text.substr(m_pos);
    for (const OperatorText &candidate : kOperators) {
        std::string_view text(candidate.text);
        if (rest.substr(0, text.size()) == text) {
            token.kind = TokenKind::Operator;
            token.op = candidate.op;
            Advance(text.size());
            return true;
        }
    }
    return false;
}

}  // namespace formula
