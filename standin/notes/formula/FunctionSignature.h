// The table of @functions: name, argument counts and implementation.
#pragma once

#include <string_view>
#include <vector>

#include "Node.h"
#include "Value.h"

namespace formula {

class Evaluator;

// Most functions get their arguments evaluated; a lazy one evaluates the call's children itself.
using EagerFunction = Value (*)(Evaluator &evaluator, std::vector<Value> &args);
using LazyFunction = Value (*)(Evaluator &evaluator, const Node &call);

constexpr int kAnyCount = 0xFFFF;

struct FunctionSignature {
    const char *name;  // with the @, in the case the documentation uses
    int minArgs;
    int maxArgs;
    EagerFunction eager;
    LazyFunction lazy;
    bool acceptsErrors;  // eager functions that see error arguments instead of passing them on
    bool fieldNameArgs;  // arguments are field names, not values (@IsAvailable)
};

// The function of that name (any case), or null.
const FunctionSignature *FindFunction(std::string_view name);

}  // namespace formula
