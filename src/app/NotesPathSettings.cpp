// Reading the Notes paths of the settings file.
#include "NotesPathSettings.h"

#include "notes/NotesInstalls.h"
#include "platform/AppSettings.h"

namespace app {

NotesPathSettings NotesPathSettings::Read() {
    return NotesPathSettings{notes::TrimBlanks(platform::ReadAppSetting(platform::kSettingsSectionNotes,
                                                                        platform::kSettingsKeyProgramPath)),
                             notes::TrimBlanks(platform::ReadAppSetting(platform::kSettingsSectionNotes,
                                                                        platform::kSettingsKeyIniFilePath))};
}

}  // namespace app
