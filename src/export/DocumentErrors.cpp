// Gathering one document's error messages.
#include "DocumentErrors.h"

namespace exporter {

void DocumentErrors::Append(const std::string &message) {
    if (message.empty()) {
        return;
    }
    if (!m_text.empty()) {
        m_text += '\n';
    }
    m_text += message;
}

void DocumentErrors::Append(const notes::ErrorObject &record) {
    if (record.title.empty() || record.detail.empty()) {
        Append(record.title.empty() ? record.detail : record.title);
        return;
    }
    Append(record.title + ": " + record.detail);
}

}  // namespace exporter
