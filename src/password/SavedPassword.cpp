// Checking, scrambling and recovering the saved Notes password with the fixed key.
#include "SavedPassword.h"

#include <algorithm>
#include <utility>

#include "CKey.h"

namespace password {

PasswordCheck CheckPassword(std::u16string_view clear) {
    if (clear.empty()) {
        return PasswordCheck::Empty;
    }
    const bool fits = std::all_of(clear.begin(), clear.end(), [](char16_t unit) { return unit < 0x100; });
    return fits ? PasswordCheck::Ok : PasswordCheck::UnsupportedCharacter;
}

std::string PasswordCheckMessage(PasswordCheck check) {
    switch (check) {
        case PasswordCheck::Empty:
            return kEnterPasswordMessage;
        case PasswordCheck::UnsupportedCharacter:
            return kUnsupportedCharacterMessage;
        case PasswordCheck::Ok:
            break;
    }
    return {};
}

std::string ScramblePassword(std::u16string_view clear) {
    if (CheckPassword(clear) != PasswordCheck::Ok) {
        return {};
    }
    CKey buffer(clear);
    buffer.ApplyKeystream(kPasswordScrambleKey, kPasswordScrambleKeyLength);
    return buffer.HexText();
}

bool RecoverPassword(std::string_view stored, std::u16string &clear) {
    clear.clear();
    CKey buffer = CKey::FromHexText(stored);
    if (!buffer.WellFormed() || buffer.Count() == 0) {
        return false;
    }
    buffer.ApplyKeystream(kPasswordScrambleKey, kPasswordScrambleKeyLength);
    std::u16string units = buffer.Units();
    if (units.find(u'\0') != std::u16string::npos) {
        return false;
    }
    clear = std::move(units);
    return true;
}

}  // namespace password
