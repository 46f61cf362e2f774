// The Notes installations that the registry store records, and their validation.
#include <cstdlib>

#include "NotesInstalls.h"
#include "NotesLibrary.h"
#include "platform/Paths.h"

namespace notes {

namespace {

std::string CleanPath(const std::optional<std::string> &value) {
    if (!value) {
        return "";
    }
    std::string path = TrimBlanks(*value);
    while (path.size() > 1 && path.back() == platform::kPathSeparator) {
        path.pop_back();
    }
    return path;
}

// The major version a sub-key names ("9.0" gives 9); 0 when the name is not a number.
int VersionOfKey(const std::string &name) {
    if (name.empty() || name[0] < '0' || name[0] > '9') {
        return 0;
    }
    char *end = nullptr;
    const double value = std::strtod(name.c_str(), &end);
    if (end == nullptr || *end != '\0' || value < 1 || value > 1000) {
        return 0;
    }
    return static_cast<int>(value);
}

}  // namespace

void NotesInstalls::ReadRegistryInstalls() {
    m_registry.clear();
    for (const platform::RegistryHive hive :
         {platform::RegistryHive::LocalMachine, platform::RegistryHive::CurrentUser}) {
        for (const std::string &name : platform::Registry::SubKeyNames(hive, kRegistryKey)) {
            const int version = VersionOfKey(name);
            if (version == 0) {
                continue;
            }
            const std::string key = std::string(kRegistryKey) + "\\" + name;
            RegistryInstall install;
            install.root = hive;
            install.version = version;
            install.programPath = CleanPath(platform::Registry::GetString(hive, key, "Path"));
            install.dataPath = CleanPath(platform::Registry::GetString(hive, key, "DataPath"));
            install.noDataPath = install.dataPath.empty();
            if (!install.noDataPath) {
                const std::string inProgram = platform::JoinPath(install.programPath, kConfigFileName);
                const std::string inData = platform::JoinPath(install.dataPath, kConfigFileName);
                if (!install.programPath.empty() && platform::FileExists(inProgram)) {
                    install.configFile = inProgram;
                } else if (platform::FileExists(inData)) {
                    install.configFile = inData;
                }
            }
            const std::string iniPath = CleanPath(platform::Registry::GetString(hive, key, "NotesIniPath"));
            if (!iniPath.empty()) {
                install.configFile = iniPath;
            }
            m_registry.push_back(std::move(install));
        }
    }
    ValidateRegistryInstalls();
}

void NotesInstalls::ValidateRegistryInstalls() {
    for (std::size_t i = 0; i < m_registry.size(); ++i) {
        RegistryInstall &install = m_registry[i];
        if (install.root != platform::RegistryHive::LocalMachine) {
            continue;
        }
        for (std::size_t j = 0; j < m_registry.size(); ++j) {
            if (m_registry[j].root == platform::RegistryHive::CurrentUser &&
                m_registry[j].version == install.version) {
                install.partner = static_cast<int>(j);
                m_registry[j].partner = static_cast<int>(i);
                break;
            }
        }
        bool fromCurrentUser = false;
        if (install.noDataPath) {
            if (install.partner < 0) {
                install.error = "No registry HKEY_CURRENT_USER entry";
                continue;
            }
            install.configFile = m_registry[static_cast<std::size_t>(install.partner)].configFile;
            fromCurrentUser = true;
        }
        if (install.configFile.empty()) {
            install.error = "Missing Configuration file (notes.ini).";
        } else if (!platform::FileExists(install.configFile)) {
            install.error = fromCurrentUser
                                ? "Configuration file '" + install.configFile +
                                      "' specified in HKEY_CURRENT_USER does not exist."
                                : "Configuration file '" + install.configFile + "' does not exist.";
        } else if (!platform::DirectoryExists(install.programPath)) {
            install.error = "Path '" + install.programPath + "' in HKEY_LOCAL_MACHINE invalid.";
        } else if (const std::string library = platform::JoinPath(install.programPath, kNotesLibraryFile);
                   !platform::FileExists(library)) {
            install.error = "File '" + library + "' in HKEY_LOCAL_MACHINE not found.";
        } else {
            install.valid = true;
        }
    }
}

}  // namespace notes
