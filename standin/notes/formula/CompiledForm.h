// The compiled form of a formula: the statement tree as bytes of our own, and back.
//
// Layout: "VXF1", the total length (2 bytes, little-endian), then one node: kind (1 byte), op (1 byte), text
// length (2 bytes, little-endian) and text, for number and time nodes 8 bytes of value, child count (2 bytes)
// and the children.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "Node.h"

namespace formula {

class CompiledForm {
public:
    static std::string Write(const Node &root);
    // The tree of compiled bytes; null when they are damaged (bad header, kinds, counts, unknown
    // functions, too deep, trailing bytes).
    static std::unique_ptr<Node> Read(std::string_view bytes);
    // The total length that compiled bytes starting at bytes declare (their first 6 bytes are read);
    // 0 when they do not start as a compiled formula of ours.
    static std::size_t DeclaredLength(const char *bytes);
};

}  // namespace formula
