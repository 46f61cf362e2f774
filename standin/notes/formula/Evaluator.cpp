// The evaluator: statements, names and the operators. Lists combine pairwise (the shorter list repeats
// its last entry) or, for permuted operators, every entry of one with every entry of the other.
#include "Evaluator.h"

#include <cctype>
#include <cmath>

#include "CanonicalValue.h"
#include "FunctionSignature.h"
#include "LmbcsText.h"
#include "common/TimeDate.h"

namespace formula {

namespace {

constexpr const char kTypeErrorText[] = "Incorrect data type for operator or @Function: ";

std::size_t Bytes(const Value &v) {
    std::size_t total = 0;
    for (const std::string &t : v.texts) {
        total += t.size();
    }
    return total + v.numbers.size() * 8 + v.times.size() * 8 + v.error.size();
}

// Index pairs of a binary operation: pairwise with the last entry repeated, or every combination (the
// right operand's entries outer, as Notes lists them).
template <typename F>
bool ForPairs(std::size_t leftSize, std::size_t rightSize, bool permuted, F &&apply) {
    if (permuted) {
        if (leftSize * rightSize > kMaxEntries) {
            return false;
        }
        for (std::size_t j = 0; j < rightSize; ++j) {
            for (std::size_t i = 0; i < leftSize; ++i) {
                apply(i, j);
            }
        }
        return true;
    }
    std::size_t n = std::max(leftSize, rightSize);
    for (std::size_t k = 0; k < n; ++k) {
        apply(std::min(k, leftSize - 1), std::min(k, rightSize - 1));
    }
    return true;
}

int CompareEntries(const Value &a, std::size_t i, const Value &b, std::size_t j) {
    switch (a.kind) {
        case Kind::Text:
            return LmbcsText::CompareNoCase(a.texts[i], b.texts[j]);
        case Kind::Number:
            return a.numbers[i] < b.numbers[j] ? -1 : (a.numbers[i] > b.numbers[j] ? 1 : 0);
        case Kind::Time: {
            std::int64_t d = standin::DifferenceHundredths(a.times[i], b.times[j]);
            return d < 0 ? -1 : (d > 0 ? 1 : 0);
        }
        case Kind::Error:
            break;
    }
    return 0;
}

bool CompareHolds(unsigned char base, int c) {
    switch (base) {
        case kOpEqual:
            return c == 0;
        case kOpNotEqual:
            return c != 0;
        case kOpLess:
            return c < 0;
        case kOpGreater:
            return c > 0;
        case kOpLessEqual:
            return c <= 0;
        case kOpGreaterEqual:
            return c >= 0;
        default:
            return false;
    }
}

Value Concatenate(const Value &left, const Value &right) {
    if (left.kind != right.kind) {
        return Evaluator::TypeError(left.kind);
    }
    if (left.Size() + right.Size() > kMaxEntries || Bytes(left) + Bytes(right) > kMaxValueBytes) {
        return Evaluator::TooLarge();
    }
    Value out = left;
    out.texts.insert(out.texts.end(), right.texts.begin(), right.texts.end());
    out.numbers.insert(out.numbers.end(), right.numbers.begin(), right.numbers.end());
    out.times.insert(out.times.end(), right.times.begin(), right.times.end());
    return out;
}

Value Compare(unsigned char op, const Value &left, const Value &right) {
    if (left.kind != right.kind) {
        return Evaluator::TypeError(left.kind);
    }
    unsigned char base = op & ~kPermuted;
    bool any = false;
    bool fits = ForPairs(left.Size(), right.Size(), (op & kPermuted) != 0, [&](std::size_t i, std::size_t j) {
        if (!any && CompareHolds(base, CompareEntries(left, i, right, j))) {
            any = true;
        }
    });
    if (!fits) {
        return Evaluator::TooLarge();
    }
    return Value::Bool(any);
}

Value Arithmetic(unsigned char op, const Value &left, const Value &right) {
    unsigned char base = op & ~kPermuted;
    bool permuted = (op & kPermuted) != 0;
    Kind a = left.kind;
    Kind b = right.kind;
    Value out;
    bool fits = false;
    bool divisionByZero = false;
    if (a == Kind::Number && b == Kind::Number) {
        out.kind = Kind::Number;
        fits = ForPairs(left.Size(), right.Size(), permuted, [&](std::size_t i, std::size_t j) {
            double x = left.numbers[i];
            double y = right.numbers[j];
            switch (base) {
                case kOpAdd:
                    out.numbers.push_back(x + y);
                    break;
                case kOpSubtract:
                    out.numbers.push_back(x - y);
                    break;
                case kOpMultiply:
                    out.numbers.push_back(x * y);
                    break;
                default:
                    if (y == 0) {
                        divisionByZero = true;
                        out.numbers.push_back(0);
                    } else {
                        out.numbers.push_back(x / y);
                    }
                    break;
            }
        });
    } else if (base == kOpAdd && a == Kind::Text && b == Kind::Text) {
        std::size_t total = 0;
        fits = ForPairs(left.Size(), right.Size(), permuted, [&](std::size_t i, std::size_t j) {
            total += left.texts[i].size() + right.texts[j].size();
            if (total <= kMaxValueBytes) {
                out.texts.push_back(left.texts[i] + right.texts[j]);
            }
        });
        if (total > kMaxValueBytes) {
            return Evaluator::TooLarge();
        }
    } else if ((base == kOpAdd || base == kOpSubtract) && a == Kind::Time && b == Kind::Number) {
        out.kind = Kind::Time;
        double sign = base == kOpAdd ? 1 : -1;
        fits = ForPairs(left.Size(), right.Size(), permuted, [&](std::size_t i, std::size_t j) {
            out.times.push_back(standin::AddHundredths(
                left.times[i], static_cast<std::int64_t>(std::llround(sign * right.numbers[j] * 100))));
        });
    } else if (base == kOpAdd && a == Kind::Number && b == Kind::Time) {
        out.kind = Kind::Time;
        fits = ForPairs(left.Size(), right.Size(), permuted, [&](std::size_t i, std::size_t j) {
            out.times.push_back(standin::AddHundredths(
                right.times[j], static_cast<std::int64_t>(std::llround(left.numbers[i] * 100))));
        });
    } else if (base == kOpSubtract && a == Kind::Time && b == Kind::Time) {
        out.kind = Kind::Number;
        fits = ForPairs(left.Size(), right.Size(), permuted, [&](std::size_t i, std::size_t j) {
            out.numbers.push_back(
                static_cast<double>(standin::DifferenceHundredths(left.times[i], right.times[j])) / 100.0);
        });
    } else {
        Kind expected = a;
        if (a == Kind::Text && base != kOpAdd) {
            expected = Kind::Number;
        } else if (a == Kind::Number && b == Kind::Text) {
            expected = Kind::Number;
        }
        return Evaluator::TypeError(
            expected == Kind::Time && base != kOpAdd && base != kOpSubtract ? Kind::Number : expected);
    }
    if (!fits) {
        return Evaluator::TooLarge();
    }
    if (divisionByZero) {
        return Value::Error("Division by zero");
    }
    return out;
}

Value Logical(unsigned char op, const Value &left, const Value &right) {
    if (left.kind != Kind::Number) {
        return Evaluator::TypeError(Kind::Number);
    }
    if (right.kind != Kind::Number) {
        return Evaluator::TypeError(Kind::Number);
    }
    bool a = left.Truth();
    bool b = right.Truth();
    return Value::Bool(op == kOpAnd ? (a && b) : (a || b));
}

}  // namespace

Value Evaluator::TypeError(Kind expected) {
    const char *what = "Text expected";
    if (expected == Kind::Number) {
        what = "Number expected";
    } else if (expected == Kind::Time) {
        what = "Time/Date expected";
    }
    return Value::Error(std::string(kTypeErrorText) + what);
}

Value Evaluator::TooLarge() {
    return Value::Error("The formula result is too large");
}

Value Evaluator::Operate(unsigned char op, const Value &left, const Value &right) {
    if (left.IsError()) {
        return left;
    }
    if (right.IsError()) {
        return right;
    }
    unsigned char base = op & ~kPermuted;
    switch (base) {
        case kOpList:
            return Concatenate(left, right);
        case kOpEqual:
        case kOpNotEqual:
        case kOpLess:
        case kOpGreater:
        case kOpLessEqual:
        case kOpGreaterEqual:
            return Compare(op, left, right);
        case kOpAnd:
        case kOpOr:
            return Logical(base, left, right);
        case kOpAdd:
        case kOpSubtract:
        case kOpMultiply:
        case kOpDivide:
            return Arithmetic(op, left, right);
        default:
            return Value::Error("Unknown operator");
    }
}

Value Evaluator::Unary(unsigned char op, const Value &operand) {
    if (operand.IsError()) {
        return operand;
    }
    if (operand.kind != Kind::Number) {
        return TypeError(Kind::Number);
    }
    Value out = operand;
    for (double &n : out.numbers) {
        if (op == kOpNegate) {
            n = -n;
        } else if (op == kOpNot) {
            n = n == 0 ? 1 : 0;
        }
    }
    return out;
}

std::string Evaluator::Key(const std::string &name) {
    std::string key = name;
    for (char &c : key) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

bool Evaluator::HasField(const std::string &name) const {
    if (m_fields.count(Key(name)) != 0) {
        return true;
    }
    WORD type = 0;
    std::string bytes;
    return m_context.FindItem(name, type, bytes);
}

Value Evaluator::FieldValue(const std::string &name) const {
    auto assigned = m_fields.find(Key(name));
    if (assigned != m_fields.end()) {
        return assigned->second;
    }
    WORD type = 0;
    std::string bytes;
    if (!m_context.FindItem(name, type, bytes)) {
        return Value::Text(std::string());
    }
    return CanonicalValue::Decode(type, bytes);
}

Value Evaluator::Lookup(const std::string &name) const {
    auto variable = m_variables.find(Key(name));
    if (variable != m_variables.end()) {
        return variable->second;
    }
    return FieldValue(name);
}

void Evaluator::SetVariable(const std::string &name, Value value) {
    m_variables[Key(name)] = std::move(value);
}

void Evaluator::SetField(const std::string &name, Value value) {
    std::string key = Key(name);
    m_variables.erase(key);
    m_fields[key] = std::move(value);
    m_modified = true;
}

void Evaluator::Return(Value value) {
    if (!m_returning) {
        m_returning = true;
        m_returnValue = std::move(value);
    }
}

Value Evaluator::Run(const Node &root) {
    Value result = Value::Text(std::string());
    for (const auto &statement : root.children) {
        Value value = Eval(*statement);
        if (m_returning) {
            return m_returnValue;
        }
        if (statement->kind == NodeKind::Rem || statement->kind == NodeKind::AssignTemp) {
            continue;
        }
        result = std::move(value);
    }
    return result;
}

Value Evaluator::Eval(const Node &node) {
    if (m_returning) {
        return m_returnValue;
    }
    switch (node.kind) {
        case NodeKind::Sequence:
            return Run(node);
        case NodeKind::Text:
        case NodeKind::Keyword:
            return Value::Text(node.text);
        case NodeKind::Number:
            return Value::Number(node.number);
        case NodeKind::Time:
            return Value::Time(node.time);
        case NodeKind::Name:
            return Lookup(node.text);
        case NodeKind::Unary:
            return Unary(node.op, Eval(*node.children[0]));
        case NodeKind::Binary: {
            unsigned char base = node.op & ~kPermuted;
            Value left = Eval(*node.children[0]);
            if ((base == kOpAnd || base == kOpOr) && left.kind == Kind::Number) {
                // & and | stop as soon as the left operand decides the result.
                bool truth = left.Truth();
                if (base == kOpAnd && !truth) {
                    return Value::Bool(false);
                }
                if (base == kOpOr && truth) {
                    return Value::Bool(true);
                }
            }
            Value right = Eval(*node.children[1]);
            return Operate(node.op, left, right);
        }
        case NodeKind::Call: {
            const FunctionSignature *spec = node.function;
            if (spec == nullptr) {
                return Value::Error("Unknown @Function");
            }
            if (spec->lazy != nullptr) {
                return spec->lazy(*this, node);
            }
            std::vector<Value> args;
            args.reserve(node.children.size());
            for (const auto &child : node.children) {
                args.push_back(Eval(*child));
                if (!spec->acceptsErrors && args.back().IsError()) {
                    return args.back();
                }
            }
            if (m_returning) {
                return m_returnValue;
            }
            return spec->eager(*this, args);
        }
        case NodeKind::AssignTemp: {
            Value value = Eval(*node.children[0]);
            SetVariable(node.text, value);
            return value;
        }
        case NodeKind::AssignField: {
            Value value = Eval(*node.children[0]);
            SetField(node.text, value);
            return value;
        }
        case NodeKind::AssignDefault: {
            Value value = Eval(*node.children[0]);
            if (!HasField(node.text)) {
                std::string key = Key(node.text);
                m_fields[key] = value;
            }
            return Lookup(node.text);
        }
        case NodeKind::Select: {
            Value value = Eval(*node.children[0]);
            m_hasSelect = true;
            m_selected = value.Truth();
            return value;
        }
        case NodeKind::Rem:
            return Value::Text(std::string());
    }
    return Value::Text(std::string());
}

}  // namespace formula
