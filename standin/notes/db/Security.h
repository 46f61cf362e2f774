// The security stand-ins: readers fields that hide documents, and the encryption keys of the ID.
#pragma once

#include <string>
#include <vector>

#include "dxl/Note.h"

namespace standin {

// The entries of a text or text-list value (type word first); empty for other types.
std::vector<std::string> TextEntries(std::string_view value);

// The ID's user name (canonical as the ID holds it); empty without an ID.
std::string CurrentUser();
// True unless the note has readers fields with names and the user is named in none of them (nor
// in its authors fields).
bool CanRead(const dxl::Note &note);
// True when the ID holds the encryption key of that name.
bool HoldsKey(const std::string &key);

}  // namespace standin
