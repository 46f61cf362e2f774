// Item storage of a note.
#include "Note.h"

#include <cstring>

#include "Bytes.h"

namespace standin::dxl {

Note::Note(const Note &other) {
    *this = other;
}

Note &Note::operator=(const Note &other) {
    if (this == &other) {
        return *this;
    }
    noteId = other.noteId;
    unid = other.unid;
    noteClass = other.noteClass;
    sequence = other.sequence;
    sequenceTime = other.sequenceTime;
    created = other.created;
    modified = other.modified;
    accessed = other.accessed;
    addedToFile = other.addedToFile;
    deleted = other.deleted;
    resident = other.resident;
    sourceIdentity = other.sourceIdentity;
    sourceOffset = other.sourceOffset;
    sourceLength = other.sourceLength;
    data = other.data;
    items = other.items;
    m_extra = other.m_extra ? std::make_unique<NoteExtra>(*other.m_extra) : nullptr;
    view = other.view ? std::make_unique<ViewDesign>(*other.view) : nullptr;
    isSigned = other.isSigned;
    signedAt = other.signedAt;
    return *this;
}

void Note::AddItem(std::string_view name, WORD flags, std::string_view value) {
    ItemRecord record;
    record.nameOffset = static_cast<std::uint32_t>(data.size());
    record.nameLength = static_cast<std::uint16_t>(std::min<std::size_t>(name.size(), 0xFFFF));
    data.append(name.substr(0, record.nameLength));
    record.valueOffset = static_cast<std::uint32_t>(data.size());
    record.valueLength = static_cast<std::uint32_t>(value.size());
    data.append(value);
    record.flags = flags;
    items.push_back(record);
}

std::string_view Note::ItemName(std::size_t index) const {
    const ItemRecord &r = items[index];
    return std::string_view(data).substr(r.nameOffset, r.nameLength);
}

std::string_view Note::ItemValue(std::size_t index) const {
    const ItemRecord &r = items[index];
    return std::string_view(data).substr(r.valueOffset, r.valueLength);
}

WORD Note::ItemType(std::size_t index) const {
    std::string_view v = ItemValue(index);
    return v.size() >= 2 ? ReadWord(v, 0) : 0;
}

long Note::FindItem(std::string_view name, std::size_t from) const {
    for (std::size_t i = from; i < items.size(); ++i) {
        if (EqualsNoCase(ItemName(i), name)) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

NoteExtra &Note::Extra() {
    if (!m_extra) {
        m_extra = std::make_unique<NoteExtra>();
    }
    return *m_extra;
}

const NoteExtra &Note::Extra() const {
    static const NoteExtra kNone;
    return m_extra ? *m_extra : kNone;
}

bool Note::IsEncrypted() const {
    if (!Extra().sealKey.empty()) {
        return true;
    }
    for (const ItemRecord &r : items) {
        if (r.encrypted) {
            return true;
        }
    }
    return false;
}

bool Note::IsItemEncrypted(std::size_t index) const {
    return (items[index].flags & notes::kItemSeal) != 0 && IsEncrypted();
}

}  // namespace standin::dxl
