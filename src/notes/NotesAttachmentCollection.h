// The attachments of one note that the export wrote, in the order they were written.
#pragma once

#include <string>
#include <vector>

#include "NotesAttachment.h"

namespace notes {

class NotesAttachmentCollection {
public:
    void Clear() { m_attachments.clear(); }
    void Add(NotesAttachment attachment) { m_attachments.push_back(std::move(attachment)); }
    std::size_t Size() const { return m_attachments.size(); }
    bool Empty() const { return m_attachments.empty(); }
    const NotesAttachment &operator[](std::size_t index) const { return m_attachments[index]; }
    std::vector<NotesAttachment>::const_iterator begin() const { return m_attachments.begin(); }
    std::vector<NotesAttachment>::const_iterator end() const { return m_attachments.end(); }
    // The written file names joined with the delimiter.
    std::string FileNames(const std::string &delimiter) const;

private:
    std::vector<NotesAttachment> m_attachments;
};

}  // namespace notes
