// The Extension Manager of the runtime: add-ins named by EXTMGR_ADDINS, their registrations, and the
// password request made to them at start-up.
#pragma once

#include <string>

#include "Config.h"
#include "Runtime.h"

namespace standin {

// Loads each add-in of the comma-separated list (lib<name>.so, the name in lower case, from the
// directory of libnotes.so, or the path as given when the name holds a '/') and calls its
// MainEntryPoint. An add-in that cannot be loaded is skipped with a diagnostic, as Notes goes on
// without it.
void LoadAddins(const std::string &list);
// Calls each loaded add-in's ExtClear, unloads it and drops registrations still left.
void UnloadAddins();

// Asks the registered EM_GETPASSWORD handlers for the ID file's password. 0 when a handler supplied
// the right one; kStsWrongPassword for a wrong one; the handler's abort status; else
// ERR_BSAFE_PASSWORD_REQUIRED (the stand-in never prompts on a terminal).
STATUS RequestPassword(const IdFile &id);

}  // namespace standin
