// The design notes of one class in a database (such as all its views and folders), in ID-table order.
#pragma once

#include <string>
#include <vector>

#include "NotesDesignElement.h"

namespace notes {

// Filled by NotesDatabase::DesignList.
class NotesDesignColl {
public:
    NotesDesignColl() = default;
    NotesDesignColl(const NotesDesignColl &) = delete;
    NotesDesignColl &operator=(const NotesDesignColl &) = delete;
    NotesDesignColl(NotesDesignColl &&) = default;
    NotesDesignColl &operator=(NotesDesignColl &&) = default;

    // Empties the list and clears the status and error text.
    void Clear();
    void Add(NotesDesignElement element) { m_elements.push_back(std::move(element)); }
    void SetFailure(STATUS status, std::string text);

    const std::vector<NotesDesignElement> &Elements() const { return m_elements; }
    std::size_t Size() const { return m_elements.size(); }
    bool Empty() const { return m_elements.empty(); }
    const NotesDesignElement &operator[](std::size_t index) const { return m_elements[index]; }
    std::vector<NotesDesignElement>::const_iterator begin() const { return m_elements.begin(); }
    std::vector<NotesDesignElement>::const_iterator end() const { return m_elements.end(); }

    STATUS LastStatus() const { return m_lastStatus; }
    const std::string &LastError() const { return m_lastError; }

private:
    std::vector<NotesDesignElement> m_elements;
    STATUS m_lastStatus = 0;
    std::string m_lastError;
};

}  // namespace notes
