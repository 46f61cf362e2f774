// What the export reads from a note's item table directly: the names of its items and the names of its
// file attachments.
#pragma once

#include <string>
#include <vector>

namespace notes {
class NotesNote;
}

namespace exporter {

class NoteItemScan {
public:
    // The names of the open note's items, each once, in item order. Empty for a note that is not open.
    static std::vector<std::string> ItemNames(const notes::NotesNote &note);
    // The stored names of the note's "$FILE" items that are files (OLE storage is not), in item order.
    static std::vector<std::string> AttachmentNames(const notes::NotesNote &note);
    // The same joined with the delimiter; empty when there is none.
    static std::string AttachmentNames(const notes::NotesNote &note, const std::string &delimiter);
    // At least one "$FILE" item is a file.
    static bool HasFileAttachments(const notes::NotesNote &note);
    // At least one "$FILE" item is OLE storage, an OLE library or a byte array.
    static bool HasOleObjects(const notes::NotesNote &note);
};

}  // namespace exporter
