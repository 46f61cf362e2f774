// The attachments of one note that the export wrote.
#include "NotesAttachmentCollection.h"

namespace notes {

std::string NotesAttachmentCollection::FileNames(const std::string &delimiter) const {
    std::string names;
    for (std::size_t i = 0; i < m_attachments.size(); ++i) {
        if (i > 0) {
            names += delimiter;
        }
        names += m_attachments[i].FileName();
    }
    return names;
}

}  // namespace notes
