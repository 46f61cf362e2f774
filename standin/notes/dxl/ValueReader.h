// The value readers of the DXL reader: every DXL value element of an item (text, textlist, number,
// numberlist, datetime, datetimelist, rawitemdata, richtext, object, formula) to its canonical bytes.
#pragma once

#include <pugixml.hpp>
#include <string>

#include "XmlNames.h"

namespace standin::dxl {

class ValueReader {
public:
    explicit ValueReader(const OurPrefixes &ours) : m_ours(ours) {}

    // The canonical bytes (type word first) of the value element; false (problem set) when it cannot be
    // read. defaultSummary: whether the item is summary unless it says; keepXml: the element is kept
    // verbatim for writing back; a file object's bytes go to file with hasFile set.
    bool ReadValue(const pugi::xml_node &node, std::string &value, bool &defaultSummary, bool &keepXml,
                   std::string &file, bool &hasFile, std::string &problem) const;

    static bool ParseNumber(const char *text, double &value);
    // Text content of <text> with <break/> as the line separator Notes stores (a NUL byte), in LMBCS.
    static bool TextContent(const pugi::xml_node &text, std::string &lmbcs);

private:
    bool ReadTimeList(const pugi::xml_node &list, std::string &value, std::string &problem) const;
    bool ReadFileObject(const pugi::xml_node &object, std::string &value, std::string &file,
                        std::string &problem) const;

    const OurPrefixes &m_ours;
};

// The item value of an XML rich-text element (<richtext>, or <compositedata> fragments): composite data,
// type word first. False (problem set) when it cannot be converted.
bool RichTextValue(const pugi::xml_node &richtext, std::string &value, std::string &problem);

}  // namespace standin::dxl
