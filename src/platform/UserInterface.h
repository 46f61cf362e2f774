// The user-interface seam: message boxes, questions, file and folder pickers, progress and status
// lines. The GUI implements it with Qt; command-line mode uses ConsoleUserInterface. No call may block
// an unattended run.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace platform {

enum class MessageIcon { None, Information, Exclamation, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

class UserInterface {
public:
    virtual ~UserInterface() = default;
    // A message box; the answer is the chosen button.
    virtual MessageAnswer Message(const std::string &text, const std::string &caption, MessageIcon icon,
                                  MessageButtons buttons) = 0;
    // Progress of a long operation: position of range.
    virtual void Progress(long position, long range) = 0;
    // The status line (the Notes session start shows its progress and outcome there too).
    virtual void Status(const std::string &text) = 0;

    // File and folder pickers. filter lists "Description|patterns" pairs, each ended by "|", patterns
    // separated by ";" ("Text (*.txt)|*.txt|All Files (*.*)|*.*||"). An empty result means the user
    // cancelled; without a display there is nothing to pick and the result is always empty.
    // OpenFileNames gives one path, or several when multiple is set.
    virtual std::vector<std::string> OpenFileNames(const std::string &caption, const std::string &filter,
                                                   bool multiple);
    // defaultExtension (without the dot) is appended to a chosen name that has no extension.
    virtual std::string SaveFileName(const std::string &caption, const std::string &filter,
                                     const std::string &defaultExtension);
    virtual std::string FolderName(const std::string &caption, const std::string &startFolder);
};

// Writes messages and status to standard error. Questions get their cancelling choice (Cancel, or No
// where there is no Cancel) when standard input is not a terminal or quiet is set; progress is shown
// on standard error only when it is a terminal.
class ConsoleUserInterface : public UserInterface {
public:
    explicit ConsoleUserInterface(bool quiet);
    MessageAnswer Message(const std::string &text, const std::string &caption, MessageIcon icon,
                          MessageButtons buttons) override;
    void Progress(long position, long range) override;
    void Status(const std::string &text) override;

private:
    bool m_quiet;
    bool m_stdinTerminal;
    bool m_stderrTerminal;
    bool m_progressShown = false;
};

// The seam in use; a console one (quiet) until another is installed.
UserInterface &Ui();
// Installs ui (not owned; null restores the default); returns the previous one.
UserInterface *SetUi(UserInterface *ui);

// Shorthand for a message box with an OK button.
void ShowMessage(const std::string &text, const std::string &caption = "Vorlix",
                 MessageIcon icon = MessageIcon::Information);

}  // namespace platform
