// Builds DXL database text for tests.
#include "support/DxlBuilder.h"

#include <cstdio>

namespace testsupport {

namespace {

std::string Hex(unsigned value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%x", value);
    return buf;
}

std::string Unid(unsigned id) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "0000000000000000%016X", id);
    return buf;
}

}  // namespace

std::string XmlEscape(const std::string &text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\'':
                out += "&apos;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

void DxlBuilder::CloseDocument() {
    if (m_open) {
        m_body += "</document>\n";
        m_open = false;
    }
}

DxlBuilder &DxlBuilder::Document(const std::string &form) {
    CloseDocument();
    unsigned id = m_nextId;
    m_nextId += 4;
    m_body += "<document form='" + XmlEscape(form) + "'><noteinfo noteid='" + Hex(id) + "' unid='" +
              Unid(id) + "' sequence='1'/>";
    m_open = true;
    return *this;
}

DxlBuilder &DxlBuilder::Text(const std::string &name, const std::string &value) {
    m_body += "<item name='" + XmlEscape(name) + "'><text>" + XmlEscape(value) + "</text></item>";
    return *this;
}

DxlBuilder &DxlBuilder::TextList(const std::string &name, const std::vector<std::string> &values) {
    m_body += "<item name='" + XmlEscape(name) + "'><textlist>";
    for (const std::string &v : values) {
        m_body += "<text>" + XmlEscape(v) + "</text>";
    }
    m_body += "</textlist></item>";
    return *this;
}

DxlBuilder &DxlBuilder::Number(const std::string &name, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", value);
    m_body += "<item name='" + XmlEscape(name) + "'><number>" + buf + "</number></item>";
    return *this;
}

DxlBuilder &DxlBuilder::DateTime(const std::string &name, const std::string &dxlValue) {
    m_body += "<item name='" + XmlEscape(name) + "'><datetime>" + XmlEscape(dxlValue) + "</datetime></item>";
    return *this;
}

DxlBuilder &DxlBuilder::RichText(const std::string &name, const std::string &dxlContent) {
    m_body += "<item name='" + XmlEscape(name) + "'><richtext>" + dxlContent + "</richtext></item>";
    return *this;
}

DxlBuilder &DxlBuilder::Documents(int n, const std::string &form) {
    for (int i = 1; i <= n; ++i) {
        Document(form).Text("Subject", "Doc " + std::to_string(i)).Number("Index", i);
    }
    return *this;
}

DxlBuilder &DxlBuilder::View(const std::string &name, const std::string &selection,
                             const std::vector<std::string> &sortedColumns, bool categorizeFirst) {
    CloseDocument();
    unsigned id = m_nextDesignId;
    m_nextDesignId += 4;
    m_body +=
        "<view name='" + XmlEscape(name) + "'><noteinfo noteid='" + Hex(id) + "' unid='" + Unid(id) + "'/>";
    if (!selection.empty()) {
        m_body += "<code event='selection'><formula>" + XmlEscape(selection) + "</formula></code>";
    }
    for (std::size_t i = 0; i < sortedColumns.size(); ++i) {
        m_body += "<column sort='ascending' itemname='" + XmlEscape(sortedColumns[i]) + "'" +
                  (i == 0 && categorizeFirst ? " categorized='true'" : "") + "/>";
    }
    m_body += "</view>\n";
    return *this;
}

DxlBuilder &DxlBuilder::Folder(const std::string &name, const std::vector<unsigned> &memberNoteIds) {
    CloseDocument();
    unsigned id = m_nextDesignId;
    m_nextDesignId += 4;
    m_body += "<folder name='" + XmlEscape(name) + "'><noteinfo noteid='" + Hex(id) + "' unid='" + Unid(id) +
              "'/><vx:members>";
    for (unsigned member : memberNoteIds) {
        m_body += "<vx:member noteid='" + Hex(member) + "'/>";
    }
    m_body += "</vx:members></folder>\n";
    return *this;
}

std::string DxlBuilder::Build() const {
    std::string out =
        "<?xml version='1.0' encoding='utf-8'?>\n<database xmlns='http://www.lotus.com/dxl' "
        "xmlns:vx='urn:vorlix:standin-dxl' title='" +
        XmlEscape(m_title) + "'>\n";
    out += m_body;
    if (m_open) {
        out += "</document>\n";
    }
    out += "</database>\n";
    return out;
}

}  // namespace testsupport
