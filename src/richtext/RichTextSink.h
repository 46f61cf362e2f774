// The events through which the composite-data reader drives a renderer. A renderer sees only model
// values and program text (UTF-8), never record bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "richtext/RichTextModel.h"

namespace richtext {

class RichTextSink {
public:
    virtual ~RichTextSink() = default;

    // Start and end of one call of NotesItem::Render (all items of one name).
    virtual void Begin() {}
    virtual void End() {}
    // The text of an item of a simple type.
    virtual void PlainText(std::string_view text) = 0;

    // A paragraph reference, resolved to its style (the default style when no definition matches).
    virtual void ParagraphStyle(const NotesParagraph &style) = 0;
    virtual void ParagraphMark() = 0;
    virtual void TextRun(const NotesFont &font, std::string_view text) = 0;

    virtual void TableExtension(const TableExtension &extension) = 0;
    virtual void TableBegin(const TableBeginValues &values) = 0;
    virtual void TableLabelFont(const NotesFont &font) = 0;
    virtual void TableCell(const NotesTableCell &cell) = 0;
    virtual void TableLabel(const std::string &label, std::uint16_t flags) = 0;
    virtual void TableEnd() = 0;

    virtual void SectionBar(const NotesSection &section) = 0;
    virtual void SectionBodyBegin() = 0;
    virtual void SectionBodyEnd() = 0;

    // A URL hotspot; url is null when the hotspot carries none.
    virtual void UrlBegin(const std::string *url) = 0;
    virtual void UrlEnd() = 0;
    virtual void AttachmentBegin(const AttachmentLink &attachment) = 0;
    virtual void AttachmentEnd() = 0;
    virtual void NotesLinkRef(const NotesLink &link) = 0;
    // An OLE object's information record (in "$OLEOBJINFO" items): the name of the "$FILE" object that
    // holds its storage. Renderers show nothing for it.
    virtual void OleObject(const std::string &attachmentName) { (void)attachmentName; }

    // A graphic starts (its image follows when it is finished).
    virtual void GraphicBegin() = 0;
    virtual void Image(const NotesImage &image) = 0;
};

// Told of every record before its handler runs; the debug trace uses it.
class RecordObserver {
public:
    virtual ~RecordObserver() = default;
    virtual void Record(std::uint16_t signature, std::size_t length) = 0;
    // What the handler made of a record that produced no event (ignored, skipped by an option, ...).
    virtual void Note(std::string_view what) = 0;
};

}  // namespace richtext
