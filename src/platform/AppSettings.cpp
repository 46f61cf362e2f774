// The application settings file, one value at a time.
#include "AppSettings.h"

#include <filesystem>
#include <system_error>

#include "AppInfo.h"
#include "IniFile.h"
#include "Paths.h"

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
    // Beside the executable the directory exists; $XDG_CONFIG_HOME/vorlix is made by the first write.
    const std::string directory = DirectoryOf(path);
    if (!DirectoryExists(directory)) {
        std::error_code error;
        std::filesystem::create_directories(directory, error);
    }
    return WriteIniValue(path, section, key, value, true);
}

}  // namespace platform
