// Reading the Notes paths of the settings file.
#include "NotesPathSettings.h"

#include "platform/AppSettings.h"

namespace app {

namespace {

std::string Trimmed(const std::string &text) {
    const char *blanks = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

NotesPathSettings NotesPathSettings::Read() {
    return NotesPathSettings{
        Trimmed(platform::ReadAppSetting(platform::kSettingsSectionNotes, platform::kSettingsKeyProgramPath)),
        Trimmed(
            platform::ReadAppSetting(platform::kSettingsSectionNotes, platform::kSettingsKeyIniFilePath))};
}

}  // namespace app
