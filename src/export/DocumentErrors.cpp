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

}  // namespace exporter
