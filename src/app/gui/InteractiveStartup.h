// The deferred Notes start of an interactive session: the Notes paths from the settings file, the
// installation discovery when they are missing or do not work, the process-level session start and
// the version check. Runs on the GUI thread; progress and outcome go to the seam's status line.
#pragma once

#include <functional>
#include <string>

namespace notes {
class NotesSession;
}

namespace platform {
class UserInterface;
}

namespace gui {

class InteractiveStartup {
public:
    // Finds the Notes installation, starts the session and stores both [Notes] keys on success (then
    // returns true); may add to the start-up status text. When absent (tests) only the settings file
    // names the installation.
    using Discovery = std::function<bool(notes::NotesSession &session, std::string &startupStatus,
                                         platform::UserInterface &statusLine)>;

    InteractiveStartup(notes::NotesSession &session, platform::UserInterface &statusLine,
                       Discovery discovery);

    // Runs once: reads the paths, discovers and starts as needed. The session is active afterwards when
    // everything worked.
    void Run();

    const std::string &ProgramPath() const { return m_programPath; }
    const std::string &IniFilePath() const { return m_iniFilePath; }
    const std::string &StartupStatus() const { return m_startupStatus; }
    bool DiscoveryRan() const { return m_discoveryRan; }

    // Oldest Notes release the program works with.
    static constexpr int kMinimumMajor = 4;
    static constexpr int kMinimumMinor = 1;
    static constexpr int kMinimumTiny = 0;

private:
    void ReadPaths();
    bool Discover();
    bool StartSession();

    notes::NotesSession &m_session;
    platform::UserInterface &m_statusLine;
    Discovery m_discovery;
    std::string m_programPath;
    std::string m_iniFilePath;
    std::string m_startupStatus;
    bool m_discoveryRan = false;
};

}  // namespace gui
