// The "Lotus Notes Program Settings" dialog, the procedure around it and the detection's questions.
#include "DlgNotesSettings.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "DlgNotesPathSel.h"
#include "notes/NotesSession.h"
#include "platform/AppInfo.h"
#include "platform/AppSettings.h"
#include "platform/UserInterface.h"

namespace gui {

namespace {

QString Q(const std::string &text) {
    return QString::fromStdString(text);
}

std::string Trimmed(const QString &text) {
    return text.trimmed().toStdString();
}

std::string NotesSetting(const char *key) {
    return Trimmed(Q(platform::ReadAppSetting(platform::kSettingsSectionNotes, key)));
}

// A status line of the dialog as the seam that the detection reports to; messages go to the
// program's seam.
class LabelStatus : public platform::UserInterface {
public:
    explicit LabelStatus(QLabel *label) : m_label(label) {}
    platform::MessageAnswer Message(const std::string &text, const std::string &caption,
                                    platform::MessageIcon icon, platform::MessageButtons buttons) override {
        return platform::Ui().Message(text, caption, icon, buttons);
    }
    void Progress(long, long) override {}
    void Status(const std::string &text) override { m_label->setText(Q(text)); }

private:
    QLabel *m_label;
};

// The wait cursor for as long as it lives.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

constexpr char kDetectionFailed[] =
    "Lotus Notes settings could not be automatically determined. Lotus Notes client software must be "
    "installed to use this product. Fully functional versions of Lotus Notes have been made available from "
    "IBM in the past (as time limited trials which you may later purchase). Please search google for 'Lotus "
    "Notes client download'. You may modify Lotus Notes program settings from the menu 'Options - Lotus "
    "Notes Program Settings'.";

}  // namespace

DlgNotesSettings::DlgNotesSettings(notes::NotesSession &session, notes::DiscoveryDialogs &dialogs,
                                   notes::InstallSearchEnvironment environment, QWidget *parent)
    : QDialog(parent),
      m_session(session),
      m_dialogs(dialogs),
      m_environment(std::move(environment)),
      m_programPath(new QLineEdit(this)),
      m_iniFilePath(new QLineEdit(this)),
      m_selectProgram(new QPushButton("Select", this)),
      m_selectIniFile(new QPushButton("Select", this)),
      m_detect(new QPushButton("Automatically detect settings", this)),
      m_status(new QLabel(this)),
      m_searchStatus(new QLabel(this)) {
    setWindowTitle("Lotus Notes Program Settings");
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout();
    grid->addWidget(new QLabel("Lotus Notes program path (path to the installed copy of Lotus Notes)", this),
                    0, 0, 1, 2);
    grid->addWidget(m_programPath, 1, 0);
    grid->addWidget(m_selectProgram, 1, 1);
    grid->addWidget(new QLabel("Lotus Notes configuration file (Notes.ini file)", this), 2, 0, 1, 2);
    grid->addWidget(m_iniFilePath, 3, 0);
    grid->addWidget(m_selectIniFile, 3, 1);
    layout->addLayout(grid);
    layout->addWidget(m_detect);
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
    layout->addWidget(m_searchStatus);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &DlgNotesSettings::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_selectProgram, &QPushButton::clicked, this, &DlgNotesSettings::SelectProgramPath);
    connect(m_selectIniFile, &QPushButton::clicked, this, &DlgNotesSettings::SelectIniFile);
    connect(m_detect, &QPushButton::clicked, this, &DlgNotesSettings::AutoDetect);
    setMinimumWidth(560);
    LoadFromSettings();
}

void DlgNotesSettings::LoadFromSettings() {
    m_programPath->setText(
        Q(platform::ReadAppSetting(platform::kSettingsSectionNotes, platform::kSettingsKeyProgramPath)));
    m_iniFilePath->setText(
        Q(platform::ReadAppSetting(platform::kSettingsSectionNotes, platform::kSettingsKeyIniFilePath)));
}

void DlgNotesSettings::SelectProgramPath() {
    const std::string folder =
        platform::Ui().FolderName("Lotus Notes program path", m_programPath->text().toStdString());
    if (!folder.empty()) {
        m_programPath->setText(Q(folder));
    }
}

