// The add-in's own "Lotus Notes Password" dialog: asks for the password when none is stored yet and
// saves it, scrambled, to the settings file of the process.
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <string>

class QLineEdit;

namespace quorvane {

class DlgPassword : public QDialog {
    Q_OBJECT

public:
    explicit DlgPassword(std::string settingsPath, QWidget *parent = nullptr);

    QLineEdit *PasswordBox() const { return m_password; }

    // OK: refuses an empty password or one the saved format cannot hold, with a message, and stays
    // open; otherwise writes [Quorvane] Password (the file owner-only) and closes, or says that the
    // write failed and stays open.
    void accept() override;

protected:
    // A message box with the caption "Error"; tests record the message instead.
    virtual void ShowMessage(const QString &text, QMessageBox::Icon icon);

private:
    std::string m_settingsPath;
    QLineEdit *m_password = nullptr;
};

}  // namespace quorvane
