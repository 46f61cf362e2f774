// A debug renderer: the record walk as an indented trace, one line per record (signature and length)
// followed by what its handler made of it. Used for readable failures of the rendering tests.
#pragma once

#include <string>

#include "richtext/RichTextSink.h"

namespace richtext {

class DebugTrace : public RichTextSink, public RecordObserver {
public:
    const std::string &Text() const { return m_text; }

    void Record(std::uint16_t signature, std::size_t length) override;
    void Note(std::string_view what) override;

    void PlainText(std::string_view text) override;
    void ParagraphStyle(const NotesParagraph &style) override;
    void ParagraphMark() override;
    void TextRun(const NotesFont &font, std::string_view text) override;
    void TableExtension(const richtext::TableExtension &extension) override;
    void TableBegin(const TableBeginValues &values) override;
    void TableLabelFont(const NotesFont &font) override;
    void TableCell(const NotesTableCell &cell) override;
    void TableLabel(const std::string &label, std::uint16_t flags) override;
    void TableEnd() override;
    void SectionBar(const NotesSection &section) override;
    void SectionBodyBegin() override;
    void SectionBodyEnd() override;
    void UrlBegin(const std::string *url) override;
    void UrlEnd() override;
    void AttachmentBegin(const AttachmentLink &attachment) override;
    void AttachmentEnd() override;
    void NotesLinkRef(const NotesLink &link) override;
    void GraphicBegin() override;
    void Image(const NotesImage &image) override;

private:
    void Line(const std::string &what);

    std::string m_text;
    int m_depth = 0;
};

}  // namespace richtext
