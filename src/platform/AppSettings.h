// Reading and writing single values of the application settings file (AppInfo::SettingsFilePath).
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// A read takes at most this many characters of a value.
constexpr std::size_t kMaxAppSettingChars = 15000;

// Sections and keys of the settings file.
inline constexpr char kSettingsSectionNotes[] = "Notes";
inline constexpr char kSettingsKeyProgramPath[] = "ProgramPath";
inline constexpr char kSettingsKeyIniFilePath[] = "IniFilePath";
inline constexpr char kSettingsSectionPassword[] = "Quorvane";
inline constexpr char kSettingsKeyEnabled[] = "Enabled";
inline constexpr char kSettingsKeyPassword[] = "Password";
inline constexpr char kSettingsSectionExport[] = "Export Settings";
inline constexpr char kSettingsKeyMultiOutputPath[] = "MultiOutputPath";
inline constexpr char kSettingsKeyMultiOutputSubdirDb[] = "MultiOutputSubdirDb";

// The value of [section] key in the settings file, at most kMaxAppSettingChars characters; empty
// when the file, the key or its value is absent.
std::string ReadAppSetting(const std::string &section, const std::string &key);

// Writes one value of the settings file (created by the first write, together with its directory
// under $XDG_CONFIG_HOME); true only when the file was written. The file may hold the saved password, so it
// is left readable and writable by its owner only. A value holding a line break is refused.
[[nodiscard]] bool WriteAppSetting(const std::string &section, const std::string &key,
                                   const std::string &value);

}  // namespace platform
