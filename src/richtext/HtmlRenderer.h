// The HTML form of rich text, written from the reader's events into a stack of output nodes: one per
// table, cell and section body, so that a table's mark-up can be laid out at its end.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "richtext/NotesRtfAdvancedSettings.h"
#include "richtext/RenderState.h"
#include "richtext/RichTextSink.h"

namespace richtext {

class HtmlRenderer : public RichTextSink {
public:
    // The paragraph styles passed to ParagraphStyle must outlive the renderer's use of them.
    HtmlRenderer(const NotesRtfAdvancedSettings &options, RenderState &state);
    ~HtmlRenderer() override;

    // The output so far (complete after End).
    const std::string &Text() const;
    std::string TakeText();

    void Begin() override;
    void End() override;
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

    // A table laid out as its plain or tabbed mark-up (the tabbed form takes the next section number).
    static void WriteTable(NotesTable &table, const NotesRtfAdvancedSettings &options, RenderState &state,
                           std::string &out);

private:
    struct Node;

    Node &Top() { return *m_nodes.back(); }
    Node &Push(int kind);
    void PopInto(bool swallow);
    void ContentStart();
    void OpenParagraph(Node &node);
    void CloseParagraph(Node &node);
    void WriteBreak(Node &node);
    void AppendStyleElement(const Node &node, std::string &out) const;
    const NotesTableCell *CellOf(const Node &node) const;
    NotesTable *NearestTable();
    void CloseCell();
    void CloseOpenNodes();

    const NotesRtfAdvancedSettings &m_options;
    RenderState &m_state;
    std::vector<std::unique_ptr<Node>> m_nodes;
    std::vector<bool> m_urlAnchors;  // one per open URL hotspot: an anchor was opened
};

}  // namespace richtext
