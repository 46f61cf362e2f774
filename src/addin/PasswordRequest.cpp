// The add-in's answer to the password request: read, check and unscramble the saved password.
#include "PasswordRequest.h"

#include <algorithm>
#include <cstring>

#include "password/SavedPassword.h"
#include "platform/AppSettings.h"
#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace quorvane {

namespace {

std::string Trimmed(const std::string &text) {
    const char *blanks = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string ReadSetting(const std::string &settingsPath, const char *key) {
    return platform::ReadIniValue(settingsPath, platform::kSettingsSectionPassword, key,
                                  platform::kMaxAppSettingChars);
}

STATUS Answer(DWORD maxLength, DWORD *returnedLength, char *returnedPassword, const std::string &settingsPath,
              PasswordPrompt prompt) {
    if (returnedLength == nullptr || returnedPassword == nullptr || maxLength == 0 || settingsPath.empty()) {
        return notes::kErrEmContinue;
    }
    if (Trimmed(ReadSetting(settingsPath, platform::kSettingsKeyEnabled)) != "1") {
        return notes::kErrEmContinue;
    }
    std::string stored = ReadSetting(settingsPath, platform::kSettingsKeyPassword);
    if (stored.empty()) {
        if (prompt == nullptr || prompt(settingsPath) != PromptResult::Saved) {
            return notes::kErrEmContinue;
        }
        stored = ReadSetting(settingsPath, platform::kSettingsKeyPassword);
    }
    std::u16string clear;
    if (!password::RecoverPassword(stored, clear)) {
        return notes::kErrEmContinue;
    }
    // The runtime takes text in the platform's own character set, which is UTF-8 here.
    const std::string native = platform::Utf16ToUtf8(clear);
    const std::size_t length = std::min<std::size_t>(native.size(), maxLength - 1);
    std::memcpy(returnedPassword, native.data(), length);
    returnedPassword[length] = '\0';
    *returnedLength = static_cast<DWORD>(length);
    return notes::kErrBsafeExternalPassword;
}

}  // namespace

std::string CurrentSettingsFile() {
    const std::string module = platform::ModulePath();
    return module.empty() ? std::string() : platform::SettingsFileLocationFor(module);
}

STATUS AnswerPasswordRequest(DWORD maxLength, DWORD *returnedLength, char *returnedPassword,
                             const std::string &settingsPath, PasswordPrompt prompt) noexcept {
    try {
        return Answer(maxLength, returnedLength, returnedPassword, settingsPath, prompt);
    } catch (...) {
        // Whatever went wrong, Notes asks the user itself: the add-in never fails the request.
        return notes::kErrEmContinue;
    }
}

}  // namespace quorvane
