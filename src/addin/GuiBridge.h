// What the add-in shows the user: through its Qt part when the process has a GUI, else nothing (the
// dialog's cancelling answer) or a line on standard error.
#pragma once

#include <string>

#include "PasswordRequest.h"

namespace quorvane {

// The add-in's password dialog when the process has a GUI on this thread; Cancelled otherwise.
PromptResult AskWithOwnDialog(const std::string &settingsPath);

// A message box with the add-in's caption when the process has a GUI on this thread; otherwise the
// message goes to standard error.
void ShowAddinMessage(const std::string &text);

}  // namespace quorvane
