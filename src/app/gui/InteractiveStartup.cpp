// The deferred Notes start of an interactive session.
#include "InteractiveStartup.h"

#include "app/NotesPathSettings.h"
#include "notes/NotesSession.h"

namespace gui {

InteractiveStartup::InteractiveStartup(notes::NotesSession &session, platform::UserInterface &statusLine,
                                       Discovery discovery)
    : m_session(session), m_statusLine(statusLine), m_discovery(std::move(discovery)) {}

void InteractiveStartup::ReadPaths() {
    const app::NotesPathSettings paths = app::NotesPathSettings::Read();
    m_iniFilePath = paths.iniFilePath;
    m_programPath = paths.programPath;
}

// At most once per start-up; true when the discovery started the session.
bool InteractiveStartup::Discover() {
    if (m_discoveryRan || !m_discovery) {
        return false;
    }
    m_discoveryRan = true;
    if (m_discovery(m_session, m_startupStatus, m_statusLine)) {
        return true;
    }
    ReadPaths();
    return false;
}

bool InteractiveStartup::StartSession() {
    if (!m_session.Start(false, m_programPath, m_iniFilePath, &m_statusLine)) {
        return false;
    }
    if (!m_session.CheckVersion(kMinimumMajor, kMinimumMinor, kMinimumTiny)) {
        m_startupStatus = m_session.ErrorText();
        m_session.End(false);
    }
    return true;
}

void InteractiveStartup::Run() {
    ReadPaths();
    if (m_programPath.empty() && Discover()) {
        return;
    }
    if (StartSession()) {
        return;
    }
    const bool couldDiscover = m_discovery && !m_discoveryRan;
    if (couldDiscover && (Discover() || StartSession())) {
        return;
    }
    if (!m_startupStatus.empty()) {
        m_startupStatus += "\n\n";
    }
    m_startupStatus +=
        m_session.ErrorText() +
        "\n \nPlease make sure Lotus Notes is installed and setup correctly (run at least once).";
}

}  // namespace gui
