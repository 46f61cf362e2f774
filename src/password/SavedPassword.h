// The saved Notes password as the program and the add-in both store and read it: the check a password
// must pass before it is saved, its scrambled text, and the clear password recovered from that text.
#pragma once

#include <string>
#include <string_view>

namespace password {

inline constexpr char kEnterPasswordMessage[] = "Please enter a password or click cancel.";
inline constexpr char kUnsupportedCharacterMessage[] =
    "The password holds a character that cannot be saved: only characters up to U+00FF (Latin-1) fit the "
    "saved format. Please enter a password without such characters or click cancel.";
// Shown in both password dialogs: the stored form only hides the password from a casual glance.
inline constexpr char kScramblingNotice[] =
    "The password is only scrambled, not encrypted: anyone who can read the settings file can recover "
    "it. The file is kept readable and writable by its owner only.";

enum class PasswordCheck { Ok, Empty, UnsupportedCharacter };

// Whether a clear password (UTF-16) can be saved: not empty, and every unit below U+0100, since the
// stored text keeps two hexadecimal digits per unit.
[[nodiscard]] PasswordCheck CheckPassword(std::u16string_view clear);
// The message for a failed check; empty for Ok.
std::string PasswordCheckMessage(PasswordCheck check);

// The stored text of a clear password: its units after the keystream of the fixed key, two upper-case
// hexadecimal digits each. Empty when the password does not pass CheckPassword.
[[nodiscard]] std::string ScramblePassword(std::u16string_view clear);

// The clear password of a stored text. False (clear emptied) when the text is not an even number of
// hexadecimal digits, or when it gives an empty password or one holding a NUL: such a text was not
// written by ScramblePassword and must not be offered to Notes as a password.
[[nodiscard]] bool RecoverPassword(std::string_view stored, std::u16string &clear);

}  // namespace password
