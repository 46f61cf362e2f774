// Command-line mode: settings, session start, profile read and the export run, each failure mapped to
// its exit code and, unless "/nomsg" is given, its message.
#include "CommandLineRun.h"

#include <algorithm>
#include <cstdio>

#include "NotesPathSettings.h"

#include "config/ComputedFieldCatalogue.h"
#include "config/DatabaseExportProfile.h"
#include "config/NotesDatabaseList.h"
#include "export/CreateDirectoryPath.h"
#include "export/ExportQueue.h"
#include "export/ExportRun.h"
#include "notes/NotesSession.h"
#include "platform/AppInfo.h"
#include "platform/AppSettings.h"
#include "platform/Paths.h"
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

    if (!profile.Settings.VorlixDatabaseList.empty()) {
        const int code = RunQueue(profile);
        m_exportInProgress = false;
        return code;
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

int CommandLineRun::RunQueue(const config::DatabaseExportProfile &profile) {
    // A relative list path is taken from the profile's directory, so a profile and its list move together.
    std::string listPath = profile.Settings.VorlixDatabaseList;
    if (listPath.front() != platform::kPathSeparator) {
        listPath = platform::JoinPath(platform::DirectoryOf(m_profilePath), listPath);
    }
    config::NotesDatabaseList queue;
    if (!queue.LoadFromFile(listPath)) {
        ShowError("Unable to Open Database List \"" + listPath + "\". " + queue.LastError(),
                  "Export Profile Open Error", false);
        return kExitProfileNotRead;
    }
    const std::string outputPath = exporter::CreateDirectoryPath(profile.Settings.OutputPath);
    if (profile.Settings.OutputPath.empty() || outputPath.empty()) {
        ShowError("Invalid output path specified.", "Error", false);
        return kExitRunFailed;
    }
    exporter::ExportQueue run(queue, profile.Settings, outputPath, true, profile.ShowProgress);
    (void)run.Run(m_session, m_cancelRequested, [this, &queue](std::size_t index) {
        const config::NotesExportDatabase &entry = queue.Entry(index);
        if (entry.image == config::kQueueImageFailed) {
            ShowError(entry.title + " (" + (entry.server.empty() ? "Local" : entry.server) + ", " +
                          entry.path + "): " + entry.status,
                      "Export Status", true);
        }
    });
    // The outcome of every database, beside their directories, for a run nobody watched.
    const std::string statusPath = platform::JoinPath(
        outputPath, exporter::QueueBaseName(platform::FileNameOf(listPath)) + "-status.csv");
    if (!platform::WriteFileAtomically(statusPath, queue.StatusCsv())) {
        ShowError("Unable to write the queue status file. " + platform::LastFileError(), "Export Status",
                  true);
        return kExitRunFailed;
    }
    return run.FirstFailure() >= 0 || m_cancelRequested.load() ? kExitRunFailed : kExitSuccess;
}

}  // namespace app
