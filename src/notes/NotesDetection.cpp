// Detecting the Notes installation, starting the session with it, and restarting after a change.
#include "NotesDetection.h"

#include <algorithm>
#include <cctype>

#include "NotesApi.h"
#include "NotesLibrary.h"
#include "NotesSession.h"
#include "platform/AppInfo.h"
#include "platform/AppSettings.h"
#include "platform/AsciiText.h"
#include "platform/UserInterface.h"

namespace notes {

namespace {

// Oldest Notes release the program works with.
constexpr int kMinimumMajor = 4;
constexpr int kMinimumMinor = 1;
constexpr int kMinimumTiny = 0;

void ShowLine(platform::UserInterface *statusLine, const std::string &text) {
    if (statusLine != nullptr) {
        statusLine->Status(text);
    }
}

// Asks the user to pick among several names when the choice is open (the current path preselected
// when listed); a single name is taken when the path is empty. False when the user cancelled.
template <typename Choose>
bool PickIfOpen(bool open, const std::vector<std::string> &names, std::string &path, Choose choose) {
    if (!open || names.size() < 2) {
        if (path.empty() && names.size() == 1) {
            path = names.front();
        }
        return true;
    }
    std::optional<std::size_t> current;
    for (std::size_t i = 0; i < names.size() && !path.empty(); ++i) {
        if (platform::EqualsIgnoringAsciiCase(names[i], path)) {
            current = i;
            break;
        }
    }
    const std::optional<std::size_t> picked = choose(names, current);
    if (!picked || *picked >= names.size()) {
        return false;
    }
    path = names[*picked];
    return true;
}

}  // namespace

bool DetectAndStart(NotesSession &session, bool showSettingsOnFailure, bool autoSelect,
                    std::string &startupStatus, platform::UserInterface *statusLine,
                    platform::UserInterface *searchStatus, DiscoveryDialogs &dialogs,
                    const InstallSearchEnvironment &environment) {
    std::string programPath;
    std::string configFile;
    bool started = false;
    bool settled = false;
    for (;;) {
        ShowLine(statusLine, "Detecting Lotus Notes Program Settings...");
        NotesInstalls installs(environment);
        if (!installs.Discover(autoSelect, nullptr, searchStatus)) {
            if (dialogs.AskRetry(kNoInstallationFound, kDetectionCaption)) {
                continue;
            }
            if (showSettingsOnFailure) {
                (void)dialogs.RunSettings(session, startupStatus);
            }
            break;
        }
        programPath = installs.ChosenProgramDirectory();
        configFile = installs.ChosenConfigFile();
        std::vector<std::string> programs;
        for (const ProgramCandidate &candidate : installs.ProgramCandidates()) {
            programs.push_back(candidate.directory);
        }
        std::vector<std::string> configs;
        for (const ConfigCandidate &candidate : installs.ConfigCandidates()) {
            configs.push_back(candidate.path);
        }
        if (!PickIfOpen(!autoSelect || programPath.empty(), programs, programPath,
                        [&dialogs](const auto &names, auto current) {
                            return dialogs.ChooseProgramPath(names, current);
                        }) ||
            !PickIfOpen(!autoSelect || configFile.empty(), configs, configFile,
                        [&dialogs](const auto &names, auto current) {
                            return dialogs.ChooseConfigFile(names, current);
                        })) {
            break;
        }
        if (configFile.empty()) {
            if (showSettingsOnFailure) {
                (void)dialogs.RunSettings(session, startupStatus);
            }
            break;
        }
        settled = true;
        // A library loaded from an earlier program path would be used whatever path is chosen now.
        if (session.IsActive()) {
            session.End(false);
        }
        if (Api().library != nullptr) {
            (void)UnloadNotesLibrary();
        }
        started = session.Start(false, programPath, "", statusLine) ||
                  session.Start(false, programPath, configFile, statusLine);
        break;
    }
    // A failed write keeps the session but is said, since the next start would not find the paths.
    if (settled && (!platform::WriteAppSetting(platform::kSettingsSectionNotes,
                                               platform::kSettingsKeyProgramPath, programPath) ||
                    !platform::WriteAppSetting(platform::kSettingsSectionNotes,
                                               platform::kSettingsKeyIniFilePath, configFile))) {
        if (!startupStatus.empty()) {
            startupStatus += "\n\n";
        }
        startupStatus += "Unable to save settings to settings file: " + platform::AppInfo::SettingsFilePath();
    }
    ShowLine(statusLine, "");
    return started;
}

bool RestartAfterSettings(NotesSession &session, const std::string &programPathBefore,
                          const std::string &iniFilePathBefore, std::string &startupStatus) {
    startupStatus.clear();
    const std::string programPath = TrimBlanks(
        platform::ReadAppSetting(platform::kSettingsSectionNotes, platform::kSettingsKeyProgramPath));
    const std::string iniFilePath = TrimBlanks(
        platform::ReadAppSetting(platform::kSettingsSectionNotes, platform::kSettingsKeyIniFilePath));
    if (platform::EqualsIgnoringAsciiCase(programPath, programPathBefore) &&
        platform::EqualsIgnoringAsciiCase(iniFilePath, iniFilePathBefore) && session.IsActive()) {
        return true;
    }
    if (session.IsActive()) {
        session.End(false);
    }
    if (Api().library != nullptr) {
        (void)UnloadNotesLibrary();
    }
    if (!session.Start(false, programPath, iniFilePath)) {
        if (!startupStatus.empty()) {
            startupStatus += "\n\n";
        }
        startupStatus +=
            session.ErrorText() +
            "\n \nPlease make sure Lotus Notes is installed and setup correctly (run at least once).";
        return false;
    }
    if (!session.CheckVersion(kMinimumMajor, kMinimumMinor, kMinimumTiny)) {
        startupStatus = session.ErrorText();
        session.End(false);
        return false;
    }
    return true;
}

}  // namespace notes
