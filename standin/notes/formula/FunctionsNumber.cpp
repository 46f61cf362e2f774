// Number @functions: sums, extremes, rounding, remainders and powers.
#include <cmath>

#include "FunctionHelpers.h"

namespace formula {

namespace {

Value Sum(Evaluator &, std::vector<Value> &args) {
    double total = 0;
    for (const Value &arg : args) {
        if (arg.kind != Kind::Number) {
            return Evaluator::TypeError(Kind::Number);
        }
        for (double n : arg.numbers) {
            total += n;
        }
    }
    return Value::Number(total);
}

// One argument: the extreme entry of the list. Two: the extremes of the pairs, pairwise.
template <typename Pick>
Value Extreme(std::vector<Value> &args, Pick pick) {
    for (const Value &arg : args) {
        if (arg.kind != Kind::Number) {
            return Evaluator::TypeError(Kind::Number);
        }
    }
    if (args.size() == 1) {
        double best = args[0].numbers[0];
        for (double n : args[0].numbers) {
            best = pick(best, n);
        }
        return Value::Number(best);
    }
    const std::vector<double> &a = args[0].numbers;
    const std::vector<double> &b = args[1].numbers;
    std::vector<double> out;
    for (std::size_t k = 0; k < std::max(a.size(), b.size()); ++k) {
        out.push_back(pick(a[std::min(k, a.size() - 1)], b[std::min(k, b.size() - 1)]));
    }
    return Value::Numbers(std::move(out));
}

Value Max(Evaluator &, std::vector<Value> &args) {
    return Extreme(args, [](double x, double y) { return x > y ? x : y; });
}
Value Min(Evaluator &, std::vector<Value> &args) {
    return Extreme(args, [](double x, double y) { return x < y ? x : y; });
}

Value Abs(Evaluator &, std::vector<Value> &args) {
    return MapNumbers(args[0], [](double n) { return std::fabs(n); });
}

// Rounds half away from zero, to a multiple of the factor when one is given.
Value Round(Evaluator &, std::vector<Value> &args) {
    double factor = 1;
    if (args.size() > 1) {
        Value error;
        if (!FirstNumber(args[1], factor, error)) {
            return error;
        }
        if (factor == 0) {
            return Value::Error("Division by zero");
        }
    }
    return MapNumbers(args[0], [factor](double n) { return std::round(n / factor) * factor; });
}

Value Integer(Evaluator &, std::vector<Value> &args) {
    return MapNumbers(args[0], [](double n) { return std::trunc(n); });
}

// The remainder with the sign of the dividend, pairwise over lists.
Value Modulo(Evaluator &, std::vector<Value> &args) {
    if (args[0].kind != Kind::Number || args[1].kind != Kind::Number) {
        return Evaluator::TypeError(Kind::Number);
    }
    const std::vector<double> &a = args[0].numbers;
    const std::vector<double> &b = args[1].numbers;
    std::vector<double> out;
    for (std::size_t k = 0; k < std::max(a.size(), b.size()); ++k) {
        double y = b[std::min(k, b.size() - 1)];
        if (y == 0) {
            return Value::Error("Division by zero");
        }
        out.push_back(std::fmod(a[std::min(k, a.size() - 1)], y));
    }
    return Value::Numbers(std::move(out));
}

Value Power(Evaluator &, std::vector<Value> &args) {
    double base = 0;
    double exponent = 0;
    Value error;
    if (!FirstNumber(args[0], base, error) || !FirstNumber(args[1], exponent, error)) {
        return error;
    }
    double result = std::pow(base, exponent);
    if (!std::isfinite(result)) {
        return Value::Error("The result of @Power is out of range");
    }
    return Value::Number(result);
}

const FunctionSignature kSpecs[] = {
    {"@Sum", 1, kAnyCount, Sum, nullptr, false, false}, {"@Max", 1, 2, Max, nullptr, false, false},
    {"@Min", 1, 2, Min, nullptr, false, false},         {"@Abs", 1, 1, Abs, nullptr, false, false},
    {"@Round", 1, 2, Round, nullptr, false, false},     {"@Integer", 1, 1, Integer, nullptr, false, false},
    {"@Modulo", 2, 2, Modulo, nullptr, false, false},   {"@Power", 2, 2, Power, nullptr, false, false},
};

}  // namespace

FunctionGroup NumberFunctions() {
    return {kSpecs, sizeof(kSpecs) / sizeof(kSpecs[0])};
}

}  // namespace formula
