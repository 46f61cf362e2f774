// The text form of rich text: run texts as they are, line feeds for paragraph marks, and the optional
// markers for tables, attachments, Notes links and images.
#pragma once

#include <string>

#include "richtext/NotesRtfAdvancedSettings.h"
#include "richtext/RichTextSink.h"

namespace richtext {

class TextRenderer : public RichTextSink {
public:
    explicit TextRenderer(const NotesRtfAdvancedSettings &options) : m_options(options) {}

    const std::string &Text() const { return m_text; }
    std::string TakeText() { return std::move(m_text); }

    void PlainText(std::string_view text) override { m_text += text; }
    void ParagraphStyle(const NotesParagraph &) override {}
    void ParagraphMark() override { m_text += '\n'; }
    void TextRun(const NotesFont &, std::string_view text) override { m_text += text; }
    void TableExtension(const richtext::TableExtension &) override {}
    void TableBegin(const TableBeginValues &) override;
    void TableLabelFont(const NotesFont &) override {}
    void TableCell(const NotesTableCell &cell) override;
    void TableLabel(const std::string &, std::uint16_t) override {}
    void TableEnd() override;
    void SectionBar(const NotesSection &section) override { m_text += section.title; }
    void SectionBodyBegin() override {}
    void SectionBodyEnd() override {}
    void UrlBegin(const std::string *) override {}
    void UrlEnd() override {}
    void AttachmentBegin(const AttachmentLink &attachment) override;
    void AttachmentEnd() override {}
    void NotesLinkRef(const NotesLink &link) override;
    void GraphicBegin() override {}
    void Image(const NotesImage &image) override;

private:
    const NotesRtfAdvancedSettings &m_options;
    std::string m_text;
};

}  // namespace richtext
