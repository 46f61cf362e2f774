// The console implementation of the user-interface seam and the seam's installation.
#include "UserInterface.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace platform {

namespace {

std::atomic<UserInterface *> g_current{nullptr};

UserInterface &DefaultUi() {
    static ConsoleUserInterface console(true);
    return console;
}

MessageAnswer CancellingAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::OkCancel:
        case MessageButtons::YesNoCancel:
        case MessageButtons::RetryCancel:
            return MessageAnswer::Cancel;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
    }
    return MessageAnswer::Cancel;
}

}  // namespace

ConsoleUserInterface::ConsoleUserInterface(bool quiet)
    : m_quiet(quiet),
      m_stdinTerminal(isatty(STDIN_FILENO) == 1),
      m_stderrTerminal(isatty(STDERR_FILENO) == 1) {}

MessageAnswer ConsoleUserInterface::Message(const std::string &text, const std::string &caption, MessageIcon,
                                            MessageButtons buttons) {
    if (m_stderrTerminal && m_progressShown) {
        std::fputs("\n", stderr);
        m_progressShown = false;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    if (buttons == MessageButtons::Ok || m_quiet || !m_stdinTerminal) {
        return CancellingAnswer(buttons);
    }
    const bool yesNo = buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel;
    const bool retry = buttons == MessageButtons::RetryCancel;
    std::fputs(yesNo ? "[y/n] " : retry ? "[r/c] " : "[o/c] ", stderr);
    char line[32] = {};
    if (std::fgets(line, sizeof line, stdin) == nullptr) {
        return CancellingAnswer(buttons);
    }
    const char c = line[0];
    if (yesNo && (c == 'y' || c == 'Y')) {
        return MessageAnswer::Yes;
    }
    if (yesNo && (c == 'n' || c == 'N')) {
        return MessageAnswer::No;
    }
    if (retry && (c == 'r' || c == 'R')) {
        return MessageAnswer::Retry;
    }
    if (!yesNo && !retry && (c == 'o' || c == 'O')) {
        return MessageAnswer::Ok;
    }
    return CancellingAnswer(buttons);
}

void ConsoleUserInterface::Progress(long position, long range) {
    if (!m_stderrTerminal || range <= 0) {
        return;
    }
    std::fprintf(stderr, "\r%ld / %ld", position, range);
    std::fflush(stderr);
    m_progressShown = true;
}

void ConsoleUserInterface::Status(const std::string &text) {
    if (text.empty()) {
        return;
    }
    if (m_stderrTerminal && m_progressShown) {
        std::fputs("\n", stderr);
        m_progressShown = false;
    }
    if (!m_quiet || m_stderrTerminal) {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
}

std::vector<std::string> UserInterface::OpenFileNames(const std::string &, const std::string &, bool) {
    return {};
}

std::string UserInterface::SaveFileName(const std::string &, const std::string &, const std::string &) {
    return "";
}

std::string UserInterface::FolderName(const std::string &, const std::string &) {
    return "";
}

UserInterface &Ui() {
    UserInterface *ui = g_current.load();
    return ui != nullptr ? *ui : DefaultUi();
}

UserInterface *SetUi(UserInterface *ui) {
    return g_current.exchange(ui);
}

void ShowMessage(const std::string &text, const std::string &caption, MessageIcon icon) {
    Ui().Message(text, caption, icon, MessageButtons::Ok);
}

}  // namespace platform
