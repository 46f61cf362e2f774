// The indented trace of a record walk.
#include "richtext/DebugTrace.h"

#include <cstdio>

namespace richtext {

namespace {

std::string FontText(const NotesFont &font) {
    char text[96];
    std::snprintf(text, sizeof text, "%s %dpt attr %02X colour %d", font.face.c_str(), font.id.size,
                  font.id.attributes, font.id.color);
    return text;
}

}  // namespace

void DebugTrace::Record(std::uint16_t signature, std::size_t length) {
    char text[48];
    std::snprintf(text, sizeof text, "%04X len %zu", signature, length);
    m_text.append(static_cast<std::size_t>(m_depth) * 2, ' ');
    m_text += text;
    m_text += '\n';
}

void DebugTrace::Line(const std::string &what) {
    m_text.append(static_cast<std::size_t>(m_depth) * 2 + 2, ' ');
    m_text += "-> " + what + '\n';
}

void DebugTrace::Note(std::string_view what) {
    Line(std::string(what));
}

void DebugTrace::PlainText(std::string_view text) {
    Line("plain text '" + std::string(text) + "'");
}

void DebugTrace::ParagraphStyle(const NotesParagraph &style) {
    Line("paragraph style " + std::to_string(style.id) +
         (&style == &NotesParagraph::Default() ? " (default)" : ""));
}

void DebugTrace::ParagraphMark() {
    Line("paragraph mark");
}

void DebugTrace::TextRun(const NotesFont &font, std::string_view text) {
    Line("text '" + std::string(text) + "' in " + FontText(font));
}

void DebugTrace::TableExtension(const richtext::TableExtension &extension) {
    Line("table extension " + extension.color1 + "/" + extension.color2 +
         (extension.tabbed ? " tabbed" : ""));
    ++m_depth;
}

void DebugTrace::TableBegin(const TableBeginValues &values) {
    Line("table begin, flags " + std::to_string(values.flags));
    ++m_depth;
}

void DebugTrace::TableLabelFont(const NotesFont &font) {
    Line("tab-label font " + FontText(font));
}

void DebugTrace::TableCell(const NotesTableCell &cell) {
    Line("cell " + std::to_string(cell.row) + "," + std::to_string(cell.column) + " width " +
         std::to_string(cell.width) + "px");
}

void DebugTrace::TableLabel(const std::string &label, std::uint16_t) {
    Line("tab label '" + label + "'");
}

void DebugTrace::TableEnd() {
    m_depth = m_depth > 0 ? m_depth - 1 : 0;
    Line("table end");
}

void DebugTrace::SectionBar(const NotesSection &section) {
    Line("section " + std::to_string(section.number) + " '" + section.title + "'" +
         (section.expanded ? " expanded" : " collapsed"));
}

void DebugTrace::SectionBodyBegin() {
    Line("section body");
    ++m_depth;
}

void DebugTrace::SectionBodyEnd() {
    m_depth = m_depth > 0 ? m_depth - 1 : 0;
    Line("section body end");
}

void DebugTrace::UrlBegin(const std::string *url) {
    Line(url != nullptr ? "URL '" + *url + "'" : "URL without address");
}

void DebugTrace::UrlEnd() {
    Line("URL end");
}

void DebugTrace::AttachmentBegin(const AttachmentLink &attachment) {
    Line("attachment '" + attachment.fileName + "'" + (attachment.known ? " known" : ""));
}

void DebugTrace::AttachmentEnd() {
    Line("attachment end");
}

void DebugTrace::NotesLinkRef(const NotesLink &link) {
    Line("Notes link " + link.Url());
}

void DebugTrace::GraphicBegin() {
    Line("graphic");
}

void DebugTrace::Image(const NotesImage &image) {
    Line("image '" + image.path + "' " + std::to_string(image.width) + "x" + std::to_string(image.height));
}

}  // namespace richtext
