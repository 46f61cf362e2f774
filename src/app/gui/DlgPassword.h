// The "Save Password" dialog: stores the Notes password, scrambled, in the settings file and enables
// the password add-in.
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;
class QPlainTextEdit;

namespace gui {

class DlgPassword : public QDialog {
    Q_OBJECT

public:
    // Takes the settings file path when it opens.
    explicit DlgPassword(QWidget *parent = nullptr);

    QPlainTextEdit *NoteBox() const { return m_note; }
    QLineEdit *PasswordBox() const { return m_password; }
    const std::string &SettingsFilePath() const { return m_settingsFilePath; }

    // OK: refuses an empty password or one the saved format cannot hold, with a message, and stays
    // open; otherwise writes [Quorvane] Password and Enabled=1 and closes, or says that the write
    // failed and stays open. Messages go through the user-interface seam.
    void accept() override;

private:
    std::string m_settingsFilePath;
    QPlainTextEdit *m_note = nullptr;
    QLineEdit *m_password = nullptr;
};

}  // namespace gui
