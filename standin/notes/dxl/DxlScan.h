// The index scan: one pass over the UTF-8 bytes of a DXL file that finds the root element's start
// tag and the byte range of each element child of the root, without building a tree, so that a file
// far larger than memory can be indexed note by note.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace standin::dxl {

struct ScanRoot {
    std::size_t start = 0;     // the '<' of the root element
    std::size_t tagEnd = 0;    // just after the '>' of its start tag
    std::size_t end = 0;       // just after the root element
    bool selfClosing = false;  // <root .../>
    std::string name;          // as written, with its prefix
};

// Scans bytes from offset `from`. child(start, end) is called for each element child of the root in
// order; returning false stops the scan (and Scan returns false without an error). False with error
// and errorOffset set when the structure is broken (an unclosed element, text before the root ...).
[[nodiscard]] bool ScanDxl(std::string_view bytes, std::size_t from, ScanRoot &root,
                           const std::function<bool(std::size_t, std::size_t)> &child, std::string &error,
                           std::size_t &errorOffset);

}  // namespace standin::dxl
