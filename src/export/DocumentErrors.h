// The error text gathered for one document during a run; it becomes the document's %Errors column.
#pragma once

#include <string>

#include "notes/ErrorObject.h"

namespace exporter {

class DocumentErrors {
public:
    // Appends a message, after a line feed when there is already one.
    void Append(const std::string &message);
    // Appends a message directly after the text before it, with no line feed (the messages of one
    // kind that run on, such as the attachments that could not be written).
    void Continue(const std::string &message) { m_text += message; }
    // Appends an error record of the note: "title: detail", or whichever of the two is not empty.
    void Append(const notes::ErrorObject &record);
    // Appends the gathered text to text, after a line feed when text is not empty.
    void AppendTo(std::string &text) const;
    void Clear() { m_text.clear(); }
    bool Empty() const { return m_text.empty(); }
    const std::string &Text() const { return m_text; }

private:
    std::string m_text;
};

}  // namespace exporter
