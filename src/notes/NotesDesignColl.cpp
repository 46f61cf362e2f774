// The design notes of one class in a database.
#include "NotesDesignColl.h"

namespace notes {

void NotesDesignColl::Clear() {
    m_elements.clear();
    m_lastStatus = 0;
    m_lastError.clear();
}

void NotesDesignColl::SetFailure(STATUS status, std::string text) {
    m_lastStatus = status;
    m_lastError = std::move(text);
}

}  // namespace notes
