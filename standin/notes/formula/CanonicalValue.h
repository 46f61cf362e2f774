// Canonical item value bytes (without the type word) to formula values and back.
#pragma once

#include <string>
#include <string_view>

#include "Value.h"

namespace formula {

class CanonicalValue {
public:
    // The value of item bytes of the given type. Unknown types and damaged bytes give empty text, as a
    // value the formula cannot use.
    static Value Decode(WORD type, std::string_view bytes);
    // The type word and canonical bytes of a value: single values as TEXT, NUMBER or TIME, other counts as
    // their list types, errors as ERROR with the message text.
    static void Encode(const Value &value, WORD &type, std::string &bytes);
};

}  // namespace formula
