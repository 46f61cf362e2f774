// Detecting the Notes installation, starting the session with it, and restarting after a change.
#include "NotesDetection.h"

#include <algorithm>
#include <cctype>

#include "NotesApi.h"
#include "NotesLibrary.h"
#include "NotesSession.h"
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

// Index of path in the list, when it is there.
template <typename Candidate, typename Get>
std::optional<std::size_t> IndexOf(const std::vector<Candidate> &list, const std::string &path, Get get) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!path.empty() && platform::EqualsIgnoringAsciiCase(get(list[i]), path)) {
            return i;
        }
    }
    return std::nullopt;
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
        const auto &programs = installs.ProgramCandidates();
        if ((!autoSelect || programPath.empty()) && programs.size() > 1) {
            std::vector<std::string> names;
            for (const ProgramCandidate &candidate : programs) {
                names.push_back(candidate.directory);
            }
            const auto current =
                IndexOf(programs, programPath, [](const ProgramCandidate &c) { return c.directory; });
            const std::optional<std::size_t> picked = dialogs.ChooseProgramPath(names, current);
            if (!picked || *picked >= names.size()) {
                break;
            }
            programPath = names[*picked];
        } else if (programPath.empty()) {
            programPath = programs.front().directory;
        }
        const auto &configs = installs.ConfigCandidates();
        if ((!autoSelect || configFile.empty()) && configs.size() > 1) {
            std::vector<std::string> names;
            for (const ConfigCandidate &candidate : configs) {
                names.push_back(candidate.path);
            }
            const auto current =
                IndexOf(configs, configFile, [](const ConfigCandidate &c) { return c.path; });
            const std::optional<std::size_t> picked = dialogs.ChooseConfigFile(names, current);
            if (!picked || *picked >= names.size()) {
                break;
            }
            configFile = names[*picked];
        } else if (configFile.empty() && configs.size() == 1) {
            configFile = configs.front().path;
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
    if (settled) {
        (void)platform::WriteAppSetting(platform::kSettingsSectionNotes, platform::kSettingsKeyProgramPath,
                                        programPath);
        (void)platform::WriteAppSetting(platform::kSettingsSectionNotes, platform::kSettingsKeyIniFilePath,
                                        configFile);
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
