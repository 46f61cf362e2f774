// Command-line mode: settings, session start, profile read and the export run, each failure mapped to
// its exit code and, unless "/nomsg" is given, its message.
#include "CommandLineRun.h"

#include <algorithm>
#include <cstdio>

#include "NotesPathSettings.h"

#include "config/ComputedFieldCatalogue.h"
#include "config/DatabaseExportProfile.h"
#include "export/ExportRun.h"
#include "notes/NotesSession.h"
#include "platform/AppInfo.h"
#include "platform/AppSettings.h"
#include "platform/UserInterface.h"

namespace app {

CommandLineRun::CommandLineRun(notes::NotesSession &session, platform::UserInterface &ui)
    : m_session(session), m_ui(ui) {}

bool CommandLineRun::HasNoMessagesSwitch(const std::vector<std::string> &arguments) {
    return std::find(arguments.begin(), arguments.end(), kNoMessagesSwitch) != arguments.end();
}

void CommandLineRun::ShowError(const std::string &text, const std::string &caption, bool exclamation) {
    if (m_noMessages) {
        return;
    }
    m_ui.Message(text, caption,
                 exclamation ? platform::MessageIcon::Exclamation : platform::MessageIcon::Error,
                 platform::MessageButtons::Ok);
}

int CommandLineRun::Run(const std::vector<std::string> &arguments) {
    if (arguments.empty()) {
        return kExitProfileNotRead;
    }
    m_noMessages = HasNoMessagesSwitch(arguments);
    // The catalogue is built once for the process, before any profile names its computed fields.
    (void)config::ComputedFieldCatalogue::Entries();
    const NotesPathSettings paths = NotesPathSettings::Read();
    m_iniFilePath = paths.iniFilePath;
    m_programPath = paths.programPath;

    // No discovery in command-line mode: the settings file must name a working installation.
    if (!m_session.Start(false, m_programPath, m_iniFilePath, nullptr)) {
        ShowError(m_session.ErrorText(), platform::AppInfo::Name(), false);
        return kExitSessionNotStarted;
    }

    config::DatabaseExportProfile profile;
    profile.ShowProgress = true;
    if (!profile.LoadFromFile(arguments.front(), platform::AppInfo::Name(),
                              platform::AppInfo::VersionText())) {
        ShowError("Unable to Open Export Profile. " + profile.LastError(), "Export Profile Open Error",
                  false);
        return kExitProfileNotRead;
    }
    // Values the profile holds by mistake are reported, never asked about: standard error always
    // takes them, and the run writes them to its log.
    for (const std::string &warning : profile.Warnings()) {
        std::fprintf(stderr, "%s\n", warning.c_str());
    }
    m_profilePath = arguments.front();
    m_cancelRequested = false;
    m_exportInProgress = true;

    if (!m_session.IsActive()) {
        m_exportInProgress = false;
        ShowError("Lotus Notes Session is not active", "Error", false);
        return kExitSessionNotActive;
    }

    exporter::ExportRun run(profile, profile.ShowProgress);
    const bool succeeded = run.Run(m_session, m_cancelRequested, false, true, false);
    m_exportInProgress = false;
    if (!succeeded) {
        ShowError(run.LastError(), "Export Status", true);
        return kExitRunFailed;
    }
    return kExitSuccess;
}

}  // namespace app
