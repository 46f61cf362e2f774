// Detecting the Notes installation and starting the process session with it, and restarting the
// session after the user changed the Notes paths. The questions go through DiscoveryDialogs, which
// the desktop program answers with dialogs and tests answer themselves.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "NotesInstalls.h"

namespace platform {
class UserInterface;
}

namespace notes {

class NotesSession;

class DiscoveryDialogs {
public:
    virtual ~DiscoveryDialogs() = default;
    // A Retry/Cancel question; true for Retry.
    virtual bool AskRetry(const std::string &text, const std::string &caption) = 0;
    // The user's pick among candidates (current: the preselected index, or nullopt); nullopt: cancelled.
    virtual std::optional<std::size_t> ChooseProgramPath(const std::vector<std::string> &candidates,
                                                         std::optional<std::size_t> current) = 0;
    virtual std::optional<std::size_t> ChooseConfigFile(const std::vector<std::string> &candidates,
                                                        std::optional<std::size_t> current) = 0;
    // The "Lotus Notes Program Settings" dialog with its restart; false when that failed.
    virtual bool RunSettings(NotesSession &session, std::string &startupStatus) = 0;
};

inline constexpr char kNoInstallationFound[] =
    "Please start your Lotus Notes client so your settings can be detected and click RETRY.\n\nLotus Notes "
    "may be shut down or left started after detection";
inline constexpr char kDetectionCaption[] = "Lotus Notes Program Settings Detection";

// Finds the installation (asking the user where it cannot decide), starts the process session and
// stores [Notes] ProgramPath and IniFilePath. True when it started the session itself.
bool DetectAndStart(NotesSession &session, bool showSettingsOnFailure, bool autoSelect,
                    std::string &startupStatus, platform::UserInterface *statusLine,
                    platform::UserInterface *searchStatus, DiscoveryDialogs &dialogs,
                    const InstallSearchEnvironment &environment = InstallSearchEnvironment::FromSystem());

// After the settings dialog's OK: when either path differs from before (ignoring letter case) or the
// session is not active, ends the session, unloads the library and starts again with the new paths and
// checks the version. False when that failed; startupStatus then says why.
bool RestartAfterSettings(NotesSession &session, const std::string &programPathBefore,
                          const std::string &iniFilePathBefore, std::string &startupStatus);

}  // namespace notes
