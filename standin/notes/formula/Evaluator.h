// Evaluates a formula's statement tree on one note: variables, fields, operators with Notes list
// semantics, and @function calls.
#pragma once

#include <string>
#include <unordered_map>

#include "FormulaContext.h"
#include "Node.h"
#include "Value.h"

namespace formula {

// Bounds that keep a formula from exhausting memory: entries of one list and bytes of one value.
constexpr std::size_t kMaxEntries = 0xFFFF;
constexpr std::size_t kMaxValueBytes = 1 << 20;

class Evaluator {
public:
    explicit Evaluator(const FormulaContext &context) : m_context(context) {}

    // Runs the statements; the result is the value of the last main expression.
    Value Run(const Node &root);
    Value Eval(const Node &node);

    const FormulaContext &Context() const { return m_context; }
    bool Selected() const { return m_selected; }
    bool HasSelect() const { return m_hasSelect; }
    bool Modified() const { return m_modified; }

    // A temporary variable, else a field (assigned in this formula or on the note), else empty text.
    Value Lookup(const std::string &name) const;
    // Whether the note (or an assignment of this formula) has the field.
    bool HasField(const std::string &name) const;
    Value FieldValue(const std::string &name) const;
    void SetVariable(const std::string &name, Value value);
    // Assigns a field for the rest of this evaluation; the note itself is not changed.
    void SetField(const std::string &name, Value value);
    // @Return: the rest of the formula is skipped.
    void Return(Value value);
    bool Returning() const { return m_returning; }

    static Value TypeError(Kind expected);
    static Value TooLarge();
    // Binary operators on evaluated operands (op may carry kPermuted).
    static Value Operate(unsigned char op, const Value &left, const Value &right);
    static Value Unary(unsigned char op, const Value &operand);

private:
    static std::string Key(const std::string &name);

    const FormulaContext &m_context;
    std::unordered_map<std::string, Value> m_variables;
    std::unordered_map<std::string, Value> m_fields;
    bool m_hasSelect = false;
    bool m_selected = false;
    bool m_modified = false;
    bool m_returning = false;
    Value m_returnValue;
};

}  // namespace formula
