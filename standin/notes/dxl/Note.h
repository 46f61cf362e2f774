// One note of an in-memory database: its identity, its items as canonical bytes, file data of its
// attachments, and what the stand-in keeps beyond DXL (view design, security).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ViewDesign.h"

namespace standin::dxl {

// Where one item lives in Note::data. The value starts with its type word.
struct ItemRecord {
    std::uint32_t nameOffset = 0;
    std::uint32_t valueOffset = 0;
    std::uint32_t valueLength = 0;  // with the type word
    std::uint16_t nameLength = 0;
    WORD flags = 0;
    std::int32_t fileIndex = -1;  // index in Note::files for $FILE items
    std::int32_t xmlIndex = -1;   // index in Note::preservedXml when the DXL form is kept verbatim
    bool encrypted = false;       // the value was written encrypted (sealed='true')
};

// What few notes have: attachment bytes, XML kept verbatim, the design element as read and the names
// of security. Held apart so that a note of a large index costs little.
struct NoteExtra {
    std::vector<std::string> files;         // attachment bytes of $FILE items
    std::vector<std::string> preservedXml;  // XML kept verbatim for writing the database back
    // The element name the note came from ("document", "note", "view", "form"...) and, for design
    // notes, the whole element as read, so that writing back loses nothing.
    std::string elementName = "document";
    std::string designXml;
    std::string sealKey;  // name of the encryption key sealing the SEAL items
    std::string signer;
};

class Note {
public:
    NOTEID noteId = 0;
    UNID unid{};
    WORD noteClass = notes::kNoteClassDocument;
    DWORD sequence = 1;
    TIMEDATE sequenceTime{};
    TIMEDATE created{};
    TIMEDATE modified{};
    TIMEDATE accessed{};
    TIMEDATE addedToFile{};
    bool deleted = false;  // a deletion stub: kept so modified-note tables can report it

    // A note of an indexed database that is not held in memory: only its identity, class and the items
    // that security and response hierarchies need (Readers, Authors, $REF) are here; Database::Load
    // reads the rest from its byte range in the source.
    bool resident = true;
    bool sourceIdentity = false;  // the source element names this note ID and UNID itself
    std::uint64_t sourceOffset = 0;
    std::uint32_t sourceLength = 0;

    // Names (LMBCS) and values of the items, one after another; items index into it in order.
    std::string data;
    std::vector<ItemRecord> items;
    std::unique_ptr<ViewDesign> view;  // views and folders

    // Security stand-ins.
    // The note is encrypted when it names its key (our namespace) or holds an item written encrypted;
    // the SEAL flag alone only marks an item to be encrypted when the note is.
    bool isSigned = false;
    TIMEDATE signedAt{};

    Note() = default;
    Note(const Note &other);
    Note &operator=(const Note &other);
    Note(Note &&) = default;
    Note &operator=(Note &&) = default;

    // Appends an item; value holds the type word and the value bytes.
    void AddItem(std::string_view name, WORD flags, std::string_view value);
    std::string_view ItemName(std::size_t index) const;
    std::string_view ItemValue(std::size_t index) const;  // with the type word
    WORD ItemType(std::size_t index) const;
    // The index of the first item of that name (case-insensitive), or -1.
    long FindItem(std::string_view name, std::size_t from = 0) const;
    // The rarer parts (created on first change; an empty one when the note has none).
    NoteExtra &Extra();
    const NoteExtra &Extra() const;
    void DropExtra() { m_extra.reset(); }

    bool IsEncrypted() const;
    // True when the item's value is encrypted: a SEAL item of an encrypted note.
    bool IsItemEncrypted(std::size_t index) const;

private:
    std::unique_ptr<NoteExtra> m_extra;
};

}  // namespace standin::dxl
