// The settings file beside the executable, one value at a time.
#include "AppSettings.h"

#include "AppInfo.h"
#include "IniFile.h"

namespace platform {

std::string ReadAppSetting(const std::string &section, const std::string &key) {
    const std::string path = AppInfo::SettingsFilePath();
    if (path.empty()) {
        return {};
    }
    return ReadIniValue(path, section, key, kMaxAppSettingChars);
}

bool WriteAppSetting(const std::string &section, const std::string &key, const std::string &value) {
    const std::string path = AppInfo::SettingsFilePath();
    if (path.empty()) {
        return false;
    }
    return WriteIniValue(path, section, key, value, true);
}

}  // namespace platform
