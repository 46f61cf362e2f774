// The note-fragment reader: one note element of a DXL file (`<document>`, `<note>`, a design
// element) into a Note, with its noteinfo identity, items, design and our namespace's additions.
#pragma once

#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "Note.h"
#include "XmlNames.h"

namespace standin::dxl {

// Children of <database> that are not notes.
bool IsDatabaseSetting(std::string_view name);
inline constexpr const char *kDxlNamespace = "http://www.lotus.com/dxl";

class NoteReader {
public:
    NoteReader(const std::string &fileName, std::vector<std::string> &diagnostics, OurPrefixes &ours);
    ~NoteReader();
    NoteReader(const NoteReader &) = delete;
    NoteReader &operator=(const NoteReader &) = delete;

    // Reads one note element; false when it is not a note (the caller keeps it verbatim). keepUnknown
    // keeps an element the runtime does not know as a design note.
    bool ReadNote(const pugi::xml_node &element, std::size_t position, Note &note, bool keepUnknown);
    // Folder members the last note listed in our namespace, resolved once every note is read.
    std::vector<ExplicitEntry> &PendingMembers();

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace standin::dxl
