// XML text of elements and the prefixes of our namespace.
#include "XmlNames.h"

#include <cstring>

#include "DxlNamespace.h"

namespace standin::dxl {

namespace {

class StringWriter : public pugi::xml_writer {
public:
    explicit StringWriter(std::string &out) : m_out(out) {}
    void write(const void *data, size_t size) override {
        m_out.append(static_cast<const char *>(data), size);
    }

private:
    std::string &m_out;
};

}  // namespace

std::string NodeXml(const pugi::xml_node &node) {
    std::string out;
    StringWriter writer(out);
    node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return out;
}

void OurPrefixes::Collect(const pugi::xml_node &node) {
    for (pugi::xml_attribute a : node.attributes()) {
        std::string_view name(a.name());
        if (name.substr(0, 6) == "xmlns:" && std::strcmp(a.value(), kOurNamespace) == 0) {
            m_prefixes.insert(std::string(name.substr(6)));
        }
    }
}

bool OurPrefixes::IsOurs(const pugi::xml_node &node, std::string_view local) const {
    std::string_view prefix = Prefix(node.name());
    return !prefix.empty() && m_prefixes.find(prefix) != m_prefixes.end() && LocalName(node.name()) == local;
}

pugi::xml_attribute OurPrefixes::Attribute(const pugi::xml_node &node, std::string_view local) const {
    for (pugi::xml_attribute a : node.attributes()) {
        std::string_view prefix = Prefix(a.name());
        if (!prefix.empty() && m_prefixes.find(prefix) != m_prefixes.end() && LocalName(a.name()) == local) {
            return a;
        }
    }
    return pugi::xml_attribute();
}

}  // namespace standin::dxl
