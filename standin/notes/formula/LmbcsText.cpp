// Character views of LMBCS text for the formula functions, over the runtime's LMBCS conversion.
#include "LmbcsText.h"

#include <algorithm>
#include <cctype>

#include <unicode/uchar.h>

#include "common/Lmbcs.h"

namespace formula {

bool LmbcsText::IsPlain(std::string_view lmbcs) {
    for (char c : lmbcs) {
        unsigned char b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\t' && b != '\n' && b != '\r') || b > 0x7E) {
            return false;
        }
    }
    return true;
}

icu::UnicodeString LmbcsText::ToUnicode(std::string_view lmbcs) {
    if (IsPlain(lmbcs)) {
        return icu::UnicodeString(lmbcs.data(), static_cast<int32_t>(lmbcs.size()), US_INV);
    }
    std::u16string utf16 = standin::LmbcsToUtf16(lmbcs);
    return icu::UnicodeString(utf16.data(), static_cast<int32_t>(utf16.size()));
}

std::string LmbcsText::FromUnicode(const icu::UnicodeString &text) {
    bool plain = true;
    for (int32_t i = 0; i < text.length() && plain; ++i) {
        UChar c = text.charAt(i);
        plain = (c >= 0x20 && c <= 0x7E) || c == '\t' || c == '\n' || c == '\r';
    }
    if (plain) {
        std::string out;
        out.reserve(static_cast<std::size_t>(text.length()));
        for (int32_t i = 0; i < text.length(); ++i) {
            out += static_cast<char>(text.charAt(i));
        }
        return out;
    }
    return standin::Utf16ToLmbcs(
        std::u16string_view(text.getBuffer(), static_cast<std::size_t>(text.length())));
}

int LmbcsText::Length(std::string_view lmbcs) {
    if (IsPlain(lmbcs)) {
        return static_cast<int>(lmbcs.size());
    }
    icu::UnicodeString text = ToUnicode(lmbcs);
    return text.countChar32();
}

int LmbcsText::CompareNoCase(std::string_view a, std::string_view b) {
    if (IsPlain(a) && IsPlain(b)) {
        std::size_t n = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < n; ++i) {
            int ca = std::tolower(static_cast<unsigned char>(a[i]));
            int cb = std::tolower(static_cast<unsigned char>(b[i]));
            if (ca != cb) {
                return ca < cb ? -1 : 1;
            }
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
    return ToUnicode(a).caseCompare(ToUnicode(b), U_FOLD_CASE_DEFAULT);
}

}  // namespace formula
