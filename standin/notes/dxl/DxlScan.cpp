// The index scan over DXL bytes: markup is skipped by its delimiters (comments, CDATA, processing
// instructions, quoted attribute values), elements by counting start and end tags. Well-formedness
// inside each child is left to the parser of that fragment.
#include "DxlScan.h"

#include <cstring>

namespace standin::dxl {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool StartsWith(std::string_view bytes, std::size_t at, std::string_view what) {
    return bytes.size() - at >= what.size() && bytes.compare(at, what.size(), what) == 0;
}

// At a '<': the offset just after the markup that is not an element tag (comment, CDATA, processing
// instruction, DOCTYPE), 0 when it is an element tag, npos when it is not closed.
std::size_t SkipMarkup(std::string_view bytes, std::size_t at) {
    if (StartsWith(bytes, at, "<!--")) {
        std::size_t end = bytes.find("-->", at + 4);
        return end == npos ? npos : end + 3;
    }
    if (StartsWith(bytes, at, "<![CDATA[")) {
        std::size_t end = bytes.find("]]>", at + 9);
        return end == npos ? npos : end + 3;
    }
    if (StartsWith(bytes, at, "<?")) {
        std::size_t end = bytes.find("?>", at + 2);
        return end == npos ? npos : end + 2;
    }
    if (StartsWith(bytes, at, "<!")) {
        // DOCTYPE, with an internal subset in brackets.
        std::size_t bracket = bytes.find('[', at);
        std::size_t close = bytes.find('>', at);
        if (bracket != npos && close != npos && bracket < close) {
            std::size_t subsetEnd = bytes.find("]", bracket);
            close = subsetEnd == npos ? npos : bytes.find('>', subsetEnd);
        }
        return close == npos ? npos : close + 1;
    }
    return 0;
}

// At the '<' of a start or end tag: the offset after its '>' (quoted attribute values may hold '>'),
// or npos when the tag is not closed.
std::size_t TagEnd(std::string_view bytes, std::size_t at, bool &selfClosing) {
    char quote = 0;
    for (std::size_t i = at + 1; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            selfClosing = bytes[i - 1] == '/';
            return i + 1;
        } else if (c == '<') {
            return npos;
        }
    }
    return npos;
}

// At the '<' of a start tag: the offset after the element's end, npos when it is not closed.
std::size_t ElementEnd(std::string_view bytes, std::size_t at) {
    bool selfClosing = false;
    std::size_t p = TagEnd(bytes, at, selfClosing);
    if (p == npos || selfClosing) {
        return p;
    }
    std::size_t depth = 1;
    while (true) {
        const void *found = p < bytes.size() ? std::memchr(bytes.data() + p, '<', bytes.size() - p) : nullptr;
        if (found == nullptr) {
            return npos;
        }
        p = static_cast<std::size_t>(static_cast<const char *>(found) - bytes.data());
        std::size_t skipped = SkipMarkup(bytes, p);
        if (skipped == npos) {
            return npos;
        }
        if (skipped != 0) {
            p = skipped;
            continue;
        }
        bool closes = StartsWith(bytes, p, "</");
        p = TagEnd(bytes, p, selfClosing);
        if (p == npos) {
            return npos;
        }
        if (closes) {
            if (--depth == 0) {
                return p;
            }
        } else if (!selfClosing) {
            ++depth;
        }
    }
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

bool ScanDxl(std::string_view bytes, std::size_t from, ScanRoot &root,
             const std::function<bool(std::size_t, std::size_t)> &child, std::string &error,
             std::size_t &errorOffset) {
    auto fail = [&](std::size_t at, const char *what) {
        error = what;
        errorOffset = at;
        return false;
    };
    std::size_t p = from;
    // The prolog: declaration, comments, processing instructions, DOCTYPE.
    while (true) {
        while (p < bytes.size() && IsSpace(bytes[p])) {
            ++p;
        }
        if (p >= bytes.size()) {
            return fail(p, "no root element");
        }
        if (bytes[p] != '<') {
            return fail(p, "text before the root element");
        }
        std::size_t skipped = SkipMarkup(bytes, p);
        if (skipped == npos) {
            return fail(p, "unclosed markup");
        }
        if (skipped == 0) {
            break;
        }
        p = skipped;
    }
    root.start = p;
    root.tagEnd = TagEnd(bytes, p, root.selfClosing);
    if (root.tagEnd == npos) {
        return fail(p, "unclosed start tag");
    }
    std::size_t nameEnd = p + 1;
    while (nameEnd < root.tagEnd && !IsSpace(bytes[nameEnd]) && bytes[nameEnd] != '/' &&
           bytes[nameEnd] != '>') {
        ++nameEnd;
    }
    root.name.assign(bytes.substr(p + 1, nameEnd - p - 1));
    p = root.tagEnd;
    if (!root.selfClosing) {
        while (true) {
            const void *found =
                p < bytes.size() ? std::memchr(bytes.data() + p, '<', bytes.size() - p) : nullptr;
            if (found == nullptr) {
                return fail(root.start, "the root element is not closed");
            }
            p = static_cast<std::size_t>(static_cast<const char *>(found) - bytes.data());
            std::size_t skipped = SkipMarkup(bytes, p);
            if (skipped == npos) {
                return fail(p, "unclosed markup");
            }
            if (skipped != 0) {
                p = skipped;
                continue;
            }
            if (StartsWith(bytes, p, "</")) {
                bool ignored = false;
                std::size_t end = TagEnd(bytes, p, ignored);
                std::string_view name = bytes.substr(p + 2, root.name.size());
                if (end == npos || name != root.name) {
                    return fail(p, "end tag does not match the root element");
                }
                p = end;
                break;
            }
            std::size_t end = ElementEnd(bytes, p);
            if (end == npos) {
                return fail(p, "an element is not closed");
            }
            if (!child(p, end)) {
                return false;
            }
            p = end;
        }
    }
    root.end = p;
    // What follows the root (white space, comments, stray bytes) is ignored, as the parser of the
    // whole file did.
    return true;
}

}  // namespace standin::dxl
