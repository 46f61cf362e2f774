// The file objects of a note ("$FILE" items): their stored header, and a walk over them that locks each
// value only while its header is read.
#pragma once

#include <functional>
#include <string>

#include "capi/NotesTypes.h"

namespace notes {

class NotesNote;

// The header of a "$FILE" item's file object.
struct FileObjectHeader {
    std::string storedName;  // the object's name, unique within the note (UTF-8)
    WORD hostType = 0;
    WORD compression = 0;
    WORD attributes = 0;
    WORD flags = 0;
    DWORD size = 0;
    TIMEDATE created{};
    TIMEDATE modified{};

    // OLE storage and byte arrays are kept as file objects too, but they are not files.
    bool IsFile() const;
};

// True for the host types of file objects that are not files (OLE storage, OLE library, byte arrays).
bool IsNonFileHost(WORD hostType);

// Reads the header of a value that starts with its type word. False when the value is not a file
// object or is too short for its header and name.
[[nodiscard]] bool ReadFileObjectHeader(const char *value, DWORD valueLength, FileObjectHeader &header);

// Visits the note's "$FILE" items in item order (the first by name, then each next of the same name),
// each with its item block and header; an item whose value is not a readable file object is not visited.
// The value is unlocked before the visit, so the visitor may hand the item to the runtime. The visitor
// returns false to stop. Nothing is visited for a note that is not open.
void ForEachFileObject(const NotesNote &note,
                       const std::function<bool(BLOCKID item, const FileObjectHeader &header)> &visit);

}  // namespace notes
