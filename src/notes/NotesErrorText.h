// The message text that Notes holds for a status code.
#pragma once

#include <string>

#include "capi/NotesTypes.h"

namespace notes {

// The message for the status's error-code bits, or "Unable to determine error" when Notes has none.
std::string NotesErrorText(STATUS status);

}  // namespace notes
