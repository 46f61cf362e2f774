// The application object: owns the process Notes session for the life of the process (the main dialog
// borrows it) and runs command-line mode, or prints how to use the program.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace notes {
class NotesSession;
}

namespace app {

class CVorlixApp {
public:
    CVorlixApp();
    ~CVorlixApp();  // ends the process session when it is active
    CVorlixApp(const CVorlixApp &) = delete;
    CVorlixApp &operator=(const CVorlixApp &) = delete;

    // arguments: the command line after the program name. Returns the process exit code.
    int Run(const std::vector<std::string> &arguments);

    notes::NotesSession &Session() { return *m_session; }
    bool NoMessages() const { return m_noMessages; }
    int ExitCode() const { return m_exitCode; }

    // What a first argument of "--help" (or "-h") or "--version" asks for: the usage text or the
    // version on standard output and exit code 0. Such an argument is never taken as a profile path.
    enum class Information { None, Help, Version };
    static Information InformationRequested(const std::vector<std::string> &arguments);

    // "Vorlix - Version 6.0.15", the main window's title.
    static std::string TitleText();
    // How to use the program: the answer to --help, and to a start without arguments where the dialogs
    // cannot open. Names the settings file and the stand-in runtime directory in use.
    static std::string UsageText();
    // The answer to --version: "vorlix 6.0.15".
    static std::string VersionText();

private:
    std::unique_ptr<notes::NotesSession> m_session;
    bool m_noMessages = false;
    int m_exitCode = 0;
};

}  // namespace app
