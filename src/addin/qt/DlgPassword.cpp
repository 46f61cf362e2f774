// The add-in's password dialog.
#include "DlgPassword.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <utility>

#include "password/SavedPassword.h"
#include "platform/AppSettings.h"
#include "platform/IniFile.h"

namespace quorvane {

DlgPassword::DlgPassword(std::string settingsPath, QWidget *parent)
    : QDialog(parent), m_settingsPath(std::move(settingsPath)) {
    setWindowTitle("Lotus Notes Password");
    auto *layout = new QVBoxLayout(this);
    auto *prompt = new QLabel("Enter your Lotus Notes password (to be encrypted and saved)", this);
    layout->addWidget(prompt);
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    prompt->setBuddy(m_password);
    layout->addWidget(m_password);
    auto *notice = new QLabel(password::kScramblingNotice, this);
    notice->setWordWrap(true);
    layout->addWidget(notice);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &DlgPassword::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

void DlgPassword::accept() {
    const std::u16string clear = m_password->text().toStdU16String();
    const password::PasswordCheck check = password::CheckPassword(clear);
    if (check != password::PasswordCheck::Ok) {
        ShowMessage(QString::fromStdString(password::PasswordCheckMessage(check)), QMessageBox::Warning);
        return;
    }
    if (!platform::WriteIniValue(m_settingsPath, platform::kSettingsSectionPassword,
                                 platform::kSettingsKeyPassword, password::ScramblePassword(clear), true)) {
        ShowMessage("Unable to save password to application ini file.", QMessageBox::Critical);
        return;
    }
    QDialog::accept();
}

void DlgPassword::ShowMessage(const QString &text, QMessageBox::Icon icon) {
    QMessageBox box(icon, "Error", text, QMessageBox::Ok, this);
    box.exec();
}

}  // namespace quorvane
