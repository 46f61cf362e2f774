// A reference to an attachment found in a note's rich text: the "$FILE" name and the name shown.
#pragma once

#include <string>

namespace notes {

struct NotesAttachmentReference {
    std::string storedName;    // the "$FILE" object's name (UTF-8)
    std::string attachedName;  // the file name the document shows; empty when the record holds none

    // The attached name, or the stored name when there is none.
    const std::string &DisplayName() const { return attachedName.empty() ? storedName : attachedName; }
};

}  // namespace notes
