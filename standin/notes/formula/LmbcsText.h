// Character-level views of LMBCS text for the formula functions that count, cut or case characters.
#pragma once

#include <string>
#include <string_view>

#include <unicode/unistr.h>

namespace formula {

class LmbcsText {
public:
    // LMBCS to Unicode and back; plain ASCII takes a fast path.
    static icu::UnicodeString ToUnicode(std::string_view lmbcs);
    static std::string FromUnicode(const icu::UnicodeString &text);
    // True when every byte is printable ASCII or tab/CR/LF, which LMBCS stores as themselves.
    static bool IsPlain(std::string_view lmbcs);
    // Characters (code points) in the text.
    static int Length(std::string_view lmbcs);
    // Compares texts without regard to case: negative, zero or positive.
    static int CompareNoCase(std::string_view a, std::string_view b);
};

}  // namespace formula
