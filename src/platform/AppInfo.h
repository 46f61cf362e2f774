// The application's fixed facts: name, version, where the executable lives and its settings file.
#pragma once

#include <cstdint>
#include <string>

#include "AppSettings.h"  // the settings file access goes with the facts it depends on

namespace platform {

class AppInfo {
public:
    static constexpr char kName[] = "Vorlix";
    static constexpr std::uint16_t kVersionMajor = 6;
    static constexpr std::uint16_t kVersionMinor = 0;
    static constexpr std::uint16_t kVersionTiny = 15;
    static constexpr bool kBeta = false;

    // "Vorlix", whatever the executable is called.
    static std::string Name();
    // The version as "%d.%d.%d": "6.0.15".
    static std::string VersionText();
    // The settings file as messages name it: "Vorlix.ini".
    static std::string SettingsFileDisplayName();

    // Full path of the running executable, taken once on first use together with the paths below.
    static std::string ModulePath();
    // The module path with its file name's extension replaced by ".ini" (or ".ini" appended when it
    // has none): /opt/vorlix/vorlix uses /opt/vorlix/vorlix.ini. When the program directory is not
    // writable, or the program is installed (/usr/bin/vorlix), the same name in $XDG_CONFIG_HOME/vorlix.
    static std::string SettingsFilePath();
    // The directory of the module path; empty when it has none.
    static std::string ProgramDirectory();
    // Where the libraries shipped with the program live (the stand-in runtimes, the add-in): the
    // program directory, or <prefix>/lib/vorlix for a program installed as <prefix>/bin/vorlix.
    static std::string RuntimeDirectory();

    // Replaces the module path (and the paths derived from it) for the rest of the process, so
    // that tests can point the settings file and program directory at a directory of their own. An
    // empty path goes back to the running executable's.
    static void OverrideModulePath(const std::string &modulePath);
};

}  // namespace platform
