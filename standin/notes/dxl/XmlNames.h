// Helpers over pugixml nodes shared by the DXL readers: local names and prefixes, booleans,
// datetimes, the prefixes bound to our own namespace, and an element's XML text.
#pragma once

#include <pugixml.hpp>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Bytes.h"
#include "ItemValues.h"

namespace standin::dxl {

// The local part of an element or attribute name ("dxl:item" -> "item").
inline std::string_view LocalName(const char *name) {
    std::string_view n(name);
    std::size_t colon = n.find(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

inline std::string_view Prefix(const char *name) {
    std::string_view n(name);
    std::size_t colon = n.find(':');
    return colon == std::string_view::npos ? std::string_view() : n.substr(0, colon);
}

inline bool IsTrue(const pugi::xml_attribute &a) {
    std::string v = ToLowerAscii(a.value());
    return v == "true" || v == "yes" || v == "1";
}

// A <datetime> element with its dst attribute.
inline bool DateTimeOf(const pugi::xml_node &node, TIMEDATE &t) {
    return ParseDxlDateTime(node.child_value(), IsTrue(node.attribute("dst")), t);
}

// The element as XML text (UTF-8, no indentation).
std::string NodeXml(const pugi::xml_node &node);

// The prefixes the file binds to our namespace.
class OurPrefixes {
public:
    void Collect(const pugi::xml_node &node);
    // An element of our namespace with that local name.
    bool IsOurs(const pugi::xml_node &node, std::string_view local) const;
    pugi::xml_attribute Attribute(const pugi::xml_node &node, std::string_view local) const;
    void Add(const std::string &prefix) { m_prefixes.insert(prefix); }
    std::vector<std::string> Prefixes() const {
        return std::vector<std::string>(m_prefixes.begin(), m_prefixes.end());
    }

private:
    std::set<std::string, std::less<>> m_prefixes;
};

}  // namespace standin::dxl
