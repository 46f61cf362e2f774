// Markers of the text form of rich text.
#include "richtext/TextRenderer.h"

namespace richtext {

void TextRenderer::TableBegin(const TableBeginValues &) {
    if (m_options.RtfAdvancedIncludeTableMarks) {
        m_text += "\n{table}";
    }
}

void TextRenderer::TableCell(const NotesTableCell &cell) {
    if (!m_options.RtfAdvancedIncludeTableMarks) {
        return;
    }
    if (cell.column == 0) {
        m_text += "\n{tr}";
    }
    m_text += "{td}";
}

void TextRenderer::TableEnd() {
    if (m_options.RtfAdvancedIncludeTableMarks) {
        m_text += "\n{/table}";
    }
}

void TextRenderer::AttachmentBegin(const AttachmentLink &attachment) {
    if (m_options.RtfAdvancedIncludeAttMarkers) {
        m_text += "{attachment: " + attachment.fileName + "}";
    }
}

void TextRenderer::NotesLinkRef(const NotesLink &link) {
    if (m_options.RtfAdvancedIncludeNotesLinks) {
        m_text += " {link: " + link.Url() + "}";
    }
}

void TextRenderer::Image(const NotesImage &image) {
    if (m_options.RtfAdvancedExportImages && m_options.RtfAdvancedIncludeImageMarkers) {
        m_text += "{image: " + image.path + "}";
    }
}

}  // namespace richtext
