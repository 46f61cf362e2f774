// Answering Notes' password request from the settings file of the process the add-in is loaded into.
#pragma once

#include <string>

#include "notes/capi/NotesTypes.h"

namespace quorvane {

// The outcome of the add-in's own password dialog, shown when no password is stored yet.
enum class PromptResult { Saved, Cancelled };
using PasswordPrompt = PromptResult (*)(const std::string &settingsPath);

// The settings file of the running process: its executable's path under the program's settings-file
// rule (so inside Vorlix it is Vorlix's own). Empty when the executable's path cannot be told.
std::string CurrentSettingsFile();

// Answers one password request. Returns ERR_BSAFE_EXTERNAL_PASSWORD (0x1761) with the password (native
// text, NUL-terminated, at most maxLength bytes with the NUL) in returnedPassword and its length in
// bytes in returnedLength, when [Quorvane] Enabled is "1" and a password is stored, or prompt saved one.
// Every other case returns ERR_EM_CONTINUE (0x02D5), so that Notes asks the user itself: a missing
// pointer, a missing or unreadable settings file, Enabled not "1", a stored text that is not one the
// program writes, a cancelled or absent prompt. Never throws.
STATUS AnswerPasswordRequest(DWORD maxLength, DWORD *returnedLength, char *returnedPassword,
                             const std::string &settingsPath, PasswordPrompt prompt) noexcept;

}  // namespace quorvane
