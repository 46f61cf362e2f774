// The "Lotus Notes Program Settings" dialog: the Notes program directory and configuration file of the
// settings file, typed, browsed for or detected; the procedure around it that restarts the session
// after a change; and the desktop program's answers to the questions of the detection.
#pragma once

#include <QDialog>
#include <string>

#include "app/gui/InteractiveStartup.h"
#include "notes/NotesDetection.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace notes {
class NotesSession;
}

namespace gui {

class DlgNotesSettings : public QDialog {
    Q_OBJECT

public:
    DlgNotesSettings(notes::NotesSession &session, notes::DiscoveryDialogs &dialogs,
                     notes::InstallSearchEnvironment environment, QWidget *parent = nullptr);

    // Writes both boxes to the settings file; a failed write is shown and keeps the dialog open.
    void accept() override;

    QLineEdit *ProgramPathBox() const { return m_programPath; }
    QLineEdit *IniFilePathBox() const { return m_iniFilePath; }
    QPushButton *SelectProgramButton() const { return m_selectProgram; }
    QPushButton *SelectIniFileButton() const { return m_selectIniFile; }
    QPushButton *DetectButton() const { return m_detect; }
    QLabel *StatusLine() const { return m_status; }
    QLabel *SearchStatusLine() const { return m_searchStatus; }

private:
    void LoadFromSettings();
    void SelectProgramPath();
    void SelectIniFile();
    void AutoDetect();

    notes::NotesSession &m_session;
    notes::DiscoveryDialogs &m_dialogs;
    notes::InstallSearchEnvironment m_environment;
    QLineEdit *m_programPath;
    QLineEdit *m_iniFilePath;
    QPushButton *m_selectProgram;
    QPushButton *m_selectIniFile;
    QPushButton *m_detect;
    QLabel *m_status;
    QLabel *m_searchStatus;
};

// The questions of the detection answered with message boxes and the dialogs above.
class GuiDiscoveryDialogs : public notes::DiscoveryDialogs {
public:
    explicit GuiDiscoveryDialogs(QWidget *parent, notes::InstallSearchEnvironment environment =
                                                      notes::InstallSearchEnvironment::FromSystem())
        : m_parent(parent), m_environment(std::move(environment)) {}
    bool AskRetry(const std::string &text, const std::string &caption) override;
    std::optional<std::size_t> ChooseProgramPath(const std::vector<std::string> &candidates,
                                                 std::optional<std::size_t> current) override;
    std::optional<std::size_t> ChooseConfigFile(const std::vector<std::string> &candidates,
                                                std::optional<std::size_t> current) override;
    bool RunSettings(notes::NotesSession &session, std::string &startupStatus) override;

private:
    QWidget *m_parent;
    notes::InstallSearchEnvironment m_environment;
};

// The settings procedure: the dialog, then the session restarted when the paths changed or the
// session is not active. False when that start failed; startupStatus says why.
bool RunNotesSettings(notes::NotesSession &session, std::string &startupStatus,
                      notes::DiscoveryDialogs &dialogs, const notes::InstallSearchEnvironment &environment,
                      QWidget *parent);

// The "Lotus Notes program Settings" menu command: the procedure, repeated while the user answers
// Retry to its failure.
void NotesSettingsCommand(notes::NotesSession &session, std::string &startupStatus, QWidget *parent);

// The start-up's discovery: detection and start with the settings dialog on failure; the dialogs
// belong to the active window.
InteractiveStartup::Discovery DesktopDiscovery();

}  // namespace gui
