// What the export needs to know of a note's attachments and OLE objects from its rich text, found by the
// same record walk that renders it: the attachment hotspots and the OLE objects' storage names.
#pragma once

#include <string>
#include <vector>

#include "notes/NotesAttachmentReference.h"

namespace notes {
class NotesNote;
}

namespace richtext {

// Every attachment hotspot of the note's rich-text items, in item order and, within an item, in record
// order: the stored "$FILE" name and the name shown in the document. Empty for a note that is not open.
// A damaged item keeps the references read before the damage.
std::vector<notes::NotesAttachmentReference> ScanAttachmentReferences(const notes::NotesNote &note);

// The OLE objects described by the note's "$OLEOBJINFO" items.
struct OleObjectScan {
    enum Result {
        kFound,        // names holds the storage names ("$FILE" names), in record order (may be empty)
        kNoItem,       // the note has no "$OLEOBJINFO" item
        kNotRichText,  // an "$OLEOBJINFO" item is not rich text
    };
    Result result = kNoItem;
    std::vector<std::string> names;
};
OleObjectScan ScanOleObjects(const notes::NotesNote &note);

}  // namespace richtext
