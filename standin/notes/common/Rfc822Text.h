// The Notes-native part of an RFC822 text item (TYPE_RFC822_TEXT): the header of an internet mail
// as Notes keeps it, a descriptor followed by the native value and the original header.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "../../../src/notes/capi/NotesTypes.h"

namespace standin {

struct Rfc822Value {
    bool isTime = false;
    TIMEDATE time{};
    std::vector<std::string> texts;  // LMBCS; one entry unless the native value is a text list
};

// Decodes the bytes after the type word; false when the descriptor or its lengths do not fit.
// Without a native value the original header body stands in (ASCII as is, other bytes as Latin-1).
[[nodiscard]] bool DecodeRfc822Text(std::string_view body, Rfc822Value &out);

}  // namespace standin
