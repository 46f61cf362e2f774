// Small helpers shared by the @function implementations: argument checks and per-entry mapping.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Evaluator.h"
#include "FunctionSignature.h"
#include "Value.h"

namespace formula {

// Text as code points, and back to LMBCS.
std::u32string ToChars(std::string_view lmbcs);
std::string FromChars(const std::u32string &chars);

// The first number of an argument; false (with the error value) when it is no number.
bool FirstNumber(const Value &arg, double &out, Value &error);
// The first text of an argument; false (with the error value) when it is no text.
bool FirstText(const Value &arg, std::string &out, Value &error);

// Applies f to every text entry (code points in, code points out); non-text gives a type error.
template <typename F>
Value MapChars(const Value &arg, F &&f) {
    if (arg.kind != Kind::Text) {
        return Evaluator::TypeError(Kind::Text);
    }
    std::vector<std::string> out;
    out.reserve(arg.texts.size());
    for (const std::string &t : arg.texts) {
        out.push_back(FromChars(f(ToChars(t))));
    }
    return Value::Texts(std::move(out));
}

template <typename F>
Value MapNumbers(const Value &arg, F &&f) {
    if (arg.kind != Kind::Number) {
        return Evaluator::TypeError(Kind::Number);
    }
    Value out = arg;
    for (double &n : out.numbers) {
        n = f(n);
    }
    return out;
}

// Upper-case ASCII text of a keyword argument ("[CN]"), for comparisons.
std::string UpperAscii(std::string_view text);

// The function tables of each group, merged by FindFunction.
struct FunctionGroup {
    const FunctionSignature *specs;
    std::size_t count;
};
FunctionGroup LogicFunctions();
FunctionGroup TextFunctions();
FunctionGroup ListFunctions();
FunctionGroup NumberFunctions();
FunctionGroup TimeFunctions();

}  // namespace formula
