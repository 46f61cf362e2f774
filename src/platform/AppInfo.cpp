// The module path and the paths derived from it, taken once and shared by the whole process.
#include "AppInfo.h"

#include <cstdio>
#include <mutex>

#include "Paths.h"

namespace platform {

namespace {

struct ModulePaths {
    bool taken = false;
    std::string module;
    std::string settingsFile;
    std::string programDirectory;
    std::string runtimeDirectory;
};

std::mutex &PathsMutex() {
    static std::mutex mutex;
    return mutex;
}

ModulePaths &Paths() {
    static ModulePaths paths;
    return paths;
}

void Take(ModulePaths &paths, const std::string &modulePath) {
    paths.module = modulePath;
    paths.settingsFile = modulePath.empty() ? std::string() : SettingsFileLocationFor(modulePath);
    paths.programDirectory = DirectoryOf(modulePath);
    const std::string installed = InstalledLibraryDirectory(paths.programDirectory);
    paths.runtimeDirectory = installed.empty() ? paths.programDirectory : installed;
    paths.taken = true;
}

ModulePaths Current() {
    const std::lock_guard<std::mutex> lock(PathsMutex());
    ModulePaths &paths = Paths();
    if (!paths.taken) {
        Take(paths, platform::ModulePath());
    }
    return paths;
}

}  // namespace

std::string AppInfo::Name() {
    return kName;
}

std::string AppInfo::VersionText() {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%d.%d", kVersionMajor, kVersionMinor, kVersionTiny);
    return text;
}

std::string AppInfo::SettingsFileDisplayName() {
    return Name() + ".ini";
}

std::string AppInfo::ModulePath() {
    return Current().module;
}

std::string AppInfo::SettingsFilePath() {
    return Current().settingsFile;
}

std::string AppInfo::ProgramDirectory() {
    return Current().programDirectory;
}

std::string AppInfo::RuntimeDirectory() {
    return Current().runtimeDirectory;
}

void AppInfo::OverrideModulePath(const std::string &modulePath) {
    const std::lock_guard<std::mutex> lock(PathsMutex());
    Take(Paths(), modulePath.empty() ? platform::ModulePath() : modulePath);
}

}  // namespace platform
