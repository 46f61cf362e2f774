// The error text gathered for one document during a run; it becomes the document's %Errors column.
#pragma once

#include <string>

#include "notes/ErrorObject.h"

namespace exporter {

class DocumentErrors {
public:
    // Appends a message, after a line feed when there is already one.
    void Append(const std::string &message);
    // Appends an error record of the note: "title: detail", or whichever of the two is not empty.
    void Append(const notes::ErrorObject &record);
    void Clear() { m_text.clear(); }
    bool Empty() const { return m_text.empty(); }
    const std::string &Text() const { return m_text; }

private:
    std::string m_text;
};

}  // namespace exporter
