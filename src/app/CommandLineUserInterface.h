// The user-interface seam of command-line mode: messages go to standard error; progress and status
// lines only when standard error is a terminal, so that a run whose output is redirected or logged
// gets the messages alone.
#pragma once

#include <memory>
#include <string>

#include "platform/UserInterface.h"

namespace app {

class CommandLineUserInterface : public platform::UserInterface {
public:
    // quiet: "/nomsg" was given (questions get their cancelling answer).
    explicit CommandLineUserInterface(bool quiet);

    platform::MessageAnswer Message(const std::string &text, const std::string &caption,
                                    platform::MessageIcon icon, platform::MessageButtons buttons) override;
    void Progress(long position, long range) override;
    void Status(const std::string &text) override;

private:
    platform::ConsoleUserInterface m_console;
    bool m_stderrTerminal;
};

}  // namespace app
