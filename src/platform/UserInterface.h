// The user-interface seam: message boxes, questions, progress and status lines. The GUI implements it
// with Qt; command-line mode uses ConsoleUserInterface. No call may block an unattended run.
#pragma once

#include <memory>
#include <string>

namespace platform {

enum class MessageIcon { None, Information, Exclamation, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class UserInterface {
public:
    virtual ~UserInterface() = default;
    // A message box; the answer is the chosen button.
    virtual MessageAnswer Message(const std::string &text, const std::string &caption, MessageIcon icon,
                                  MessageButtons buttons) = 0;
    // Progress of a long operation: position of range.
    virtual void Progress(long position, long range) = 0;
    // The status line.
    virtual void Status(const std::string &text) = 0;
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
