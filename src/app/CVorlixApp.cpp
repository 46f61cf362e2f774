// The application object and its command-line entry.
#include "CVorlixApp.h"

#include <atomic>
#include <csignal>
#include <cstdio>

#include "CommandLineRun.h"
#include "CommandLineUserInterface.h"
#include "notes/NotesSession.h"
#include "platform/AppInfo.h"
#include "platform/UserInterface.h"

namespace app {

namespace {

// The cancel flag of the run in progress, for an interrupt from the terminal: the first Ctrl-C asks the
// run to stop after the current document (so files and databases are closed properly), a second one
// ends the process at once.
std::atomic<std::atomic<bool> *> g_cancelOnInterrupt{nullptr};

extern "C" void CancelOnInterrupt(int) {
    std::atomic<bool> *cancel = g_cancelOnInterrupt.load();
    if (cancel != nullptr) {
        cancel->store(true);
    }
    std::signal(SIGINT, SIG_DFL);
}

}  // namespace

CVorlixApp::CVorlixApp() : m_session(std::make_unique<notes::NotesSession>()) {}

CVorlixApp::~CVorlixApp() {
    m_session->End(false);
}

std::string CVorlixApp::TitleText() {
    return platform::AppInfo::Name() + " - " + (platform::AppInfo::kBeta ? "Beta Version " : "Version ") +
           platform::AppInfo::VersionText();
}

CVorlixApp::Information CVorlixApp::InformationRequested(const std::vector<std::string> &arguments) {
    if (arguments.empty()) {
        return Information::None;
    }
    if (arguments.front() == "--help" || arguments.front() == "-h") {
        return Information::Help;
    }
    return arguments.front() == "--version" ? Information::Version : Information::None;
}

std::string CVorlixApp::UsageText() {
    return TitleText() +
           "\n"
           "Usage: vorlix PROFILE [/nomsg]\n"
           "       vorlix --help | --version\n"
           "\n"
           "Runs the export that the profile (.xpp) or template (.xpt) file PROFILE describes, using the\n"
           "Notes installation named in [Notes] ProgramPath and IniFilePath of the settings file\n"
           "  " +
           platform::AppInfo::SettingsFilePath() +
           "\n"
           "Without arguments the main window opens; where it cannot (no display, or a build without the\n"
           "dialogs) this text is printed.\n"
           "\n"
           "  /nomsg     show no messages; the exit code tells the outcome:\n"
           "               0    the export finished\n"
           "               10   the Notes session could not be started\n"
           "               40   the Notes session was not active when the run was to begin\n"
           "               50   the profile could not be opened or read\n"
           "               100  the export failed\n"
           "  --help     print this text and exit\n"
           "  --version  print the version and exit\n"
           "\n"
           "The stand-in Notes runtime shipped with the program, which serves databases stored as DXL\n"
           "files, is in\n"
           "  " +
           platform::AppInfo::RuntimeDirectory() +
           "\n"
           "Name that directory in [Notes] ProgramPath to use it. See vorlix(1).\n";
}

std::string CVorlixApp::VersionText() {
    return "vorlix " + platform::AppInfo::VersionText() + "\n";
}

int CVorlixApp::Run(const std::vector<std::string> &arguments) {
    const Information information = InformationRequested(arguments);
    if (arguments.empty() || information != Information::None) {
        const std::string text = information == Information::Version ? VersionText() : UsageText();
        // A failed write (a closed or full standard output) is an error, not a silent success.
        const bool written = std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
        m_exitCode = written ? 0 : 1;
        return m_exitCode;
    }
    m_noMessages = CommandLineRun::HasNoMessagesSwitch(arguments);
    CommandLineUserInterface console(m_noMessages);
    platform::UserInterface *previous = platform::SetUi(&console);
    CommandLineRun run(*m_session, console);
    g_cancelOnInterrupt = &run.CancelRequested();
    auto previousHandler = std::signal(SIGINT, CancelOnInterrupt);
    m_exitCode = run.Run(arguments);
    std::signal(SIGINT, previousHandler == SIG_ERR ? SIG_DFL : previousHandler);
    g_cancelOnInterrupt = nullptr;
    platform::SetUi(previous);
    return m_exitCode;
}

}  // namespace app
