// The "Save Password" dialog of the main program.
#include "DlgPassword.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "password/SavedPassword.h"
#include "platform/AppInfo.h"
#include "platform/AppSettings.h"
#include "platform/UserInterface.h"

namespace gui {

namespace {

void ShowError(const std::string &text, platform::MessageIcon icon) {
    platform::Ui().Message(text, "Error", icon, platform::MessageButtons::Ok);
}

}  // namespace

DlgPassword::DlgPassword(QWidget *parent)
    : QDialog(parent), m_settingsFilePath(platform::AppInfo::SettingsFilePath()) {
    setWindowTitle("Save Password");
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(
        "Enter your Lotus Notes password which will be encrypted and saved. You will not be prompted for "
        "your password while using Vorlix from the user interface or in command line (automated) mode.",
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto *notice = new QLabel(password::kScramblingNotice, this);
    notice->setWordWrap(true);
    layout->addWidget(notice);
    auto *label = new QLabel("Lotus Notes Password", this);
    layout->addWidget(label);
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    label->setBuddy(m_password);
    layout->addWidget(m_password);
    m_note = new QPlainTextEdit(this);
    m_note->setReadOnly(true);
    m_note->setPlainText(
        "NOTE: You must edit your Lotus Notes configuration file (Notes.ini) and add the following line: "
        "EXTMGR_ADDINS=Quorvane and restart Vorlix to allow the password add-in to load.");
    m_note->setMaximumHeight(m_note->fontMetrics().lineSpacing() * 5);
    layout->addWidget(m_note);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &DlgPassword::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    m_password->setFocus();
}

void DlgPassword::accept() {
    const std::u16string clear = m_password->text().toStdU16String();
    const password::PasswordCheck check = password::CheckPassword(clear);
    if (check != password::PasswordCheck::Ok) {
        ShowError(password::PasswordCheckMessage(check), platform::MessageIcon::Exclamation);
        return;
    }
    // The settings file is written owner-only: it holds the password from now on.
    if (!platform::WriteAppSetting(platform::kSettingsSectionPassword, platform::kSettingsKeyPassword,
                                   password::ScramblePassword(clear)) ||
        !platform::WriteAppSetting(platform::kSettingsSectionPassword, platform::kSettingsKeyEnabled, "1")) {
        ShowError("Unable to save password to application ini file '" + m_settingsFilePath + "'",
                  platform::MessageIcon::Error);
        return;
    }
    QDialog::accept();
}

}  // namespace gui
