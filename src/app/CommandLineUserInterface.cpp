// Command-line mode's seam: progress and status for a person at a terminal, messages for everyone.
#include "CommandLineUserInterface.h"

#include <unistd.h>

namespace app {

CommandLineUserInterface::CommandLineUserInterface(bool quiet)
    : m_console(quiet), m_stderrTerminal(isatty(STDERR_FILENO) == 1) {}

platform::MessageAnswer CommandLineUserInterface::Message(const std::string &text, const std::string &caption,
                                                          platform::MessageIcon icon,
                                                          platform::MessageButtons buttons) {
    return m_console.Message(text, caption, icon, buttons);
}

void CommandLineUserInterface::Progress(long position, long range) {
    if (m_stderrTerminal) {
        m_console.Progress(position, range);
    }
}

void CommandLineUserInterface::Status(const std::string &text) {
    if (m_stderrTerminal) {
        m_console.Status(text);
    }
}

}  // namespace app
