// HTML item text reduced to plain text, character by character.
#include "richtext/HtmlToText.h"

#include <cstddef>

namespace richtext {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when text at pos begins with word (given in lower case), without regard to letter case.
bool StartsWithAt(const std::string &text, std::size_t pos, const char *word) {
    for (std::size_t i = 0; word[i] != '\0'; ++i) {
        if (pos + i >= text.size() || Lower(text[pos + i]) != word[i]) {
            return false;
        }
    }
    return true;
}

// The position after the first occurrence of end at or after pos; the text's end when there is none.
std::size_t SkipPast(const std::string &text, std::size_t pos, const char *end) {
    std::size_t found = text.find(end, pos);
    if (found == std::string::npos) {
        return text.size();
    }
    return found + std::char_traits<char>::length(end);
}

}  // namespace

std::string HtmlToText::Convert(const std::string &html) {
    // Tabs and carriage returns go everywhere; a line feed is a space, inside tags and comments too.
    std::string text;
    text.reserve(html.size());
    for (char c : html) {
        if (c == '\t' || c == '\r') {
            continue;
        }
        text.push_back(c == '\n' ? ' ' : c);
    }

    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        char c = text[pos];
        if (c == '&') {
            if (StartsWithAt(text, pos, "&nbsp;")) {
                out.push_back(' ');
                pos += 6;
                continue;
            }
            ++pos;  // any other entity loses only its ampersand
            continue;
        }
        if (c != '<') {
            out.push_back(c);
            ++pos;
            continue;
        }
        if (StartsWithAt(text, pos, "<br>")) {
            out.push_back('\n');
            pos += 4;
            continue;
        }
        if (StartsWithAt(text, pos, "<!--")) {
            pos = SkipPast(text, pos + 4, "-->");
            continue;
        }
        if (StartsWithAt(text, pos, "<td") || StartsWithAt(text, pos, "<li")) {
            out += "\r\n";
        }
        pos = SkipPast(text, pos + 1, ">");
    }
    return out;
}

}  // namespace richtext
