// The check both password dialogs apply before saving, and the round trip through the stored text.
#include <gtest/gtest.h>

#include <string>

#include "password/SavedPassword.h"

namespace {

using password::PasswordCheck;

TEST(SavedPassword, CheckRefusesWhatTheFormatCannotHold) {
    const struct {
        std::u16string clear;
        PasswordCheck check;
    } cases[] = {
        {u"", PasswordCheck::Empty},
        {u"Sesame42", PasswordCheck::Ok},
        {u"\u00ff\u00e9 ~", PasswordCheck::Ok},
        {u"pass\u0100", PasswordCheck::UnsupportedCharacter},  // the first character too wide
        {u"\u20ac100", PasswordCheck::UnsupportedCharacter},   // the euro sign is not Latin-1
        {u"\U0001F511", PasswordCheck::UnsupportedCharacter},  // a surrogate pair
    };
    for (const auto &c : cases) {
        EXPECT_EQ(password::CheckPassword(c.clear), c.check);
        if (c.check != PasswordCheck::Ok) {
            EXPECT_EQ(password::ScramblePassword(c.clear), "");
            EXPECT_NE(password::PasswordCheckMessage(c.check), "");
        }
    }
    EXPECT_EQ(password::PasswordCheckMessage(PasswordCheck::Empty),
              "Please enter a password or click cancel.");
}

TEST(SavedPassword, TextNotWrittenByTheProgramGivesNoPassword) {
    // "9A" is the first keystream byte: it unscrambles to a NUL.
    for (const char *stored : {"", "FBE12", "FBE1ZZ", "zz", "9A"}) {
        std::u16string clear = u"left over";
        EXPECT_FALSE(password::RecoverPassword(stored, clear)) << stored;
        EXPECT_EQ(clear, u"") << stored;
    }
}

}  // namespace
