// Reduces the text of an HTML item to plain text: tags, comments and entities removed, table cells
// and list items on new lines.
#pragma once

#include <string>

namespace richtext {

class HtmlToText {
public:
    // html and the result are UTF-8.
    static std::string Convert(const std::string &html);
};

}  // namespace richtext
