// Command-line mode: runs one export profile unattended and gives the exit code of its outcome.
#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace config {
class DatabaseExportProfile;
}

namespace notes {
class NotesSession;
}

namespace platform {
class UserInterface;
}

namespace app {

// Exit codes of a command-line run.
constexpr int kExitSuccess = 0;
constexpr int kExitSessionNotStarted = 10;
constexpr int kExitSessionNotActive = 40;
constexpr int kExitProfileNotRead = 50;
constexpr int kExitRunFailed = 100;

// The switch that suppresses every message of a command-line run; matched exactly, with case.
inline constexpr const char *kNoMessagesSwitch = "/nomsg";

class CommandLineRun {
public:
    // session: the process session, started by Run; ui: where messages go.
    CommandLineRun(notes::NotesSession &session, platform::UserInterface &ui);

    // arguments: the command line after the program name, at least one. The first is the profile or
    // template to run; "/nomsg" may stand at any position, the first included. Returns the exit code.
    int Run(const std::vector<std::string> &arguments);

    // Whether arguments hold "/nomsg" exactly.
    static bool HasNoMessagesSwitch(const std::vector<std::string> &arguments);

    bool NoMessages() const { return m_noMessages; }
    // Set by a caller on another thread (or a signal handler) to stop the run after the current document.
    std::atomic<bool> &CancelRequested() { return m_cancelRequested; }
    bool ExportInProgress() const { return m_exportInProgress.load(); }
    const std::string &ProfilePath() const { return m_profilePath; }
    const std::string &NotesProgramPath() const { return m_programPath; }
    const std::string &NotesIniPath() const { return m_iniFilePath; }

private:
    // The profile names a database list: every database of it is exported with the profile's settings,
    // each into a directory and summary file of its own below OutputPath.
    int RunQueue(const config::DatabaseExportProfile &profile);
    void ShowError(const std::string &text, const std::string &caption, bool exclamation);

    notes::NotesSession &m_session;
    platform::UserInterface &m_ui;
    bool m_noMessages = false;
    std::string m_programPath;
    std::string m_iniFilePath;
    std::string m_profilePath;
    std::atomic<bool> m_cancelRequested{false};
    std::atomic<bool> m_exportInProgress{false};
};

}  // namespace app