void DlgNotesSettings::SelectIniFile() {
    const std::vector<std::string> files = platform::Ui().OpenFileNames(
        "Lotus Notes configuration file", "Notes configuration (*.ini)|*.ini|All Files (*.*)|*.*||", false);
    if (!files.empty()) {
        m_iniFilePath->setText(Q(files.front()));
    }
}

void DlgNotesSettings::AutoDetect() {
    LabelStatus status(m_status);
    LabelStatus searchStatus(m_searchStatus);
    std::string startupStatus;
    const bool started = notes::DetectAndStart(m_session, false, false, startupStatus, &status, &searchStatus,
                                               m_dialogs, m_environment);
    LoadFromSettings();
    if (!started) {
        platform::Ui().Message(kDetectionFailed, "Lotus Notes Program Settings Error",
                               platform::MessageIcon::Error, platform::MessageButtons::Ok);
    }
}

void DlgNotesSettings::accept() {
    if (!platform::WriteAppSetting(platform::kSettingsSectionNotes, platform::kSettingsKeyProgramPath,
                                   m_programPath->text().toStdString()) ||
        !platform::WriteAppSetting(platform::kSettingsSectionNotes, platform::kSettingsKeyIniFilePath,
                                   m_iniFilePath->text().toStdString())) {
        platform::Ui().Message(
            "Unable to save settings to settings file: " + platform::AppInfo::SettingsFilePath(), "Error",
            platform::MessageIcon::Error, platform::MessageButtons::Ok);
        return;
    }
    QDialog::accept();
}

bool GuiDiscoveryDialogs::AskRetry(const std::string &text, const std::string &caption) {
    return platform::Ui().Message(text, caption, platform::MessageIcon::Error,
                                  platform::MessageButtons::RetryCancel) == platform::MessageAnswer::Retry;
}

std::optional<std::size_t> GuiDiscoveryDialogs::ChooseProgramPath(const std::vector<std::string> &candidates,
                                                                  std::optional<std::size_t> current) {
    DlgNotesProgPathSel dialog(candidates, current, m_parent);
    return dialog.exec() == QDialog::Accepted ? dialog.Selected() : std::nullopt;
}

std::optional<std::size_t> GuiDiscoveryDialogs::ChooseConfigFile(const std::vector<std::string> &candidates,
                                                                 std::optional<std::size_t> current) {
    DlgNotesConfigFileSel dialog(candidates, current, m_parent);
    return dialog.exec() == QDialog::Accepted ? dialog.Selected() : std::nullopt;
}

bool GuiDiscoveryDialogs::RunSettings(notes::NotesSession &session, std::string &startupStatus) {
    return RunNotesSettings(session, startupStatus, *this, m_environment, m_parent);
}

bool RunNotesSettings(notes::NotesSession &session, std::string &startupStatus,
                      notes::DiscoveryDialogs &dialogs, const notes::InstallSearchEnvironment &environment,
                      QWidget *parent) {
    const std::string programBefore = NotesSetting(platform::kSettingsKeyProgramPath);
    const std::string iniBefore = NotesSetting(platform::kSettingsKeyIniFilePath);
    DlgNotesSettings dialog(session, dialogs, environment, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return true;
    }
    WaitCursor wait;
    return notes::RestartAfterSettings(session, programBefore, iniBefore, startupStatus);
}

void NotesSettingsCommand(notes::NotesSession &session, std::string &startupStatus, QWidget *parent) {
    GuiDiscoveryDialogs dialogs(parent);
    while (!RunNotesSettings(session, startupStatus, dialogs, notes::InstallSearchEnvironment::FromSystem(),
                             parent)) {
        if (platform::Ui().Message(startupStatus, "Lotus Notes Program Configuration Error",
                                   platform::MessageIcon::Error,
                                   platform::MessageButtons::RetryCancel) != platform::MessageAnswer::Retry) {
            return;
        }
    }
}

InteractiveStartup::Discovery DesktopDiscovery() {
    return [](notes::NotesSession &session, std::string &startupStatus, platform::UserInterface &statusLine) {
        GuiDiscoveryDialogs dialogs(QApplication::activeWindow());
        return notes::DetectAndStart(session, true, true, startupStatus, &statusLine, &statusLine, dialogs);
    };
}

}  // namespace gui
